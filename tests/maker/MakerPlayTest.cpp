// Test runs of a course: built with clicks, played, cleared, and back.
#include <gtest/gtest.h>

#include <cstdio>

#include "maker/MakerFixture.h"

namespace {

bool effectPlaying(Mivoland2& g, int effect) {
    for (const sf::Sound& v : g.audio.effect(effect).voices)
        if (v.getStatus() == sf::Sound::Playing) return true;
    return false;
}

}  // namespace

TEST(MakerPlay, ABuiltCourseIsPlayedClearedAndSaved) {
    Maker t;
    for (int i = 0; i < 4; ++i) t.pressButton(MakerButton::Narrower);
    ASSERT_EQ(t.course().heights.size(), 40u);
    ASSERT_TRUE(t.course().items.empty());  // the default Goal was past column 40
    t.select(CourseItemKind::Goal);
    t.clickCell(16, 0);
    t.select(CourseItemKind::GemRow);
    t.clickCell(6, 10);
    t.select(CourseItemKind::Ground);
    t.clickCell(10, 10);  // a small hill on the way
    t.pressButton(MakerButton::Hero);
    t.pressButton(MakerButton::Hero);
    t.pressButton(MakerButton::Save);
    EXPECT_EQ(t.m.message, "Saved to slot 1");

    t.pressButton(MakerButton::Play);
    ASSERT_EQ(t.d.screen(), GameState::Playing);
    EXPECT_TRUE(t.g.session.playingCourse);
    EXPECT_EQ(t.g.player.hero, 2);
    EXPECT_EQ(t.g.session.titleCardTime, 0.0f);
    EXPECT_EQ(t.g.level.gems.size(), 5u);
    EXPECT_TRUE(t.g.session.goalPresent);
    EXPECT_EQ(t.g.session.goalX, 16 * 48 + 24.0f);
    EXPECT_EQ(t.g.audio.playingId(), t.g.zoneMusicId(0));

    // Some gems, then "Restart" from the pause menu builds the course afresh.
    t.d.hold(K::Right);
    t.d.step(50);
    t.d.release(K::Right);
    EXPECT_GT(t.g.player.gems, 0);
    t.d.saveFrame("maker_test_run.png");
    t.d.press(K::Escape);
    const MenuList& pause = t.g.session.pauseList;
    ASSERT_EQ(pause.buttons.size(), 4u);
    EXPECT_EQ(pause.buttons[3].label, "Back to Editor");
    EXPECT_FALSE(pause.buttons[2].enabled);
    t.d.click({480, 190 + 54 + 22});  // "Restart"
    ASSERT_EQ(t.d.screen(), GameState::Playing);
    EXPECT_FALSE(t.g.paused);
    EXPECT_EQ(t.g.player.gems, 0);
    EXPECT_EQ(t.g.player.x, t.g.level.startPos.x);
    for (const Gem& gem : t.g.level.gems) EXPECT_FALSE(gem.taken);

    // Run to the goal: back in the editor with the message and the achievement.
    t.d.hold(K::Right);
    for (int i = 0; i < 900 && t.d.screen() == GameState::Playing; ++i) t.d.step();
    t.d.release(K::Right);
    ASSERT_EQ(t.d.screen(), GameState::Maker);
    EXPECT_FALSE(t.g.session.playingCourse);
    EXPECT_EQ(t.m.message, "COURSE CLEAR! Nice one!");
    EXPECT_GT(t.m.messageTime, 2.0f);
    EXPECT_TRUE(t.g.achievements.has(10));
    EXPECT_TRUE(effectPlaying(t.g, 10));
    EXPECT_EQ(t.g.audio.playingId(), "lobby");
    t.d.saveFrame("maker_course_clear.png");

    // The slot file holds the course as built.
    Course onDisk;
    ASSERT_TRUE(readCourseFile(t.d.dataFolder() + "maker2_1.txt", onDisk));
    EXPECT_EQ(onDisk, t.course());
    EXPECT_EQ(onDisk.heights[10], 4);
    EXPECT_EQ(onDisk.items, (std::vector<CourseItem>{{23, 16, 0}, {10, 6, 10}}));
    EXPECT_TRUE(loadAchievements(t.d.dataFolder()).has(10));
}

