// The debug editor inside the real game object: B in a "No Save" act, the
// palette, placing, removing, the cheats and resuming play.
#include <gtest/gtest.h>

#include <string>

#include "debug/DebugEditor.h"
#include "net/NetSupport.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

// A started story act (zone 0 act 1, hero 0) with the debug setting as given.
struct DebugGame {
    GameDriver d;
    Mivoland2& g = d.game();
    sf::Vector2f lastCursor;  // the world point of the last click

    explicit DebugGame(int slot = -1, bool setting = true) {
        EXPECT_TRUE(d.start());
        d.step(3);  // the new window's own events
        g.settings.debugMode = setting;
        SaveSlot fresh;
        fresh.hero = 0;
        g.beginStoryGame(slot, fresh);
        g.startAct(0, 1);
    }

    // Switches the editor on and lets the camera settle on the floating hero.
    void openEditor() {
        d.press(K::B);
        ASSERT_TRUE(g.session.debugActive);
        d.step(120);
    }

    // Flat ground 18 under the hero's centre over the whole act.
    float flattenGround() {
        const float y = g.player.y + 18.0f;
        g.level.groundPaths = {{{-1000.0f, y}, {g.level.endX + 1000.0f, y}}};
        return y;
    }

    void pick(const std::string& name) {
        for (int i = 0; i < kDebugPaletteSize && debugEntryName(g.debugPaletteIndex) != name; ++i) d.press(K::E);
        ASSERT_EQ(debugEntryName(g.debugPaletteIndex), name);
    }

    // The view point showing world point w with the camera as it is now.
    sf::Vector2f viewOf(sf::Vector2f w) const { return w - g.session.camera + sf::Vector2f(480.0f, 270.0f); }

    // The world point a click aimed at w will hit, as the window maps the mouse.
    sf::Vector2f aimOf(sf::Vector2f w) { return debugCursor(g.session.camera, g.toLogical(d.toPixel(viewOf(w)))); }

    // A left or right click aimed at world point w; remembers the world point
    // the editor saw (the camera of that frame and the mouse as mapped).
    void clickWorld(sf::Vector2f w, bool right = false) {
        const sf::Vector2f camera = g.session.camera;
        if (right)
            d.send(InputEvent::mousePressed(d.toPixel(viewOf(w)), InputEvent::Right));
        else
            d.click(viewOf(w));
        lastCursor = debugCursor(camera, g.input.mousePos);
    }

    std::size_t objectCount() const {
        const Level& l = g.level;
        return l.gems.size() + l.springs.size() + l.monitors.size() + l.enemies.size() + l.checkpoints.size() +
               l.stonePortals.size() + l.spikes.size() + l.dashPanels.size() + l.platforms.size();
    }
};

}  // namespace

TEST(DebugGame, BDoesNothingUnlessAllowed) {
    {
        DebugGame off(-1, false);
        off.d.press(K::B);
        EXPECT_FALSE(off.g.session.debugActive);
    }
    {
        DebugGame saved(0);
        saved.d.press(K::B);
        EXPECT_FALSE(saved.g.session.debugActive);
    }
    {
        DebugGame course;
        course.g.session.playingCourse = true;
        course.d.press(K::B);
        EXPECT_FALSE(course.g.session.debugActive);
    }
    {
        // A lobby: B does nothing, and an editor already open closes when one
        // is hosted.
        DebugGame lobby;
        lobby.g.lobby.config = loopbackConfig();
        lobby.openEditor();
        ASSERT_TRUE(lobby.g.lobby.hostLobby(false, "Host", 0));
        lobby.d.step();
        EXPECT_FALSE(lobby.g.session.debugActive);
        lobby.d.press(K::B);
        EXPECT_FALSE(lobby.g.session.debugActive);
        lobby.g.lobby.leaveLobby();
        lobby.d.press(K::B);
        EXPECT_TRUE(lobby.g.session.debugActive);
    }
}

