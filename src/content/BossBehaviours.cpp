// The twelve boss behaviours: one small state machine per boss, run once per
// frame by updateBoss while the boss is not defeated. Each moves the boss,
// spawns shots and zones, and sets the weak point, `vulnerable` and the hurt
// circles for this frame.
#include <algorithm>
#include <cmath>

#include "content/Bosses.h"

namespace {

constexpr float kPi = 3.14159265358979f;

// The fastest a hovering boss travels to rejoin its flight path. The paths
// themselves are slower than this, so the boss follows them exactly once it is
// on them; after a dive or a kneel it glides back instead of jumping there.
constexpr float kRejoinSpeed = 900.0f;

struct Fight {
    BossState& b;
    BossArena& a;
    float dt;
    float L, R, F, C, W;
    sf::Vector2f P;

    Fight(BossState& boss, BossArena& arena, float step)
        : b(boss), a(arena), dt(step), L(arena.left), R(arena.right), F(arena.floor), C(arena.centre()),
          W(arena.width()), P(arena.player) {}

    float& T() { return b.stateTimer; }

    void easeY(float target, float k) { b.y += (target - b.y) * std::min(k * dt, 1.0f); }

    // Follows a flight path point, at most kRejoinSpeed per second.
    void flyTo(float tx, float ty) {
        float dx = tx - b.x, dy = ty - b.y;
        float d = std::sqrt(dx * dx + dy * dy);
        float maxStep = kRejoinSpeed * dt;
        if (d > maxStep && d > 0) {
            dx *= maxStep / d;
            dy *= maxStep / d;
        }
        b.x += dx;
        b.y += dy;
    }

    void weak(float x, float y, float r) {
        b.weakX = x;
        b.weakY = y;
        b.weakRadius = r;
    }
    void hurt(float x, float y, float r) { b.hurtCircles.push_back({x, y, r}); }

    void shot(float x, float y, float vx, float vy, float radius, float life, int kind, bool gravity = false,
              bool destroyable = false, bool homing = false, char letter = 0) {
        BossShot s;
        s.x = x;
        s.y = y;
        s.vx = vx;
        s.vy = vy;
        s.radius = radius;
        s.life = life;
        s.kind = kind;
        s.gravity = gravity;
        s.destroyable = destroyable;
        s.homing = homing;
        s.letter = letter;
        b.shots.push_back(s);
    }

    void zone(float x, float y, float w, float h, float warn, float life, int kind, float vx = 0) {
        b.zones.push_back(BossZone{x, y, w, h, warn, life, kind, vx});
    }

    // A velocity of the given speed from (x, y) toward the player.
    sf::Vector2f aimAtPlayer(float x, float y, float speed) const {
        float dx = P.x - x, dy = P.y - y;
        float d = std::sqrt(dx * dx + dy * dy);
        if (d < 0.001f) return {0.0f, speed};
        return {dx / d * speed, dy / d * speed};
    }

