// The play session inside the real game object, driven frame by frame.
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

// A started game in a story act of slot 1 (slot index 0), hero 3.
struct StoryGame {
    GameDriver d;
    Mivoland2& g = d.game();

    explicit StoryGame(int zone = 0, int act = 1, int slot = 0) {
        EXPECT_TRUE(d.start());
        d.step(3);  // the new window's own events (a hidden window may report losing the focus)
        SaveSlot fresh;
        fresh.hero = 3;
        g.beginStoryGame(slot, fresh);
        g.startAct(zone, act);
    }
    std::string slotFile() { return readText(slotPath(d.dataFolder(), 0)); }
    std::string achievementsFile() { return readText(achievementsPath(d.dataFolder())); }

    // Puts the player just inside the arena, standing; the next frame starts the fight.
    void enterArena() {
        g.player = makePlayer(g.player.hero, {g.level.arenaX + 150.0f, g.level.arenaY - 18.0f});
        d.step();
    }
    void chooseFromPause(int index) {
        d.press(K::Escape);
        ASSERT_TRUE(g.paused);
        for (int i = 0; i < index; ++i) d.press(K::Down);
        d.press(K::Enter);
    }
};

}  // namespace

TEST(ActFlowGame, AnActStartWritesTheSlotAndRunsTheClock) {
    StoryGame s(1, 2);
    EXPECT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_EQ(s.g.level.zone, 1);
    EXPECT_EQ(s.g.level.act, 2);
    EXPECT_EQ(s.g.player.hero, 3);
    EXPECT_EQ(s.g.session.titleCardTime, 2.6f);
    EXPECT_EQ(s.g.session.camera, s.g.level.startPos);
    EXPECT_EQ(s.slotFile(), "3 1 2 0 0 0 0 3 0");  // furthest act 2 * 1 - 1 + 2
    EXPECT_EQ(s.g.audio.playingId(), s.g.zoneMusicId(1));

    s.d.step(60);
    EXPECT_NEAR(s.g.session.actTime, 1.0f, 0.02f);
    EXPECT_NEAR(s.g.session.titleCardTime, 1.6f, 0.02f);
    s.d.press(K::P);
    EXPECT_TRUE(s.g.paused);
    const float frozen = s.g.session.actTime;
    s.d.step(30);
    EXPECT_EQ(s.g.session.actTime, frozen);
    s.d.press(K::Enter);  // "Resume"
    EXPECT_FALSE(s.g.paused);
    s.d.step(1);
    EXPECT_GT(s.g.session.actTime, frozen);

    // Losing the focus pauses too, with the pause list to leave it by.
    s.d.send(InputEvent::of(InputEvent::LostFocus));
    EXPECT_TRUE(s.g.paused);
    EXPECT_EQ(s.g.session.pauseList.buttons.size(), 4u);
    s.d.press(K::Enter);
    EXPECT_FALSE(s.g.paused);
}

TEST(ActFlowGame, RestartRestoresGemsAndBaddiesAndResetsTheClock) {
    StoryGame s;
    ASSERT_GE(s.g.level.gems.size(), 5u);
    ASSERT_FALSE(s.g.level.enemies.empty());
    const Level fresh = s.g.level;
    for (int i = 0; i < 5; ++i) s.g.level.gems[std::size_t(i)].taken = true;
    for (Baddie& b : s.g.level.enemies) b.alive = false;
    s.g.player.gems = 12;
    s.g.session.score = 700;
    s.d.step(90);
    s.chooseFromPause(1);  // "Restart"
    EXPECT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_FALSE(s.g.paused);
    EXPECT_EQ(s.g.session.actTime, 0.0f);
    EXPECT_EQ(s.g.player.gems, 0);
    EXPECT_EQ(s.g.session.score, 700);  // the score goes on
    ASSERT_EQ(s.g.level.gems.size(), fresh.gems.size());
    for (const Gem& gem : s.g.level.gems) EXPECT_FALSE(gem.taken);
    ASSERT_EQ(s.g.level.enemies.size(), fresh.enemies.size());
    for (const Baddie& b : s.g.level.enemies) EXPECT_TRUE(b.alive);
    EXPECT_EQ(s.g.level.zone, 0);
    EXPECT_EQ(s.g.level.act, 1);
}

