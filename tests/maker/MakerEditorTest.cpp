// The maker screen driven through the real game with mouse events.
#include <gtest/gtest.h>

#include <fstream>

#include "maker/CourseLevel.h"
#include "maker/MakerFixture.h"

TEST(MakerEditor, EnteringLoadsTheSlotAndPlaysTheLobbyMusic) {
    Maker t({{"maker2_1.txt", "mivo2-course 1\nname Mine\ntheme 2\n" + heights(30, 5)}});
    EXPECT_EQ(t.course().name, "Mine");
    EXPECT_EQ(t.course().heights.size(), 30u);
    EXPECT_EQ(t.g.audio.playingId(), "lobby");
    EXPECT_EQ(t.m.slot, 0);

    // Escape saves and leaves; the slot file now holds the course as edited.
    t.clickCell(3, 13);
    t.d.press(K::Escape);
    EXPECT_EQ(t.d.screen(), GameState::MainMenu);
    Course back;
    ASSERT_TRUE(readCourseFile(t.d.dataFolder() + "maker2_1.txt", back));
    EXPECT_EQ(back.heights[3], 1);
    EXPECT_EQ(back.name, "Mine");
}

TEST(MakerEditor, GroundIsPaintedAtTheClickedHeightAndByDragging) {
    Maker t;
    ASSERT_EQ(t.m.selectedKind, CourseItemKind::Ground);
    struct Case {
        int column, row, height;
    };
    for (const Case& c : {Case{2, 0, 12}, Case{3, 1, 12}, Case{4, 2, 12}, Case{5, 13, 1}, Case{6, 7, 7}}) {
        t.clickCell(c.column, c.row);
        EXPECT_EQ(t.course().heights[std::size_t(c.column)], c.height) << c.row;
    }
    t.drag(sf::Mouse::Left, 10, 16, 8);
    for (int c = 10; c <= 16; ++c) EXPECT_EQ(t.course().heights[std::size_t(c)], 6) << c;
    EXPECT_EQ(t.course().heights[17], 3);
    // Clicks on the bars and below the grid paint nothing.
    const auto before = t.course().heights;
    t.d.click({480, 445});
    t.d.click({480, 39});
    EXPECT_EQ(t.course().heights, before);
}

TEST(MakerEditor, TheClickThatOpenedTheMakerPaintsNothingWhileHeld) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step();
    d.holdMouse(sf::Mouse::Left);
    d.click({480, 307});  // "Mivo Maker", and the button stays down over the grid
    ASSERT_EQ(d.screen(), GameState::Maker);
    d.step(10);
    EXPECT_EQ(d.game().maker.course.heights, makeDefaultCourse().heights);
    d.releaseMouse(sf::Mouse::Left);
    d.step();
    d.holdMouse(sf::Mouse::Left);  // a fresh press paints
    d.step();
    EXPECT_NE(d.game().maker.course.heights, makeDefaultCourse().heights);
}

TEST(MakerEditor, ItemsGoIntoFreeCellsOnly) {
    Maker t;
    t.select(CourseItemKind::Spring);
    t.clickCell(10, 5);
    t.select(CourseItemKind::Gem);
    t.clickCell(10, 5);  // occupied: stays a Spring
    t.clickCell(11, 5);
    // Dragging with the button held places nothing: only clicks do.
    t.drag(sf::Mouse::Left, 12, 15, 5);
    const std::vector<CourseItem> expected = {{23, 112, 0}, {1, 10, 5}, {9, 11, 5}};
    EXPECT_EQ(t.course().items, expected);
}

TEST(MakerEditor, OneGoalPerCourse) {
    Maker t;
    t.select(CourseItemKind::Goal);
    t.clickCell(5, 3);  // the default Goal far off screen goes
    EXPECT_EQ(t.course().items, (std::vector<CourseItem>{{23, 5, 3}}));
    t.clickCell(6, 2);
    EXPECT_EQ(t.course().items, (std::vector<CourseItem>{{23, 6, 2}}));

    // On an occupied cell the old Goal goes and none is placed.
    t.select(CourseItemKind::Spring);
    t.clickCell(8, 4);
    t.select(CourseItemKind::Goal);
    t.clickCell(8, 4);
    EXPECT_EQ(t.course().items, (std::vector<CourseItem>{{1, 8, 4}}));
    Level level;
    buildLevelFromCourse(t.course(), level);
    EXPECT_EQ(level.bossX, 120 * 48 - 100.0f);
}

