#include <gtest/gtest.h>

#include <cmath>

#include "core/Input.h"
#include "gameplay/Temple.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;
constexpr float kJump = 720.0f;  // "Fr"'s full jump

InputState none() { return {}; }

InputState keys(std::initializer_list<sf::Keyboard::Key> pressed) {
    InputState in;
    in.keysPressed.assign(pressed.begin(), pressed.end());
    return in;
}

InputState clickAt(float x, float y) {
    InputState in;
    in.clicked = true;
    in.mousePos = {x, y};
    return in;
}

// Walking, standing still under slot i.
TempleState underSlot(int i) {
    TempleState t = enterTemple(true);
    t.x = templeSlotCentre(i).x;
    return t;
}

// Steps until the warning opens or the frames run out; true if it opened.
bool jumpIntoSlot(TempleState& t, int divine) {
    InputState jump;
    jump.jumpPressed = true;
    jump.jumpHeld = true;
    stepTemple(t, jump, kFrame, divine, kJump);
    jump.jumpPressed = false;
    for (int i = 0; i < 90; ++i) {
        if (t.phase == kTempleWarning) return true;
        stepTemple(t, jump, kFrame, divine, kJump);
    }
    return t.phase == kTempleWarning;
}

TempleState inWarning(int divine = 0) {
    TempleState t = underSlot(lowestMissingStone(divine));
    stepTemple(t, none(), kFrame, divine, kJump);  // arms the slot
    EXPECT_TRUE(jumpIntoSlot(t, divine));
    return t;
}

}  // namespace

TEST(HiddenTemple, TheAwakeningPlaysOnlyOnTheFirstVisit) {
    EXPECT_EQ(enterTemple(true).phase, kTempleWalking);

    TempleState t = enterTemple(false);
    EXPECT_EQ(t.phase, kTempleDark);
    EXPECT_FLOAT_EQ(t.x, 120.0f);
    EXPECT_FLOAT_EQ(t.y, 452.0f);
    EXPECT_EQ(t.facing, 1);

    std::vector<float> chimes;
    int introDone = 0, shakes = 0;
    float time = 0.0f, walkingAt = -1.0f;
    for (int i = 0; i < 800 && walkingAt < 0.0f; ++i) {
        TempleStep s = stepTemple(t, keys({sf::Keyboard::Escape}), kFrame, 0, kJump);
        time += kFrame;
        EXPECT_FALSE(s.leave);  // the awakening cannot be left
        for (const SoundCue& c : s.sounds)
            if (c.effect == kSoundChime) chimes.push_back(c.pitch);
        shakes += t.shakeTime > 0.149f;
        introDone += s.introDone;
        if (t.phase == kTempleWalking) walkingAt = time;
    }
    ASSERT_EQ(chimes.size(), 7u);
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(chimes[std::size_t(k)], 0.6f + 0.08f * float(k), 1e-5f);
    EXPECT_EQ(shakes, 7);
    EXPECT_EQ(introDone, 1);
    EXPECT_NEAR(walkingAt, 1.2f + 2.4f + 1.6f + 5.7f, 4 * kFrame);
}

TEST(HiddenTemple, DecliningAndStandingStillDoesNotReopenTheWarning) {
    TempleState t = inWarning();
    EXPECT_EQ(t.vx, 0.0f);
    TempleStep no = stepTemple(t, keys({sf::Keyboard::Escape}), kFrame, 0, kJump);
    EXPECT_EQ(t.phase, kTempleWalking);
    EXPECT_FALSE(t.armed);
    ASSERT_EQ(no.sounds.size(), 1u);
    EXPECT_EQ(no.sounds[0].effect, kSoundMenu);
    EXPECT_FALSE(no.leave);  // Escape here only declines

    // Standing still: the hero drops back out of the slot and stays put.
    for (int i = 0; i < 180; ++i) {
        stepTemple(t, none(), kFrame, 0, kJump);
        ASSERT_EQ(t.phase, kTempleWalking) << "frame " << i;
    }
    EXPECT_TRUE(t.onGround);
    // Having stepped 40 or more away (the floor is 92 below the slot), a jump back in reopens it.
    EXPECT_TRUE(t.armed);
    EXPECT_TRUE(jumpIntoSlot(t, 0));
}

TEST(HiddenTemple, DecliningInsideTheSlotNeedsAStepAwayFirst) {
    TempleState t = inWarning();
    stepTemple(t, keys({sf::Keyboard::Backspace}), kFrame, 0, kJump);
    // Hold the hero in the slot: no warning while it has not stepped away.
    const sf::Vector2f slot = templeSlotCentre(0);
    for (int i = 0; i < 10; ++i) {
        t.x = slot.x;
        t.y = slot.y + 10.0f;
        t.vy = 0.0f;
        t.onGround = false;
        stepTemple(t, none(), kFrame, 0, kJump);
        ASSERT_EQ(t.phase, kTempleWalking);
    }
    // 40 away, then back.
    t.x = slot.x + 45.0f;
    t.y = slot.y;
    stepTemple(t, none(), kFrame, 0, kJump);
    EXPECT_TRUE(t.armed);
    t.x = slot.x;
    t.y = slot.y;
    t.vy = 0.0f;
    stepTemple(t, none(), kFrame, 0, kJump);
    EXPECT_EQ(t.phase, kTempleWarning);
}

