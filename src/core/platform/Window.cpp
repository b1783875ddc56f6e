#include "core/platform/Window.h"

#include <algorithm>
#include <cmath>

sf::FloatRect letterboxViewport(unsigned width, unsigned height) {
    const float ratio = float(width) / float(std::max(height, 1u));
    const float target = 16.0f / 9.0f;
    if (ratio > target) {
        const float w = target / ratio;
        return {(1.0f - w) * 0.5f, 0.0f, w, 1.0f};
    }
    const float h = ratio / target;
    return {0.0f, (1.0f - h) * 0.5f, 1.0f, h};
}

std::vector<std::uint8_t> windowIconPixels() {
    // A gold-rimmed night-blue tile holding a cyan gem.
    std::vector<std::uint8_t> px(kIconSize * kIconSize * 4, 0);
    const float c = (kIconSize - 1) * 0.5f;
    for (unsigned y = 0; y < kIconSize; ++y) {
        for (unsigned x = 0; x < kIconSize; ++x) {
            const float dx = std::fabs(x - c), dy = std::fabs(y - c);
            // Rounded square: distance outside the inner square of half-size 22.
            const float ox = std::max(dx - 22.0f, 0.0f), oy = std::max(dy - 22.0f, 0.0f);
            const float corner = std::sqrt(ox * ox + oy * oy);
            std::uint8_t r = 0, g = 0, b = 0, a = 0;
            if (corner <= 9.5f) {
                a = 255;
                if (corner > 6.5f) {
                    r = 255; g = 220; b = 90;
                } else {
                    const float t = float(y) / kIconSize;
                    r = std::uint8_t(30 + 20 * t); g = std::uint8_t(20 + 20 * t); b = std::uint8_t(80 + 60 * t);
                }
                const float gem = dx / 15.0f + dy / 21.0f;  // diamond, 15 wide and 21 high each side
                if (gem <= 1.0f) {
                    r = 30; g = 140; b = 200;
                    if (dx / 11.0f + dy / 16.0f <= 1.0f) { r = 60; g = 230; b = 255; }
                    if (y < c - 2 && dx / 5.0f + std::fabs(y - (c - 8)) / 7.0f <= 1.0f) {
                        r = 220; g = 255; b = 255;
                    }
                }
            }
            std::uint8_t* p = &px[(y * kIconSize + x) * 4];
            p[0] = r; p[1] = g; p[2] = b; p[3] = a;
        }
    }
    return px;
}

void openGameWindow(sf::RenderWindow& window, bool fullscreen, bool visible) {
    if (fullscreen)
        window.create(sf::VideoMode::getDesktopMode(), "Mivoland 2", sf::Style::Fullscreen);
    else {
        window.create(sf::VideoMode(960, 540, 32), "Mivoland 2", sf::Style::Default);
        const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
        if (desktop.width > 960 && desktop.height > 540)
            window.setPosition({int(desktop.width - 960) / 2, int(desktop.height - 540) / 2});
    }
    if (!visible) window.setVisible(false);
    window.setFramerateLimit(60);
    window.setKeyRepeatEnabled(false);
    static const std::vector<std::uint8_t> icon = windowIconPixels();
    window.setIcon(kIconSize, kIconSize, icon.data());
}
