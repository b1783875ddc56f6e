#include <SFML/Graphics/VertexArray.hpp>
#include <algorithm>
#include <cmath>

#include "core/Random.h"
#include "gameplay/Special.h"
#include "render/Draw.h"
#include "render/Hero.h"

namespace {

constexpr float kRingSpacing = 140.0f;
constexpr int kRings = 36;
constexpr float kPipeDepth = kRingSpacing * kRings;  // 5040
constexpr int kStrips = 12;
constexpr float kStripStart = -1.45f;
constexpr float kStripStep = 0.24166667f;
constexpr float kSurface = 300.0f;
constexpr float kItemRadius = 274.0f;

sf::Color blend(sf::Color a, sf::Color b, float f) {
    f = std::clamp(f, 0.0f, 1.0f);
    auto mix = [f](sf::Uint8 x, sf::Uint8 y) { return sf::Uint8(float(x) + (float(y) - float(x)) * f); };
    return sf::Color(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a));
}

sf::Uint8 alphaOf(float a) { return sf::Uint8(std::clamp(a, 0.0f, 255.0f)); }

void drawSky(DrawContext& ctx, const SpecialRun& run, float t) {
    if (run.divine)
        drawVerticalGradient(ctx, {0, 0, 960, 540}, sf::Color(120, 40, 120), sf::Color(40, 0, 50));
    else
        drawVerticalGradient(ctx, {0, 0, 960, 540}, sf::Color(60, 110, 200), sf::Color(10, 20, 60));
    for (int i = 0; i < 40; ++i) {
        XorShift32 rng(0xDAA66D14u - 1640531535u * std::uint32_t(i));
        const float r1 = rng.rand(), r2 = rng.rand(), r3 = rng.rand();
        const float a = (0.4f + 0.4f * std::sin(float(i) + 2.0f * t)) * 255.0f;
        drawCircle(ctx, {960.0f * r2, 200.0f * r3}, 1.0f + 1.5f * r1, sf::Color(255, 255, 255, alphaOf(a)), 8);
    }
}

void drawPipe(DrawContext& ctx, const SpecialRun& run) {
    const sf::Color fade(20, 20, 60);
    const sf::Color light = run.divine ? sf::Color(250, 200, 255) : sf::Color(120, 210, 255);
    const sf::Color dark = run.divine ? sf::Color(170, 90, 200) : sf::Color(40, 110, 220);
    const float offset = std::fmod(run.distance, kRingSpacing);
    const long long firstRing = (long long)std::floor(run.distance / kRingSpacing);

    sf::VertexArray quads(sf::Triangles);
    for (int j = kRings - 1; j >= 0; --j) {
        const float d0 = float(j) * kRingSpacing - offset;
        const float d1 = d0 + kRingSpacing;
        const float f = std::pow(std::clamp((d0 + 0.5f * kRingSpacing) / kPipeDepth, 0.0f, 1.0f), 0.8f) * 0.92f;
        for (int k = 0; k < kStrips; ++k) {
            const float a0 = kStripStart + kStripStep * float(k);
            const float a1 = a0 + kStripStep;
            const sf::Vector2f p00 = projectPipe(run.distance, d0, a0, kSurface);
            const sf::Vector2f p01 = projectPipe(run.distance, d0, a1, kSurface);
            const sf::Vector2f p10 = projectPipe(run.distance, d1, a0, kSurface);
            const sf::Vector2f p11 = projectPipe(run.distance, d1, a1, kSurface);
            const bool even = ((long long)k + firstRing + j) % 2 == 0;
            const sf::Color c = blend(even ? light : dark, fade, f);
            quads.append({p00, c});
            quads.append({p01, c});
            quads.append({p11, c});
            quads.append({p00, c});
            quads.append({p11, c});
            quads.append({p10, c});
        }
    }
    ctx.target.draw(quads);
}

void drawGates(DrawContext& ctx, const SpecialRun& run) {
    for (int g = kGateCount - 1; g >= 0; --g) {
        const float d = run.gatePos[std::size_t(g)] - run.distance;
        if (d <= 0.0f || d > kPipeDepth) continue;
        float s = 1.0f;
        projectPipe(run.distance, d, 0.0f, kSurface, &s);
        const bool passed = g < run.gate;
        const bool met = run.orbs >= run.gateNeed[std::size_t(g)];
        const sf::Color frame = passed ? sf::Color(120, 255, 140) : sf::Color(255, 210, 80);

        // The threshold across the pipe floor, and the arch over the top.
        const int seg = 20;
        for (int i = 0; i < seg; ++i) {
            const float a0 = -1.45f + 2.9f * float(i) / float(seg);
            const float a1 = -1.45f + 2.9f * float(i + 1) / float(seg);
            drawThickLine(ctx, projectPipe(run.distance, d, a0, kSurface), projectPipe(run.distance, d, a1, kSurface),
                          std::max(6.0f * s, 1.5f), sf::Color(frame.r, frame.g, frame.b, 150));
        }
        const float archFrom = 1.45f, archTo = 2.0f * 3.14159265f - 1.45f;
        for (int i = 0; i < seg; ++i) {
            const float a0 = archFrom + (archTo - archFrom) * float(i) / float(seg);
            const float a1 = archFrom + (archTo - archFrom) * float(i + 1) / float(seg);
            drawThickLine(ctx, projectPipe(run.distance, d, a0, kSurface + 8.0f),
                          projectPipe(run.distance, d, a1, kSurface + 8.0f), std::max(14.0f * s, 2.0f), frame);
        }
        const unsigned size = unsigned(std::max(40.0f * s, 10.0f));
        const sf::Vector2f top = projectPipe(run.distance, d, 3.14159265f, kSurface + 24.0f);
        drawText(ctx, std::to_string(run.gateNeed[std::size_t(g)]), {top.x, top.y - float(size) * 1.2f}, size,
                 met ? sf::Color(120, 255, 140) : sf::Color::White, std::max(3.0f * s, 1.0f), kAlignCenter);
    }
}

