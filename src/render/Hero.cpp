#include "render/Hero.h"

#include <SFML/Graphics/Sprite.hpp>
#include <algorithm>
#include <cmath>

#include "content/Heroes.h"
#include "gameplay/Hazards.h"
#include "gameplay/Player.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kBolim = 4;

sf::Color rgb(int r, int g, int b, int a = 255) {
    return sf::Color(sf::Uint8(r), sf::Uint8(g), sf::Uint8(b), sf::Uint8(a));
}

// Rotates a local offset by degrees.
sf::Vector2f rotate(sf::Vector2f v, float deg) {
    const float a = deg * kPi / 180.0f;
    const float c = std::cos(a), s = std::sin(a);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

const HeroDef& heroDef(int hero) { return heroTable()[std::size_t(std::clamp(hero, 0, kHeroCount - 1))]; }

void drawWings(ShapeBatch& b, const HeroPose& p, float R, float op) {
    const bool gold = p.hero == 3;
    const sf::Color fill = withAlpha(gold ? rgb(255, 215, 0) : rgb(245, 250, 255), op);
    const sf::Color edge = withAlpha(lerpColor(gold ? rgb(255, 215, 0) : rgb(245, 250, 255), rgb(0, 0, 0), 0.25f), op);
    const float w = (0.5f - (0.15f * std::sin(8.0f * p.time) + 0.9f * p.flap)) * 22.0f;
    const float k = p.scale;
    for (int side = -1; side <= 1; side += 2) {
        const float s = float(side);
        const std::vector<sf::Vector2f> pts = {
            {p.x + s * 0.45f * R, p.y - 0.35f * R},
            {p.x + s * (R + 8 * k), p.y - 0.55f * R - 0.5f * w},
            {p.x + s * (R + 20 * k), p.y - 0.25f * R - w},
            {p.x + s * (R + 14 * k), p.y + 0.2f * R - 0.35f * w},
            {p.x + s * 0.55f * R, p.y + 0.3f * R},
        };
        b.polygon(pts, fill);
        for (std::size_t i = 0; i < pts.size(); ++i)
            b.thickLine(pts[i], pts[(i + 1) % pts.size()], 2.0f * k, edge);
    }
}

}  // namespace

sf::Color heroBodyColor(const HeroPose& p) {
    sf::Color c = heroDef(p.hero).color;
    if (p.transformed) c = p.divine ? hueColor(0.6f * p.time) : rgb(255, 255, 245);
    if (p.tint.a != 0) {
        sf::Color target = p.tint;
        target.a = c.a;
        c = lerpColor(c, target, float(p.tint.a) / 255.0f);
    }
    return c;
}