    int sideOfPlayer() const { return P.x < b.x ? -1 : 1; }
};

// 0 Bramble Beetle: charges from wall to wall and is stunned at the wall.
void brambleBeetle(Fight& f) {
    BossState& b = f.b;
    b.y = f.F - 42;
    switch (b.state) {
    case 0:
        b.x -= 160 * f.dt;
        if (b.x < f.R - 160) {
            b.state = 1;
            f.T() = 1.0f;
        }
        break;
    case 1:
        b.facing = f.sideOfPlayer();
        if (f.T() <= 0) {
            b.state = 2;
            b.vx = float(b.facing) * (b.hp < 3 ? 820.0f : 680.0f);
        }
        break;
    case 2:
        b.x += b.vx * f.dt;
        if (b.x < f.L + 50 || b.x > f.R - 50) {
            b.x = std::clamp(b.x, f.L + 50, f.R - 50);
            b.state = 3;
            f.T() = 2.2f;
        }
        break;
    case 3:
        if (f.T() <= 0) {
            b.state = 1;
            f.T() = 0.9f;
            if (b.hp < 3) {
                float toward = float(f.sideOfPlayer());
                for (int i = -1; i <= 1; ++i)
                    f.shot(b.x, b.y - 30, 220.0f * float(i) + 120.0f * toward, -620, 12, 3.0f, 0, true);
            }
        }
        break;
    }
    b.vulnerable = b.state == 3;
    f.weak(b.x, b.y, 46);
    if (b.state != 3) f.hurt(b.x, b.y, 44);
}

// 1 Hollow Oak: stands still, cycles root waves, acorn rain and root spikes.
void hollowOak(Fight& f) {
    BossState& b = f.b;
    switch (b.state) {
    case 0:
        if (f.T() <= 0) {
            b.state = 1;
            f.T() = 1.5f;
        }
        break;
    case 1:
        if (f.T() <= 0) {
            b.counter += 1;
            switch (b.counter % 3) {
            case 1:
                f.zone(f.R - 60, f.F - 46, 140, 34, 0.9f, 1.6f, 0, -f.W / 1.6f);
                f.T() = 2.6f;
                break;
            case 2: {
                int n = b.hp < 4 ? 9 : 6;
                for (int i = 0; i < n; ++i) {
                    float x = f.L + 80 + (f.W - 300) * float((37 * i) % 10) / 10.0f;
                    f.shot(x, f.F - 520 - 60.0f * float(i), 0, 0, 14, 4.0f, 1, true);
                }
                f.T() = 2.8f;
                break;
            }
            default:
                for (int i = 0; i < 3; ++i)
                    f.zone(f.P.x - 40 + 140.0f * float(i - 1), f.F - 90, 80, 90, 0.7f + 0.35f * float(i), 0.5f, 1);
                f.T() = 2.2f;
                break;
            }
            b.state = 2;
        }
        break;
    case 2:
        if (f.T() <= 0) {
            b.state = 3;
            f.T() = 2.2f;
            b.speech.clear();
        }
        break;
    case 3:
        if (f.T() <= 0) {
            b.state = 1;
            f.T() = 1.0f;
        }
        break;
    }
    b.vulnerable = b.state == 3;
    f.weak(b.x - 30, f.F - 120, 34);
    f.hurt(b.x, f.F - 80, 60);
    f.hurt(b.x, f.F - 180, 60);
}

// 2 Prism Bat: hovers, then swoops at where the player was.
void prismBat(Fight& f) {
    BossState& b = f.b;
    const float H = f.F - 260;
    auto backToHover = [&] {
        b.state = 1;
        b.counter += 1;
        f.T() = b.hp < 3 ? 1.4f : 2.2f;
    };
    switch (b.state) {
    case 0:
        f.easeY(H, 2);
        if (std::fabs(b.y - H) < 10) {
            b.state = 1;
            f.T() = 2.0f;
        }
        break;
    case 1:
        f.flyTo(f.C + 0.38f * f.W * std::sin(1.3f * b.clock), H + 50 * std::sin(2.6f * b.clock));
        if (f.T() <= 0) {
            b.state = 2;
            f.T() = 0.6f;
            b.aux = f.P;
        }
        break;
    case 2:
        if (f.T() <= 0) {
            b.state = 3;
            f.T() = 1.2f;
            b.vx = (b.aux.x - b.x) / 0.6f;
            b.vy = (b.aux.y - b.y) / 0.6f;
        }
        break;
    case 3:
        b.x += b.vx * f.dt;
        b.y += b.vy * f.dt;
        if (b.y >= f.F - 40 && b.vy > 0) {
            b.y = f.F - 40;
            b.vy = -b.vy;
        }
        if (b.hp < 3 && b.counter % 2 == 1 && f.T() > 1.1f) {
            for (int i = 0; i < 3; ++i)
                f.zone(f.L + 100 + (f.W - 200) * 0.5f * float(i), f.F - 500, 36, 500, 0.9f, 0.5f, 7);
        }
        // A swoop aimed level with the bat barely moves up or down; it ends
        // after 2.2 s at the latest rather than gliding along for ever.
        if ((b.vy < 0 && b.y < H) || f.T() <= -1.0f) backToHover();
        break;
    }
    b.x = std::clamp(b.x, f.L + 40, f.R - 40);
    b.vulnerable = true;
    f.weak(b.x, b.y, 34);
    f.hurt(b.x, b.y, 30);
}

// 3 Geode Golem: stalks, jumps with shockwaves and geode rain, throws rocks.
void geodeGolem(Fight& f) {
    BossState& b = f.b;
    const float ground = f.F - 80;
    switch (b.state) {
    case 0:
        b.y = ground;
        b.x -= 120 * f.dt;
        if (b.x < f.R - 200) {
            b.state = 1;
            f.T() = 1.2f;
        }
        break;
    case 1:
        b.y = ground;
        b.facing = f.sideOfPlayer();
        b.x += float(b.facing) * 70 * f.dt;
        if (f.T() <= 0) {
            f.T() = 0.8f;
            b.vy = -900;
            int old = b.counter++;
            b.state = old % 2 == 0 ? 2 : 4;
        }
        break;
    case 2:
        b.vy += 1800 * f.dt;
        b.y += b.vy * f.dt;
        if (b.vy > 0 && b.y >= ground) {
            b.y = ground;
            f.zone(b.x - 30, f.F - 30, 60, 30, 0, 1.6f, 2, -520);
            f.zone(b.x - 30, f.F - 30, 60, 30, 0, 1.6f, 2, 520);
            int n = b.hp < 4 ? 6 : 4;
            for (int i = 0; i < n; ++i) {
                float x = f.L + 60 + (f.W - 120) * float((29 * b.counter + 53 * i) % 100) / 100.0f;
                f.shot(x, f.F - 560 - 50.0f * float(i), 0, 80, 14, 4.0f, 2, true);
            }
            b.state = 3;
            f.T() = 1.8f;
        }
        break;
    case 3:
        b.y = ground;
        if (f.T() <= 0) {
            b.state = 1;
            f.T() = 1.6f;
        }
        break;
    case 4:
        b.y = ground;
        if (f.T() <= 0) {
            float fc = float(b.facing);
            for (int i = 0; i < 3; ++i)
                f.shot(b.x + 60 * fc, f.F - 16, (300.0f + 120.0f * float(i)) * fc, 0, 16, 3.0f, 2);
            b.state = 3;
            f.T() = 1.4f;
        }
        break;
    }
    b.vulnerable = b.state == 3;
    f.weak(b.x, b.y - 70, 26);
    f.hurt(b.x, b.y, 62);
}

// 4 Gale Turret: patrols, lobs shells, blows a gale, overheats low.
void galeTurret(Fight& f) {
    BossState& b = f.b;
    const float H = f.F - 140;
    switch (b.state) {
    case 0:
        f.easeY(H, 2);
        if (std::fabs(b.y - H) < 8) {
            b.state = 1;
            f.T() = 1.5f;
        }
        break;
    case 1:
        f.flyTo(f.C + 0.35f * f.W * std::sin(0.8f * b.clock), H + 10 * std::sin(2 * b.clock));
        if (f.T() <= 0) {
            b.counter += 1;
            if (b.counter % 3 == 0) {
                b.state = 2;
                f.T() = 2.0f;
            } else {
                float vx = (f.P.x - b.x) / 1.1f;
                float vy = (f.P.y - b.y) / 1.1f - 495.0f;
                f.shot(b.x, b.y - 20, vx, vy, 15, 4.0f, 3, true);
                if (b.hp < 3) f.shot(b.x, b.y, 0.6f * vx, -700, 15, 4.0f, 3, true);
                b.state = 3;
                f.T() = b.counter % 3 == 2 ? 2.2f : 1.2f;
            }
        }
        break;
    case 2:
        f.a.wind = 520.0f * (f.P.x >= b.x ? 1.0f : -1.0f);
        if (f.T() <= 0) {
            b.state = 1;
            f.T() = 1.0f;
        }
        break;
    case 3:
        f.easeY(f.F - 70, 3);
        if (f.T() <= 0) {
            b.state = 0;
            f.T() = 0;
        }
        break;
    }
    b.vulnerable = b.state == 3;
    f.weak(b.x, b.y - 30, 26);
    f.hurt(b.x, b.y + 10, 40);
}

// 5 Storm Zeppelin: cruises, calls lightning, drops mines, sinks to rest.
void stormZeppelin(Fight& f) {
    BossState& b = f.b;
    const float H = f.F - 300;
    switch (b.state) {
    case 0:
        f.easeY(H, 1.5f);
        if (std::fabs(b.y - H) < 10) {
            b.state = 1;
            f.T() = 1.2f;
        }
        break;
    case 1:
        f.flyTo(f.C + 0.3f * f.W * std::sin(0.6f * b.clock), H + 12 * std::sin(1.4f * b.clock));
        if (f.T() <= 0) {
            b.counter += 1;
            switch (b.counter % 3) {
            case 0:
                b.state = 2;
                f.T() = 2.6f;
                break;
            case 1: {
                int n = b.hp < 4 ? 5 : 3;
                for (int i = 0; i < n; ++i) {
                    float sx = i == 0 ? f.P.x
                                      : f.L + 60 + (f.W - 120) * float((17 * b.counter + 41 * i) % 100) / 100.0f;
                    f.zone(sx - 22, b.y + 40, 44, f.F - b.y - 40, 0.9f + 0.15f * float(i), 0.35f, 3);
                }
                f.T() = 2.0f;
                break;
            }
            default:
                f.shot(b.x - 60, b.y + 40, -120, 60, 16, 7.0f, 4, false, true, true);
                f.shot(b.x + 60, b.y + 40, 120, 60, 16, 7.0f, 4, false, true, true);
                f.T() = 2.2f;
                break;
            }
        }
        break;
    case 2:
        f.easeY(f.F - 120, 2);
        if (f.T() <= 0) b.state = 0;
        break;
    }
    b.vulnerable = b.state == 2 && b.y > f.F - 170;
    f.weak(b.x, b.y + 46, 30);
    f.hurt(b.x - 60, b.y, 46);
    f.hurt(b.x + 60, b.y, 46);
    f.hurt(b.x, b.y, 50);
}

// 6 Glitch Racer: dashes wall to wall leaving a glitch trail.
void glitchRacer(Fight& f) {
    BossState& b = f.b;
    const float ground = f.F - 26;
    switch (b.state) {
    case 0:
        b.y = ground;
        b.x -= 500 * f.dt;
        if (b.x < f.R - 80) {
            b.state = 2;
            f.T() = 1.2f;
            b.facing = -1;
        }
        break;
    case 1: {
        b.x += float(b.facing) * (b.hp < 3 ? 900.0f : 760.0f) * f.dt;
        // A trail block at the start of every even step of 30 per second.
        int step = int(std::floor(30.0f * b.clock));
        int before = int(std::floor(30.0f * (b.clock - f.dt)));
        if (step != before && step % 2 == 0) f.zone(b.x - 12, f.F - 14, 24, 14, 0.12f, 1.1f, 4);
        bool onGround = b.y >= ground - 0.01f;
        if (b.hp < 3 && onGround && std::fabs(b.x - f.C) <= 20) {
            b.vy = -650;
            onGround = false;
        }
        if (!onGround) {
            b.vy += 1800 * f.dt;
            b.y += b.vy * f.dt;
            if (b.y >= ground && b.vy > 0) {
                b.y = ground;
                b.vy = 0;
            }
        }
        if ((b.facing < 0 && b.x < f.L + 60) || (b.facing > 0 && b.x > f.R - 60)) {
            b.x = std::clamp(b.x, f.L + 60, f.R - 60);
            b.state = 2;
            f.T() = 1.3f;
        }
        break;
    }
    case 2:
        // A low-health jump can carry it to the wall in mid-air: it comes
        // down during the pause instead of hanging there.
        if (b.y < ground - 0.01f) {
            b.vy += 1800 * f.dt;
            b.y += b.vy * f.dt;
            if (b.y >= ground) {
                b.y = ground;
                b.vy = 0;
            }
        }
        if (f.T() <= 0) {
            b.state = 1;
            b.vy = 0;
            b.facing = b.x > f.C ? -1 : 1;
        }
        break;
    }
    b.vulnerable = b.state == 2;
    f.weak(b.x, b.y - 16, 34);
    if (b.state != 2) f.hurt(b.x, b.y, 32);
}

// 7 Mirror Hero: replays the player's own path some frames late.
void mirrorHero(Fight& f) {
    BossState& b = f.b;
    b.trail.push_back(f.P);
    while (b.trail.size() > 220) b.trail.pop_front();
    f.weak(b.x, b.y, 32);
    if (b.hitFlash > 0) return;  // stunned: only records
    const std::size_t delay = b.hp < 3 ? 55 : 70;
    b.facing = f.sideOfPlayer();
    switch (b.state) {
    case 0:
        if (b.trail.size() > delay) {
            b.state = 1;
            f.T() = 2.6f;
        }
        break;
    case 1: {
        if (b.trail.size() > delay) {
            sf::Vector2f target = b.trail[b.trail.size() - 1 - delay];
            float k = std::min(6 * f.dt, 1.0f);
            float dx = (target.x - b.x) * k, dy = (target.y - b.y) * k;
            float d = std::sqrt(dx * dx + dy * dy), maxStep = 320 * f.dt;
            if (d > maxStep && d > 0) {
                dx *= maxStep / d;
                dy *= maxStep / d;
            }
            b.x = std::clamp(b.x + dx, f.L + 20, f.R - 20);
            b.y += dy;
        }
        if (f.T() <= 0) {
            float a = std::atan2(f.P.y - b.y, f.P.x - b.x);
            for (float s : {-0.22f, 0.22f})
                f.shot(b.x, b.y, 230 * std::cos(a + s), 230 * std::sin(a + s), 12, 3.0f, 5);
            b.state = 2;
            f.T() = 2.4f;
        }
        break;
    }
    case 2:
        if (f.T() <= 0) {
            b.state = 1;
            f.T() = 2.2f;
        }
        break;
    }
    if (b.hp < 3 && b.trail.size() > 110) b.aux = b.trail[b.trail.size() - 1 - 110];
    b.vulnerable = b.state == 2;
    f.weak(b.x, b.y, 32);
    if (b.state == 1) f.hurt(b.x, b.y, 18);
}

// 8 The Silencer: vanishes, reappears beside the player, sends silence waves.
void theSilencer(Fight& f) {
    BossState& b = f.b;
    b.y = f.F - 90 + 8 * std::sin(3 * b.clock);
    switch (b.state) {
    case 0:
        if (f.T() <= -1.0f) {
            b.state = 1;
            f.T() = 0.6f;
        }
        break;
    case 1:
        if (f.T() <= 0) {
            b.x = std::clamp(f.P.x + (f.P.x < f.C ? 240.0f : -240.0f), f.L + 60, f.R - 60);
            b.state = 2;
            f.T() = 0.6f;
        }
        break;
    case 2:
        if (f.T() <= 0) {
            f.zone(b.x - 20, f.F - 40, 40, 40, 0, 2.2f, 5, -380);
            f.zone(b.x - 20, f.F - 40, 40, 40, 0, 2.2f, 5, 380);
            if (b.hp < 3)
                for (int i = -1; i <= 1; ++i) f.shot(b.x, b.y - 40, 140.0f * float(i), -200, 13, 5.0f, 6, false, true, true);
            b.state = 3;
            f.T() = 1.6f;
        }
        break;
    case 3:
        if (f.T() <= 0) {
            b.state = 1;
            f.T() = 0.6f;
        }
        break;
    }
    b.facing = f.sideOfPlayer();
    b.vulnerable = b.state == 3;
    f.weak(b.x, b.y, 34);
    if (b.state == 2 || b.state == 3) f.hurt(b.x, b.y, 26);
}

// 9 Ovim: the final boss, in three phases, with his four letters.
void ovim(Fight& f) {
    BossState& b = f.b;
    const int p = ovimPhase(b.hp);
    const float H = f.F - 300;
    static const char kName[4] = {'O', 'V', 'I', 'M'};
    switch (b.state) {
    case 0:
        f.easeY(H, 1.2f);
        if (std::fabs(b.y - H) < 10) {
            b.state = 1;
            f.T() = 1.5f;
        }
        break;
    case 1:
        f.flyTo(f.C + 0.25f * f.W * std::sin(0.5f * b.clock), H + 20 * std::sin(1.1f * b.clock));
        if (f.T() <= 0) {
            b.counter += 1;
            int attack = p == 1 ? b.counter % 2 : b.counter % 3;
            if (attack == 0) {
                b.state = 3;
                f.T() = p == 3 ? 1.8f : 2.4f;
            } else if (attack == 1) {
                for (std::size_t i = 0; i < b.orbiters.size() && i < 4; ++i) {
                    sf::Vector2f o = b.orbiters[i];
                    sf::Vector2f v = f.aimAtPlayer(o.x, o.y, 300.0f + 60.0f * float(p));
                    f.shot(o.x, o.y, v.x, v.y, 16, 4.0f, 7, false, false, false, kName[i]);
                }
                if (p == 3) {
                    for (int i = 0; i < 6; ++i)
                        f.shot(f.L + 80 + (f.W - 160) * float(i) / 5.0f, f.F - 620 - 40.0f * float(i), 0, 0, 16, 4.0f, 7,
                               true, false, false, kName[i % 4]);
                    f.T() = 1.0f;
                } else {
                    f.T() = 1.6f;
                }
            } else {
                const float third = f.W / 3.0f;
                const int round = b.counter / 3;
                const int gap = round % 3;
                for (int k = 0; k < 3; ++k)
                    if (k != gap) f.zone(f.L + float(k) * third, f.F - 24, third, 24, 1.2f, 1.4f, 6);
                f.zone(f.R, round % 2 == 1 ? f.F - 150 : f.F - 70, 120, 26, 2.8f, 1.8f, 7, -(f.W + 200) / 1.8f);
                f.T() = 4.8f;
            }
        }
        break;
    case 3:
        f.easeY(f.F - 120, 3);
        if (f.T() <= 0) {
            b.state = 1;
            f.T() = 1.6f;
        }
        break;
    default:
        b.state = 1;
        break;
    }
    if (b.orbiters.size() != 4) b.orbiters.assign(4, sf::Vector2f(b.x, b.y));
    const float k = std::min(6 * f.dt, 1.0f);
    for (int i = 0; i < 4; ++i) {
        float a = (1.2f + 0.3f * float(p)) * b.clock + float(i) * kPi / 2;
        sf::Vector2f& o = b.orbiters[std::size_t(i)];
        o.x += (b.x + 120 * std::cos(a) - o.x) * k;
        o.y += (b.y + 60 * std::sin(a) - o.y) * k;
        f.hurt(o.x, o.y, 22);
    }
    b.facing = f.sideOfPlayer();
    b.vulnerable = b.state == 3 && b.y > f.F - 170;
    f.weak(b.x, b.y, 36);
    if (!b.vulnerable) f.hurt(b.x, b.y, 40);
}

// 10 Stone Serpent: burrows, erupts under the player and leaps across.
void stoneSerpent(Fight& f) {
    BossState& b = f.b;
    switch (b.state) {
    case 0:
        if (f.T() <= -1.2f) {
            b.state = 1;
            f.T() = 0;
        }
        break;
    case 1: {
        float e = std::clamp(f.P.x, f.L + 120, f.R - 120);
        float d = f.P.x > f.C ? -1.0f : 1.0f;
        float l = std::clamp(e + 520 * d, f.L + 60, f.R - 60);
        b.aux = {e, l};
        f.zone(e - 50, f.F - 18, 100, 18, 0.9f, 0.25f, 8);
        b.trail.clear();
        b.x = e;
        b.y = f.F + 40;
        b.facing = l >= e ? 1 : -1;
        b.state = 2;
        f.T() = 0.9f;
        break;
    }
    case 2:
        b.x = b.aux.x;
        b.y = f.F + 40;
        if (f.T() <= 0) {
            b.state = 3;
            f.T() = 1.3f;
        }
        break;
    case 3: {
        float q = 1.0f - std::max(f.T(), 0.0f) / 1.3f;
        b.x = b.aux.x + (b.aux.y - b.aux.x) * q;
        b.y = f.F - 270 * std::sin(q * kPi);
        b.trail.push_back({b.x, b.y});
        while (b.trail.size() > 60) b.trail.pop_front();
        if (f.T() <= 0) {
            b.x = b.aux.y;
            b.y = f.F - 26;
            b.state = 4;
            f.T() = 1.7f;
            if (b.hp < 3) {
                f.shot(b.x, b.y - 20, -260, -520, 12, 3.0f, 9, true);
                f.shot(b.x, b.y - 20, 260, -520, 12, 3.0f, 9, true);
            }
        }
        break;
    }
    case 4:
        if (!b.trail.empty()) b.trail.pop_front();
        if (f.T() <= 0) {
            b.trail.clear();
            f.T() = 0.9f;
            if (b.hp < 3) {
                int old = b.counter++;
                b.state = old % 2 == 0 ? 1 : 5;
            } else {
                b.state = 5;
            }
        }
        break;
    case 5:
        b.y = f.F + 40;
        if (f.T() <= 0) b.state = 1;
        break;
    }
    b.vulnerable = b.state == 4;
    f.weak(b.x, b.y, 30);
    if (b.state == 3) f.hurt(b.x, b.y, 26);
    for (std::size_t k = 0; k + 6 < b.trail.size(); k += 6) {
        const sf::Vector2f& s = b.trail[k];
        if (s.y < f.F - 16) f.hurt(s.x, s.y, 18);
    }
}

// The stones the Keeper holds this frame (those orbiting it and hurting).
int keeperStonesShown(const BossState& b) {
    if (b.state == 3) return std::clamp(int((1.0f - std::max(b.stateTimer, 0.0f) / 1.2f) * 7.0f), 0, 7);
    return std::clamp(b.counter, 0, 7);
}

// 11 The Keeper: throws its seven stones one by one, raises pillars, kneels.
void theKeeper(Fight& f) {
    BossState& b = f.b;
    const float H = f.F - 240;
    int& stones = b.counter;
    switch (b.state) {
    case 0:
        f.easeY(H, 1.5f);
        if (std::fabs(b.y - H) < 10) {
            f.T() = 1.2f;
            b.aux.x = 3.0f;
            stones = 7;
            b.state = 1;
        }
        break;
    case 1:
        f.flyTo(f.C + 0.28f * f.W * std::sin(0.7f * b.clock), H + 14 * std::sin(1.6f * b.clock));
        if (f.T() <= 0 && stones > 0) {
            sf::Vector2f s = b.orbiters[std::size_t(std::clamp(stones - 1, 0, 6))];
            sf::Vector2f v = f.aimAtPlayer(s.x, s.y, b.hp < 4 ? 400.0f : 330.0f);
            f.shot(s.x, s.y, v.x, v.y, 14, 4.0f, 8);
            stones -= 1;
            f.T() = b.hp < 4 ? 0.75f : 1.0f;
        }
        b.aux.x -= f.dt;
        if (b.aux.x <= 0) {
            b.aux.x = b.hp < 4 ? 3.2f : 4.2f;
            const float q = f.W / 4.0f;
            const int gap = int(7.0f * b.clock) % 4;
            for (int k = 0; k < 4; ++k)
                if (k != gap) f.zone(f.L + float(k) * q + 0.3f * q, f.F - 120, 0.4f * q, 120, 0.9f, 0.7f, 9);
        }
        if (stones <= 0 && f.T() <= 0) {
            b.state = 2;
            f.T() = 2.4f;
        }
        break;
    case 2:
        f.easeY(f.F - 110, 3);
        if (f.T() <= 0) {
            b.state = 3;
            f.T() = 1.2f;
        }
        break;
    case 3:
        f.easeY(H, 2);
        if (f.T() <= 0) {
            f.T() = 0.8f;
            stones = 7;
            b.state = 1;
        }
        break;
    }
    if (b.orbiters.size() != 7) b.orbiters.assign(7, sf::Vector2f(b.x, b.y));
    const float k = std::min(8 * f.dt, 1.0f);
    for (int i = 0; i < 7; ++i) {
        float a = 2 * kPi * float(i) / 7.0f + 1.4f * b.clock;
        sf::Vector2f& o = b.orbiters[std::size_t(i)];
        o.x += (b.x + 90 * std::cos(a) - o.x) * k;
        o.y += (b.y + 90 * std::sin(a) - o.y) * k;
    }
    b.facing = f.sideOfPlayer();
    b.vulnerable = b.state == 2 && b.y > f.F - 160;
    const int shown = keeperStonesShown(b);
    for (int i = 0; i < shown; ++i) f.hurt(b.orbiters[std::size_t(i)].x, b.orbiters[std::size_t(i)].y, 16);
    f.weak(b.x, b.y, 34);
    if (!b.vulnerable) f.hurt(b.x, b.y, 38);
}

}  // namespace

int keeperStonesHeld(const BossState& boss) { return keeperStonesShown(boss); }

void runBossBehaviour(BossState& boss, BossArena& arena, float dt) {
    // The mirror freezes, timer and all, while it reels from a hit.
    if (!(boss.kind == MirrorHero && boss.hitFlash > 0)) boss.stateTimer -= dt;
    Fight f(boss, arena, dt);
    switch (boss.kind) {
    case BrambleBeetle: brambleBeetle(f); break;
    case HollowOak: hollowOak(f); break;
    case PrismBat: prismBat(f); break;
    case GeodeGolem: geodeGolem(f); break;
    case GaleTurret: galeTurret(f); break;
    case StormZeppelin: stormZeppelin(f); break;
    case GlitchRacer: glitchRacer(f); break;
    case MirrorHero: mirrorHero(f); break;
    case TheSilencer: theSilencer(f); break;
    case Ovim: ovim(f); break;
    case StoneSerpent: stoneSerpent(f); break;
    case TheKeeper: theKeeper(f); break;
    default: break;
    }
}
