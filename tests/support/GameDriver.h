#pragma once
#include <SFML/Graphics/Image.hpp>
#include <memory>
#include <string>
#include <vector>

#include "core/Mivoland2.h"
#include "support/TempFolder.h"

// Runs the real game object against a temporary data folder, with a hidden
// window, scripted held keys and injected window events, one frame at a time.
class GameDriver {
public:
    static constexpr float kFrame = 1.0f / 60.0f;

    // The data folder is a fresh temporary one unless one is given.
    explicit GameDriver(const std::string& dataFolder = "");

    Mivoland2& game() { return *game_; }
    ScriptedKeySource& keys() { return keys_; }
    // The game's clipboard: one of its own, never the desktop's.
    MemoryClipboard& clipboard() { return clipboard_; }
    const std::string& dataFolder() const { return dataFolder_; }

    bool start();  // the game's whole start-up (also its after-the-first-frame part); false without a UI font
    void step(int frames = 1, float seconds = kFrame);

    // Each of these injects its events and steps one frame.
    void press(sf::Keyboard::Key key);
    void moveMouse(sf::Vector2f logical);
    void click(sf::Vector2f logical);
    void touch(unsigned finger, sf::Vector2f logical);
    void send(const InputEvent& e);

    // Held keys stay down until released; they apply from the next frame.
    void hold(sf::Keyboard::Key key) { keys_.keys.insert(key); }
    void release(sf::Keyboard::Key key) { keys_.keys.erase(key); }
    void holdMouse(sf::Mouse::Button b) { keys_.mouseButtons.insert(b); }
    void releaseMouse(sf::Mouse::Button b) { keys_.mouseButtons.erase(b); }

    // Screen state.
    GameState screen() const { return game_->state; }
    int selectedButton() const { return game_->menu.selected; }
    const std::string& toast() const { return game_->toast.message; }
    bool open() const { return game_->window.isOpen(); }
    // What the game asked the desktop to open ("Get Mods", "Folder"):
    // recorded here, never opened.
    const std::vector<std::string>& opened() const { return opened_; }

    // The current frame as drawn, saved under the test output folder.
    sf::Image frameImage() { return game_->captureFrame(); }
    std::string saveFrame(const std::string& name);

    sf::Vector2i toPixel(sf::Vector2f logical) const;

private:
    std::unique_ptr<TempFolder> temp_;
    std::string dataFolder_;
    ScriptedKeySource keys_;
    MemoryClipboard clipboard_;

    std::vector<std::string> opened_;
    std::unique_ptr<Mivoland2> game_;
};
