#include "content/Bosses.h"

#include <algorithm>
#include <cmath>

const std::vector<BossDef>& bossTable() {
    static const std::vector<BossDef> table = {
        {"Bramble Beetle", "Bzzzt! These meadows belong to the silence now!", "My shell... cracked...", 4},
        {"Hollow Oak", "I was the oldest tree in Echo Meadows. Now I am HOLLOW.",
         "The roots... remember the word...", 6},
        {"Prism Bat", "Kreee! The light down here bends to ME!", "Too bright... too bright!", 4},
        {"Geode Golem", "CRUSH. BREAK. UNSPEAK.", "...shatter...", 6},
        {"Gale Turret", "Target locked. Wind speed: maximum.", "System failure! Overheating!", 4},
        {"Storm Zeppelin", "Welcome aboard! Nobody leaves the sky alive!", "Mayday! We're going down!", 6},
        {"Glitch Racer", "Race you to the end of the city! Loser gets erased!", "Crashed... respawning... never...",
         4},
        {"Mirror Hero", "Every step you take, I take too. I AM you.", "So that's... what being real feels like.", 5},
        {"The Silencer", "...", "......!", 4},
        {"Ovim", "I am the first word, spoken backwards. Everything you are, I unsay.",
         "No... the word... is spoken... again...", 12},
        {"Stone Serpent", "Hsssss... the temple floor is MY home. You walk on my back.", "Back... into the... stone...",
         4},
        {"The Keeper",
         "I have guarded the Divine Stones since the first word. Ovim sent me to unsay them - and you.",
         "The stones... are yours to keep now...", 6},
    };
    return table;
}

int ovimPhase(int hp) {
    if (hp >= 9) return 1;
    if (hp >= 5) return 2;
    return 3;
}

void spawnBoss(BossState& boss, int kind, float left, float right, float floor) {
    kind = std::clamp(kind, 0, kBossCount - 1);
    const BossDef& def = bossTable()[std::size_t(kind)];
    boss = BossState{};
    boss.kind = kind;
    boss.hp = boss.maxHp = def.hitPoints;
    boss.speech = def.taunt;
    boss.speechTimer = 3.0f;
    boss.facing = -1;
    boss.state = 0;
    boss.rng = XorShift32(0x2545F491u ^ (std::uint32_t(kind + 1) * 2654435761u));
    const float c = (left + right) * 0.5f;
    boss.x = right + 200;
    boss.y = floor - 60;
    switch (kind) {
    case HollowOak: boss.x = right - 150; boss.y = floor; break;
    case PrismBat:
    case StormZeppelin: boss.x = c; boss.y = floor - 600; break;
    case GaleTurret: boss.x = c; boss.y = floor - 500; break;
    case MirrorHero: boss.x = right - 100; boss.y = floor - 18; break;
    case TheSilencer: boss.x = right - 200; boss.y = floor - 90; break;
    case Ovim:
        boss.x = c;
        boss.y = floor - 700;
        boss.orbiters.assign(4, sf::Vector2f(boss.x, boss.y));
        break;
    case StoneSerpent: boss.x = c; boss.y = floor + 60; break;
    case TheKeeper:
        boss.x = c;
        boss.y = floor - 650;
        boss.orbiters.assign(7, sf::Vector2f(boss.x, boss.y));
        break;
    default: break;
    }
}

namespace {

void updateShots(BossState& boss, const BossArena& arena, float dt) {
    for (BossShot& s : boss.shots) {
        if (s.homing) {
            float dx = arena.player.x - s.x, dy = arena.player.y - s.y;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d > 0.001f) {
                s.vx += dx / d * 260.0f * dt;
                s.vy += dy / d * 260.0f * dt;
            }
            float sp = std::sqrt(s.vx * s.vx + s.vy * s.vy);
            if (sp > 230.0f) {
                s.vx *= 230.0f / sp;
                s.vy *= 230.0f / sp;
            }
        }
        if (s.gravity) s.vy += 900.0f * dt;
        s.x += s.vx * dt;
        s.y += s.vy * dt;
        s.life -= dt;
        if (s.gravity && s.y >= arena.floor - s.radius) s.life = 0;
    }
    boss.shots.erase(std::remove_if(boss.shots.begin(), boss.shots.end(),
                                    [](const BossShot& s) { return s.life <= 0; }),
                     boss.shots.end());
}

void updateZones(BossState& boss, float dt) {
    for (BossZone& z : boss.zones) {
        if (z.warn > 0) {
            z.warn -= dt;
        } else {
            z.x += z.vx * dt;
            z.life -= dt;
        }
    }
    boss.zones.erase(std::remove_if(boss.zones.begin(), boss.zones.end(),
                                    [](const BossZone& z) { return z.warn <= 0 && z.life <= 0; }),
                     boss.zones.end());
}

}  // namespace

void updateBoss(BossState& boss, BossArena& arena, float dt) {
    arena.wind = 0;
    arena.puffs.clear();
    if (boss.gone) return;
    boss.clock += dt;
    boss.hitFlash = std::max(boss.hitFlash - dt, 0.0f);
    boss.speechTimer = std::max(boss.speechTimer - dt, 0.0f);
    boss.hurtCircles.clear();
    boss.vulnerable = false;

    if (boss.defeated) {
        boss.deathTimer -= dt;
        boss.y += std::max(2.5f - boss.deathTimer, 0.0f) * 40.0f * dt;
        if (boss.deathTimer <= 0) {
            boss.gone = true;
            return;
        }
        if (int(boss.deathTimer * 10.0f) % 3 == 0) {
            float ox = (boss.rng.rand() * 2.0f - 1.0f) * 50.0f;
            float oy = (boss.rng.rand() * 2.0f - 1.0f) * 50.0f;
            arena.puffs.push_back({boss.x + ox, boss.y + oy});
        }
        return;
    }

    runBossBehaviour(boss, arena, dt);
    updateShots(boss, arena, dt);
    updateZones(boss, dt);
}

