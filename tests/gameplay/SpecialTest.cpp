#include <gtest/gtest.h>

#include <cmath>

#include "core/Input.h"
#include "gameplay/Special.h"
#include "gameplay/SpecialPilot.h"
#include "gameplay/Objects.h"
#include "level/Level.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// A run of stage 0 holding only the given items, standing still at the start.
SpecialRun bareRun(std::vector<SpecialItem> items) {
    SpecialRun run = buildStage(0, 0);
    run.items = std::move(items);
    return run;
}

// An item that the first frame of a bare run meets head-on.
SpecialItem meetAtFirstFrame(bool bomb, float lane = 0.0f) {
    return {300.0f, lane, bomb, false};
}

}  // namespace

TEST(SpecialStage, BombNeverLeavesANegativeOrbCount) {
    SpecialRun run = bareRun({meetAtFirstFrame(true)});
    run.orbs = 5;
    const float speedBefore = run.speed + 8.0f * kFrame;
    SpecialStep step = stepSpecial(run, InputState{}, kFrame);
    EXPECT_TRUE(step.bombHit);
    EXPECT_EQ(run.orbs, 0);
    EXPECT_TRUE(run.items[0].used);
    EXPECT_FLOAT_EQ(run.bombFlash, 0.5f);
    EXPECT_FLOAT_EQ(run.speed, speedBefore * 0.8f);
}

TEST(SpecialStage, JumpHeightDecidesWhatIsTaken) {
    struct Case {
        float height;
        bool orbTaken;
        bool bombHits;
    } cases[] = {{0.0f, true, true}, {40.0f, true, true}, {55.0f, true, false}, {70.0f, true, false},
                 {80.0f, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        SpecialRun run = bareRun({meetAtFirstFrame(false, 0.0f), meetAtFirstFrame(true, 0.05f)});
        run.orbs = 12;
        run.height = c.height;
        run.jumpSpeed = 1500.0f * kFrame;  // this frame's gravity leaves the height where it is
        stepSpecial(run, InputState{}, kFrame);
        ASSERT_NEAR(run.height, c.height, 1e-3f);
        EXPECT_EQ(run.items[0].used, c.orbTaken);
        EXPECT_EQ(run.items[1].used, c.bombHits);
        EXPECT_EQ(run.orbs, 12 + (c.orbTaken ? 1 : 0) - (c.bombHits ? 10 : 0));
    }
}

TEST(SpecialStage, GateNeedsFollowTheStage) {
    struct Case {
        int stage;
        std::array<int, 3> need;
    } cases[] = {{0, {22, 44, 66}},   {6, {40, 80, 120}},   {7, {53, 106, 159}},
                 {13, {71, 142, 213}}, {-4, {22, 44, 66}}, {99, {71, 142, 213}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        SpecialRun run = buildStage(c.stage, 2);
        EXPECT_EQ(run.gateNeed, c.need);
        EXPECT_EQ(run.divine, run.stage >= 7);
        EXPECT_FLOAT_EQ(run.speed, 950.0f + 25.0f * float(run.stage));
        EXPECT_EQ(run.hero, 2);
    }
}

TEST(SpecialStage, GatesCountRunningTotalsAndPassOnExactlyTheNeed) {
    // For each gate, one orb short fails the run; exactly the need passes,
    // and the orbs are kept for the next gate.
    for (int gate = 0; gate < 3; ++gate) {
        for (int shortBy : {1, 0}) {
            SCOPED_TRACE(testing::Message() << "gate " << gate << " short by " << shortBy);
            SpecialRun run = bareRun({});
            run.gate = gate;
            run.orbs = run.gateNeed[std::size_t(gate)] - shortBy;
            run.distance = run.gatePos[std::size_t(gate)] - kSpecialPlayerAhead - 1.0f;
            const int before = run.orbs;
            SpecialStep step = stepSpecial(run, InputState{}, kFrame);
            EXPECT_EQ(run.orbs, before);
            if (shortBy) {
                EXPECT_EQ(run.result, kSpecialFailed);
                EXPECT_TRUE(step.failedNow);
                EXPECT_EQ(run.gate, gate);
            } else {
                EXPECT_EQ(run.gate, gate + 1);
                EXPECT_EQ(run.result, gate == 2 ? kSpecialWon : kSpecialRunning);
                EXPECT_EQ(run.message, gate == 2 ? "" : "Gate " + std::to_string(gate + 1) + " cleared!");
                EXPECT_FLOAT_EQ(run.messageTimer, 1.5f);
            }
        }
    }
}

TEST(SpecialStage, TheResultComesBackOnceAfterThreeSeconds) {
    SpecialRun run = bareRun({});
    run.gate = 2;
    run.orbs = 66;
    run.distance = 42000.0f - kSpecialPlayerAhead;
    SpecialStep first = stepSpecial(run, InputState{}, kFrame);
    EXPECT_TRUE(first.wonNow);
    EXPECT_EQ(first.result, kSpecialRunning);

    int returned = 0, frames = 0;
    const float distance = run.distance;
    for (; frames < 400; ++frames) {
        SpecialStep s = stepSpecial(run, InputState{}, 0.01f);
        if (s.result != kSpecialRunning) {
            EXPECT_EQ(s.result, kSpecialWon);
            EXPECT_GT(run.endTimer, 3.0f);
            EXPECT_LT(run.endTimer, 3.02f);
            ++returned;
        }
    }
    EXPECT_EQ(returned, 1);
    EXPECT_FLOAT_EQ(run.distance, distance);  // the run stands still once decided
}

TEST(SpecialStage, SoundsOfAFrame) {
    SpecialStep orb;
    orb.orbsTaken = 2;
    auto cues = specialSounds(orb);
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].effect, kSoundOrb);
    EXPECT_FLOAT_EQ(cues[0].pitch, 1.2f);

    // The bomb sound plays on the hit frame only, even at a small frame time.
    SpecialRun run = bareRun({meetAtFirstFrame(true)});
    int bombSounds = 0;
    for (int i = 0; i < 30; ++i)
        for (const SoundCue& c : specialSounds(stepSpecial(run, InputState{}, 0.002f)))
            bombSounds += c.effect == kSoundBomb;
    EXPECT_EQ(bombSounds, 1);
}

