#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>
#include <cstdint>
#include <vector>

#include "core/Random.h"

// Short-lived effects owned by the game next to the level; emptied at every
// act start. They never touch the level or the act generator.

// Seed of the effects generator the game owns.
constexpr std::uint32_t kEffectsSeed = 796135284u;

struct Particle {
    float x = 0, y = 0;
    float vx = 0, vy = 0;
    float life = 0, maxLife = 0;
    float size = 4;
    sf::Color color = sf::Color::White;
    int shape = 0;      // 0 dot, 1 sparkle, 2 ring
    float gravity = 0;  // units/s^2 of its own
};

// A gem knocked out of the player by a hit.
struct ScatteredGem {
    float x = 0, y = 0;
    float vx = 0, vy = 0;
    float life = 0;
};

struct Projectile {
    float x = 0, y = 0;
    float vx = 0, vy = 0;
    float life = 0;
    int kind = 0;         // 0 shot, 1 fire (bomb or shell)
    float radius = 6;
    bool gravity = false; // falls at 900/s^2 when set
};

// A critter freed from a broken baddie.
struct Critter {
    float x = 0, y = 0;
    float vx = 0, vy = 0;
    float life = 0;
    sf::Color color = sf::Color::White;
};

struct Effects {
    std::vector<Particle> particles;
    std::vector<ScatteredGem> scatteredGems;
    std::vector<Projectile> projectiles;
    std::vector<Critter> critters;

    void clear() {
        particles.clear();
        scatteredGems.clear();
        projectiles.clear();
        critters.clear();
    }
};

// Appends count particles around pos. Each takes four draws from rng in this
// order: direction 2pi*r1, speed (0.3 + 0.7 r2) * speed, life
// (0.6 + 0.4 r3) * life (maxLife = life), size (0.6 + 0.6 r4) * size.
void spawnParticles(std::vector<Particle>& list, XorShift32& rng, sf::Vector2f pos, int count,
                    sf::Color color, float speed, float life, float size = 4, int shape = 0,
                    float gravity = 0);