TEST(DebugGame, TogglingEndsTheFormAndLeavingResumesWhereTheHeroFloats) {
    DebugGame s;
    s.g.player.transformed = s.g.player.divine = true;
    s.d.press(K::B);
    ASSERT_TRUE(s.g.session.debugActive);
    EXPECT_FALSE(s.g.player.transformed);
    EXPECT_FALSE(s.g.player.divine);

    // The title card is put away; only the editor runs: no clock, no baddies.
    EXPECT_EQ(s.g.session.titleCardTime, 0.0f);
    const float clock = s.g.session.actTime;
    const std::vector<Baddie> baddies = s.g.level.enemies;
    const float x0 = s.g.player.x, y0 = s.g.player.y;
    s.d.hold(K::D);
    s.d.hold(K::W);
    s.d.step(30);  // 0.5 s at 600
    s.d.release(K::D);
    s.d.release(K::W);
    EXPECT_NEAR(s.g.player.x, x0 + 300.0f, 1.0f);
    EXPECT_NEAR(s.g.player.y, y0 - 300.0f, 1.0f);
    s.d.hold(K::LShift);
    s.d.hold(K::A);
    s.d.step(12);  // 0.2 s at 1500
    s.d.release(K::A);
    s.d.release(K::LShift);
    EXPECT_NEAR(s.g.player.x, x0, 1.0f);
    EXPECT_EQ(s.g.player.facing, -1);
    EXPECT_EQ(s.g.session.actTime, clock);
    ASSERT_EQ(s.g.level.enemies.size(), baddies.size());
    for (std::size_t i = 0; i < baddies.size(); ++i) EXPECT_EQ(s.g.level.enemies[i].x, baddies[i].x);

    // B: play again from here, still, with a second of mercy; then gravity.
    s.g.player.vx = 300;
    const float fx = s.g.player.x, fy = s.g.player.y;
    s.d.press(K::B);
    EXPECT_FALSE(s.g.session.debugActive);
    EXPECT_EQ(s.g.player.vx, 0.0f);
    EXPECT_NEAR(s.g.player.hurtTime, 1.0f, 0.02f);
    EXPECT_NEAR(s.g.player.x, fx, 0.5f);
    EXPECT_NEAR(s.g.player.y, fy, 2.0f);
    s.d.step(10);
    EXPECT_GT(s.g.player.y, fy + 5.0f);
    EXPECT_EQ(s.g.session.titleCardTime, 0.0f);  // the card does not come back
    EXPECT_GT(s.g.session.actTime, clock);
}

TEST(DebugGame, AHeroRevivedFromADeathFallFallsInFullNextTime) {
    DebugGame s;
    s.g.player.dead = true;
    s.d.step(72);  // 1.2 s of the 1.6 s fall
    ASSERT_TRUE(s.g.player.dead);
    s.d.press(K::B);
    EXPECT_FALSE(s.g.player.dead);
    s.d.press(K::B);
    s.d.step(90);  // past the mercy time
    ASSERT_FALSE(s.g.player.dead);
    s.g.player.dead = true;
    s.d.step();
    EXPECT_LT(s.g.player.vy, -500.0f);  // the fall starts with its hop
    s.d.step(59);
    EXPECT_TRUE(s.g.player.dead);  // a whole new fall, not the rest of the old one
    s.d.step(60);
    EXPECT_FALSE(s.g.player.dead);
}

TEST(DebugGame, PickingByKeysBoxesAndWheelWithoutPlacing) {
    DebugGame s;
    s.openEditor();
    const std::size_t objects = s.objectCount();
    s.d.press(K::Q);
    EXPECT_EQ(s.g.debugPaletteIndex, 20);
    s.d.press(K::E);
    s.d.press(K::E);
    EXPECT_EQ(s.g.debugPaletteIndex, 1);
    s.d.click({690, 30});  // ">"
    EXPECT_EQ(s.g.debugPaletteIndex, 2);
    s.d.click({260, 20});  // "<"
    s.d.click({260, 20});
    EXPECT_EQ(s.g.debugPaletteIndex, 0);
    s.d.send(InputEvent::wheel(-3));
    EXPECT_EQ(s.g.debugPaletteIndex, 3);
    s.d.send(InputEvent::wheel(1));
    EXPECT_EQ(s.g.debugPaletteIndex, 2);
    s.d.click({480, 30});  // on the strip: nothing is placed
    EXPECT_EQ(s.objectCount(), objects);
}