TEST(HiddenTemple, WarningAnswers) {
    using K = sf::Keyboard;
    struct Case {
        const char* name;
        InputState in;
        int answer;  // 1 yes, 0 no, -1 none
    } cases[] = {
        {"Enter", keys({K::Enter}), 1},
        {"Space", keys({K::Space}), 1},
        {"Escape", keys({K::Escape}), 0},
        {"Backspace", keys({K::Backspace}), 0},
        {"click Yes", clickAt(580, 385), 1},
        {"click No", clickAt(380, 385), 0},
        {"click between", clickAt(480, 385), -1},
        {"click below", clickAt(580, 420), -1},
        {"Escape and Enter", keys({K::Escape, K::Enter}), 1},
        {"click No and Enter", [] { InputState in = clickAt(380, 385); in.keysPressed = {K::Enter}; return in; }(), 1},
        {"nothing", none(), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempleState t = inWarning(0b11);
        TempleStep s = stepTemple(t, c.in, kFrame, 0b11, kJump);
        EXPECT_EQ(s.startDivine, c.answer == 1);
        EXPECT_EQ(t.phase, c.answer == -1 ? kTempleWarning : kTempleWalking);
        EXPECT_FALSE(s.leave);
    }
}

TEST(HiddenTemple, TheWarningShowsStagesEightToFourteen) {
    EXPECT_EQ(templeWarningStage(0), 8);
    EXPECT_EQ(templeWarningStage(0b1), 9);
    EXPECT_EQ(templeWarningStage(0b0111111), 14);
    // The stage the warning names is the stage that starts.
    for (int held = 0; held < 7; ++held) {
        const int mask = (1 << held) - 1;
        EXPECT_EQ(templeWarningStage(mask), enterFromTemple(mask, 1).run.stage + 1);
    }
}

TEST(HiddenTemple, WithEveryDivineStoneTheSlotsStayShut) {
    for (int i = 0; i < 7; ++i) {
        TempleState t = underSlot(i);
        EXPECT_FALSE(jumpIntoSlot(t, 0x7F)) << "slot " << i;
    }
    EXPECT_FALSE(enterFromTemple(0x7F, 1).start);
}

TEST(HiddenTemple, OnlyTheNextSlotOpensTheWarning) {
    TempleState t = underSlot(0);
    stepTemple(t, none(), kFrame, 0b1, kJump);
    EXPECT_FALSE(jumpIntoSlot(t, 0b1));  // slot 0's stone is held; slot 1 is next
    t = underSlot(1);
    stepTemple(t, none(), kFrame, 0b1, kJump);
    EXPECT_TRUE(jumpIntoSlot(t, 0b1));
}

TEST(HiddenTemple, LeavingByEscapeOrTheDoorway) {
    TempleState t = enterTemple(true);
    EXPECT_TRUE(stepTemple(t, keys({sf::Keyboard::Escape}), kFrame, 0, kJump).leave);
    t = enterTemple(true);
    EXPECT_TRUE(stepTemple(t, keys({sf::Keyboard::Backspace}), kFrame, 0, kJump).leave);

    t = enterTemple(true);
    InputState right;
    right.right = true;
    bool left = false;
    for (int i = 0; i < 400 && !left; ++i) left = stepTemple(t, right, kFrame, 0x7F, kJump).leave;
    EXPECT_TRUE(left);
    EXPECT_LT(std::hypot(t.x - 905.0f, t.y - 420.0f), 50.0f);
}

TEST(HiddenTemple, WalkingAndJumping) {
    TempleState t = enterTemple(true);
    InputState left;
    left.left = true;
    for (int i = 0; i < 120; ++i) stepTemple(t, left, kFrame, 0x7F, kJump);
    EXPECT_FLOAT_EQ(t.x, 40.0f);  // the left wall
    EXPECT_EQ(t.facing, -1);

    // A tapped jump is cut to a short hop; a held one goes high.
    auto peak = [](bool held) {
        TempleState s = enterTemple(true);
        InputState in;
        in.jumpPressed = true;
        in.jumpHeld = held;
        TempleStep first = stepTemple(s, in, kFrame, 0x7F, kJump);
        EXPECT_EQ(first.sounds.size(), 1u);
        in.jumpPressed = false;
        float top = s.y;
        for (int i = 0; i < 120; ++i) {
            stepTemple(s, in, kFrame, 0x7F, kJump);
            top = std::min(top, s.y);
        }
        EXPECT_TRUE(s.onGround);
        EXPECT_FLOAT_EQ(s.y, 452.0f);
        return 452.0f - top;
    };
    const float hop = peak(false), full = peak(true);
    EXPECT_NEAR(hop, 400.0f * 400.0f / 3800.0f, 8.0f);
    EXPECT_NEAR(full, kJump * kJump / 3800.0f, 8.0f);
}
