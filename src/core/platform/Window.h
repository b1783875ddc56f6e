#pragma once
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <cstdint>
#include <vector>

// The game window and how the fixed 960 x 540 view fits into it.

constexpr float kLogicalWidth = 960.0f;
constexpr float kLogicalHeight = 540.0f;

// The viewport (in window fractions) that shows the 16:9 view as large as
// possible, centred, with bars on the two sides that are too long. A height
// of 0 (a minimised window) counts as 1.
sf::FloatRect letterboxViewport(unsigned width, unsigned height);

// The 64 x 64 RGBA window icon, row by row.
constexpr unsigned kIconSize = 64;
std::vector<std::uint8_t> windowIconPixels();

// (Re)creates the window: 960 x 540 windowed or the desktop mode in full
// screen, titled "Mivoland 2", resizable with a close button, 60 frames per
// second, no key repeat, with the icon. A hidden window is made for tests
// and tools that only read back what was drawn.
void openGameWindow(sf::RenderWindow& window, bool fullscreen, bool visible);
