#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "persist/Settings.h"
#include "support/FullDisk.h"
#include "support/TempFolder.h"

namespace {

struct Want { bool fullscreen; int music; int sound; bool fps; bool debug; };

void expectSettings(const Settings& s, const Want& w, const std::string& what) {
    EXPECT_EQ(s.fullscreen, w.fullscreen) << what;
    EXPECT_EQ(s.musicVolume, w.music) << what;
    EXPECT_EQ(s.soundVolume, w.sound) << what;
    EXPECT_EQ(s.showFps, w.fps) << what;
    EXPECT_EQ(s.debugMode, w.debug) << what;
}

}  // namespace

TEST(Settings, ParsingClampsAndStopsAtTheFirstBadValue) {
    struct Case { std::string text; Want want; };
    const Case cases[] = {
        {"", {false, 70, 70, false, false}},
        {"1 150 -5", {true, 100, 0, false, false}},
        {"0 40 60 1 1", {false, 40, 60, true, true}},
        {"garbage \x01\xff", {false, 70, 70, false, false}},
        {"1 abc 30 1 1", {true, 70, 70, false, false}},
        {"0 99999999999999 -99999999999999 1 0", {false, 100, 0, true, false}},
        {"0 999999999999999999999999 50 1 1", {false, 70, 70, false, false}},  // beyond 64 bits: unreadable
        {"  1\n\t20\r\n30 0 1 extra words", {true, 20, 30, false, true}},
        {"2 50 50 -1 7", {true, 50, 50, true, true}},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        expectSettings(parseSettings(in), c.want, c.text);
    }
}

TEST(Settings, SaveThenLoadRoundTripsInTheFileFormat) {
    TempFolder tmp;
    Settings s;
    s.fullscreen = true;
    s.musicVolume = 30;
    s.soundVolume = 0;
    s.showFps = true;
    ASSERT_TRUE(saveSettings(tmp.path(), s));
    EXPECT_EQ(tmp.read("settings.txt"), "1 30 0 1 0");
    expectSettings(loadSettings(tmp.path()), {true, 30, 0, true, false}, "round trip");
    EXPECT_FALSE(std::filesystem::exists(tmp.file("settings.txt.tmp")));
}

TEST(Settings, MissingOrHostileFilesGiveDefaults) {
    TempFolder tmp;
    expectSettings(loadSettings(tmp.path()), {false, 70, 70, false, false}, "missing");
    expectSettings(loadSettings(tmp.path() + "no/such/folder/"), {false, 70, 70, false, false}, "no folder");

    tmp.write("settings.txt", std::string(1 << 20, '7'));  // one enormous number
    expectSettings(loadSettings(tmp.path()), {false, 70, 70, false, false}, "huge file");

    std::filesystem::remove(tmp.file("settings.txt"));
    std::filesystem::create_directory(tmp.file("settings.txt"));
    expectSettings(loadSettings(tmp.path()), {false, 70, 70, false, false}, "directory");
    // Saving over a directory fails cleanly and leaves it alone.
    EXPECT_FALSE(saveSettings(tmp.path(), Settings{}));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.file("settings.txt")));
    EXPECT_FALSE(std::filesystem::exists(tmp.file("settings.txt.tmp")));
}

TEST(Settings, AFailedSaveKeepsTheOldFile) {
    TempFolder tmp;
    tmp.write("settings.txt", "0 10 20 0 0");
    Settings s;
    s.fullscreen = true;
    {
        FullDisk full;
        EXPECT_FALSE(saveSettings(tmp.path(), s));
    }
    EXPECT_EQ(tmp.read("settings.txt"), "0 10 20 0 0");
    EXPECT_FALSE(saveSettings(tmp.path() + "missing/", s));
}
