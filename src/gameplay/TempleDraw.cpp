#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/View.hpp>
#include <algorithm>
#include <cmath>

#include "content/Zones.h"
#include "gameplay/Temple.h"
#include "render/Draw.h"
#include "render/Hero.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kTempleZone = 4;

sf::Uint8 alphaOf(float a) { return sf::Uint8(std::clamp(a, 0.0f, 255.0f)); }

sf::Color withAlpha(sf::Color c, float a) { return sf::Color(c.r, c.g, c.b, alphaOf(a)); }

sf::Color lighter(sf::Color c, float f) {
    auto up = [f](sf::Uint8 x) { return sf::Uint8(float(x) + (255.0f - float(x)) * f); };
    return sf::Color(up(c.r), up(c.g), up(c.b), c.a);
}

void drawTorch(DrawContext& ctx, sf::Vector2f at, float t) {
    const float flick = 2.0f * std::sin(17.0f * t + at.x);
    drawCircle(ctx, {at.x, at.y - 10.0f}, 26.0f + flick, sf::Color(255, 180, 80, 40), 20);
    drawRect(ctx, {at.x - 3.0f, at.y - 4.0f}, {6.0f, 16.0f}, sf::Color(90, 60, 40));
    drawTriangle(ctx, {at.x - 7.0f, at.y - 4.0f}, {at.x + 7.0f, at.y - 4.0f}, {at.x + flick * 0.6f, at.y - 26.0f - flick},
                 sf::Color(255, 190, 70));
}

void drawBackdrop(DrawContext& ctx, float t) {
    const ZonePalette& pal = zoneTable()[kTempleZone].palette;
    drawVerticalGradient(ctx, {0, 0, 960, 540}, pal.skyTop, pal.skyBottom);

    // Back wall: courses of stone and tall columns with capitals.
    for (int row = 0; row < 9; ++row) {
        const float y = 120.0f + 40.0f * float(row);
        drawRect(ctx, {40, y}, {880, 2}, withAlpha(pal.hillsNear, 120));
    }
    for (int i = 0; i < 6; ++i) {
        const float x = 95.0f + 154.0f * float(i);
        drawRect(ctx, {x - 22.0f, 150}, {44, 320}, pal.hillsFar);
        drawRect(ctx, {x - 32.0f, 132}, {64, 18}, lighter(pal.hillsFar, 0.08f));
        drawRect(ctx, {x - 28.0f, 462}, {56, 8}, lighter(pal.hillsFar, 0.08f));
        const float pulse = 0.6f + 0.4f * std::sin(3.0f * t + float(i));
        drawCircle(ctx, {x, 141}, 5.0f, withAlpha(pal.accent, 255.0f * pulse), 4);
    }
    // The carved frieze the slots sit in.
    drawRect(ctx, {150, 310}, {660, 100}, withAlpha(pal.hillsMid, 230), 3.0f, pal.groundDark);

    // Ceiling zig-zag and the side walls.
    for (float x = 0.0f; x < 960.0f; x += 40.0f)
        drawTriangle(ctx, {x, 0}, {x + 40.0f, 0}, {x + 20.0f, 24}, pal.hillsNear);
    drawRect(ctx, {0, 0}, {40, 540}, pal.hillsNear);
    drawRect(ctx, {920, 0}, {40, 540}, pal.hillsNear);

    // The doorway back to the act, in the right wall.
    const sf::Vector2f door = kTempleDoorway;
    drawRect(ctx, {door.x - 30.0f, door.y - 42.0f}, {60, 92}, sf::Color(255, 220, 150, 40));
    drawCircle(ctx, {door.x, door.y - 42.0f}, 30.0f, sf::Color(255, 220, 150, 40), 30);
    drawRect(ctx, {door.x - 24.0f, door.y - 38.0f}, {48, 88}, sf::Color(14, 8, 16));
    drawCircle(ctx, {door.x, door.y - 38.0f}, 24.0f, sf::Color(14, 8, 16), 30);
    drawRing(ctx, {door.x, door.y - 38.0f}, 24.0f, 4.0f, pal.groundTop, 30);
    drawRect(ctx, {door.x - 28.0f, door.y - 38.0f}, {4, 88}, pal.groundTop);
    drawRect(ctx, {door.x + 24.0f, door.y - 38.0f}, {4, 88}, pal.groundTop);

    drawTorch(ctx, {70, 300}, t);
    drawTorch(ctx, {860, 300}, t);

    // Floor.
    drawRect(ctx, {0, kTempleFloorY}, {960, 540.0f - kTempleFloorY}, pal.groundLight);
    for (int i = 0; i < 24; ++i)
        drawRect(ctx, {40.0f * float(i), kTempleFloorY + 6.0f + float(i % 2) * 30.0f}, {40, 30}, pal.groundMid);
    drawRect(ctx, {0, kTempleFloorY}, {960, 6}, pal.groundTop);
}