TEST(ActFlowGame, ACourseHasNoActSelectAndRestartsItself) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step(3);
    Mivoland2& g = d.game();
    Level course;
    course.groundPaths.push_back({{-400, 400}, {3000, 400}});
    course.startPos = {100, 382};
    course.arenaX = 2200;
    course.bossX = 2800;
    course.arenaY = 400;
    course.endX = 3000;
    course.lowestGroundY = 400;
    Gem gem;
    gem.x = 300;
    gem.y = 360;
    course.gems = {gem};
    g.session.playingCourse = true;
    g.beginAct(course, 2);
    EXPECT_EQ(g.session.titleCardTime, 0.0f);
    EXPECT_TRUE(g.session.goalPresent);  // no boss: the goal stands 160 before the arena's end
    EXPECT_EQ(g.session.goalX, 2640.0f);
    EXPECT_EQ(g.session.goalY, 330.0f);
    EXPECT_TRUE(g.session.bossDefeated);

    g.level.gems[0].taken = true;
    d.press(K::Escape);
    const auto& b = g.session.pauseList.buttons;
    ASSERT_EQ(b.size(), 4u);
    EXPECT_FALSE(b[2].enabled);
    EXPECT_EQ(b[3].label, "Back to Editor");
    d.press(K::Down);
    d.press(K::Down);  // skips the disabled "Act Select"
    EXPECT_EQ(g.session.pauseList.selected, 3);
    d.press(K::Up);
    d.press(K::Enter);  // "Restart"
    EXPECT_EQ(d.screen(), GameState::Playing);
    EXPECT_TRUE(g.session.playingCourse);
    EXPECT_EQ(g.level.groundPaths.size(), 1u);  // the course, not a story act
    EXPECT_FALSE(g.level.gems[0].taken);

    // Reaching the goal of a course goes back to the editor.
    g.player = makePlayer(2, {g.session.goalX, 382});
    d.step(1);
    EXPECT_TRUE(g.session.goalReached);
    d.step(140);
    EXPECT_EQ(d.screen(), GameState::Maker);
    EXPECT_FALSE(g.session.playingCourse);
    EXPECT_TRUE(g.achievements.has(10));
}

TEST(ActFlowGame, ADeathInABossFightResetsTheFightAndFreesTheCamera) {
    StoryGame s;
    s.enterArena();
    ASSERT_TRUE(s.g.session.bossActive);
    EXPECT_EQ(s.g.session.respawnPoint, sf::Vector2f(s.g.level.arenaX + 80, s.g.level.arenaY - 40));
    EXPECT_EQ(s.g.audio.playingId(), "mini_boss");
    s.d.step(120);
    EXPECT_GE(s.g.session.camera.x, s.g.level.arenaX + 420.0f);

    Platform crumbler;
    crumbler.x1 = crumbler.x2 = -9000;  // out of the way
    crumbler.crumbles = true;
    crumbler.fallen = true;
    s.g.level.platforms.push_back(crumbler);
    s.g.player.hearts = 0;
    s.g.player.dead = true;
    s.d.step(100);  // the 1.6 s fall
    EXPECT_FALSE(s.g.level.platforms.back().fallen);
    EXPECT_FALSE(s.g.player.dead);
    EXPECT_FALSE(s.g.session.bossStarted);
    EXPECT_FALSE(s.g.session.bossActive);
    EXPECT_FALSE(s.g.bossPresent());
    EXPECT_EQ(s.g.player.hearts, 3);
    EXPECT_NEAR(s.g.player.x, s.g.level.arenaX + 80.0f, 1.0f);
    EXPECT_EQ(s.g.audio.playingId(), s.g.zoneMusicId(0));
    s.d.step(90);
    EXPECT_LT(s.g.session.camera.x, s.g.level.arenaX + 300.0f);  // no longer held in the arena

    // Walking back in starts the fight again, against a boss at full strength.
    s.enterArena();
    EXPECT_TRUE(s.g.session.bossActive);
    EXPECT_EQ(s.g.boss.hp, s.g.boss.maxHp);
    EXPECT_EQ(s.g.boss.kind, s.g.level.bossId);
}