TEST(MakerPlay, BackToEditorKeepsTheCourseWithoutSavingIt) {
    Maker t;
    t.pressButton(MakerButton::Play);
    ASSERT_EQ(t.d.screen(), GameState::Playing);
    const std::string slot = t.d.dataFolder() + "maker2_1.txt";
    ASSERT_EQ(std::remove(slot.c_str()), 0);  // Play wrote it
    t.d.press(K::Escape);
    for (int i = 0; i < 2; ++i) t.d.press(K::Down);  // "Act Select" is skipped
    ASSERT_EQ(t.g.session.pauseList.selected, 3);
    t.d.press(K::Enter);
    ASSERT_EQ(t.d.screen(), GameState::Maker);
    EXPECT_FALSE(t.g.session.playingCourse);
    EXPECT_FALSE(t.g.paused);
    EXPECT_EQ(t.g.audio.playingId(), "lobby");
    EXPECT_EQ(t.course(), makeDefaultCourse());
    EXPECT_FALSE(std::ifstream(slot).good());
    EXPECT_FALSE(t.g.achievements.has(10));
}

TEST(MakerPlay, ACourseFromElsewhereIsPlayedThroughTheEditor) {
    // The way a mod's course is played: no slot file is touched, the course
    // and the hero become the editor's, and "Back to Editor" shows it.
    Maker t;
    Course mod;
    ASSERT_TRUE(readCourseText(mod, "mivo2-course 1\nname Mod Run\ntheme 3\n" + heights(30, 6) + "item 13 8 5\n"));
    t.g.startCourseRun(mod, 6);
    ASSERT_EQ(t.d.screen(), GameState::Playing);
    EXPECT_TRUE(t.g.session.playingCourse);
    EXPECT_EQ(t.g.player.hero, 6);
    EXPECT_EQ(t.g.makerTestHero, 6);
    EXPECT_EQ(t.g.makerTestHeroName, heroTable()[6].name);
    EXPECT_EQ(t.g.level.zone, 3);
    EXPECT_EQ(t.g.level.enemies.size(), 1u);
    EXPECT_EQ(t.course(), mod);
    t.d.press(K::Escape);
    t.d.click({480, 190 + 54 * 3 + 22});  // "Back to Editor"
    ASSERT_EQ(t.d.screen(), GameState::Maker);
    EXPECT_EQ(t.course(), mod);
    EXPECT_FALSE(std::ifstream(t.d.dataFolder() + "maker2_1.txt").good());
    // Held from the click on "Back to Editor", the button paints nothing.
    t.d.holdMouse(sf::Mouse::Left);
    t.d.step(5);
    EXPECT_EQ(t.course(), mod);
}

TEST(MakerPlay, TheEditorInEveryTheme) {
    // A showcase course: hills, pits and every item, for the pictures.
    Maker t;
    Course& c = t.course();
    c.heights.assign(120, 3);
    const int ground[] = {3, 3, 4, 5, 5, 0, 0, 4, 4, 6, 6, 6, 3, 3, 2, 2, 0, 3, 3, 3, 8, 8, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3};
    for (std::size_t i = 0; i < std::size(ground); ++i) c.heights[i] = ground[i];
    c.items = {{4, 2, 8},   {1, 3, 8},  {2, 4, 8},   {3, 7, 9},  {5, 6, 6},   {6, 9, 4},   {7, 12, 8},
               {8, 14, 6},  {9, 1, 7},  {10, 10, 5}, {11, 13, 10}, {12, 15, 11}, {13, 17, 10}, {14, 18, 6},
               {15, 19, 10}, {16, 22, 10}, {17, 23, 10}, {18, 20, 1}, {19, 24, 10}, {20, 25, 10}, {21, 26, 10},
               {22, 28, 7}, {23, 31, 10}, {0, 30, 3}};
    t.d.moveMouse(t.cell(11, 6));
    for (int theme = 0; theme < 6; ++theme) {
        c.theme = theme;
        t.d.step();
        t.d.saveFrame("maker_theme_" + std::to_string(theme) + ".png");
    }
    t.d.click({920, 490});  // the second palette page: "Eraser" alone
    EXPECT_EQ(t.m.paletteFirst, 12);
    t.d.saveFrame("maker_palette_page_2.png");
}