TEST(SpecialStage, SteeringAndJumping) {
    SpecialRun run = bareRun({});
    InputState in;
    in.left = true;
    for (int i = 0; i < 120; ++i) stepSpecial(run, in, kFrame);
    EXPECT_FLOAT_EQ(run.lane, -1.25f);

    in = InputState{};
    in.jumpPressed = true;
    stepSpecial(run, in, kFrame);
    EXPECT_GT(run.height, 0.0f);
    float peak = 0.0f;
    in.jumpPressed = false;
    for (int i = 0; i < 60; ++i) {
        stepSpecial(run, in, kFrame);
        peak = std::max(peak, run.height);
    }
    EXPECT_NEAR(peak, 520.0f * 520.0f / 3000.0f, 6.0f);
    EXPECT_EQ(run.height, 0.0f);
    EXPECT_EQ(run.jumpSpeed, 0.0f);
}

TEST(SpecialStage, TheSameStageBuildsTheSameItems) {
    for (int stage = 0; stage < kStageCount; ++stage) {
        SCOPED_TRACE(stage);
        const SpecialRun a = buildStage(stage, 0), b = buildStage(stage, 5);
        ASSERT_EQ(a.items.size(), b.items.size());
        for (std::size_t i = 0; i < a.items.size(); ++i) {
            EXPECT_EQ(a.items[i].distance, b.items[i].distance);
            EXPECT_EQ(a.items[i].lane, b.items[i].lane);
            EXPECT_EQ(a.items[i].bomb, b.items[i].bomb);
        }
        for (const SpecialItem& it : a.items) {
            EXPECT_GE(it.distance, 1500.0f);
            EXPECT_LE(std::fabs(it.lane), 1.35f + 1e-4f);  // guard bombs reach past the pipe's 1.25
        }
    }
    // Stage 0 opens with a guarded line on lane 0.6071732 (generator values
    // worked out by hand): an orb flanked by two bombs 0.45 either side.
    const SpecialRun s0 = buildStage(0, 0);
    ASSERT_GE(s0.items.size(), 3u);
    EXPECT_FLOAT_EQ(s0.items[0].distance, 1500.0f);
    EXPECT_NEAR(s0.items[0].lane, 0.6071732f, 1e-5f);
    EXPECT_FALSE(s0.items[0].bomb);
    EXPECT_TRUE(s0.items[1].bomb);
    EXPECT_NEAR(s0.items[1].lane, 0.6071732f + 0.45f, 1e-5f);
    EXPECT_NEAR(s0.items[2].lane, 0.6071732f - 0.45f, 1e-5f);
    // Stage 13 opens with a bomb wall: five orbs on its gap lane.
    const SpecialRun s13 = buildStage(13, 0);
    int wallBombs = 0;
    while (s13.items[std::size_t(wallBombs)].bomb) ++wallBombs;
    EXPECT_GE(wallBombs, 6);
    EXPECT_LE(wallBombs, 7);
}

