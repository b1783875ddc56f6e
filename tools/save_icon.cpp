// Saves the window icon to a PNG, scaled up for a closer look.
//   save_icon [out.png] [scale]
#include <SFML/Graphics/Image.hpp>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/platform/Window.h"

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "icon.png";
    const unsigned scale = argc > 2 ? unsigned(std::clamp(std::atoi(argv[2]), 1, 16)) : 4;
    const std::vector<std::uint8_t> px = windowIconPixels();
    sf::Image img;
    img.create(kIconSize * scale, kIconSize * scale, sf::Color(128, 128, 128));
    for (unsigned y = 0; y < img.getSize().y; ++y)
        for (unsigned x = 0; x < img.getSize().x; ++x) {
            const std::uint8_t* p = &px[((y / scale) * kIconSize + x / scale) * 4];
            if (p[3]) img.setPixel(x, y, sf::Color(p[0], p[1], p[2], p[3]));
        }
    if (!img.saveToFile(out)) return 1;
    std::printf("%s\n", out.c_str());
    return 0;
}
