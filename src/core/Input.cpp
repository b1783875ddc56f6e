#include "core/Input.h"

#include <SFML/Graphics/Rect.hpp>
#include <algorithm>

// ---- Live key source ------------------------------------------------------

bool LiveKeySource::keyDown(sf::Keyboard::Key key) const { return sf::Keyboard::isKeyPressed(key); }

bool LiveKeySource::mouseDown(sf::Mouse::Button button) const { return sf::Mouse::isButtonPressed(button); }

bool LiveKeySource::hasFocus() const { return window_.isOpen() && window_.hasFocus(); }

int LiveKeySource::firstPad() const {
    for (unsigned i = 0; i < sf::Joystick::Count; ++i)
        if (sf::Joystick::isConnected(i)) return int(i);
    return -1;
}

bool LiveKeySource::padConnected() const { return firstPad() >= 0; }

bool LiveKeySource::padButton(unsigned button) const {
    const int pad = firstPad();
    return pad >= 0 && button < sf::Joystick::getButtonCount(unsigned(pad)) &&
           sf::Joystick::isButtonPressed(unsigned(pad), button);
}

float LiveKeySource::padAxis(sf::Joystick::Axis axis) const {
    const int pad = firstPad();
    if (pad < 0 || !sf::Joystick::hasAxis(unsigned(pad), axis)) return 0.0f;
    float v = sf::Joystick::getAxisPosition(unsigned(pad), axis);
#ifdef _WIN32
    // The Windows driver reports the d-pad's up as positive.
    if (axis == sf::Joystick::PovY) v = -v;
#endif
    return v;
}

// ---- Held states ----------------------------------------------------------

HeldStates readHeldStates(const KeySource& keys) {
    HeldStates h;
    if (!keys.hasFocus()) return h;
    using K = sf::Keyboard;
    auto down = [&](K::Key k) { return keys.keyDown(k); };
    h.left = down(K::Left) || down(K::A);
    h.right = down(K::Right) || down(K::D);
    h.up = down(K::Up);
    h.down = down(K::Down) || down(K::S);
    h.jump = down(K::Space) || down(K::W) || down(K::Up) || down(K::Z);
    h.action = down(K::LShift) || down(K::RShift) || down(K::K) || down(K::X);
    h.transform = down(K::F) || down(K::C);
    h.mouseLeft = keys.mouseDown(sf::Mouse::Left);
    h.mouseRight = keys.mouseDown(sf::Mouse::Right);

    if (keys.padConnected()) {
        using J = sf::Joystick;
        const float x = keys.padAxis(J::X), y = keys.padAxis(J::Y);
        const float px = keys.padAxis(J::PovX), py = keys.padAxis(J::PovY);
        h.left = h.left || x < -kPadDeadZone || px < -kPadDeadZone;
        h.right = h.right || x > kPadDeadZone || px > kPadDeadZone;
        h.up = h.up || y < -kPadDeadZone || py < -kPadDeadZone;
        h.down = h.down || y > kPadDeadZone || py > kPadDeadZone;
        h.jump = h.jump || keys.padButton(kPadJump);
        h.action = h.action || keys.padButton(kPadAction1) || keys.padButton(kPadAction2);
        h.transform = h.transform || keys.padButton(kPadTransform);
        h.padStart = keys.padButton(kPadStart);
    }
    return h;
}

// ---- Snapshot -------------------------------------------------------------

bool InputState::pressed(sf::Keyboard::Key key) const {
    return std::find(keysPressed.begin(), keysPressed.end(), key) != keysPressed.end();
}

void InputState::clearFrameEvents() {
    keysPressed.clear();
    textEntered.clear();
    clicked = false;
    rightClicked = false;
    wheelDelta = 0.0f;
}

void applyHeldStates(InputState& in, const HeldStates& now) {
    in.jumpPressed = now.jump && !in.jumpHeld;
    in.jumpReleased = !now.jump && in.jumpHeld;
    in.actionPressed = now.action && !in.actionHeld;
    in.actionReleased = !now.action && in.actionHeld;
    in.transformPressed = now.transform && !in.transformHeld;
    if (now.padStart && !in.padStartHeld) in.keysPressed.push_back(sf::Keyboard::Escape);

    in.left = now.left;
    in.right = now.right;
    in.up = now.up;
    in.down = now.down;
    in.jumpHeld = now.jump;
    in.actionHeld = now.action;
    in.transformHeld = now.transform;
    in.padStartHeld = now.padStart;
    in.mouseLeftHeld = now.mouseLeft;
    in.mouseRightHeld = now.mouseRight;
}

// ---- Touch buttons --------------------------------------------------------

int touchButtonAt(sf::Vector2f p) {
    static const sf::FloatRect buttons[6] = {
        {20, 410, 100, 110}, {130, 410, 100, 110}, {240, 440, 80, 80},
        {830, 410, 110, 110}, {710, 430, 100, 90}, {850, 310, 90, 80},
    };
    const float m = 10.0f;
    for (int i = 0; i < 6; ++i) {
        const sf::FloatRect& r = buttons[i];
        if (p.x >= r.left - m && p.x <= r.left + r.width + m && p.y >= r.top - m && p.y <= r.top + r.height + m)
            return i;
    }
    return -1;
}

bool touchConsumed(GameState state, bool paused, sf::Vector2f point) {
    return (state == GameState::Playing || state == GameState::HiddenTemple) && !paused &&
           touchButtonAt(point) >= 0;
}
