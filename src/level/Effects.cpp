#include "level/Effects.h"

#include <cmath>

void spawnParticles(std::vector<Particle>& list, XorShift32& rng, sf::Vector2f pos, int count,
                    sf::Color color, float speed, float life, float size, int shape,
                    float gravity) {
    constexpr float kTwoPi = 6.28318530717958647692f;
    for (int i = 0; i < count; ++i) {
        float angle = kTwoPi * rng.rand();
        float v = (0.3f + 0.7f * rng.rand()) * speed;
        float l = (0.6f + 0.4f * rng.rand()) * life;
        float s = (0.6f + 0.6f * rng.rand()) * size;
        Particle p;
        p.x = pos.x;
        p.y = pos.y;
        p.vx = std::cos(angle) * v;
        p.vy = std::sin(angle) * v;
        p.life = l;
        p.maxLife = l;
        p.size = s;
        p.color = color;
        p.shape = shape;
        p.gravity = gravity;
        list.push_back(p);
    }
}
