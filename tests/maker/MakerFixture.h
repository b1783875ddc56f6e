#pragma once
// A game on the maker screen, and the mouse moves of the maker tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/GameDriver.h"

using K = sf::Keyboard;

inline constexpr float kScale = 400.0f / 672.0f;

inline std::string heights(int count, int value) {
    std::string s = "heights";
    for (int i = 0; i < count; ++i) s += " " + std::to_string(value);
    return s + "\n";
}

// A game on the maker screen, entered by clicking "Mivo Maker" on the title.
struct Maker {
    GameDriver d;
    Mivoland2& g = d.game();
    MakerEditor& m = g.maker;

    explicit Maker(const std::vector<std::pair<std::string, std::string>>& files = {}) {
        for (const auto& [name, text] : files) std::ofstream(d.dataFolder() + name, std::ios::binary) << text;
        EXPECT_TRUE(d.start());
        d.step();
        d.click({480, 307});  // "Mivo Maker"
        EXPECT_EQ(d.screen(), GameState::Maker);
    }

    Course& course() { return m.course; }

    sf::Vector2f cell(int column, int row) const {
        return {(float(column) * 48 + 24 - m.scroll) * kScale, 40 + (float(row) * 48 + 24) * kScale};
    }
    void clickCell(int column, int row) { d.click(cell(column, row)); }
    void rightClickCell(int column, int row) {
        d.send(InputEvent::mousePressed(d.toPixel(cell(column, row)), InputEvent::Right));
    }
    void pressButton(int i) { d.click({6.0f + 106.0f * float(i) + 50.0f, 20.0f}); }

    // Picks a palette entry with the palette bar's cells and arrows.
    void select(int kind) {
        const int first = kind < 12 ? 0 : 12;
        if (m.paletteFirst != first) d.click(first > m.paletteFirst ? sf::Vector2f{920, 490} : sf::Vector2f{30, 490});
        ASSERT_EQ(m.paletteFirst, first);
        const int j = kind - first;
        d.click({70.0f + 68.0f * float(j % 12) + 32.0f, 448.0f + 44.0f * float(j / 12) + 20.0f});
        ASSERT_EQ(m.selectedKind, kind);
        EXPECT_EQ(m.message, paletteName(kind));
    }

    // Holds a mouse button and drags it over the cells of a row.
    void drag(sf::Mouse::Button button, int fromColumn, int toColumn, int row) {
        d.moveMouse(cell(fromColumn, row));
        d.holdMouse(button);
        for (int c = fromColumn; c <= toColumn; ++c) d.moveMouse(cell(c, row));
        d.releaseMouse(button);
        d.step();
    }

    int count(int kind) const {
        return int(std::count_if(m.course.items.begin(), m.course.items.end(),
                                 [kind](const CourseItem& it) { return it.kind == kind; }));
    }
};

