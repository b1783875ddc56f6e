// Two copies of the game on one data folder: both write the same file over
// and over while a third reads it. The reader must only ever see one whole
// version or the other, and no temporary file may be left behind.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/platform/FileSystem.h"
#include "persist/Achievements.h"
#include "persist/PlayerName.h"
#include "persist/SaveSlot.h"
#include "persist/Settings.h"
#include "support/TempFolder.h"

namespace {

struct WriterCase {
    const char* file;
    std::function<bool(const std::string& folder, int version)> write;  // version 0 or 1
    std::string text[2];                                                // what each version writes
};

SaveSlot slotVersion(int v) {
    SaveSlot s;
    s.exists = true;
    if (v == 1) {
        s.hero = 8;
        s.zone = 5;
        s.act = 2;
        s.secretStones = 127;
        s.score = 123456789012;
        s.finished = true;
        s.furthestAct = 11;
    }
    return s;
}

Settings settingsVersion(int v) {
    Settings s;
    if (v == 1) {
        s.fullscreen = true;
        s.musicVolume = 100;
        s.soundVolume = 5;
    }
    return s;
}

AchievementState achievementsVersion(int v) { return v == 1 ? AchievementState{4095u, 123456} : AchievementState{1u, 2}; }

const char* nameVersion(int v) { return v == 1 ? "Alexandra Long" : "Bo"; }

}  // namespace

TEST(ConcurrentWrites, AReaderNeverSeesAnEmptyOrMixedFile) {
    const WriterCase cases[] = {
        {"slot1.txt", [](const std::string& f, int v) { return saveSlot(f, 0, slotVersion(v)); },
         {formatSlot(slotVersion(0)), formatSlot(slotVersion(1))}},
        {"settings.txt", [](const std::string& f, int v) { return saveSettings(f, settingsVersion(v)); },
         {formatSettings(settingsVersion(0)), formatSettings(settingsVersion(1))}},
        {"achievements.txt", [](const std::string& f, int v) { return saveAchievements(f, achievementsVersion(v)); },
         {formatAchievements(achievementsVersion(0)), formatAchievements(achievementsVersion(1))}},
        {"player_name.txt", [](const std::string& f, int v) { return savePlayerName(f, nameVersion(v)); },
         {std::string(nameVersion(0)) + "\n", std::string(nameVersion(1)) + "\n"}},  // the name as the one line
    };
    constexpr int kWrites = 150;
    for (const WriterCase& c : cases) {
        SCOPED_TRACE(c.file);
        TempFolder dir;
        ASSERT_TRUE(c.write(dir.path(), 0));
        std::atomic<int> writersDone{0}, failedWrites{0};
        auto writer = [&](int version) {
            for (int i = 0; i < kWrites; ++i)
                if (!c.write(dir.path(), version)) failedWrites++;
            writersDone++;
        };
        std::thread a(writer, 0), b(writer, 1);
        int reads = 0, bad = 0;
        std::string badText;
        while (writersDone.load() < 2) {
            std::string text;
            if (readFile(dir.file(c.file), text)) text = "<unreadable>";
            ++reads;
            if (text != c.text[0] && text != c.text[1]) {
                ++bad;
                badText = text;
            }
        }
        a.join();
        b.join();
        EXPECT_EQ(failedWrites.load(), 0);
        EXPECT_EQ(bad, 0) << "of " << reads << " reads, e.g. \"" << badText << "\"";
        EXPECT_GT(reads, 0);
        std::vector<std::string> names;
        ASSERT_FALSE(listDirectory(dir.path(), names));
        EXPECT_EQ(names, std::vector<std::string>{c.file});  // no temporary left
    }
}