TEST(DebugGame, SpringsSnapToTheGroundUnlessAimedDeepIntoIt) {
    DebugGame s;
    s.openEditor();
    const float ground = s.flattenGround();
    s.pick("Spring");
    const std::size_t springs = s.g.level.springs.size(), particles = s.g.effects.particles.size();
    s.clickWorld({s.g.player.x + 100.0f, ground - 100.0f});
    ASSERT_EQ(s.g.level.springs.size(), springs + 1);
    EXPECT_EQ(s.g.level.springs.back().x, s.lastCursor.x);
    EXPECT_EQ(s.g.level.springs.back().y, ground);
    EXPECT_EQ(s.g.level.springs.back().power, 1150.0f);
    EXPECT_GE(s.g.effects.particles.size(), particles + 8);  // the burst at the cursor

    s.clickWorld({s.g.player.x - 100.0f, ground + 60.0f});
    ASSERT_EQ(s.g.level.springs.size(), springs + 2);
    EXPECT_EQ(s.g.level.springs.back().y, s.lastCursor.y);
    EXPECT_NEAR(s.g.level.springs.back().y, ground + 60.0f, 1.0f);
}

TEST(DebugGame, SecretStoneEightTimes) {
    DebugGame s;
    s.openEditor();
    s.pick("Secret Stone");
    const char* colours[] = {"Red", "Orange", "Yellow", "Green", "Cyan", "Blue", "Purple"};
    for (int i = 0; i < 7; ++i) {
        s.clickWorld({s.g.player.x, s.g.player.y});
        EXPECT_EQ(s.d.toast(), std::string("You got the ") + colours[i] + " Secret Stone!");
        EXPECT_EQ(s.g.save.secretStones, (1 << (i + 1)) - 1);
    }
    s.clickWorld({s.g.player.x, s.g.player.y});
    EXPECT_EQ(s.d.toast(), "You have all 7 Secret Stones");
    EXPECT_EQ(s.g.save.secretStones, 127);
    EXPECT_EQ(s.g.save.divineStones, 0);

    s.pick("Divine Stone");
    s.clickWorld({s.g.player.x, s.g.player.y});
    EXPECT_EQ(s.d.toast(), "You got the Divine Red Stone!");
    EXPECT_EQ(s.g.save.divineStones, 1);

    // With the stones and 50 gems the form is there once play resumes.
    s.pick("+50 Gems");
    s.clickWorld({s.g.player.x, s.g.player.y});
    EXPECT_EQ(s.g.player.gems, 50);
    s.d.hold(K::Up);  // up in the air, where the form can start
    s.d.step(20);
    s.d.release(K::Up);
    s.d.press(K::B);
    s.d.hold(K::F);
    s.d.step(2);
    EXPECT_TRUE(s.g.player.transformed);
}

TEST(DebugGame, RightClickRemovesTheNearestOrNothing) {
    DebugGame s;
    s.openEditor();
    // Nothing within 50 of a point high above the hero.
    const sf::Vector2f empty{s.g.player.x + 200.0f, s.g.player.y - 200.0f};
    const auto nothingNear = findDebugRemoval(s.g.level, empty);
    ASSERT_FALSE(nothingNear);
    const std::size_t objects = s.objectCount();
    s.clickWorld(empty, true);
    EXPECT_EQ(s.objectCount(), objects);

    // A gem and a monitor 30 either side: the gem is examined first.
    const sf::Vector2f p = s.aimOf(empty);
    s.g.level.monitors.push_back({p.x - 30.0f, p.y});
    s.g.level.gems.push_back({p.x + 30.0f, p.y, false});
    const std::size_t gems = s.g.level.gems.size(), monitors = s.g.level.monitors.size();
    s.clickWorld(empty, true);
    ASSERT_EQ(s.lastCursor, p);
    EXPECT_EQ(s.g.level.gems.size(), gems - 1);
    EXPECT_EQ(s.g.level.monitors.size(), monitors);
    s.clickWorld(empty, true);
    EXPECT_EQ(s.g.level.monitors.size(), monitors - 1);
    EXPECT_EQ(s.objectCount(), objects);
}