TEST(MakerEditor, TheItemLimitShowsItsMessage) {
    Maker t;
    auto& items = t.course().items;
    for (int i = 0; items.size() < 1499; ++i) items.push_back({CourseItemKind::Gem, 200 + i % 100, i / 100});
    t.select(CourseItemKind::Gem);
    t.clickCell(3, 3);  // the 1500th
    EXPECT_EQ(items.size(), 1500u);
    t.clickCell(4, 3);  // the 1501st
    EXPECT_EQ(items.size(), 1500u);
    EXPECT_EQ(t.m.message, "That's a lot of stuff! Erase some first");
    EXPECT_GT(t.m.messageTime, 2.0f);
    // A Goal still moves: the old one makes room.
    t.select(CourseItemKind::Goal);
    t.clickCell(5, 3);
    EXPECT_EQ(items.size(), 1500u);
    EXPECT_EQ(items.back(), (CourseItem{23, 5, 3}));
}

TEST(MakerEditor, ErasingWithGroundAndWithTheEraser) {
    // Columns 4..7 have height 3 (rows 11..13 are ground); items sit in
    // ground cells of columns 4 and 6 in row 12.
    struct Case {
        const char* what;
        int kind;
        sf::Mouse::Button button;
        std::vector<int> heights;  // of columns 4..7 afterwards
    };
    const Case cases[] = {
        {"right drag, Ground", CourseItemKind::Ground, sf::Mouse::Right, {3, 3, 3, 3}},
        {"right drag, Eraser", CourseItemKind::Eraser, sf::Mouse::Right, {3, 0, 3, 0}},
        {"left drag, Eraser", CourseItemKind::Eraser, sf::Mouse::Left, {3, 0, 3, 0}},
        {"right drag, Spring", CourseItemKind::Spring, sf::Mouse::Right, {3, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Maker t;
        t.select(CourseItemKind::Gem);
        t.clickCell(4, 12);
        t.clickCell(6, 12);
        t.clickCell(6, 2);  // above the ground, out of the drag
        t.select(c.kind);
        t.drag(c.button, 4, 7, 12);
        EXPECT_EQ(t.count(CourseItemKind::Gem), 1);
        for (int col = 4; col <= 7; ++col)
            EXPECT_EQ(t.course().heights[std::size_t(col)], c.heights[std::size_t(col - 4)]) << col;
    }
    // A right click over the sky with the Eraser takes no ground.
    Maker t;
    t.select(CourseItemKind::Eraser);
    t.rightClickCell(9, 3);
    t.clickCell(9, 3);
    EXPECT_EQ(t.course().heights[9], 3);
    t.clickCell(9, 11);
    EXPECT_EQ(t.course().heights[9], 0);
}

TEST(MakerEditor, WiderAndNarrower) {
    Maker t;
    t.course().heights.back() = 7;
    t.pressButton(MakerButton::Wider);
    ASSERT_EQ(t.course().heights.size(), 140u);
    EXPECT_EQ(t.course().heights[139], 7);
    EXPECT_EQ(t.m.message, "Course is longer");
    for (int i = 0; i < 20; ++i) t.pressButton(MakerButton::Wider);
    EXPECT_EQ(t.course().heights.size(), 400u);
    t.m.messageTime = 0;
    t.pressButton(MakerButton::Wider);  // at 400: nothing, not even a message
    EXPECT_EQ(t.course().heights.size(), 400u);
    EXPECT_EQ(t.m.messageTime, 0.0f);

    // Down to 60 columns with a Goal at column 50: one more step drops it.
    while (t.course().heights.size() > 60) t.pressButton(MakerButton::Narrower);
    EXPECT_EQ(t.m.message, "Course is shorter");
    t.select(CourseItemKind::Goal);
    t.m.scroll = 1200;
    t.clickCell(50, 2);
    t.select(CourseItemKind::Spring);
    t.clickCell(39, 2);
    t.pressButton(MakerButton::Narrower);
    EXPECT_EQ(t.course().heights.size(), 40u);
    EXPECT_EQ(t.course().items, (std::vector<CourseItem>{{1, 39, 2}}));
    Level level;
    buildLevelFromCourse(t.course(), level);
    EXPECT_EQ(level.bossX, 40 * 48 - 100.0f);  // the goal near the end
    t.m.messageTime = 0;
    t.pressButton(MakerButton::Narrower);  // below 41: nothing
    EXPECT_EQ(t.course().heights.size(), 40u);
    EXPECT_EQ(t.m.messageTime, 0.0f);
    t.d.step();
    EXPECT_NEAR(t.m.scroll, 1920 - 960 / kScale, 0.01f);  // back inside the shorter course
}

TEST(MakerEditor, SlotPressedThreeTimesReloadsEachFromDisk) {
    Maker t({{"maker2_2.txt", "mivo2-course 1\nname Two\n" + heights(20, 2)},
             {"maker2_3.txt", "mivo2-course 1\nname Three\n" + heights(25, 3)}});
    t.clickCell(2, 2);  // an edit that is never saved
    t.m.scroll = 500;
    struct Step {
        int slot;
        std::string name, label;
    };
    for (const Step& s : {Step{1, "Two", "Slot 2"}, Step{2, "Three", "Slot 3"}, Step{0, "My Course", "Slot 1"}}) {
        t.pressButton(MakerButton::Slot);
        EXPECT_EQ(t.m.slot, s.slot);
        EXPECT_EQ(t.course().name, s.name);
        EXPECT_EQ(t.m.message, s.label);
        EXPECT_EQ(makerButtonLabel(t.m, MakerButton::Slot, ""), s.label);
        EXPECT_EQ(t.m.scroll, 0.0f);
    }
    EXPECT_EQ(t.course(), makeDefaultCourse());  // the edit is gone
    EXPECT_FALSE(std::ifstream(t.d.dataFolder() + "maker2_1.txt").good());  // and nothing was written
}

TEST(MakerEditor, ScrollingStaysWithinTheCourse) {
    Maker t({{"maker2_1.txt", "mivo2-course 1\n" + heights(20, 3)}});
    t.d.hold(K::Right);
    t.d.step(30);
    EXPECT_EQ(t.m.scroll, 0.0f);  // 20 columns fit the view

    t.pressButton(MakerButton::Wider);
    t.pressButton(MakerButton::Wider);  // 60 columns: 2880 wide
    t.d.step(120);
    EXPECT_NEAR(t.m.scroll, 2880 - 960 / kScale, 0.01f);
    t.d.release(K::Right);
    t.d.hold(K::A);
    t.d.step(10);
    EXPECT_NEAR(t.m.scroll, 2880 - 960 / kScale - 700 * 10 * GameDriver::kFrame, 0.01f);
    t.d.release(K::A);
    // A click lands in the scrolled column.
    const float scroll = t.m.scroll;
    t.clickCell(45, 13);
    EXPECT_EQ(t.course().heights[45], 1);
    EXPECT_EQ(t.m.scroll, scroll);
}

TEST(MakerEditor, ThemeHeroAndSave) {
    Maker t;
    const char* zones[] = {"Crystal Caverns", "Sky Fortress", "Neon Rush", "Hidden Temple", "The Unspoken",
                           "Echo Meadows"};
    for (int i = 0; i < 6; ++i) {
        t.pressButton(MakerButton::Theme);
        EXPECT_EQ(t.course().theme, (i + 1) % 6);
        EXPECT_EQ(t.m.message, zones[i]);
        EXPECT_EQ(makerButtonLabel(t.m, MakerButton::Theme, ""), std::string(zones[i]).substr(0, 9));
    }
    EXPECT_EQ(t.g.makerTestHeroName, heroTable()[0].name);
    t.pressButton(MakerButton::Hero);
    EXPECT_EQ(t.g.makerTestHero, 1);
    EXPECT_EQ(t.m.message, "Testing as " + heroTable()[1].name);
    for (int i = 0; i < 8; ++i) t.d.press(K::H);
    EXPECT_EQ(t.g.makerTestHero, 0);
    EXPECT_EQ(t.g.makerTestHeroName, heroTable()[0].name);

    t.pressButton(MakerButton::Clear);
    EXPECT_EQ(t.m.message, "A fresh course");
    t.pressButton(MakerButton::Save);
    EXPECT_EQ(t.m.message, "Saved to slot 1");
    Course back;
    ASSERT_TRUE(readCourseFile(t.d.dataFolder() + "maker2_1.txt", back));
    EXPECT_EQ(back, t.course());
    t.pressButton(MakerButton::Back);
    EXPECT_EQ(t.d.screen(), GameState::MainMenu);
}