void drawItem(DrawContext& ctx, const SpecialRun& run, const SpecialItem& item, float t) {
    float s = 1.0f;
    const sf::Vector2f p = projectPipe(run.distance, item.distance - run.distance, item.lane, kItemRadius, &s);
    if (item.bomb) {
        drawCircle(ctx, p, 20.0f * s, sf::Color(40, 30, 50), 16, std::max(2.0f * s, 1.0f), sf::Color(90, 70, 100));
        const float flicker = 0.75f + 0.25f * std::sin(30.0f * t + item.distance);
        drawCircle(ctx, {p.x + 6.0f * s, p.y - 14.0f * s}, 4.0f * s * (0.8f + 0.4f * flicker),
                   sf::Color(255, sf::Uint8(150 + 80 * flicker), 60), 8);
    } else {
        const sf::Color body = run.divine ? sf::Color(255, 120, 255) : sf::Color(190, 225, 255);
        drawCircle(ctx, p, 16.0f * s, body, 16);
        drawCircle(ctx, {p.x - 5.0f * s, p.y - 5.0f * s}, 5.0f * s, sf::Color(255, 255, 255, 200), 10);
    }
}

}  // namespace

void drawSpecial(DrawContext& ctx, const SpecialRun& run, float t, const std::string& stoneName,
                 sf::Color stoneColour) {
    drawSky(ctx, run, t);
    drawPipe(ctx, run);
    drawGates(ctx, run);

    // Items far to near; those between the camera and the runner go over it.
    std::vector<const SpecialItem*> ahead;
    for (const SpecialItem& item : run.items) {
        const float d = item.distance - run.distance;
        if (!item.used && d > 0.0f && d <= kPipeDepth) ahead.push_back(&item);
    }
    std::sort(ahead.begin(), ahead.end(),
              [](const SpecialItem* a, const SpecialItem* b) { return a->distance > b->distance; });
    std::size_t next = 0;
    while (next < ahead.size() && ahead[next]->distance - run.distance >= kSpecialPlayerAhead)
        drawItem(ctx, run, *ahead[next++], t);

    const sf::Vector2f heroPos =
        projectPipe(run.distance, kSpecialPlayerAhead, run.lane, kSurface - 26.0f - run.height);
    HeroPose pose;
    pose.hero = run.hero;
    pose.x = heroPos.x;
    pose.y = heroPos.y;
    pose.scale = 1.4f;
    pose.tilt = -57.3f * run.lane;
    pose.spin = 15.0f * t;
    pose.facing = 1;
    pose.rolling = run.height > 0.0f || run.hero == 4;  // Bolim always rolls
    pose.time = t;
    drawHero(ctx, pose);

    while (next < ahead.size()) drawItem(ctx, run, *ahead[next++], t);

    if (run.gate < kGateCount) {
        drawRect(ctx, {360, 12}, {240, 48}, sf::Color(10, 10, 40, 160), 2.0f, sf::Color(255, 255, 255, 120));
        const int need = run.gateNeed[std::size_t(run.gate)];
        drawText(ctx, std::to_string(run.orbs) + " / " + std::to_string(need), {480, 20}, 28,
                 run.orbs >= need ? sf::Color(120, 255, 140) : sf::Color::White, 2.0f, kAlignCenter);
    }

    if (run.orbFlash > 0.0f)
        drawCircle(ctx, heroPos, 30.0f, sf::Color(255, 255, 255, alphaOf(600.0f * run.orbFlash)), 24);
    if (run.bombFlash > 0.0f)
        drawRect(ctx, {0, 0}, {960, 540}, sf::Color(255, 0, 0, alphaOf(160.0f * run.bombFlash)));

    if (run.messageTimer > 0.0f && !run.message.empty())
        drawText(ctx, run.message, {480, 200}, 36, sf::Color(255, 230, 120), 3.0f, kAlignCenter);

    if (run.distance < 1200.0f && run.result == kSpecialRunning)
        drawText(ctx, "Left/Right to steer, Jump over bombs. Get enough orbs for each gate!", {480, 80}, 18,
                 sf::Color::White, 2.0f, kAlignCenter);

    if (run.result == kSpecialFailed) {
        drawText(ctx, "Not enough orbs... try the next portal!", {480, 250}, 34, sf::Color(255, 160, 160), 3.0f,
                 kAlignCenter);
    } else if (run.result == kSpecialWon) {
        const float r = 50.0f + 4.0f * std::sin(5.0f * t);
        drawCircle(ctx, {480, 260}, r + 10.0f, sf::Color(stoneColour.r, stoneColour.g, stoneColour.b, 70), 40);
        drawCircle(ctx, {480, 260}, r, stoneColour, 40, 3.0f, sf::Color(255, 255, 255, 160));
        drawCircle(ctx, {480 - 0.3f * r, 260 - 0.3f * r}, 0.3f * r, sf::Color(255, 255, 255, 190), 6);
        drawText(ctx, "You got the " + stoneName + "!", {480, 330}, 34, sf::Color::White, 3.0f, kAlignCenter);
    }
}