void drawHero(ShapeBatch& b, const HeroPose& p) {
    const HeroDef& def = heroDef(p.hero);
    const float op = std::clamp(p.opacity, 0.0f, 1.0f);
    const float R = 18.0f * p.scale;
    const float t = p.time;
    const int facing = p.facing < 0 ? -1 : 1;
    const bool bolim = p.hero == kBolim;
    const bool ball = p.rolling || bolim;
    const sf::Vector2f centre{p.x, p.y};
    const sf::Color body = withAlpha(heroBodyColor(p), op);

    // 1. Aura of the transformed forms.
    if (p.transformed) {
        const sf::Color aura = p.divine ? hueColor(t + 0.5f) : rgb(255, 255, 220);
        b.circle(centre, R + 10 + 3 * std::sin(10 * t), withAlpha(aura, 0.3f * op), 30);
    }
    // 2. Flame afterimages behind the hero.
    if (p.flameTrail) {
        for (int i = 1; i <= 5; ++i)
            b.circle({p.x - float(facing) * 10.0f * float(i), p.y}, std::max(R - 2.0f * float(i), 1.0f),
                     rgbaOpacity(255, 200 - 30 * i, 180 - 30 * i, 40, op), 20);
    }
    // 3. Wings of Tr and Ktr.
    if ((p.hero == 2 || p.hero == 3) && !p.rolling) drawWings(b, p, R, op);

    // 4. Body.
    const float squash = std::clamp(p.squash, -0.35f, 0.45f);
    const float rotDeg = ball ? p.spin * 180.0f / kPi : p.tilt;
    const sf::Vector2f scale{1 + squash, 1 - squash};
    const sf::Color edge = withAlpha(lerpColor(heroBodyColor(p), rgb(0, 0, 0, heroBodyColor(p).a), 0.45f), op);
    b.circle(centre, R, body, std::size_t(std::max(def.shapeSides, 3)), 2.0f, edge, rotDeg, scale);

    // Offsets in the body's frame: scaled, then turned with it.
    auto place = [&](sf::Vector2f local) {
        return centre + rotate({local.x * scale.x, local.y * scale.y}, rotDeg);
    };

    if (bolim) {
        // 7. Bolim: always a ball, eyes and a smile turning with the body.
        const sf::Color eye = rgbaOpacity(60, 40, 10, 255, op);
        b.circle(place({-0.35f * R, -0.25f * R}), 0.12f * R, eye, 10);
        b.circle(place({0.35f * R, -0.25f * R}), 0.12f * R, eye, 10);
        for (int i = 0; i < 9; ++i) {
            const float a = 0.471f + 0.275f * float(i);
            b.circle(place({0.55f * R * std::cos(a), 0.5f * R * std::sin(a)}), 1.8f, eye, 6);
        }
    } else if (p.rolling) {
        // 5. Rolling: three dots circling, no face.
        for (int i = 0; i < 3; ++i) {
            const float a = 2.0f * p.spin + 2.1f * float(i);
            b.circle({p.x + 0.75f * R * std::cos(a), p.y + 0.75f * R * std::sin(a)}, 2.5f,
                     rgbaOpacity(255, 255, 255, 255, op), 6);
        }
        return;
    } else {
        // 6. Face, looking along facing.
        const float f = float(facing);
        for (int side = -1; side <= 1; side += 2) {
            const sf::Vector2f eye = place({f * 0.25f * R + float(side) * 0.24f * R, -0.2f * R});
            const sf::Vector2f pupil = place({f * (0.25f + 0.07f) * R + float(side) * 0.24f * R, -0.2f * R});
            b.circle(eye, 0.2f * R, rgbaOpacity(255, 255, 255, 255, op), 12);
            b.circle(pupil, 0.1f * R, rgbaOpacity(20, 20, 40, 255, op), 10);
        }
    }
    if (p.shielded) b.ring(centre, R + 8, 2, rgbaOpacity(120, 200, 255, 255, 0.6f * op), 40);
}

void drawHero(DrawContext& ctx, const HeroPose& pose) {
    ShapeBatch b;
    drawHero(b, pose);
    b.flush(ctx.target);
}

// ---- The local player -------------------------------------------------------

sf::Color playerTint(const PlayerLook& look, float t) {
    if (look.tintMode == PlayerLook::Rainbow) return withAlpha(hueColor(0.5f * t), 216.0f / 255.0f);
    if (look.tintMode == PlayerLook::FixedTint) {
        sf::Color c = look.tintColor;
        c.a = 229;
        return c;
    }
    return sf::Color::Transparent;
}

PlayerFigure playerFigure(const Player& p, float t, const PlayerLook& look) {
    PlayerFigure f;
    HeroPose& pose = f.pose;
    pose.hero = p.hero;
    pose.x = p.x;
    pose.y = p.y;
    pose.tilt = p.rotation;
    pose.spin = p.spinPhase;
    pose.squash = p.squash;
    pose.flap = p.flapAnim;
    pose.time = t;
    pose.facing = p.facing < 0 ? -1 : 1;
    pose.transformed = p.transformed;
    pose.divine = p.divine;
    pose.shielded = p.shield;
    pose.flameTrail = p.flameTime > 0;
    pose.rolling = p.rolling || p.spinning || p.charging || p.slamming || p.homing || p.loopIndex >= 0 ||
                   p.hero == kBolim;
    pose.scale = p.sizeScale > 0 ? p.sizeScale : 1.0f;
    pose.tint = playerTint(look, t);
    f.gliding = p.gliding;
    f.dead = p.dead;
    f.hurtTime = p.hurtTime;
    f.blinkTime = p.blinkTime;
    f.blinkFrom = p.blinkFrom;
    f.blinkTo = p.blinkTo;
    f.charging = p.charging;
    f.charge = p.charge;
    f.invincibleTime = p.invincibleTime;
    return f;
}

void drawLocalPlayer(DrawContext& ctx, const Player& player, const PlayerLook& look, float time) {
    drawLocalPlayer(ctx, playerFigure(player, time, look), look, time);
}

bool playerFlickerVisible(float hurtTime, bool dead) {
    if (dead || !(hurtTime > 0)) return true;
    return int(14.0f * hurtTime) % 2 != 0;
}

