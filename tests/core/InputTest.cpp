#include <gtest/gtest.h>

#include "core/Input.h"

using K = sf::Keyboard;

TEST(HeldStates, KeysMapToTheSevenHeldStates) {
    struct Case { K::Key key; HeldStates want; };
    auto h = [](bool l, bool r, bool u, bool d, bool j, bool a, bool t) {
        HeldStates s; s.left = l; s.right = r; s.up = u; s.down = d; s.jump = j; s.action = a; s.transform = t;
        return s;
    };
    const Case cases[] = {
        {K::Left, h(1, 0, 0, 0, 0, 0, 0)},  {K::A, h(1, 0, 0, 0, 0, 0, 0)},
        {K::Right, h(0, 1, 0, 0, 0, 0, 0)}, {K::D, h(0, 1, 0, 0, 0, 0, 0)},
        {K::Up, h(0, 0, 1, 0, 1, 0, 0)},    {K::W, h(0, 0, 0, 0, 1, 0, 0)},
        {K::Down, h(0, 0, 0, 1, 0, 0, 0)},  {K::S, h(0, 0, 0, 1, 0, 0, 0)},
        {K::Space, h(0, 0, 0, 0, 1, 0, 0)}, {K::Z, h(0, 0, 0, 0, 1, 0, 0)},
        {K::LShift, h(0, 0, 0, 0, 0, 1, 0)}, {K::RShift, h(0, 0, 0, 0, 0, 1, 0)},
        {K::K, h(0, 0, 0, 0, 0, 1, 0)},     {K::X, h(0, 0, 0, 0, 0, 1, 0)},
        {K::F, h(0, 0, 0, 0, 0, 0, 1)},     {K::C, h(0, 0, 0, 0, 0, 0, 1)},
    };
    for (const Case& c : cases) {
        ScriptedKeySource keys;
        keys.keys = {c.key};
        const HeldStates got = readHeldStates(keys);
        EXPECT_EQ(got.left, c.want.left) << c.key;
        EXPECT_EQ(got.right, c.want.right) << c.key;
        EXPECT_EQ(got.up, c.want.up) << c.key;
        EXPECT_EQ(got.down, c.want.down) << c.key;
        EXPECT_EQ(got.jump, c.want.jump) << c.key;
        EXPECT_EQ(got.action, c.want.action) << c.key;
        EXPECT_EQ(got.transform, c.want.transform) << c.key;
    }
}

TEST(HeldStates, NothingIsHeldWithoutFocus) {
    ScriptedKeySource keys;
    keys.keys = {K::Left, K::Space};
    keys.pad = true;
    keys.buttons = {kPadJump, kPadStart};
    keys.mouseButtons = {sf::Mouse::Left, sf::Mouse::Right};
    keys.focus = false;
    const HeldStates h = readHeldStates(keys);
    EXPECT_FALSE(h.left || h.jump || h.padStart || h.mouseLeft || h.mouseRight);
}

TEST(HeldStates, MouseButtonsAreHeldStatesOfTheSnapshot) {
    ScriptedKeySource keys;
    keys.mouseButtons = {sf::Mouse::Right};
    InputState in;
    applyHeldStates(in, readHeldStates(keys));
    EXPECT_FALSE(in.mouseLeftHeld);
    EXPECT_TRUE(in.mouseRightHeld);
    keys.mouseButtons = {sf::Mouse::Left};
    applyHeldStates(in, readHeldStates(keys));
    EXPECT_TRUE(in.mouseLeftHeld);
    EXPECT_FALSE(in.mouseRightHeld);
}

TEST(HeldStates, GamepadStickDpadAndButtons) {
    ScriptedKeySource keys;
    keys.pad = true;
    keys.axes = {{sf::Joystick::X, -80.0f}, {sf::Joystick::PovY, 100.0f}};
    keys.buttons = {kPadAction2, kPadTransform};
    HeldStates h = readHeldStates(keys);
    EXPECT_TRUE(h.left);
    EXPECT_FALSE(h.right);
    EXPECT_TRUE(h.down);
    EXPECT_FALSE(h.jump);
    EXPECT_TRUE(h.action);
    EXPECT_TRUE(h.transform);

    // Inside the dead zone nothing moves; button 0 jumps.
    keys.axes = {{sf::Joystick::X, 30.0f}, {sf::Joystick::Y, -40.0f}};
    keys.buttons = {kPadJump};
    h = readHeldStates(keys);
    EXPECT_FALSE(h.left || h.right || h.up || h.down);
    EXPECT_TRUE(h.jump);

    // A disconnected pad counts for nothing.
    keys.pad = false;
    EXPECT_FALSE(readHeldStates(keys).jump);
}

TEST(InputEdges, PressAndReleaseEdgesLastOneFrame) {
    InputState in;
    HeldStates h;
    h.jump = true;
    h.action = true;
    h.transform = true;
    applyHeldStates(in, h);
    EXPECT_TRUE(in.jumpPressed && in.actionPressed && in.transformPressed);
    EXPECT_FALSE(in.jumpReleased || in.actionReleased);

    applyHeldStates(in, h);
    EXPECT_FALSE(in.jumpPressed || in.actionPressed || in.transformPressed);
    EXPECT_TRUE(in.jumpHeld);

    applyHeldStates(in, HeldStates{});
    EXPECT_TRUE(in.jumpReleased && in.actionReleased);
    EXPECT_FALSE(in.jumpHeld || in.transformPressed);
}

TEST(InputEdges, GamepadStartActsAsOneEscapePress) {
    InputState in;
    HeldStates h;
    h.padStart = true;
    applyHeldStates(in, h);
    EXPECT_TRUE(in.pressed(K::Escape));
    in.clearFrameEvents();
    applyHeldStates(in, h);  // still held: no second press
    EXPECT_FALSE(in.pressed(K::Escape));
}

TEST(TouchButtons, RectanglesWithTheirMarginsAndFirstMatchWins) {
    struct Case { sf::Vector2f p; int want; };
    const Case cases[] = {
        {{70, 460}, 0},   {{10, 400}, 0},  {{9.5f, 460}, -1}, {{125, 460}, 0},  // margins overlap: first wins
        {{180, 460}, 1},  {{280, 480}, 2}, {{885, 465}, 3},   {{760, 475}, 4},
        {{895, 350}, 5},  {{480, 270}, -1}, {{480, 530}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(touchButtonAt(c.p), c.want) << c.p.x << "," << c.p.y;
}

TEST(TouchButtons, OnlyUnpausedPlayConsumesTouches) {
    const sf::Vector2f jump{885, 465};
    EXPECT_TRUE(touchConsumed(GameState::Playing, false, jump));
    EXPECT_TRUE(touchConsumed(GameState::HiddenTemple, false, jump));
    EXPECT_FALSE(touchConsumed(GameState::Playing, true, jump));
    EXPECT_FALSE(touchConsumed(GameState::MainMenu, false, jump));
    EXPECT_FALSE(touchConsumed(GameState::Playing, false, {480, 100}));
}
