#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "persist/Achievements.h"
#include "persist/PlayerName.h"
#include "persist/SaveSlot.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

SaveSlot parse(const std::string& text) {
    std::istringstream in(text);
    return parseSlot(in);
}

}  // namespace

TEST(SaveSlot, ReadsOlderShorterFilesAndClamps) {
    SaveSlot s = parse("3 9 7 5 0 1200 0");
    ASSERT_TRUE(s.exists);
    EXPECT_EQ(s.hero, 3);
    EXPECT_EQ(s.zone, 5);
    EXPECT_EQ(s.act, 2);
    EXPECT_EQ(s.secretStones, 5);
    EXPECT_EQ(s.score, 1200);
    EXPECT_EQ(s.furthestAct, 11);
    EXPECT_FALSE(s.templeOpened);

    SaveSlot full = parse("8 2 1 127 3 99999999999 1 6 1");
    ASSERT_TRUE(full.exists);
    EXPECT_EQ(full.score, 99999999999LL);
    EXPECT_TRUE(full.finished);
    EXPECT_EQ(full.furthestAct, 6);
    EXPECT_TRUE(full.templeOpened);

    EXPECT_EQ(parse("-4 -1 0 0 0 0 0").hero, 0);
    EXPECT_EQ(parse("-4 -1 0 0 0 0 0").act, 1);
}

// Damaged or hand-edited records load sane: a stone mask outside the seven
// bits is no stones, the score is never negative (nor near the 64-bit
// limit), the furthest act lies between the act the save stands at and the last.
TEST(SaveSlot, DamagedRecordsLoadSane) {
    struct Case { const char* text; const char* loaded; };
    const Case cases[] = {
        {"0 0 1 -1 -1 -5 0 1 0", "0 0 1 0 0 0 0 1 0"},
        {"2 3 2 128 -128 7 1 4 1", "2 3 2 0 0 7 1 7 1"},
        {"2 3 2 127 64 7 0 99 0", "2 3 2 127 64 7 0 11 0"},
        {"1 0 1 5 0 9223372036854775807 0 -3 0", "1 0 1 5 0 999999999999999 0 0 0"},
        {"888888884888888 25 45884888888885 4 88888888885 4 2", "8 5 2 4 0 4 1 11 0"},  // older layout
    };
    for (const Case& c : cases) {
        const SaveSlot s = parse(c.text);
        EXPECT_TRUE(s.exists) << c.text;
        EXPECT_EQ(formatSlot(s), c.loaded) << c.text;
    }
}

TEST(SaveSlot, ShortOrGarbledFilesAreEmptySlots) {
    for (const char* text : {"", "1 2 3 4 5 6", "a b c d e f g", "1 2 3 4 5 x 0", "\x01\x02"}) {
        SCOPED_TRACE(text);
        SaveSlot s = parse(text);
        EXPECT_FALSE(s.exists);
        EXPECT_EQ(s.act, 1);
    }
}

TEST(SaveSlot, RoundTripsThroughTheDataFolderAndSkipsNoSave) {
    TempFolder dir;
    SaveSlot s;
    s.exists = true;
    s.hero = 4;
    s.zone = 3;
    s.act = 2;
    s.divineStones = 9;
    s.score = 250;
    s.furthestAct = 7;
    ASSERT_TRUE(saveSlot(dir.path(), 1, s));
    EXPECT_EQ(dir.read("slot2.txt"), "4 3 2 0 9 250 0 7 0");
    EXPECT_FALSE(fs::exists(dir.path() + "slot2.txt.tmp"));
    SaveSlot back = loadSlot(dir.path(), 1);
    EXPECT_TRUE(back.exists);
    EXPECT_EQ(formatSlot(back), formatSlot(s));

    EXPECT_FALSE(saveSlot(dir.path(), -1, s));
    EXPECT_FALSE(loadSlot(dir.path(), -1).exists);
    EXPECT_FALSE(loadSlot(dir.path(), 7).exists);
    EXPECT_FALSE(loadSlot(dir.path(), 0).exists);  // no file

    fs::create_directory(dir.path() + "slot3.txt");  // a folder where the file should be
    EXPECT_FALSE(loadSlot(dir.path(), 2).exists);
    EXPECT_FALSE(saveSlot(dir.path(), 2, s));
}

TEST(Achievements, FileRoundTripAndBits) {
    TempFolder dir;
    EXPECT_EQ(loadAchievements(dir.path()).unlocked, 0u);
    dir.write("achievements.txt", "garbage");
    EXPECT_EQ(loadAchievements(dir.path()).baddiesBroken, 0);
    dir.write("achievements.txt", "5 -3");
    EXPECT_EQ(loadAchievements(dir.path()).unlocked, 5u);
    EXPECT_EQ(loadAchievements(dir.path()).baddiesBroken, 0);

    AchievementState a;
    EXPECT_TRUE(setAchievementBit(a, 3));
    EXPECT_FALSE(setAchievementBit(a, 3));
    EXPECT_FALSE(setAchievementBit(a, 12));
    EXPECT_FALSE(setAchievementBit(a, -1));
    a.baddiesBroken = 49;
    ASSERT_TRUE(saveAchievements(dir.path(), a));
    EXPECT_EQ(dir.read("achievements.txt"), "8 49");
    EXPECT_EQ(achievementTable()[2].name, std::string("Baddie Breaker"));
}

TEST(PlayerName, CleansTheFirstLine) {
    struct Case {
        const char* line;
        const char* name;
    } cases[] = {
        {"  Tobi  ", "Tobi"},
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMN"},
        {"\x01\x02\x03", "Player"},
        {"Zo\xc3\xa9 K", "Zo K"},
        {"", ""},
        {"   \t ", ""},
        {"abcdefghijklm    x", "abcdefghijklm"},
    };
    for (const Case& c : cases) EXPECT_EQ(cleanPlayerName(c.line), c.name) << c.line;

    TempFolder dir;
    std::string fresh = loadPlayerName(dir.path());
    ASSERT_EQ(fresh.size(), 9u);
    EXPECT_EQ(fresh.substr(0, 6), "Player");
    int n = std::stoi(fresh.substr(6));
    EXPECT_GE(n, 100);
    EXPECT_LE(n, 999);
    EXPECT_FALSE(fs::exists(dir.path() + "player_name.txt"));  // a fresh name is not written here

    dir.write("player_name.txt", "Runner\nsecond line");
    EXPECT_EQ(loadPlayerName(dir.path()), "Runner");
    EXPECT_EQ(freshPlayerName(0), "Player100");
    EXPECT_EQ(freshPlayerName(899), "Player999");
}

TEST(PlayerName, OnlyACleanNameIsWrittenAsTheFilesOneLine) {
    const struct {
        const char* name;
        const char* file;
    } cases[] = {
        {"Tobi", "Tobi\n"},
        {"Eve\nsecond line", "Evesecond line\n"},
        {"\x1b[31mRed\r", "[31mRed\n"},
        {"  Lots of room in this name  ", "Lots of room i\n"},
        {"\t\n", "Player\n"},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        ASSERT_TRUE(savePlayerName(dir.path(), c.name));
        EXPECT_EQ(dir.read("player_name.txt"), c.file) << c.name;
        EXPECT_EQ(loadPlayerName(dir.path()) + "\n", c.file) << c.name;
    }
}