void drawLocalPlayer(DrawContext& ctx, ShapeBatch& b, const PlayerFigure& fig, const PlayerLook& look, float t) {
    if (!playerFlickerVisible(fig.hurtTime, fig.dead)) return;
    const HeroPose& pose = fig.pose;
    const int facing = pose.facing < 0 ? -1 : 1;

    // Blink trail.
    if (fig.blinkTime > 0) {
        for (int i = 0; i < 6; ++i) {
            const float f = float(i) / 6.0f;
            const float a = std::min(1.0f, 1.5f * fig.blinkTime * f);
            b.circle(fig.blinkFrom + (fig.blinkTo - fig.blinkFrom) * f, 14.4f, rgbaOpacity(255, 215, 0, 255, a), 10);
        }
    }
    // Spin-dash dust.
    if (fig.charging) {
        for (int i = 0; i < 3; ++i)
            b.circle({pose.x - float(facing) * (10.0f + 10.0f * float(i)), pose.y + 14.0f - 3.0f * float(i)},
                     5.0f + 4.0f * fig.charge, rgb(230, 230, 230, 160), 12);
    }
    // Star power.
    if (fig.invincibleTime > 0) {
        for (int i = 0; i < 5; ++i) {
            const float a = 2.0f * kPi * float(i) / 5.0f + 8.0f * t;
            b.circle({pose.x + 28.0f * std::cos(a), pose.y + 28.0f * std::sin(a)}, 4.0f,
                     hueColor(0.2f * float(i) + t), 4);
        }
    }

    if (look.picture && !pose.transformed && look.picture->getSize().x > 0 && look.picture->getSize().y > 0) {
        b.flush(ctx.target);
        sf::Sprite sprite(*look.picture);
        const sf::Vector2u size = look.picture->getSize();
        const float k = 43.2f * pose.scale / float(std::max(size.x, size.y));
        sprite.setOrigin(float(size.x) / 2.0f, float(size.y) / 2.0f);
        sprite.setPosition(pose.x, pose.y);
        sprite.setScale(facing < 0 ? -k : k, k);
        sprite.setRotation(pose.rolling ? pose.spin * 180.0f / kPi : pose.tilt);
        sprite.setColor(withAlpha(sf::Color::White, pose.opacity));
        ctx.target.draw(sprite);
        return;
    }
    HeroPose drawn = pose;
    if (fig.gliding) drawn.tilt = 70.0f * float(facing);
    drawHero(b, drawn);
}

void drawLocalPlayer(DrawContext& ctx, const PlayerFigure& figure, const PlayerLook& look, float time) {
    ShapeBatch b;
    drawLocalPlayer(ctx, b, figure, look, time);
    b.flush(ctx.target);
}

// ---- Remote players -------------------------------------------------------

bool remotePeerShown(const RemotePeer& peer, int zone, int act) {
    return !peer.local && peer.visible && peer.secondsSinceHeard <= 2.0f && peer.zone == zone && peer.act == act;
}

HeroPose remotePeerPose(const RemotePeer& peer, float time) {
    HeroPose p;
    p.hero = std::clamp(peer.hero, 0, kHeroCount - 1);
    p.x = peer.x;
    p.y = peer.y;
    p.spin = peer.spin;
    // The state carries one drawing angle: the rolling angle (radians) in a
    // ball, else the body's rotation (degrees).
    p.tilt = peer.spin;
    p.facing = peer.facing < 0 ? -1 : 1;
    p.rolling = peer.ball || p.hero == kBolim;
    p.transformed = peer.transformed;
    p.divine = peer.divine;
    p.opacity = 0.7f;
    p.time = time;
    return p;
}

bool remotePeerFlickerVisible(const RemotePeer& peer, float time) {
    return !(peer.hurt && int(14.0f * time) % 2 == 0);
}

void drawRemotePlayers(DrawContext& ctx, ShapeBatch& b, const RemoteScene& scene, float time) {
    if (!scene.inGame || !scene.peers) return;
    std::vector<const RemotePeer*> shown;
    for (const RemotePeer& peer : *scene.peers) {
        if (!remotePeerShown(peer, scene.zone, scene.act) || !remotePeerFlickerVisible(peer, time)) continue;
        drawHero(b, remotePeerPose(peer, time));
        shown.push_back(&peer);
    }
    if (shown.empty()) return;
    b.flush(ctx.target);
    sf::Text text;
    for (const RemotePeer* peer : shown)
        drawText(ctx, text, peer->name, {peer->x, peer->y - 44.0f}, 14, rgb(255, 255, 255, 230), 2, kAlignCenter);
}

void drawRemotePlayers(DrawContext& ctx, const RemoteScene& scene, float time) {
    ShapeBatch b;
    drawRemotePlayers(ctx, b, scene, time);
    b.flush(ctx.target);
}

// ---- Baddies ---------------------------------------------------------------