void drawSlots(DrawContext& ctx, const TempleState& temple, float t, int divineStones) {
    const ZonePalette& pal = zoneTable()[kTempleZone].palette;
    const int next = lowestMissingStone(divineStones);
    const bool intro = temple.phase <= kTempleAwaken;
    for (int i = 0; i < kStoneCount; ++i) {
        const sf::Vector2f c = templeSlotCentre(i);
        const sf::Color hue = stoneColor(i);
        drawCircle(ctx, c, kTempleSlotRadius, sf::Color(26, 16, 24), 36, 3.0f, pal.groundDark);
        drawRing(ctx, c, kTempleSlotRadius - 8.0f, 2.0f, withAlpha(pal.hillsFar, 200), 36);

        const bool held = (divineStones >> i) & 1;
        if (intro) {
            if (temple.phase == kTempleAwaken && i < temple.slotsAwake) {
                drawCircle(ctx, c, kTempleSlotRadius + 10.0f, withAlpha(hue, 60), 36);
                drawCircle(ctx, c, kTempleSlotRadius - 4.0f, withAlpha(hue, 170), 36);
            }
        } else if (held) {
            const float pulse = 0.5f + 0.5f * std::sin(4.0f * t + float(i));
            drawCircle(ctx, c, kTempleSlotRadius + 8.0f + 4.0f * pulse, withAlpha(hue, 50.0f + 40.0f * pulse), 36);
            drawCircle(ctx, c, kTempleSlotRadius - 4.0f, withAlpha(hue, 190.0f + 65.0f * pulse), 36);
            drawCircle(ctx, {c.x - 9.0f, c.y - 9.0f}, 7.0f, sf::Color(255, 255, 255, 170), 6);
        } else if (i == next) {
            const float pulse = 0.5f + 0.5f * std::sin(5.0f * t);
            drawCircle(ctx, c, kTempleSlotRadius + 6.0f + 8.0f * pulse, withAlpha(hue, 40.0f + 60.0f * pulse), 36);
            drawRing(ctx, c, kTempleSlotRadius - 2.0f, 3.0f + 2.0f * pulse, withAlpha(hue, 150.0f + 100.0f * pulse),
                     36);
        }
    }
}

// The awakening: the Secret Stones gather around the hero, then fly into the
// carved slots.
void drawIntroStones(DrawContext& ctx, const TempleState& temple, float t) {
    if (temple.phase != kTempleStones && temple.phase != kTempleRumble) return;
    const sf::Vector2f hero{temple.x, temple.y};
    for (int i = 0; i < kStoneCount; ++i) {
        const float a = 1.6f * t + 2.0f * kPi * float(i) / float(kStoneCount);
        const sf::Vector2f orbit{hero.x + 56.0f * std::cos(a), hero.y - 60.0f + 28.0f * std::sin(a)};
        sf::Vector2f at = orbit;
        float opacity = 1.0f;
        if (temple.phase == kTempleStones) {
            opacity = std::clamp((temple.phaseTime - 0.25f * float(i)) / 0.3f, 0.0f, 1.0f);
        } else {
            const float f = std::clamp(temple.phaseTime / 1.4f, 0.0f, 1.0f);
            const float e = f * f * (3.0f - 2.0f * f);
            const sf::Vector2f slot = templeSlotCentre(i);
            at = {orbit.x + (slot.x - orbit.x) * e, orbit.y + (slot.y - orbit.y) * e};
            opacity = 1.0f - std::clamp((temple.phaseTime - 1.3f) / 0.3f, 0.0f, 1.0f);
        }
        if (opacity <= 0.0f) continue;
        const sf::Color hue = stoneColor(i);
        drawCircle(ctx, at, 16.0f, withAlpha(hue, 60.0f * opacity), 20);
        drawCircle(ctx, at, 9.0f, withAlpha(hue, 255.0f * opacity), 6, 2.0f,
                   sf::Color(255, 255, 255, alphaOf(160.0f * opacity)));
    }
}