TEST(ActFlowGame, TheFinalBossClearsTheActAndTheEndingFollows) {
    StoryGame s(5, 2);
    ASSERT_EQ(s.g.level.bossId, 9);
    s.enterArena();
    ASSERT_TRUE(s.g.session.bossActive);
    EXPECT_EQ(s.g.audio.playingId(), "final_boss");
    s.g.session.score = 2000;
    s.g.defeatBoss();
    EXPECT_EQ(s.d.screen(), GameState::ActResults);
    EXPECT_FALSE(s.g.session.goalPresent);
    EXPECT_TRUE(s.g.session.bossDefeated);
    EXPECT_EQ(s.g.session.score, 3000);
    EXPECT_TRUE(s.g.achievements.has(8));
    EXPECT_TRUE(s.g.achievements.has(0));

    s.d.step(80);
    s.d.press(K::Enter);
    EXPECT_EQ(s.d.screen(), GameState::Ending);
    EXPECT_EQ(s.g.storyPage, 0);
    EXPECT_TRUE(s.g.save.finished);
    EXPECT_EQ(s.g.audio.playingId(), "title");
    const std::string file = s.slotFile();
    EXPECT_EQ(file.substr(0, 6), "3 5 2 ");
    EXPECT_NE(file.find(" 1 11 0"), std::string::npos) << file;  // finished, furthest act 11
}

TEST(ActFlowGame, ResultsAddTheBonusesAndLeadToTheNextAct) {
    StoryGame s;
    s.g.session.score = 1000;
    s.g.player.gems = 37;
    s.g.session.actTime = 59.9f;
    s.g.clearAct();
    EXPECT_EQ(s.d.screen(), GameState::ActResults);
    EXPECT_EQ(s.g.session.timeBonus, 10000);
    EXPECT_EQ(s.g.session.gemBonus, 3700);
    EXPECT_TRUE(s.g.achievements.has(9));  // under 1:30
    EXPECT_EQ(s.g.audio.playingId(), "");  // the music stops
    s.d.step(30);
    s.d.press(K::Enter);  // too early: before 1.2 s nothing happens
    EXPECT_EQ(s.d.screen(), GameState::ActResults);
    s.d.step(50);
    s.d.press(K::Space);
    EXPECT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_EQ(s.g.level.act, 2);
    EXPECT_EQ(s.g.session.score, 14700);
    EXPECT_EQ(s.slotFile(), "3 0 2 0 0 14700 0 1 0");

    // An act cleared in exactly 60 s; the results go on by themselves after 7 s.
    s.g.session.actTime = 60.0f;
    s.g.player.gems = 0;
    s.g.clearAct();
    EXPECT_EQ(s.g.session.timeBonus, 5000);
    s.d.step(410);
    EXPECT_EQ(s.d.screen(), GameState::ActResults);
    s.d.step(15);
    EXPECT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_EQ(s.g.level.zone, 1);
    EXPECT_EQ(s.g.level.act, 1);
    EXPECT_EQ(s.g.session.score, 19700);
}

TEST(ActFlowGame, ActSelectOpensReachedActsOnly) {
    StoryGame s(1, 1);  // furthest act 2
    s.chooseFromPause(2);
    ASSERT_EQ(s.d.screen(), GameState::ActSelect);
    const auto& b = s.g.menu.buttons;
    ASSERT_EQ(b.size(), 13u);
    EXPECT_EQ(s.g.menu.selected, 2);  // the current act
    for (int i = 0; i < 12; ++i) EXPECT_EQ(b[std::size_t(i)].enabled, i <= 2) << i;
    s.d.press(K::Escape);
    EXPECT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_TRUE(s.g.paused);

    s.d.press(K::Enter);  // the pause list is still on "Act Select"
    ASSERT_EQ(s.d.screen(), GameState::ActSelect);
    s.d.press(K::Down);  // locked acts are skipped: on to "Back"
    EXPECT_EQ(s.g.menu.selected, 12);
    s.d.press(K::Down);
    s.d.press(K::Enter);  // act 1 of zone 0
    EXPECT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_FALSE(s.g.paused);
    EXPECT_EQ(s.g.level.zone, 0);
    EXPECT_EQ(s.g.level.act, 1);
    EXPECT_EQ(s.g.save.furthestAct, 2);

    // A "No Save" game opens every act.
    StoryGame free(0, 1, -1);
    free.chooseFromPause(2);
    for (const MenuButton& button : free.g.menu.buttons) EXPECT_TRUE(button.enabled);
}