void drawEnemy(ShapeBatch& b, const Baddie& e, float t) {
    if (!e.alive) return;
    const float d = e.dir < 0 ? -1.0f : 1.0f;
    const sf::Vector2f c{e.x, e.y};
    sf::Vector2f eye = c;
    sf::Color eyeColor = sf::Color::Black;
    float eyeR = 2.0f;
    switch (e.kind) {
        case BaddieKind::Crawler:
            for (int i = -1; i <= 1; ++i) b.circle({e.x + 10.0f * float(i), e.y + 14}, 4, rgb(50, 50, 60), 10);
            b.circle(c, 16, rgb(220, 60, 60), 20, 2, rgb(90, 20, 20));
            b.circle({e.x + 8 * d, e.y - 4}, 4, sf::Color::White, 12);
            eye = {e.x + 9.5f * d, e.y - 4};
            break;
        case BaddieKind::Buzzer: {
            const float wr = 8 + 2 * std::sin(40 * t);
            b.circle({e.x - 10, e.y - 14}, wr, rgb(230, 245, 255, 190), 12);
            b.circle({e.x + 10, e.y - 14}, wr, rgb(230, 245, 255, 190), 12);
            b.triangle({e.x - 5, e.y + 10}, {e.x + 5, e.y + 10}, {e.x, e.y + 21}, rgb(60, 60, 60));
            b.circle(c, 13, rgb(250, 200, 40), 16, 2, rgb(90, 60, 10));
            b.thickLine({e.x - 6, e.y - 11}, {e.x - 6, e.y + 11}, 3, rgb(90, 60, 10));
            eye = {e.x + 6 * d, e.y - 3};
            break;
        }
        case BaddieKind::Hopper:
            b.circle(c, 15, rgb(90, 200, 90), 20, 2, rgb(30, 90, 30));
            b.circle({e.x - 6, e.y - 13}, 5, sf::Color::White, 12);
            b.circle({e.x + 6, e.y - 13}, 5, sf::Color::White, 12);
            b.circle({e.x - 6 + 1.5f * d, e.y - 13}, 2, sf::Color::Black, 8);
            eye = {e.x + 6 + 1.5f * d, e.y - 13};
            break;
        case BaddieKind::Spiker:
            for (int i = -2; i <= 2; ++i) {
                const float sx = e.x + 7.0f * float(i);
                b.triangle({sx - 4, e.y - 8}, {sx + 4, e.y - 8}, {sx, e.y - 26}, rgb(220, 220, 235));
            }
            b.circle(c, 16, rgb(120, 90, 200), 20, 2, rgb(40, 30, 80));
            eye = {e.x + 9 * d, e.y - 2};
            eyeR = 2.5f;
            break;
        case BaddieKind::Bomber: {
            b.polygon({{e.x - 26, e.y - 6}, {e.x + 26, e.y - 6}, {e.x + 18, e.y + 12}, {e.x - 18, e.y + 12}},
                      rgb(110, 120, 140));
            b.circle({e.x, e.y - 6}, 12, rgb(150, 160, 180), 20);
            const float a = 0.5f + 0.5f * std::sin(50 * t);
            b.thickLine({e.x, e.y - 18}, {e.x, e.y - 24}, 2, rgb(80, 80, 90));
            b.thickLine({e.x - 30, e.y - 25}, {e.x + 30, e.y - 25}, 3, rgbaOpacity(255, 255, 255, 255, a));
            eye = {e.x + 5 * d, e.y - 8};
            eyeR = 3;
            break;
        }
        case BaddieKind::Turret:
        default:
            b.rect({e.x - 18, e.y - 2}, {36, 22}, rgb(90, 90, 110), 2, rgb(40, 40, 50));
            b.thickLine({e.x, e.y - 8}, {e.x + 22 * d, e.y - 14}, 7, rgb(70, 70, 85));
            b.circle({e.x, e.y - 8}, 14, rgb(130, 130, 150), 20);
            eye = {e.x + 5 * d, e.y - 10};
            eyeColor = e.cooldown < 0.4f ? rgb(255, 80, 60) : rgb(255, 200, 80);
            eyeR = 4;
            break;
    }
    b.circle(eye, eyeR, eyeColor, 8);
}

void drawEnemy(DrawContext& ctx, const Baddie& enemy, float time) {
    ShapeBatch b;
    drawEnemy(b, enemy, time);
    b.flush(ctx.target);
}

// ---- Hazards ---------------------------------------------------------------

