#include <gtest/gtest.h>

#include "gameplay/Special.h"
#include "gameplay/Temple.h"
#include "support/GameDriver.h"

// The special stage and temple screens in the running game.

TEST(SpecialScreen, ARunPlaysAndHandsBackToTheAct) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    Mivoland2& g = d.game();
    g.startSpecialRun(enterFromPortal(0b1, 1));
    ASSERT_EQ(d.screen(), GameState::SpecialStage);
    EXPECT_EQ(g.specialStone, 1);
    EXPECT_EQ(g.specialRun.stage, 1);

    // Steering is read from the held keys.
    d.hold(sf::Keyboard::Left);
    d.step(20);
    EXPECT_LT(g.specialRun.lane, -0.5f);
    EXPECT_GT(g.specialRun.distance, 0.0f);
    d.saveFrame("special_screen_run.png");
    d.release(sf::Keyboard::Left);

    // Short of orbs at the first gate: the run fails and, 3 s later, the act goes on.
    g.specialRun.distance = g.specialRun.gatePos[0] - kSpecialPlayerAhead - 5.0f;
    d.step();
    EXPECT_EQ(g.specialRun.result, kSpecialFailed);
    d.step(170);
    EXPECT_EQ(d.screen(), GameState::SpecialStage);
    d.step(20);
    EXPECT_EQ(d.screen(), GameState::Playing);
}

TEST(SpecialScreen, TheTempleSlotStartsTheDivineRun) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    Mivoland2& g = d.game();
    g.openTemple(true, 2, 0b111, 730.0f);
    ASSERT_EQ(d.screen(), GameState::HiddenTemple);
    EXPECT_EQ(g.temple.phase, kTempleWalking);

    // Walk under slot 3 and jump in.
    d.hold(sf::Keyboard::Right);
    for (int i = 0; i < 300 && g.temple.x < templeSlotCentre(3).x; ++i) d.step();
    d.release(sf::Keyboard::Right);
    d.step(20);
    d.hold(sf::Keyboard::Space);
    for (int i = 0; i < 60 && g.temple.phase != kTempleWarning; ++i) d.step();
    d.release(sf::Keyboard::Space);
    ASSERT_EQ(g.temple.phase, kTempleWarning);
    d.step();
    d.saveFrame("temple_screen_warning.png");

    d.press(sf::Keyboard::Enter);
    ASSERT_EQ(d.screen(), GameState::SpecialStage);
    EXPECT_TRUE(g.specialDivine);
    EXPECT_EQ(g.specialStone, 3);
    EXPECT_EQ(g.specialRun.stage, 10);
    EXPECT_EQ(g.specialRun.hero, 2);
}

TEST(SpecialScreen, EscapeLeavesTheTemple) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.game().openTemple(true, 4, 0, 720.0f);
    d.step(5);
    d.press(sf::Keyboard::Escape);
    EXPECT_EQ(d.screen(), GameState::Playing);
}
