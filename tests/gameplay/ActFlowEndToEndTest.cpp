// One act played through in the real game: start, the arena, the boss, the
// goal, the results and on into act 2, with pictures along the way.
#include <gtest/gtest.h>

#include "core/platform/FileSystem.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

std::string readText(const std::string& path) {
    std::string text;
    if (readFile(path, text)) return "<missing>";
    return text;
}

// Holds the game for up to `frames` frames until `done` holds; true if it did.
template <class Done>
bool stepUntil(GameDriver& d, int frames, Done done) {
    for (int i = 0; i < frames; ++i) {
        if (done()) return true;
        d.step();
    }
    return done();
}

}  // namespace

TEST(ActFlowEndToEnd, ZeroOneFromTheStartToActTwo) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step(3);
    Mivoland2& g = d.game();

    // A new game in slot 1 with hero 0.
    g.currentSlot = 0;
    g.save = SaveSlot{};
    g.session.score = 0;
    g.startAct(0, 1);
    ASSERT_EQ(d.screen(), GameState::Playing);
    EXPECT_EQ(readText(slotPath(d.dataFolder(), 0)), "0 0 1 0 0 0 0 0 0");
    d.step(40);
    d.saveFrame("e2e_1_title_card.png");

    // Run in from a little before the arena.
    const Level& level = g.level;
    const float startX = level.arenaX - 500.0f;
    const GroundHeight ground = level.groundHeightAt(startX);
    ASSERT_TRUE(ground);
    g.player = makePlayer(0, {startX, ground.y - 18.0f});
    d.hold(K::Right);
    d.step(20);
    d.saveFrame("e2e_2_running.png");
    ASSERT_TRUE(stepUntil(d, 600, [&] { return g.session.bossActive; }));
    d.release(K::Right);
    EXPECT_EQ(g.audio.playingId(), "mini_boss");
    EXPECT_EQ(g.boss.kind, level.bossId);
    d.step(90);
    d.saveFrame("e2e_3_arena.png");

    // Beat the boss: star power keeps the hero safe, and whenever the boss
    // is open the hero drops onto its weak point.
    const std::int64_t scoreBeforeBoss = g.session.score;
    const bool beaten = stepUntil(d, 60 * 240, [&] {
        g.player.invincibleTime = 10.0f;
        if (g.boss.defeated) return true;
        if (g.boss.vulnerable && g.boss.hitFlash <= 0.0f && !g.player.dead) {
            g.player.x = g.boss.weakX;
            g.player.y = g.boss.weakY - g.boss.weakRadius - 8.0f;
            g.player.grounded = false;
            g.player.surface = -1;
            g.player.vx = 0;
            g.player.vy = 300;
        }
        return false;
    });
    ASSERT_TRUE(beaten) << "boss hp " << g.boss.hp << " state " << g.boss.state << " at " << g.boss.x << "," << g.boss.y;
    EXPECT_TRUE(g.session.bossDefeated);
    EXPECT_FALSE(g.session.bossActive);
    EXPECT_EQ(g.session.score, scoreBeforeBoss + 1000);
    EXPECT_TRUE(g.session.goalPresent);
    EXPECT_EQ(g.audio.playingId(), g.zoneMusicId(0));
    d.step(20);
    d.saveFrame("e2e_4_boss_beaten.png");

    // Walk to the goal sign.
    g.player.invincibleTime = 0;
    if (g.player.x > g.session.goalX) g.player.x = g.session.goalX - 200.0f;
    d.hold(K::Right);
    ASSERT_TRUE(stepUntil(d, 600, [&] { return g.session.goalReached; }));
    d.release(K::Right);
    EXPECT_EQ(g.session.score, scoreBeforeBoss + 1500);
    d.step(30);
    d.saveFrame("e2e_5_goal.png");

    // The results come 2.2 s after the touch.
    ASSERT_TRUE(stepUntil(d, 200, [&] { return d.screen() == GameState::ActResults; }));
    const std::int64_t bonus = g.session.timeBonus + g.session.gemBonus;
    EXPECT_EQ(g.session.gemBonus, 100 * g.player.gems);
    EXPECT_TRUE(g.achievements.has(0));
    d.step(100);
    d.saveFrame("e2e_6_results.png");
    const std::int64_t total = g.session.score + bonus;
    d.press(K::Enter);

    // Act 2, with the score and the slot file brought up to date.
    ASSERT_EQ(d.screen(), GameState::Playing);
    EXPECT_EQ(g.level.zone, 0);
    EXPECT_EQ(g.level.act, 2);
    EXPECT_EQ(g.session.score, total);
    EXPECT_EQ(readText(slotPath(d.dataFolder(), 0)), "0 0 2 0 0 " + std::to_string(total) + " 0 1 0");
    EXPECT_EQ(readText(achievementsPath(d.dataFolder())),
              std::to_string(g.achievements.unlocked) + " " + std::to_string(g.achievements.baddiesBroken));
    d.step(30);
    d.saveFrame("e2e_7_act_two.png");
}
