#include "content/Zones.h"

namespace {

sf::Color rgb(int r, int g, int b) {
    return sf::Color(sf::Uint8(r), sf::Uint8(g), sf::Uint8(b));
}

std::array<ZoneDef, kZoneCount> buildZones() {
    std::array<ZoneDef, kZoneCount> z;

    z[0].name = "Echo Meadows";
    z[0].palette = {rgb(92, 180, 255), rgb(214, 240, 255), rgb(150, 178, 225), rgb(84, 178, 96),
                    rgb(52, 132, 64),  rgb(88, 214, 96),   rgb(198, 124, 60),  rgb(164, 98, 44),
                    rgb(110, 64, 30),  rgb(255, 120, 170)};
    z[0].enemyKinds = {0, 1, 2};
    z[0].miniBossIndex = 0;
    z[0].bossIndex = 1;
    z[0].introLine = "The meadows are fading... something is unspeaking the land!";

    z[1].name = "Crystal Caverns";
    z[1].palette = {rgb(24, 14, 50),   rgb(62, 32, 96),  rgb(44, 28, 78), rgb(70, 46, 120),
                    rgb(40, 26, 70),   rgb(150, 128, 214), rgb(80, 62, 124), rgb(62, 48, 98),
                    rgb(36, 26, 60),   rgb(120, 235, 255)};
    z[1].underground = true;
    z[1].enemyKinds = {0, 3, 1};
    z[1].miniBossIndex = 2;
    z[1].bossIndex = 3;
    z[1].introLine = "Deep under the meadows, the crystals still remember the first word.";

    z[2].name = "Sky Fortress";
    z[2].palette = {rgb(255, 150, 120), rgb(255, 226, 176), rgb(190, 128, 150), rgb(240, 190, 190),
                    rgb(200, 150, 170), rgb(236, 236, 246), rgb(156, 164, 184), rgb(126, 134, 156),
                    rgb(90, 96, 118),   rgb(255, 210, 90)};
    z[2].enemyKinds = {1, 4, 5};
    z[2].miniBossIndex = 4;
    z[2].bossIndex = 5;
    z[2].introLine =
        "Lt's old sky fortress - the Aivo built it, and now Ovim's echoes have taken it.";

    z[3].name = "Neon Rush";
    z[3].palette = {rgb(10, 10, 42), rgb(64, 16, 84), rgb(36, 20, 70), rgb(26, 24, 60),
                    rgb(16, 14, 40), rgb(0, 240, 255), rgb(36, 34, 62), rgb(26, 26, 48),
                    rgb(16, 16, 30), rgb(255, 60, 200)};
    z[3].starrySky = true;
    z[3].enemyKinds = {3, 2, 5, 0};
    z[3].miniBossIndex = 6;
    z[3].bossIndex = 7;
    z[3].introLine = "The city between Kivo and Aivo never sleeps. Run!";

    z[4].name = "Hidden Temple";
    z[4].palette = {rgb(30, 18, 36),   rgb(78, 48, 52),   rgb(52, 36, 48),  rgb(74, 52, 60),
                    rgb(40, 28, 36),   rgb(232, 190, 92), rgb(152, 120, 100), rgb(124, 96, 80),
                    rgb(70, 52, 46),   rgb(255, 200, 110)};
    z[4].underground = true;
    z[4].enemyKinds = {3, 2, 5, 1};
    z[4].miniBossIndex = 10;
    z[4].bossIndex = 11;
    z[4].introLine =
        "The Hidden Temple, where the Divine Stones sleep. Ovim's echoes are already inside.";

    z[5].name = "The Unspoken";
    z[5].palette = {rgb(0, 0, 0),    rgb(30, 0, 22),  rgb(40, 40, 46), rgb(26, 26, 30),
                    rgb(14, 14, 18), rgb(255, 255, 255), rgb(44, 44, 48), rgb(22, 22, 26),
                    rgb(10, 10, 12), rgb(255, 40, 90)};
    z[5].starrySky = true;
    z[5].enemyKinds = {0, 1, 2, 3, 4};
    z[5].miniBossIndex = 8;
    z[5].bossIndex = 9;
    z[5].introLine = "Where words go when they're unsaid. Ovim is waiting.";

    return z;
}

}  // namespace

const std::array<ZoneDef, kZoneCount>& zoneTable() {
    static const std::array<ZoneDef, kZoneCount> table = buildZones();
    return table;
}
