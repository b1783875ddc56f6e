#include <gtest/gtest.h>

#include "content/Heroes.h"
#include "content/Zones.h"

TEST(ZoneTable, NamesAndBossesInZoneOrderExceptTheLastTwoZones) {
    struct Row { const char* name; int mini, boss; bool underground, starry; };
    const Row rows[kZoneCount] = {
        {"Echo Meadows", 0, 1, false, false}, {"Crystal Caverns", 2, 3, true, false},
        {"Sky Fortress", 4, 5, false, false}, {"Neon Rush", 6, 7, false, true},
        {"Hidden Temple", 10, 11, true, false}, {"The Unspoken", 8, 9, false, true},
    };
    const auto& zones = zoneTable();
    for (int i = 0; i < kZoneCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(zones[i].name, rows[i].name);
        EXPECT_EQ(zones[i].miniBossIndex, rows[i].mini);
        EXPECT_EQ(zones[i].bossIndex, rows[i].boss);
        EXPECT_EQ(zones[i].underground, rows[i].underground);
        EXPECT_EQ(zones[i].starrySky, rows[i].starry);
    }
}

TEST(ZoneTable, EnemyKindsAndPaletteSpotChecks) {
    const auto& zones = zoneTable();
    EXPECT_EQ(zones[0].enemyKinds, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(zones[1].enemyKinds, (std::vector<int>{0, 3, 1}));
    EXPECT_EQ(zones[2].enemyKinds, (std::vector<int>{1, 4, 5}));
    EXPECT_EQ(zones[3].enemyKinds, (std::vector<int>{3, 2, 5, 0}));
    EXPECT_EQ(zones[4].enemyKinds, (std::vector<int>{3, 2, 5, 1}));
    EXPECT_EQ(zones[5].enemyKinds, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(zones[5].palette.groundTop, sf::Color(255, 255, 255));
    EXPECT_EQ(zones[5].palette.skyTop, sf::Color(0, 0, 0));
    EXPECT_EQ(zones[0].palette.accent, sf::Color(255, 120, 170));
    EXPECT_EQ(zones[3].palette.groundTop, sf::Color(0, 240, 255));
    EXPECT_EQ(zones[4].palette.groundLight, sf::Color(152, 120, 100));
    EXPECT_EQ(zones[2].introLine,
              "Lt's old sky fortress - the Aivo built it, and now Ovim's echoes have taken it.");
}

TEST(ZoneTable, IsBuiltOnce) { EXPECT_EQ(&zoneTable(), &zoneTable()); }

TEST(HeroTable, EveryHeroRow) {
    struct Row { const char* name; int faction, sides; sf::Color color; float run, accel, jump;
                 const char* ability; };
    const Row rows[kHeroCount] = {
        {"Sl", 0, 3, {120, 255, 120}, 680, 900, 740, "Spin Dash"},
        {"Fr", 0, 4, {0, 200, 255}, 610, 820, 720, "Glide"},
        {"Tr", 0, 5, {0, 255, 181}, 600, 820, 730, "Wings"},
        {"Ktr", 0, 6, {190, 255, 0}, 640, 860, 750, "Golden Wings"},
        {"Bolim", 0, 40, {255, 215, 50}, 650, 840, 720, "Bounce"},
        {"Sr", 1, 7, {255, 60, 60}, 670, 880, 730, "Homing Attack"},
        {"Pr", 1, 8, {255, 140, 0}, 620, 840, 730, "Flame Dash"},
        {"Lt", 1, 9, {255, 0, 150}, 590, 800, 720, "Gadget Spring"},
        {"aLt", 1, 10, {255, 215, 0}, 640, 860, 740, "Blink"},
    };
    const auto& heroes = heroTable();
    for (int i = 0; i < kHeroCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(heroes[i].name, rows[i].name);
        EXPECT_EQ(heroes[i].faction, rows[i].faction);
        EXPECT_EQ(heroes[i].shapeSides, rows[i].sides);
        EXPECT_EQ(heroes[i].color, rows[i].color);
        EXPECT_EQ(heroes[i].runSpeed, rows[i].run);
        EXPECT_EQ(heroes[i].acceleration, rows[i].accel);
        EXPECT_EQ(heroes[i].jumpStrength, rows[i].jump);
        EXPECT_EQ(heroes[i].abilityName, rows[i].ability);
        EXPECT_FALSE(heroes[i].abilityText.empty());
    }
    EXPECT_EQ(heroes[6].abilityText, "Press Ability to burst forward in flames. Fire can't hurt Pr");
    EXPECT_EQ(&heroTable(), &heroTable());
}

TEST(HeroTable, FactionLabels) {
    EXPECT_STREQ(factionLabel(0), "KIVO");
    EXPECT_STREQ(factionLabel(1), "AIVO");
    EXPECT_EQ(factionColor(0), sf::Color(0, 255, 181));
    EXPECT_EQ(factionColor(1), sf::Color(255, 80, 80));
}