TEST(SpecialStage, StoneNamesAndColours) {
    EXPECT_EQ(stoneName(0, false), "Red Secret Stone");
    EXPECT_EQ(stoneName(6, true), "Divine Purple Stone");
    EXPECT_STREQ(stoneColorName(4), "Cyan");
    EXPECT_EQ(stoneColor(0), sf::Color(255, 0, 60));
}

TEST(SpecialStage, StoneMasks) {
    EXPECT_EQ(stonesHeld(0b1010101), 4);
    EXPECT_EQ(stonesHeld(-1), 7);  // bits past the seventh stone never count
    EXPECT_EQ(lowestMissingStone(0b0010111), 3);
    EXPECT_EQ(lowestMissingStone(0x7F | 0x100), -1);
    EXPECT_TRUE(allStonesHeld(0xFF));
    EXPECT_FALSE(allStonesHeld(0x3F));
}

TEST(SpecialStage, PortalRunsAimAtTheLowestMissingStone) {
    struct Case {
        int mask, stone, stage;
    } cases[] = {{0, 0, 0}, {0b101, 1, 2}, {0b0111111, 6, 6}, {0b1000000, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        SpecialEntry e = enterFromPortal(c.mask, 3);
        EXPECT_TRUE(e.start);
        EXPECT_FALSE(e.divine);
        EXPECT_EQ(e.stone, c.stone);
        EXPECT_EQ(e.run.stage, c.stage);
        EXPECT_EQ(e.run.hero, 3);
    }
    EXPECT_FALSE(enterFromPortal(0x7F, 3).start);
}

TEST(SpecialStage, TempleRunsAimAtDivineStones) {
    SpecialEntry e = enterFromTemple(0b11, 1);
    EXPECT_TRUE(e.start);
    EXPECT_TRUE(e.divine);
    EXPECT_EQ(e.stone, 2);
    EXPECT_EQ(e.run.stage, 9);
    EXPECT_TRUE(e.run.divine);
    EXPECT_EQ(enterFromTemple(0b111111, 1).run.stage, 13);
    EXPECT_FALSE(enterFromTemple(0x7F, 1).start);
}

TEST(SpecialStage, ASpentPortalAndAFailedRunOfferTheSameStageAgain) {
    Level level;
    level.stonePortals = {{100.0f, 0.0f, false}, {2000.0f, 0.0f, false}};
    Player player;
    player.x = 100.0f;
    Effects effects;
    XorShift32 rng(7);
    ObjectFrame frame;
    frame.dt = kFrame;
    ObjectEvents events;
    const int secret = 0b11;

    // Touching the first portal spends it and leads to the special stage.
    updateItems(level, player, effects, rng, frame, events);
    ASSERT_EQ(events.stonePortals, std::vector<int>{0});
    EXPECT_TRUE(level.stonePortals[0].used);
    EXPECT_EQ(portalOutcome(secret, 0, player.hero).outcome, PortalOutcome::SpecialStage);
    const SpecialEntry run = enterFromPortal(secret, player.hero);

    // The run fails: nothing is won, and the spent portal stays spent.
    const SpecialReward reward = specialReward(kSpecialFailed, run.stone, run.divine, secret, 0);
    EXPECT_EQ(reward.secretStones, secret);
    EXPECT_FALSE(reward.save);
    EXPECT_TRUE(reward.achievements.empty());
    events.clear();
    updateItems(level, player, effects, rng, frame, events);
    EXPECT_TRUE(events.stonePortals.empty());

    // The next portal offers the same stage for the same stone.
    player.x = 2000.0f;
    updateItems(level, player, effects, rng, frame, events);
    ASSERT_EQ(events.stonePortals, std::vector<int>{1});
    EXPECT_EQ(portalOutcome(reward.secretStones, 0, player.hero).outcome, PortalOutcome::SpecialStage);
    const SpecialEntry again = enterFromPortal(reward.secretStones, player.hero);
    EXPECT_EQ(again.run.stage, run.run.stage);
    EXPECT_EQ(again.stone, run.stone);
}

TEST(SpecialStage, ATempleOnlyForFourHeroesAndGemsForTheOthers) {
    for (int hero = 0; hero < 9; ++hero) {
        SCOPED_TRACE(hero);
        const bool templeHero = hero >= 1 && hero <= 4;
        PortalResult missing = portalOutcome(0x7F, 0b101, hero);
        EXPECT_EQ(missing.outcome, templeHero ? PortalOutcome::Temple : PortalOutcome::Gems);
        EXPECT_EQ(missing.toast, !templeHero);
        EXPECT_EQ(missing.gems, templeHero ? 0 : 50);

        PortalResult allDivine = portalOutcome(0x7F, 0x7F, hero);
        EXPECT_EQ(allDivine.outcome, PortalOutcome::Gems);
        EXPECT_FALSE(allDivine.toast);
        EXPECT_EQ(allDivine.gems, 50);

        EXPECT_EQ(portalOutcome(0x3F, 0, hero).outcome, PortalOutcome::SpecialStage);
    }
    EXPECT_STREQ(kDivineHeroesToast, "Only Fr, Tr, Ktr and Bolim can awaken the Divine Stones");
}

TEST(SpecialStage, AWinSetsTheStoneAndItsAchievements) {
    SpecialReward r = specialReward(kSpecialWon, 2, false, 0b011, 0);
    EXPECT_EQ(r.secretStones, 0b111);
    EXPECT_EQ(r.achievements, std::vector<int>{kAchievementStoneSeeker});
    EXPECT_TRUE(r.save);

    r = specialReward(kSpecialWon, 6, false, 0x3F, 0);
    EXPECT_EQ(r.secretStones, 0x7F);
    EXPECT_EQ(r.achievements, (std::vector<int>{kAchievementStoneSeeker, kAchievementRainbowAgain}));

    r = specialReward(kSpecialWon, 0, true, 0x7F, 0b10);
    EXPECT_EQ(r.secretStones, 0x7F);
    EXPECT_EQ(r.divineStones, 0b11);
    EXPECT_TRUE(r.save);
}

TEST(SpecialStage, AScriptedPlayerWinsStageZero) {
    const SpecialRun run = pilotStage(0, 0);
    EXPECT_EQ(run.result, kSpecialWon);
    EXPECT_EQ(run.gate, 3);
}

TEST(SpecialStage, StageThirteenIsStillWinnableBySteeringToOrbsAndJumpingBombs) {
    // The full table for all fourteen stages comes from "special_shots probe".
    const SpecialRun run = pilotStage(13, 1);
    EXPECT_EQ(run.result, kSpecialWon) << "orbs " << run.orbs << " at gate " << run.gate;
    EXPECT_GE(run.orbs, 213);
}