void drawWarning(DrawContext& ctx, int divineStones, float t) {
    const ZonePalette& pal = zoneTable()[kTempleZone].palette;
    drawRect(ctx, {0, 0}, {960, 540}, sf::Color(0, 0, 0, 140));
    drawRect(ctx, {90, 130}, {780, 300}, sf::Color(30, 18, 36, 240), 3.0f, pal.accent);
    const float pulse = 0.5f + 0.5f * std::sin(6.0f * t);
    drawText(ctx, "WARNING!", {480, 148}, 40, sf::Color(255, sf::Uint8(70 + 60 * pulse), 70), 3.0f, kAlignCenter);
    const int stage = templeWarningStage(divineStones);
    const int slot = std::max(lowestMissingStone(divineStones), 0);
    drawText(ctx,
             "You are about to enter the Divine Special Stage (Special Stage " + std::to_string(stage) + ").",
             {480, 220}, 22, sf::Color::White, 0.0f, kAlignCenter);
    drawText(ctx, std::string("Clear it to awaken the ") + stoneColorName(slot) + " Divine Stone.", {480, 256}, 22,
             sf::Color::White, 0.0f, kAlignCenter);
    drawText(ctx, "Enter: Yes      Esc: No", {480, 300}, 18, sf::Color(220, 210, 200), 0.0f, kAlignCenter);

    const struct { const char* label; float x; sf::Color fill; } buttons[] = {
        {"No", kTempleNoX, sf::Color(70, 40, 50, 235)},
        {"Yes", kTempleYesX, sf::Color(50, 80, 60, 235)},
    };
    for (const auto& b : buttons) {
        drawRect(ctx, {b.x, kTempleButtonY}, {kTempleButtonW, kTempleButtonH}, b.fill, 2.0f, pal.groundTop);
        drawText(ctx, b.label, {b.x + kTempleButtonW / 2.0f, kTempleButtonY + kTempleButtonH / 2.0f - 22.0f * 0.62f},
                 22, sf::Color::White, 0.0f, kAlignCenter);
    }
}

}  // namespace

void drawTemple(DrawContext& ctx, const TempleState& temple, float t, int hero, int divineStones) {
    const sf::View base = ctx.target.getView();
    if (temple.shakeTime > 0.0f) {
        sf::View shaken = base;
        shaken.move(5.0f * std::sin(90.0f * t), 4.0f * std::cos(70.0f * t));
        ctx.target.setView(shaken);
    } else if (temple.phase == kTempleRumble) {
        sf::View shaken = base;
        shaken.move(2.0f * std::sin(45.0f * t), 0.0f);
        ctx.target.setView(shaken);
    }

    drawBackdrop(ctx, t);
    drawSlots(ctx, temple, t, divineStones);

    HeroPose pose;
    pose.hero = hero;
    pose.x = temple.x;
    pose.y = temple.y;
    pose.facing = temple.facing;
    pose.rolling = !temple.onGround || hero == 4;  // Bolim always rolls
    pose.spin = 15.0f * t * float(temple.facing);
    pose.time = t;
    drawHero(ctx, pose);
    drawIntroStones(ctx, temple, t);

    ctx.target.setView(base);

    const ZonePalette& pal = zoneTable()[kTempleZone].palette;
    drawText(ctx, "HIDDEN TEMPLE", {480, 34}, 40, pal.accent, 3.0f, kAlignCenter);
    if (temple.phase == kTempleWalking) {
        const char* hint = allStonesHeld(divineStones)
                               ? "All 7 Divine Stones have awakened!   Esc or the doorway: leave"
                               : "Jump into the glowing carved slot to enter the Divine Special Stage.   Esc or the "
                                 "doorway: leave";
        drawText(ctx, hint, {480, 88}, 17, sf::Color(240, 230, 220), 2.0f, kAlignCenter);
    }
    if (temple.phase == kTempleDark)
        drawRect(ctx, {0, 0}, {960, 540}, sf::Color(0, 0, 0, alphaOf(255.0f * (1.0f - temple.phaseTime / 1.2f))));
    if (temple.phase == kTempleWarning) drawWarning(ctx, divineStones, t);
}
