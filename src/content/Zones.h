#pragma once
#include <SFML/Graphics/Color.hpp>
#include <array>
#include <string>
#include <vector>

// The ten colours of a zone. Sky gradient ends, three parallax hill layers
// (far to near), the terrain surface strip, the two checker cells of the
// ground body, the colour the body darkens toward, and the decoration accent.
struct ZonePalette {
    sf::Color skyTop;
    sf::Color skyBottom;
    sf::Color hillsFar;
    sf::Color hillsMid;
    sf::Color hillsNear;
    sf::Color groundTop;
    sf::Color groundLight;
    sf::Color groundMid;
    sf::Color groundDark;
    sf::Color accent;
};

struct ZoneDef {
    std::string name;
    ZonePalette palette;
    bool underground = false;     // cave ceiling shade over the top of the view
    bool starrySky = false;       // twinkling stars behind the scenery
    std::vector<int> enemyKinds;  // baddie kinds the act generator may place here
    int miniBossIndex = 0;        // boss at the end of act 1
    int bossIndex = 0;            // boss at the end of act 2
    std::string introLine;        // title card line of act 1
};

constexpr int kZoneCount = 6;

// The six zones, indexed by zone id 0..5. Built on first call, read-only.
const std::array<ZoneDef, kZoneCount>& zoneTable();
