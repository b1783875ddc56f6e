#pragma once
#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Joystick.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/Window.hpp>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "core/GameState.h"

// ---------------------------------------------------------------------------
// Held keys and gamepad state, read through an interface so tests and tools
// can script them.
// ---------------------------------------------------------------------------

struct KeySource {
    virtual ~KeySource() = default;
    virtual bool keyDown(sf::Keyboard::Key key) const = 0;
    virtual bool mouseDown(sf::Mouse::Button button) const = 0;
    // Held states count only while the game window has the focus.
    virtual bool hasFocus() const = 0;
    // The first connected gamepad: whether there is one, its buttons and its
    // axes (-100..100; for the d-pad, negative PovY means up).
    virtual bool padConnected() const = 0;
    virtual bool padButton(unsigned button) const = 0;
    virtual float padAxis(sf::Joystick::Axis axis) const = 0;
};

// The real keyboard, the first connected joystick and the window's focus.
class LiveKeySource : public KeySource {
public:
    explicit LiveKeySource(const sf::Window& window) : window_(window) {}
    bool keyDown(sf::Keyboard::Key key) const override;
    bool mouseDown(sf::Mouse::Button button) const override;
    bool hasFocus() const override;
    bool padConnected() const override;
    bool padButton(unsigned button) const override;
    float padAxis(sf::Joystick::Axis axis) const override;

private:
    int firstPad() const;
    const sf::Window& window_;
};

// Keys, buttons and axes set by hand.
struct ScriptedKeySource : KeySource {
    std::set<sf::Keyboard::Key> keys;
    std::set<sf::Mouse::Button> mouseButtons;
    bool focus = true;
    bool pad = false;
    std::set<unsigned> buttons;
    std::map<sf::Joystick::Axis, float> axes;

    bool keyDown(sf::Keyboard::Key key) const override { return keys.count(key) != 0; }
    bool mouseDown(sf::Mouse::Button button) const override { return mouseButtons.count(button) != 0; }
    bool hasFocus() const override { return focus; }
    bool padConnected() const override { return pad; }
    bool padButton(unsigned button) const override { return pad && buttons.count(button) != 0; }
    float padAxis(sf::Joystick::Axis axis) const override {
        auto it = axes.find(axis);
        return pad && it != axes.end() ? it->second : 0.0f;
    }
};

// Gamepad layout (the common twin-stick pad): button 0 jumps, 1 and 2 are
// the action, 3 transforms and start acts as Escape. Stick or d-pad past
// the dead zone moves.
constexpr unsigned kPadJump = 0, kPadAction1 = 1, kPadAction2 = 2, kPadTransform = 3, kPadStart = 7;
constexpr float kPadDeadZone = 50.0f;

struct HeldStates {
    bool left = false, right = false, up = false, down = false;
    bool jump = false, action = false, transform = false;
    bool padStart = false;
    bool mouseLeft = false, mouseRight = false;
};

// The held states now: nothing while the window lacks the focus.
HeldStates readHeldStates(const KeySource& keys);

// ---------------------------------------------------------------------------
// Window events, as the game sees them.
// ---------------------------------------------------------------------------

struct InputEvent {
    enum Type {
        Closed, Resized, LostFocus, GainedFocus, KeyPressed, TextEntered, MouseMoved,
        MousePressed, MouseWheel, TouchBegan, TouchMoved, TouchEnded
    };
    enum Button { Left, Right, Other };

    Type type = Closed;
    sf::Keyboard::Key key = sf::Keyboard::Unknown;  // KeyPressed
    std::uint32_t codePoint = 0;                    // TextEntered
    sf::Vector2i pixel;                             // mouse and touch position in window pixels
    Button button = Left;                           // MousePressed
    float delta = 0.0f;                             // MouseWheel
    unsigned finger = 0;                            // touches
    sf::Vector2u size;                              // Resized

    static InputEvent keyPressed(sf::Keyboard::Key k) { InputEvent e; e.type = KeyPressed; e.key = k; return e; }
    static InputEvent text(std::uint32_t c) { InputEvent e; e.type = TextEntered; e.codePoint = c; return e; }
    static InputEvent mouseMoved(sf::Vector2i p) { InputEvent e; e.type = MouseMoved; e.pixel = p; return e; }
    static InputEvent mousePressed(sf::Vector2i p, Button b = Left) {
        InputEvent e; e.type = MousePressed; e.pixel = p; e.button = b; return e;
    }
    static InputEvent wheel(float d) { InputEvent e; e.type = MouseWheel; e.delta = d; return e; }
    static InputEvent touch(Type t, unsigned finger, sf::Vector2i p) {
        InputEvent e; e.type = t; e.finger = finger; e.pixel = p; return e;
    }
    static InputEvent of(Type t) { InputEvent e; e.type = t; return e; }
};

// ---------------------------------------------------------------------------
// The per-frame input snapshot read by every screen.
// ---------------------------------------------------------------------------

struct InputState {
    // Events of this frame.
    std::vector<sf::Keyboard::Key> keysPressed;
    std::vector<std::uint32_t> textEntered;
    bool clicked = false;
    bool rightClicked = false;
    float wheelDelta = 0.0f;

    // Kept across frames, in logical units.
    sf::Vector2f mousePos;
    std::map<unsigned, sf::Vector2f> touches;

    // Held states and their edges against the previous frame.
    bool left = false, right = false, up = false, down = false;
    bool jumpHeld = false, actionHeld = false, transformHeld = false;
    bool jumpPressed = false, jumpReleased = false;
    bool actionPressed = false, actionReleased = false;
    bool transformPressed = false;
    bool padStartHeld = false;
    bool mouseLeftHeld = false, mouseRightHeld = false;  // only while the window has the focus

    bool pressed(sf::Keyboard::Key key) const;

    // Start of a frame: forget this frame's events.
    void clearFrameEvents();
};

// Stores the new held states and computes the edges. A fresh press of the
// gamepad's start button is added to keysPressed as Escape.
void applyHeldStates(InputState& input, const HeldStates& now);

// The on-screen touch buttons of play: (x, y, w, h), each with a margin of
// 10 units on every side. Returns the index of the first button holding the
// point, or -1.
int touchButtonAt(sf::Vector2f point);

// Whether a new touch is taken by the on-screen buttons instead of counting
// as a click: only during unpaused play.
bool touchConsumed(GameState state, bool paused, sf::Vector2f point);