void drawHazard(ShapeBatch& b, const Hazard& h, const Level& level, float t) {
    switch (h.kind) {
        case HazardKind::Stalactite: {
            if (h.shattered) return;
            const sf::Color ice = h.falling ? rgb(170, 240, 255) : rgb(120, 200, 230);
            b.triangle({h.x - 14, h.y - 30}, {h.x + 14, h.y - 30}, {h.x, h.y + 20}, ice);
            b.triangle({h.x - 7, h.y - 30}, {h.x + 1, h.y - 30}, {h.x - 3, h.y + 6}, rgb(230, 255, 255));
            break;
        }
        case HazardKind::Updraft: {
            const float w = std::max(h.w, 16.0f);
            const float bottom = h.y, top = h.y - h.h;
            // Air streaks rising through the column.
            for (int i = 0; i < 8; ++i) {
                const float sx = h.x - w / 2 + w * (float(i) + 0.5f) / 8.0f;
                const float rise = cyclePhase(380.0f * t + float(i) * h.h * 0.37f, std::max(h.h, 1.0f));
                const float y0 = bottom - 16 - rise;
                if (y0 - 26 < top) continue;
                b.thickLine({sx, y0}, {sx, y0 - 26}, 2, rgb(255, 255, 255, 140));
            }
            b.rect({h.x - w / 2, bottom - 16}, {w, 16}, rgb(90, 90, 110));
            for (int k = 1; k < 6; ++k) {
                const float gx = h.x - w / 2 + w * float(k) / 6.0f;
                b.thickLine({gx, bottom - 16}, {gx, bottom}, 2, rgb(60, 60, 76));
            }
            // Three blades seen from the side: their tips swing across the grate.
            for (int i = 0; i < 3; ++i) {
                const float a = 20.0f * t + 2.0f * kPi * float(i) / 3.0f;
                const float tip = std::cos(a) * (w / 2 - 6);
                const float depth = std::sin(a);
                b.thickLine({h.x, bottom - 8}, {h.x + tip, bottom - 8 - 3 * depth}, 4,
                            depth > 0 ? rgb(200, 200, 215) : rgb(150, 150, 170));
            }
            b.circle({h.x, bottom - 8}, 4, rgb(60, 60, 76), 10);
            break;
        }
        case HazardKind::Laser: {
            const float g = hazardGround(level, h);
            const float headY = g - h.h;
            const float cycle = cyclePhase(h.timer, kLaserCycle);
            if (laserOn(h)) {
                b.rect({h.x - 5, headY + 7}, {10, g - 6 - headY - 7}, rgb(255, 200, 160, 220));
                b.rect({h.x - 2, headY + 7}, {4, g - 6 - headY - 7}, rgb(255, 220, 250));
            } else if (cycle >= 2.0f) {
                b.rect({h.x - 1, headY + 7}, {2, g - 6 - headY - 7}, rgb(255, 40, 160, 120));
            }
            b.rect({h.x - 10, g - 6}, {20, 6}, rgb(60, 60, 80));
            b.rect({h.x - 10, headY - 7}, {20, 14}, rgb(60, 60, 80));
            break;
        }
        case HazardKind::Wisp: {
            const sf::Vector2f p = wispAt(h);
            const float r = 20.0f + 3.0f * std::sin(6.0f * t + h.x * 0.37f);
            b.circle(p, r, rgb(10, 0, 10), 24, 3, rgb(255, 40, 90));
            b.circle(p, 6, rgb(255, 40, 90, 160), 12);
            break;
        }
        case HazardKind::Crusher:
        default: {
            const float p = cyclePhase(h.timer, kCrusherCycle);
            const float bottom = crusherBottom(h, hazardGround(level, h));
            const float shake = (p >= 1.6f && p < 2.0f) ? 2.0f * std::sin(60.0f * t) : 0.0f;
            const float x = h.x + shake;
            const float w = std::max(h.w, 20.0f);
            const float top = bottom - 70;
            b.rect({x - 4, top - 400}, {8, 400}, rgb(80, 76, 92));
            b.rect({x - w / 2, top}, {w, 70}, rgb(120, 110, 130), 3, rgb(50, 44, 58));
            for (int i = 0; i < 4; ++i) {
                const float tx = x - w / 2 + w * (float(i) + 0.5f) / 4.0f;
                b.triangle({tx - w / 8 + 1, bottom - 12}, {tx + w / 8 - 1, bottom - 12}, {tx, bottom}, rgb(200, 200, 215));
            }
            b.circle({x, top + 30}, 10, rgb(232, 190, 92, 200), 16);
            b.circle({x, top + 30}, 4, rgb(40, 20, 20), 10);
            break;
        }
    }
}

void drawHazard(DrawContext& ctx, const Hazard& hazard, const Level& level, float time) {
    ShapeBatch b;
    drawHazard(b, hazard, level, time);
    b.flush(ctx.target);
}