// ---------------------------------------------------------------------------
// Touch rules.

bool bossTouchAttacking(const BossToucher& p) {
    return p.rolling || p.spinning || p.gliding || p.slamming || p.homing || p.flameDash || p.transformed ||
           p.starPower || (p.hero == 4 && p.grounded && std::fabs(p.groundSpeed) > 60.0f);
}

namespace {

float dist(float ax, float ay, float bx, float by) {
    float dx = ax - bx, dy = ay - by;
    return std::sqrt(dx * dx + dy * dy);
}

// Unit vector from (fx, fy) toward (tx, ty); straight up when they coincide.
sf::Vector2f unitFrom(float fx, float fy, float tx, float ty) {
    float dx = tx - fx, dy = ty - fy;
    float d = std::sqrt(dx * dx + dy * dy);
    if (d < 0.001f) return {0.0f, -1.0f};
    return {dx / d, dy / d};
}

// Ends the attack states of the local copy, mirroring what the caller does.
void endAttacks(BossToucher& p) {
    p.rolling = p.spinning = p.gliding = p.slamming = p.homing = p.flameDash = false;
}

void leaveGround(BossToucher& p) {
    p.grounded = false;
    p.inLoop = false;
}

}  // namespace

BossTouchResult bossTouchPlayer(BossState& boss, const BossToucher& player) {
    BossTouchResult out;
    if (boss.defeated || boss.gone) return out;
    BossToucher p = player;  // follows the outcome within the frame
    const float pr = kBossPlayerRadius;

    // 1. The weak point.
    bool hit = false;
    if (boss.vulnerable && boss.hitFlash <= 0 &&
        dist(p.pos.x, p.pos.y, boss.weakX, boss.weakY) < boss.weakRadius + pr) {
        bool falling = !p.inLoop && !p.grounded && p.vel.y > 0 && p.pos.y < boss.weakY;
        if (bossTouchAttacking(p) || falling) {
            hit = true;
            boss.hp -= 1;
            boss.hitFlash = 1.0f;
            out.bossHit = true;
            if (boss.hp > 0) {
                boss.stateTimer = std::min(boss.stateTimer, 0.3f);
                if (boss.kind == Ovim && boss.hp == 8) {
                    boss.speech = "You think a hit can unsay ME? Watch the floor vanish!";
                    boss.speechTimer = 3.0f;
                } else if (boss.kind == Ovim && boss.hp == 4) {
                    boss.speech = "ENOUGH! I will unsay the whole universe!";
                    boss.speechTimer = 3.0f;
                }
            } else {
                boss.hp = 0;
                boss.defeated = true;
                out.bossDefeated = true;
                boss.deathTimer = 2.5f;
                boss.speech = bossTable()[std::size_t(boss.kind)].defeatLine;
                boss.speechTimer = 3.0f;
                boss.shots.clear();
                boss.zones.clear();
            }
            out.fx.push_back({BossFxKind::Hit, {boss.weakX, boss.weakY}});
            sf::Vector2f u = unitFrom(boss.weakX, boss.weakY, p.pos.x, p.pos.y);
            out.setVelocity = true;
            out.velocity = {420.0f * u.x, -480.0f};
            out.leaveGround = out.endAttacks = true;
            p.vel = out.velocity;
            leaveGround(p);
            endAttacks(p);
        }
    }

    // 2. Hurt circles, the first one touched.
    if (!hit) {
        for (const BossCircle& c : boss.hurtCircles) {
            if (dist(p.pos.x, p.pos.y, c.x, c.y) >= c.radius + pr) continue;
            if (p.transformed) {
                out.hurtPlayer = true;  // the hurt rule spares a transformed player
            } else if (bossTouchAttacking(p) || p.inLoop) {
                sf::Vector2f u = unitFrom(c.x, c.y, p.pos.x, p.pos.y);
                out.setVelocity = true;
                out.velocity = {520.0f * u.x, 520.0f * u.y - 200.0f};
                out.leaveGround = out.endAttacks = true;
                out.fx.push_back({BossFxKind::Clank, p.pos});
                p.vel = out.velocity;
                leaveGround(p);
                endAttacks(p);
            } else {
                out.hurtPlayer = true;
            }
            break;
        }
    }

    // 3. Shots.
    for (std::size_t i = 0; i < boss.shots.size();) {
        const BossShot s = boss.shots[i];
        if (dist(p.pos.x, p.pos.y, s.x, s.y) >= s.radius + pr) {
            ++i;
            continue;
        }
        boss.shots.erase(boss.shots.begin() + std::ptrdiff_t(i));
        if (s.destroyable && bossTouchAttacking(p)) {
            out.fx.push_back({BossFxKind::Pop, {s.x, s.y}});
            if (!p.grounded) {
                p.vel.y = p.jumpHeld ? -560.0f : -420.0f;
                out.setVelocity = true;
                out.velocity = p.vel;
            }
        } else {
            out.hurtPlayer = true;
        }
    }

    // 4. Live zones.
    for (const BossZone& z : boss.zones) {
        if (z.warn > 0) continue;
        float px = p.pos.x, py = p.pos.y + 10.8f;
        if (px >= z.x && px <= z.x + z.w && py >= z.y && py <= z.y + z.h) {
            out.hurtPlayer = true;
            break;
        }
    }
    return out;
}
