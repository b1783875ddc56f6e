#pragma once
#include <SFML/Graphics/Color.hpp>
#include <array>
#include <string>

struct DrawContext;
struct InputState;

constexpr int kStoryPageCount = 5;
constexpr int kEndingPageCount = 4;

// The pages told before the first act and after the last one.
const std::array<const char*, kStoryPageCount>& storyPages();
const std::array<const char*, kEndingPageCount>& endingPages();

// Enter, Space or a click turns the page.
bool pageTurnPressed(const InputState& input);

// The night sky behind the pages, with slow twinkling stars, and the dark
// panel with one page of text on it.
void drawPageSky(DrawContext& ctx, float time, sf::Color top, sf::Color bottom);
void drawStoryPanel(DrawContext& ctx, const std::string& text);
