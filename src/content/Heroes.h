#pragma once
#include <SFML/Graphics/Color.hpp>
#include <array>
#include <string>

struct HeroDef {
    std::string name;
    int faction = 0;        // 0 = Kivo, 1 = Aivo
    int shapeSides = 40;    // points of the body circle (3 = triangle, 40 = smooth)
    sf::Color color;        // body colour
    float runSpeed = 0;     // top ground speed, units/s
    float acceleration = 0; // units/s^2
    float jumpStrength = 0; // initial upward speed of a full jump, units/s
    std::string abilityName;
    std::string abilityText;
};

constexpr int kHeroCount = 9;

// The nine heroes, indexed by hero id 0..8. Built on first call, read-only.
const std::array<HeroDef, kHeroCount>& heroTable();

// "KIVO" for faction 0, "AIVO" for faction 1, and the colour it is written in.
const char* factionLabel(int faction);
sf::Color factionColor(int faction);
