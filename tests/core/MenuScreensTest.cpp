#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "content/Zones.h"
#include "core/Extras.h"
#include "core/HeroSelect.h"
#include "core/Input.h"
#include "core/Options.h"
#include "core/SaveSelect.h"
#include "core/Story.h"
#include "core/Title.h"
#include "support/TempFolder.h"

TEST(MenuScreens, HeroPickerWrapsBothWays) {
    EXPECT_EQ(previousHero(0), 8);
    EXPECT_EQ(nextHero(8), 0);
    EXPECT_EQ(previousHero(5), 4);
    EXPECT_EQ(nextHero(3), 4);
    // Out-of-range indices still land on a hero.
    EXPECT_EQ(nextHero(-1), 0);
    EXPECT_EQ(previousHero(9), 8);
}

TEST(MenuScreens, VolumesStepWithinRangeAndChoosingWraps) {
    struct Case { int from, nudgeDown, nudgeUp, chosen; };
    const Case cases[] = {
        {100, 90, 100, 0},  // Right at 100 stays at 100; choosing at 100 gives 0
        {0, 0, 10, 10},
        {70, 60, 80, 80},
        {95, 85, 100, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nudgeVolume(c.from, -10), c.nudgeDown) << c.from;
        EXPECT_EQ(nudgeVolume(c.from, 10), c.nudgeUp) << c.from;
        EXPECT_EQ(cycleVolume(c.from), c.chosen) << c.from;
    }
}

TEST(MenuScreens, OptionLabelsShowTheSettings) {
    std::istringstream file("1 150 -5");
    const std::vector<MenuButton> b = optionsButtons(parseSettings(file));
    ASSERT_EQ(b.size(), 6u);
    const char* labels[] = {"Music: 100%", "Sound: 0%", "Fullscreen: On", "Show FPS: Off", "Debug Mode: Off", "Back"};
    const float ys[] = {150, 204, 258, 312, 366, 430};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(b[i].label, labels[i]);
        EXPECT_EQ(b[i].y, ys[i]);
        EXPECT_EQ(b[i].x, 310.0f);
        EXPECT_EQ(b[i].w, 340.0f);
    }
}

TEST(MenuScreens, SaveCardsTellProgressOrNewGame) {
    SaveSlot s;
    EXPECT_FALSE(saveCardText(0, s).used);
    EXPECT_EQ(saveCardText(0, s).title, "Save 1");

    s.exists = true;
    s.hero = 3;
    s.zone = 2;
    s.act = 1;
    s.score = 4200;
    SaveCardText t = saveCardText(2, s);
    EXPECT_EQ(t.title, "Save 3");
    EXPECT_TRUE(t.used);
    EXPECT_EQ(t.heroName, "Ktr");
    EXPECT_EQ(t.progress, "Sky Fortress 1");
    EXPECT_EQ(t.score, "Score 4200");

    s.finished = true;
    EXPECT_EQ(saveCardText(2, s).progress, "Finished!");

    EXPECT_STREQ(saveSelectHeading(false), "CHOOSE A SAVE");
    EXPECT_STREQ(saveSelectHeading(true), "PICK A SAVE TO DELETE");
}

TEST(MenuScreens, DeletingASlotRemovesOnlyItsFile) {
    TempFolder dir;
    dir.write("slot1.txt", "3 0 1 0 0 0 0 1 0");
    dir.write("slot2.txt", "3 0 1 0 0 0 0 1 0");
    EXPECT_TRUE(deleteSlotFile(dir.path(), 0));
    EXPECT_FALSE(std::filesystem::exists(dir.file("slot1.txt")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("slot2.txt")));
    EXPECT_TRUE(deleteSlotFile(dir.path(), 0));  // already gone
    EXPECT_TRUE(deleteSlotFile(dir.path(), -1));

    // A folder where a slot file should be is not a save: it stays.
    std::filesystem::create_directory(dir.file("slot3.txt"));
    dir.write("slot3.txt/keep.txt", "x");
    EXPECT_FALSE(deleteSlotFile(dir.path(), 2));
    EXPECT_TRUE(std::filesystem::exists(dir.file("slot3.txt/keep.txt")));
}

TEST(MenuScreens, PagesTurnOnEnterSpaceOrClickOnly) {
    InputState in;
    EXPECT_FALSE(pageTurnPressed(in));
    in.keysPressed = {sf::Keyboard::Down, sf::Keyboard::Escape};
    EXPECT_FALSE(pageTurnPressed(in));
    in.keysPressed = {sf::Keyboard::Space};
    EXPECT_TRUE(pageTurnPressed(in));
    in.keysPressed = {};
    in.clicked = true;
    EXPECT_TRUE(pageTurnPressed(in));
    EXPECT_STREQ(storyPages()[2],
                 "OVIM. Wherever it goes, it unspeaks the land. Meadows go silent. Crystals go dark. Whole zones are "
                 "forgotten.");
    EXPECT_STREQ(endingPages()[3], "THE END... for now.   Thanks for playing Mivoland 2!");
}

TEST(MenuScreens, AchievementBoxesFitAboveTheBackButtonWithoutOverlapping) {
    const sf::FloatRect back(60, 470, 140, 44);
    for (int i = 0; i < 12; ++i) {
        const sf::FloatRect r = achievementBox(i);
        EXPECT_GE(r.left, 0.0f);
        EXPECT_LE(r.left + r.width, 960.0f);
        EXPECT_GT(r.top, 30.0f + 36.0f);  // below the heading
        EXPECT_FALSE(r.intersects(back)) << i;
        for (int j = 0; j < i; ++j) EXPECT_FALSE(r.intersects(achievementBox(j))) << i << " " << j;
    }
}

TEST(MenuScreens, ParadeRunsRightAndWrapsRound) {
    EXPECT_FLOAT_EQ(paradeX(0, 0.0f), -100.0f);
    EXPECT_FLOAT_EQ(paradeX(2, 0.0f), 120.0f);
    EXPECT_FLOAT_EQ(paradeX(0, 1.0f), 60.0f);
    // After 1160 units a hero is back where it started.
    EXPECT_NEAR(paradeX(3, 7.25f), paradeX(3, 0.0f), 0.01f);
    for (float t : {0.0f, 0.3f, 2.0f, 100.0f}) {
        EXPECT_GE(paradeX(8, t), -100.0f);
        EXPECT_LT(paradeX(8, t), 1060.0f);
        EXPECT_GE(paradeHop(8, t), 0.0f);
        EXPECT_LE(paradeHop(8, t), 18.0f);
    }
}
