#include <gtest/gtest.h>

#include "core/platform/FileSystem.h"
#include "gameplay/Special.h"
#include "gameplay/Temple.h"
#include "support/GameDriver.h"

// The special stage and temple screens in the running game.

namespace {

// A story game in slot 1 (index 0) with the given hero and stones, in zone 0 act 1.
struct PortalGame {
    GameDriver d;
    Mivoland2& g = d.game();

    PortalGame(int hero, int secret, int divine, bool templeSeen = false) {
        EXPECT_TRUE(d.start());
        d.step(3);
        SaveSlot record;
        record.hero = hero;
        record.secretStones = secret;
        record.divineStones = divine;
        record.templeOpened = templeSeen;
        g.beginStoryGame(0, record);
        g.startAct(0, 1);
        EXPECT_EQ(d.screen(), GameState::Playing);
        EXPECT_FALSE(g.level.stonePortals.empty());
    }
    // The player stands on the act's first stone portal for a frame.
    void touchPortal() {
        const StonePortal& p = g.level.stonePortals.at(0);
        g.player = makePlayer(g.player.hero, {p.x, p.y});
        g.session.titleCardTime = 0.0f;
        d.step();
    }
    std::string slotFile() {
        std::string text;
        if (readFile(slotPath(d.dataFolder(), 0), text)) return "<missing>";
        return text;
    }
};

}  // namespace

TEST(SpecialScreen, APortalWinEarnsTheStoneAndReturnsToTheAct) {
    PortalGame s(0, 0b011, 0);
    s.touchPortal();
    ASSERT_EQ(s.d.screen(), GameState::SpecialStage);
    EXPECT_TRUE(s.g.level.stonePortals[0].used);
    EXPECT_EQ(s.g.specialStone, 2);
    EXPECT_EQ(s.g.specialRun.stage, 2);
    EXPECT_EQ(s.g.audio.playingId(), "special");

    // Reach the last gate with enough orbs.
    s.g.specialRun.gate = 2;
    s.g.specialRun.orbs = s.g.specialRun.gateNeed[2];
    s.g.specialRun.distance = s.g.specialRun.gatePos[2] - kSpecialPlayerAhead - 5.0f;
    s.d.step();
    EXPECT_EQ(s.g.specialRun.result, kSpecialWon);
    int frames = 0;
    for (; frames < 400 && s.d.screen() == GameState::SpecialStage; ++frames) s.d.step();
    ASSERT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_NEAR(frames, 181, 2);  // the win is shown for 3 s
    EXPECT_EQ(s.g.save.secretStones, 0b111);
    EXPECT_TRUE(s.g.achievements.has(kAchievementStoneSeeker));
    EXPECT_FALSE(s.g.achievements.has(kAchievementRainbowAgain));
    EXPECT_EQ(s.slotFile().substr(0, 8), "0 0 1 7 ");
    EXPECT_NEAR(s.g.player.hurtTime, 1.0f, 0.02f);
    EXPECT_EQ(s.g.audio.playingId(), s.g.zoneMusicId(0));
}

TEST(SpecialScreen, TheSeventhSecretStoneEarnsRainbowAgain) {
    PortalGame s(5, 0b0111111, 0);
    s.touchPortal();
    ASSERT_EQ(s.d.screen(), GameState::SpecialStage);
    EXPECT_EQ(s.g.specialStone, 6);
    s.g.specialRun.gate = 2;
    s.g.specialRun.orbs = 999;
    s.g.specialRun.distance = s.g.specialRun.gatePos[2];
    s.d.step(200);
    ASSERT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_EQ(s.g.save.secretStones, 0x7F);
    EXPECT_TRUE(s.g.achievements.has(kAchievementRainbowAgain));
}

TEST(SpecialScreen, AllSecretStonesOpenTheTempleForFrOnceWithTheAwakening) {
    PortalGame s(1, 0x7F, 0b1);
    s.g.player.transformed = true;
    s.touchPortal();
    ASSERT_EQ(s.d.screen(), GameState::HiddenTemple);
    EXPECT_FALSE(s.g.player.transformed);
    EXPECT_EQ(s.g.temple.phase, kTempleDark);
    EXPECT_EQ(s.g.audio.playingId(), "temple");
    s.d.step(60 * 11);
    EXPECT_EQ(s.g.temple.phase, kTempleWalking);
    EXPECT_TRUE(s.g.save.templeOpened);
    EXPECT_EQ(s.slotFile().back(), '1');  // the intro-seen flag is the last value
    s.d.press(sf::Keyboard::Escape);
    EXPECT_EQ(s.d.screen(), GameState::Playing);

    // The next portal goes straight to walking.
    s.g.level.stonePortals[0].used = false;
    s.touchPortal();
    ASSERT_EQ(s.d.screen(), GameState::HiddenTemple);
    EXPECT_EQ(s.g.temple.phase, kTempleWalking);
}

TEST(SpecialScreen, OtherHeroesGetFiftyGemsAndTheMessage) {
    PortalGame s(6, 0x7F, 0);
    const std::int64_t score = s.g.session.score;
    s.touchPortal();
    EXPECT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_EQ(s.g.player.gems, 50);
    EXPECT_EQ(s.g.session.score, score + 500);
    EXPECT_EQ(s.d.toast(), kDivineHeroesToast);

    // With every Divine Stone too, the gems come without the message.
    PortalGame all(2, 0x7F, 0x7F);
    all.touchPortal();
    EXPECT_EQ(all.d.screen(), GameState::Playing);
    EXPECT_EQ(all.g.player.gems, 50);
    EXPECT_NE(all.d.toast(), kDivineHeroesToast);
}

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