TEST(DebugGame, PlacingAndRemovingARowOfBaddies) {
    DebugGame s;
    s.openEditor();
    const float ground = s.flattenGround();
    s.pick("Crawler");
    const std::size_t baddies = s.g.level.enemies.size();
    for (int i = 0; i < 4; ++i) s.clickWorld({s.g.player.x + 80.0f * float(i + 1), ground - 50.0f});
    ASSERT_EQ(s.g.level.enemies.size(), baddies + 4);
    EXPECT_EQ(s.g.level.enemies.back().y, ground - 16.0f);
    EXPECT_EQ(s.g.level.enemies.back().kind, BaddieKind::Crawler);
    for (int i = 0; i < 4; ++i) s.clickWorld({s.g.player.x + 80.0f * float(i + 1), ground - 16.0f}, true);
    EXPECT_EQ(s.g.level.enemies.size(), baddies);
}

TEST(DebugGame, GoToBossThenPlayStartsTheFight) {
    DebugGame s;
    s.openEditor();
    s.pick("Go to Boss");
    s.clickWorld({s.g.player.x, s.g.player.y});
    const sf::Vector2f spot = debugBossSpot(s.g.level);
    EXPECT_EQ(s.g.player.x, spot.x);
    EXPECT_EQ(s.g.player.y, spot.y);
    EXPECT_FALSE(s.g.session.bossStarted);
    s.d.press(K::B);
    ASSERT_FALSE(s.g.session.debugActive);
    s.d.hold(K::Right);
    for (int i = 0; i < 300 && !s.g.session.bossActive; ++i) s.d.step();
    EXPECT_TRUE(s.g.session.bossActive);
}

TEST(DebugGame, TheMovedGoalClearsTheAct) {
    DebugGame s;
    s.openEditor();
    s.pick("Goal");
    const std::int64_t score = s.g.session.score;
    s.clickWorld({s.g.player.x + 20.0f, s.g.player.y});
    EXPECT_TRUE(s.g.session.goalPresent);
    EXPECT_EQ(s.g.session.goalX, s.lastCursor.x);
    EXPECT_EQ(s.g.session.goalY, debugSnappedY(s.g.level, s.lastCursor) - 70.0f);
    s.d.step(30);
    EXPECT_FALSE(s.g.session.goalReached);  // the editor holds the act
    s.d.press(K::B);
    for (int i = 0; i < 200 && s.d.screen() == GameState::Playing; ++i) s.d.step();
    EXPECT_TRUE(s.g.session.goalReached);
    EXPECT_EQ(s.d.screen(), GameState::ActResults);
    EXPECT_EQ(s.g.session.score, score + kGoalPoints);
}

TEST(DebugGame, ScreenshotsOfTheEditor) {
    DebugGame s;
    s.openEditor();
    const float ground = s.flattenGround();
    const float x = s.g.player.x;
    s.pick("Spring");
    for (int i = 0; i < 3; ++i) s.clickWorld({x + 60.0f + 70.0f * float(i), ground - 80.0f});
    s.pick("Crawler");
    for (int i = 0; i < 3; ++i) s.clickWorld({x + 290.0f + 70.0f * float(i), ground - 80.0f});
    s.pick("Ledge");
    s.clickWorld({x + 180.0f, ground - 150.0f});
    s.pick("Buzzer");
    s.d.moveMouse(s.viewOf({x + 330.0f, ground - 220.0f}));
    s.d.saveFrame("debug_editor.png");
    s.d.press(K::B);
    s.d.hold(K::Right);
    s.d.step(25);
    s.d.saveFrame("debug_resumed.png");
}
