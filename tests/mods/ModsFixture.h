#pragma once
// A game with files in its mods folder, on the mods screen, and the places
// of the screen's buttons.
#include <gtest/gtest.h>

#include <SFML/Graphics/Image.hpp>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "audio/SoundEffects.h"
#include "mods/ModLoader.h"
#include "mods/ModsLayout.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

inline void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

inline std::string readFileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A course of the current format: flat ground, a Goal at column 30.
inline std::string courseText(const std::string& name, int theme = 0) {
    std::string s = "mivo2-course 1\nname " + name + "\ntheme " + std::to_string(theme) + "\nheights";
    for (int i = 0; i < 40; ++i) s += " 3";
    return s + "\nitem 23 30 8\nitem 1 8 10\n";
}

// The bytes of a small PNG: a yellow figure with a dark eye on its right
// side and a red foot, on a transparent ground, w by h pixels.
inline std::string pictureBytes(unsigned w = 40, unsigned h = 56) {
    sf::Image image;
    image.create(w, h, sf::Color::Transparent);
    for (unsigned y = 4; y < h - 4; ++y)
        for (unsigned x = 6; x < w - 6; ++x) image.setPixel(x, y, sf::Color(250, 210, 40));
    for (unsigned y = 12; y < 20; ++y)
        for (unsigned x = w - 16; x < w - 9; ++x) image.setPixel(x, y, sf::Color(30, 20, 60));
    for (unsigned y = h - 10; y < h - 4; ++y)
        for (unsigned x = 6; x < w / 2; ++x) image.setPixel(x, y, sf::Color(220, 40, 40));
    // Test programs run side by side and make the same pictures: each writes
    // a file of its own, and the finished file is renamed into view.
    const std::string path = testOutputFolder() + "mod_picture_" + std::to_string(w) + "x" + std::to_string(h) + ".png";
    const std::string own = path + "." + std::to_string(::getpid()) + ".png";
    image.saveToFile(own);
    std::string bytes = readFileText(own);
    std::filesystem::rename(own, path);
    return bytes;
}

inline bool effectPlaying(Mivoland2& g, int effect) {
    for (const sf::Sound& v : g.audio.effect(effect).voices)
        if (v.getStatus() == sf::Sound::Playing) return true;
    return false;
}

// Where to click on the mods screen.
inline sf::Vector2f toggleAt(int row) { return {88.0f, modRowTop(row) + 28.0f}; }
inline sf::Vector2f playAt(int row) { return {750.0f, modRowTop(row) + 28.0f}; }
inline sf::Vector2f deleteAt(int row) { return {860.0f, modRowTop(row) + 28.0f}; }
enum BottomButton { kBack, kGetMods, kReload, kFolder, kPreviousPage, kNextPage };
inline sf::Vector2f bottomAt(int k) { return {40.0f + 150.0f * float(k) + 70.0f, 496.0f}; }

// A game whose data folder holds the given files (paths inside it), started
// and shown the mods screen through the main menu.
struct ModsScreen {
    GameDriver d;
    Mivoland2& g = d.game();
    std::filesystem::path data{d.dataFolder()};
    std::filesystem::path mods{data / "mods"};

    explicit ModsScreen(const std::vector<std::pair<std::string, std::string>>& files = {}) {
        for (const auto& [name, text] : files) writeFile(data / name, text);
        EXPECT_TRUE(d.start());
        d.step();
        d.click({480.0f, 200.0f + 44.0f * 3 + 19.0f});  // "Mods"
        EXPECT_EQ(d.screen(), GameState::Mods);
    }

    // The label of the screen's button at a point, or "" when none is there.
    std::string labelAt(sf::Vector2f p) const {
        for (const MenuButton& b : g.menu.buttons)
            if (b.contains(p)) return b.label;
        return "";
    }
};
