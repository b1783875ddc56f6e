#include "content/Heroes.h"

namespace {

HeroDef hero(const char* name, int faction, int sides, sf::Color color, float run, float accel,
             float jump, const char* ability, const char* text) {
    HeroDef h;
    h.name = name;
    h.faction = faction;
    h.shapeSides = sides;
    h.color = color;
    h.runSpeed = run;
    h.acceleration = accel;
    h.jumpStrength = jump;
    h.abilityName = ability;
    h.abilityText = text;
    return h;
}

std::array<HeroDef, kHeroCount> buildHeroes() {
    return {
        hero("Sl", 0, 3, sf::Color(120, 255, 120), 680, 900, 740, "Spin Dash",
             "Hold Down and press Jump to rev up, let go of Down to blast off"),
        hero("Fr", 0, 4, sf::Color(0, 200, 255), 610, 820, 720, "Glide",
             "Press Jump again in the air and hold it to glide"),
        hero("Tr", 0, 5, sf::Color(0, 255, 181), 600, 820, 730, "Wings",
             "Press Jump in the air to flap your wings"),
        hero("Ktr", 0, 6, sf::Color(190, 255, 0), 640, 860, 750, "Golden Wings",
             "Press Jump in the air for big golden flaps"),
        hero("Bolim", 0, 40, sf::Color(255, 215, 50), 650, 840, 720, "Bounce",
             "Always rolling! Press Jump in the air to slam down and bounce up high"),
        hero("Sr", 1, 7, sf::Color(255, 60, 60), 670, 880, 730, "Homing Attack",
             "Press Jump in the air to dash at the nearest enemy"),
        hero("Pr", 1, 8, sf::Color(255, 140, 0), 620, 840, 730, "Flame Dash",
             "Press Ability to burst forward in flames. Fire can't hurt Pr"),
        hero("Lt", 1, 9, sf::Color(255, 0, 150), 590, 800, 720, "Gadget Spring",
             "Press Ability to build a spring under you, even in the air"),
        hero("aLt", 1, 10, sf::Color(255, 215, 0), 640, 860, 740, "Blink",
             "Press Ability to teleport forward, straight through enemies"),
    };
}

}  // namespace

const std::array<HeroDef, kHeroCount>& heroTable() {
    static const std::array<HeroDef, kHeroCount> table = buildHeroes();
    return table;
}

const char* factionLabel(int faction) { return faction == 1 ? "AIVO" : "KIVO"; }

sf::Color factionColor(int faction) {
    return faction == 1 ? sf::Color(255, 80, 80) : sf::Color(0, 255, 181);
}