TEST(ActFlowGame, QuitToTitleWritesTheSlot) {
    StoryGame s;
    s.g.session.score = 4321;
    s.chooseFromPause(3);
    EXPECT_EQ(s.d.screen(), GameState::MainMenu);
    EXPECT_EQ(s.slotFile(), "3 0 1 0 0 4321 0 0 0");
}

TEST(ActFlowGame, AnAchievementUnlockedTwiceShowsOneToast) {
    StoryGame s;
    s.g.achievements.baddiesBroken = 4;
    s.g.unlockAchievement(1);
    EXPECT_EQ(s.d.toast(), "Achievement: Loop-de-Loop");
    EXPECT_EQ(s.achievementsFile(), "2 4");
    ASSERT_FALSE(writeFileAtomically(achievementsPath(s.d.dataFolder()), "untouched"));
    s.g.toast = Toast{};
    s.g.unlockAchievement(1);
    EXPECT_EQ(s.d.toast(), "");
    EXPECT_EQ(s.achievementsFile(), "untouched");
    s.g.unlockAchievement(99);  // out of the table: nothing
    EXPECT_EQ(s.d.toast(), "");
}

TEST(ActFlowGame, BrokenBaddiesReachTheFileAtActClearAndOnClose) {
    StoryGame s;
    s.g.achievements.baddiesBroken = 7;
    s.g.clearAct();
    EXPECT_EQ(s.achievementsFile(), "513 7");  // "Back in Action" and "Speedrunner"
    s.g.achievements.baddiesBroken = 9;
    s.g.startAct(0, 2);
    s.g.session.score = 555;
    s.d.send(InputEvent::of(InputEvent::Closed));
    EXPECT_FALSE(s.d.open());
    EXPECT_EQ(s.achievementsFile(), "513 9");
    EXPECT_EQ(s.slotFile(), "3 0 2 0 0 555 0 1 0");
}

TEST(ActFlowGame, ClosingOnAMenuWritesNoSlot) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.game().currentSlot = 0;  // left over from a game quit earlier
    d.game().state = GameState::SaveSelect;
    d.send(InputEvent::of(InputEvent::Closed));
    EXPECT_FALSE(pathExists(slotPath(d.dataFolder(), 0)));
}

TEST(ActFlowGame, NoSaveWritesNothingAndTheDebugToggleHoldsTheAct) {
    StoryGame s(0, 1, -1);
    EXPECT_FALSE(pathExists(slotPath(s.d.dataFolder(), 0)));
    s.g.settings.debugMode = true;
    s.d.press(K::B);
    EXPECT_TRUE(s.g.session.debugActive);
    const float t = s.g.session.actTime;
    s.d.step(20);
    EXPECT_EQ(s.g.session.actTime, t);
    s.g.player.vx = 300;
    s.d.press(K::B);
    EXPECT_FALSE(s.g.session.debugActive);
    EXPECT_EQ(s.g.player.vx, 0.0f);
    EXPECT_NEAR(s.g.player.hurtTime, 1.0f, 0.02f);

    // Not in a saved game.
    StoryGame saved;
    saved.g.settings.debugMode = true;
    saved.d.press(K::B);
    EXPECT_FALSE(saved.g.session.debugActive);
}

TEST(ActFlowGame, ScreenshotsOfAnAct) {
    StoryGame s;
    s.d.step(30);
    s.d.saveFrame("flow_title_card.png");
    s.g.player = makePlayer(0, {s.g.level.arenaX - 300.0f, s.g.level.arenaY - 60.0f});
    s.d.hold(K::Right);
    for (int i = 0; i < 600 && !s.g.session.bossActive; ++i) s.d.step();
    EXPECT_TRUE(s.g.session.bossActive);
    s.d.release(K::Right);
    s.d.step(60);
    s.d.saveFrame("flow_arena.png");
    s.d.press(K::Escape);
    s.d.saveFrame("flow_pause.png");
}

