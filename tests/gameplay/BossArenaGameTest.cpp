// Boss fights in the real game object: the hero stays in view, an off-screen
// boss has its marker, and after a boss falls holding Right clears the act.
#include <gtest/gtest.h>

#include "render/World.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

struct ActId {
    int zone, act;
};
const ActId kEveryArena[] = {{0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 2},
                             {3, 1}, {3, 2}, {4, 1}, {4, 2}, {5, 1}, {5, 2}};

// One game for all the arenas: a "No Save" story with the given hero.
struct ArenaGame {
    GameDriver d;
    Mivoland2& g = d.game();

    explicit ArenaGame(int hero) {
        EXPECT_TRUE(d.start());
        d.step(3);
        SaveSlot fresh;
        fresh.hero = hero;
        g.beginStoryGame(-1, fresh);
    }
    // Starts the act and walks the hero into its arena: the fight is on.
    void startFight(ActId a) {
        d.keys().keys.clear();
        g.startAct(a.zone, a.act);
        g.player = makePlayer(g.player.hero, {g.level.arenaX + 150.0f, g.level.arenaY - 18.0f});
        g.session.camera = {g.player.x, g.player.y - 40.0f};  // as if it had followed the hero in
        play();
        ASSERT_TRUE(g.session.bossActive);
    }
    // One frame of the game as GameDriver::step runs it, without drawing it:
    // what these tests look at is the play state, and drawing is slow.
    void play(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            g.totalTime += GameDriver::kFrame;
            g.handleEvents();
            g.update(GameDriver::kFrame);
        }
    }
    sf::FloatRect view() { return worldViewRect(g.session.camera, g.session.shakeTime, g.totalTime); }
    bool heroInView() {
        const sf::FloatRect v = view();
        const Player& p = g.player;
        return p.x - 18 >= v.left && p.x + 18 <= v.left + v.width && p.y - 18 >= v.top &&
               p.y + 18 <= v.top + v.height;
    }
};

}  // namespace

TEST(BossArenaGame, AFlappingHeroStaysInViewInEveryArena) {
    ArenaGame s(2);  // Tr: a flap every 0.2 s, without end
    for (const ActId& a : kEveryArena) {
        SCOPED_TRACE(std::to_string(a.zone) + "-" + std::to_string(a.act));
        s.startFight(a);
        const float floor = s.g.level.arenaY;
        int outOfView = 0;
        float highest = floor;
        for (int f = 0; f < 600; ++f) {
            s.g.player.invincibleTime = 5.0f;  // the boss cannot end the flight
            if (f % 14 == 0) s.d.hold(K::Space);  // a flap as soon as the last one allows
            if (f % 14 == 1) s.d.release(K::Space);
            if (f == 0) s.d.hold(K::Right);
            if (f == 300) {
                s.d.release(K::Right);
                s.d.hold(K::Left);
            }
            s.play();
            if (!s.heroInView()) ++outOfView;
            highest = std::min(highest, s.g.player.y);
        }
        EXPECT_EQ(outOfView, 0);
        EXPECT_LT(highest, floor - 1500.0f);  // it did fly high
        EXPECT_TRUE(s.g.session.bossActive);
    }
}

TEST(BossArenaGame, AfterEachBossButTheLastHoldingRightClearsTheAct) {
    ArenaGame s(3);
    for (const ActId& a : kEveryArena) {
        if (a.zone == 5 && a.act == 2) continue;  // the final boss clears the act by itself
        SCOPED_TRACE(std::to_string(a.zone) + "-" + std::to_string(a.act));
        s.startFight(a);
        s.g.boss.hp = 1;
        // Whenever the boss is open the hero drops onto its weak point.
        for (int f = 0; f < 60 * 60 && !s.g.boss.defeated; ++f) {
            s.g.player.invincibleTime = 5.0f;
            const BossState& b = s.g.boss;
            if (b.vulnerable && b.hitFlash <= 0.0f) {
                Player& p = s.g.player;
                p.x = b.weakX;
                p.y = b.weakY - b.weakRadius - 8.0f;
                p.grounded = false;
                p.surface = -1;
                p.vx = 0;
                p.vy = 300;
            }
            s.play();
        }
        ASSERT_TRUE(s.g.boss.defeated);
        ASSERT_TRUE(s.g.session.goalPresent);
        const float beatenAt = s.g.player.x;

        // A new player holds Right and nothing else.
        const bool pictures = a.zone == 0 && a.act == 1;
        s.d.hold(K::Right);
        int frames = 0;
        while (s.d.screen() == GameState::Playing && frames < 60 * 12) {
            s.play();
            ++frames;
            if (pictures && frames == 20) s.d.saveFrame("boss_beaten_goal_falling.png");
            if (pictures && s.g.session.goalReached && s.g.session.goalTime < 0.02f)
                s.d.saveFrame("boss_beaten_goal_touched.png");
        }
        s.d.release(K::Right);
        EXPECT_EQ(s.d.screen(), GameState::ActResults) << "beaten at x " << beatenAt << ", goal at "
                                                       << s.g.session.goalX << ", player at " << s.g.player.x;
        EXPECT_TRUE(s.g.session.goalReached);
        EXPECT_LT(frames, 60 * 6);
    }
}

TEST(BossArenaGame, AnOffScreenBossShowsItsMarker) {
    ArenaGame s(0);
    // The Bramble Beetle walks in from beyond the arena's right end.
    s.startFight({0, 1});
    std::optional<BossMarker> m = s.g.bossMarker();
    ASSERT_TRUE(m);
    EXPECT_GT(m->dir.x, 0.9f);
    const sf::Image frame = s.d.frameImage();
    const sf::Color mark = frame.getPixel(unsigned(m->pos.x), unsigned(m->pos.y - 4));
    EXPECT_EQ(mark, sf::Color::White);  // the marker's "!"
    s.d.saveFrame("boss_marker_beetle.png");

    // Once it is in view the marker is gone.
    int f = 0;
    while (s.g.bossMarker() && f++ < 600) s.play();
    ASSERT_FALSE(s.g.bossMarker());
    EXPECT_LT(s.g.boss.x - 64.0f, s.view().left + s.view().width);  // its thorns at least show

    // The Prism Bat comes down from above.
    s.startFight({1, 1});
    m = s.g.bossMarker();
    ASSERT_TRUE(m);
    EXPECT_LT(m->dir.y, -0.9f);
    s.play(60);
    EXPECT_FALSE(s.g.bossMarker());
    s.d.saveFrame("boss_marker_bat_settled.png");
}