TEST(ActFlowGame, AnOlderSevenValueSlotContinuesWithEveryActReached) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step(3);
    Mivoland2& g = d.game();
    ASSERT_FALSE(writeFileAtomically(slotPath(d.dataFolder(), 0), "3 9 7 5 0 1200 0"));
    const SaveSlot record = loadSlot(d.dataFolder(), 0);
    ASSERT_TRUE(record.exists);
    EXPECT_EQ(record.furthestAct, 11);
    g.beginStoryGame(0, record);
    g.startAct(record.zone, record.act);
    EXPECT_EQ(g.level.zone, 5);
    EXPECT_EQ(g.level.act, 2);
    EXPECT_EQ(g.session.score, 1200);
    EXPECT_EQ(readText(slotPath(d.dataFolder(), 0)), "3 5 2 5 0 1200 0 11 0");  // rewritten whole
    g.openActSelect();
    for (const MenuButton& b : g.menu.buttons) EXPECT_TRUE(b.enabled) << b.label;
    EXPECT_EQ(g.menu.selected, 11);

    // A six-value file is an empty slot.
    ASSERT_FALSE(writeFileAtomically(slotPath(d.dataFolder(), 1), "3 9 7 5 0 1200"));
    EXPECT_FALSE(loadSlot(d.dataFolder(), 1).exists);
}

TEST(ActFlowGame, TheFormItsMusicAndTheGadgetSpring) {
    StoryGame s;
    s.g.save.secretStones = 0x7F;
    s.g.player.gems = 51;
    s.g.player.y -= 200;  // in the air
    s.g.player.grounded = false;
    s.d.hold(K::F);
    s.d.step();
    s.d.release(K::F);
    ASSERT_TRUE(s.g.player.transformed);
    EXPECT_FALSE(s.g.player.divine);
    EXPECT_TRUE(s.g.achievements.has(6));
    EXPECT_FALSE(s.g.achievements.has(7));
    EXPECT_EQ(s.g.audio.playingId(), "form");
    s.d.step(150);  // a gem a second: 51 gems last a little over two seconds more than 50
    EXPECT_TRUE(s.g.player.transformed);
    s.g.player.gems = 1;
    s.d.step(70);
    EXPECT_FALSE(s.g.player.transformed);
    EXPECT_EQ(s.g.audio.playingId(), s.g.zoneMusicId(0));

    // A fall into a pit in the form: the respawned hero is back to the zone's song.
    s.g.player.gems = 60;
    s.g.player.y -= 200;
    s.g.player.grounded = false;
    s.d.hold(K::F);
    s.d.step();
    s.d.release(K::F);
    ASSERT_EQ(s.g.audio.playingId(), "form");
    s.g.player.dead = true;
    s.d.step(100);
    EXPECT_FALSE(s.g.player.dead);
    EXPECT_FALSE(s.g.player.transformed);
    EXPECT_EQ(s.g.audio.playingId(), s.g.zoneMusicId(0));

    // Lt's ability leaves a gadget spring behind.
    StoryGame lt;
    lt.g.player = makePlayer(7, lt.g.player.x > 0 ? sf::Vector2f(lt.g.player.x, lt.g.player.y) : lt.g.level.startPos);
    lt.d.step(30);
    const std::size_t springs = lt.g.level.springs.size();
    lt.d.hold(K::K);
    lt.d.step();
    EXPECT_EQ(lt.g.level.springs.size(), springs + 1);
    EXPECT_NEAR(lt.g.level.springs.back().lifetime, 3.0f, 0.02f);  // already counting down
}

TEST(ActFlowGame, RunningRoundALoopUnlocksLoopDeLoop) {
    StoryGame s;
    ASSERT_FALSE(s.g.level.loops.empty());
    const Loop& loop = s.g.level.loops.front();
    Player& p = s.g.player;
    p = makePlayer(3, {loop.x, loop.y - 18});
    p.loopIndex = 0;
    p.loopAngle = 6.1f;  // almost all the way round
    p.loopSpeed = 900;
    p.rolling = true;
    for (int i = 0; i < 10 && p.loopIndex >= 0; ++i) s.d.step();
    EXPECT_LT(p.loopIndex, 0);  // out again at the bottom
    EXPECT_TRUE(s.g.achievements.has(1));
    EXPECT_EQ(s.d.toast(), "Achievement: Loop-de-Loop");
}
