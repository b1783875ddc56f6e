#include "render/Hud.h"

#include <algorithm>
#include <cmath>

#include "content/Bosses.h"
#include "content/Heroes.h"
#include "content/Zones.h"
#include "core/MenuList.h"
#include "gameplay/Player.h"
#include "render/Batch.h"

namespace {

sf::Color rgb(int r, int g, int b, int a = 255) {
    return sf::Color(sf::Uint8(r), sf::Uint8(g), sf::Uint8(b), sf::Uint8(a));
}

const HeroDef& heroDef(int hero) { return heroTable()[std::size_t(std::clamp(hero, 0, kHeroCount - 1))]; }
const ZoneDef& zoneDef(int zone) { return zoneTable()[std::size_t(std::clamp(zone, 0, kZoneCount - 1))]; }

bool allSeven(int mask) { return (mask & 0x7F) == 0x7F; }

int wholeSeconds(float s) { return s > 0 ? int(std::min(s, 1.0e6f)) : 0; }

void drawLabel(DrawContext& ctx, sf::Text& text, const HudLabel& l) {
    drawText(ctx, text, l.text, l.pos, l.size, l.color, l.outline, l.align);
}

}  // namespace

void hudFromPlayer(HudInfo& hud, const Player& p) {
    hud.gems = p.gems;
    hud.hearts = p.hearts;
    hud.maxHearts = p.maxHearts;
    hud.shield = p.shield;
    hud.hero = p.hero;
    hud.transformed = p.transformed;
    hud.abilityCooldown = p.abilityCooldown;
    hud.flapCooldown = p.flapCooldown;
    hud.speedShoesTime = p.speedShoesTime;
    hud.invincibleTime = p.invincibleTime;
    hud.dead = p.dead;
}

void hudFromBoss(HudInfo& hud, const BossState& boss, bool fightOn) {
    hud.bossBar = fightOn && !boss.defeated;
    const auto& table = bossTable();
    hud.bossName = table.empty() ? std::string() : table[std::size_t(std::clamp(boss.kind, 0, int(table.size()) - 1))].name;
    hud.bossHp = boss.hp;
    hud.bossMaxHp = boss.maxHp;
}

sf::Color hudRowLabelColor(bool alert, float t) {
    if (alert && int(4.0f * t) % 2 == 0) return rgb(255, 70, 70);
    return rgb(255, 220, 60);
}

float abilityMeterFill(int hero, float abilityCooldown, float flapCooldown) {
    const std::string& name = heroDef(hero).name;
    float c = 0;
    if (name == "Tr" || name == "Ktr") c = flapCooldown / 0.2f;
    else if (name == "Pr") c = abilityCooldown / 0.9f;
    else if (name == "Lt") c = abilityCooldown / 2.2f;
    else if (name == "aLt") c = abilityCooldown / 1.1f;
    if (!std::isfinite(c)) c = 0;
    return 1.0f - std::clamp(c, 0.0f, 1.0f);
}

float titleCardEase(float c, float length) {
    if (!(c > 0)) return 0;
    return std::clamp(std::min({c / 0.4f, (length - c) / 0.3f, 1.0f}), 0.0f, 1.0f);
}

std::vector<HudLabel> hudLabels(const HudInfo& h) {
    std::vector<HudLabel> out;
    const float t = h.time;
    auto row = [&](const char* label, std::string value, float y, bool alert) {
        out.push_back({label, {20, y}, 22, hudRowLabelColor(alert, t), 3, kAlignLeft});
        out.push_back({std::move(value), {110, y}, 22, sf::Color::White, 3, kAlignLeft});
    };
    row("SCORE", std::to_string(h.score), 14, false);
    row("TIME", formatTime(h.actTime), 42, h.actTime > 540.0f);
    row("GEMS", std::to_string(h.gems), 70, h.gems == 0);

    if (allSeven(h.secretStones) && !h.transformed)
        out.push_back({h.gems < 50 ? "Get 50 gems to transform" : "Jump + F: transform!", {940, 52}, 18,
                       rgb(255, 255, 220), 2, kAlignRight});

    out.push_back({heroDef(h.hero).abilityName, {120, 498}, 16, sf::Color::White, 2, kAlignCenter});
    if (h.speedShoesTime > 0)
        out.push_back({"SPEED " + std::to_string(wholeSeconds(h.speedShoesTime)), {240, 498}, 16,
                       rgb(255, 160, 60), 0, kAlignLeft});
    if (h.invincibleTime > 0)
        out.push_back({"STAR " + std::to_string(wholeSeconds(h.invincibleTime)), {340, 498}, 16, hueColor(t), 0,
                       kAlignLeft});

    if (h.bossBar) out.push_back({h.bossName, {480, 476}, 18, sf::Color::White, 2, kAlignCenter});

    const float c = h.titleCardTime;
    if (c > 0) {
        const float a = titleCardEase(c, h.titleCardLength);
        const float o = (1 - a) * 500;
        const ZoneDef& zone = zoneDef(h.zone);
        out.push_back({zone.name, {30 - o, 200}, 48, sf::Color::White, 4, kAlignLeft});
        out.push_back({"ACT " + std::to_string(h.act), {760 + o, 298}, 36, rgb(255, 220, 60), 3, kAlignCenter});
        if (h.act == 1 && c > 1.2f)
            out.push_back({zone.introLine, {480, 380}, 18, withAlpha(sf::Color::White, a), 0, kAlignCenter});
    }

    if (h.dead)
        out.push_back({h.hearts <= 0 ? "Out of hearts!" : "Oops!", {480, 220}, 40, rgb(255, 120, 120), 3, kAlignCenter});

    if (h.multiplayer == HudInfo::Race || h.multiplayer == HudInfo::Together) {
        std::string line = (h.multiplayer == HudInfo::Race ? "RACE  " : "TOGETHER  ") + std::to_string(h.players) +
                           " players";
        if (h.multiplayer == HudInfo::Together && h.waitingForNextAct) line += "  -  waiting for the next act...";
        out.push_back({line, {480, 12}, 18, rgb(255, 230, 140), 2, kAlignCenter});
    }
    if (h.makerTest)
        out.push_back({"Testing your course - reach the goal!", {480, 12}, 18, rgb(170, 255, 190), 2, kAlignCenter});
    return out;
}

void drawHudRow(DrawContext& ctx, const std::string& label, const std::string& value, float y, bool alert, float t) {
    drawText(ctx, label, {20, y}, 22, hudRowLabelColor(alert, t), 3);
    drawText(ctx, value, {110, y}, 22, sf::Color::White, 3);
}

void drawHud(DrawContext& ctx, const HudInfo& h) {
    const std::vector<HudLabel> labels = hudLabels(h);
    std::size_t next = 0;
    sf::Text text;
    // Text up to (not including) the first label that starts with `stop`.
    auto textUntil = [&](auto stop) {
        while (next < labels.size() && !stop(labels[next])) drawLabel(ctx, text, labels[next++]);
    };
    const float t = h.time;
    ShapeBatch b;

    // 1. Rows (the first six labels).
    for (; next < labels.size() && next < 6; ++next) drawLabel(ctx, text, labels[next]);

    // 2. Hearts and the shield slot.
    const int maxHearts = std::clamp(h.maxHearts, 0, 20);
    for (int i = 0; i < maxHearts; ++i) {
        const sf::Vector2f c{32.0f + 30.0f * float(i), 112};
        const sf::Color col = i < h.hearts ? rgb(255, 70, 90) : rgb(70, 50, 60);
        b.circle({c.x - 5, c.y - 2}, 6, col, 16);
        b.circle({c.x + 5, c.y - 2}, 6, col, 16);
        b.triangle({c.x - 10.8f, c.y}, {c.x + 10.8f, c.y}, {c.x, c.y + 11}, col);
    }
    if (h.shield) b.ring({32.0f + 30.0f * float(maxHearts), 112}, 10, 2, rgb(120, 200, 255), 30);

    // 3. Secret Stones, and the Divine Stones once all seven are held.
    for (int i = 0; i < 7; ++i) {
        const bool held = (h.secretStones >> i) & 1;
        b.circle({800.0f + 20.0f * float(i), 24}, 6, held ? hueColor(float(i) / 7.0f) : rgb(50, 50, 70, 200), 6, 1,
                 rgb(0, 0, 0, 160));
    }
    if (allSeven(h.secretStones)) {
        const auto sides = std::size_t(std::max(heroDef(h.hero).shapeSides, 3));
        for (int i = 0; i < 7; ++i) {
            const bool held = (h.divineStones >> i) & 1;
            b.circle({800.0f + 20.0f * float(i), 42}, 5,
                     held ? hueColor(0.3f * t + float(i) / 7.0f) : rgb(110, 110, 120, 200), sides, 1, rgb(0, 0, 0, 160));
        }
    }
    // 5. Ability meter.
    b.rect({20, 496}, {200, 26}, rgb(0, 0, 0, 140), 2, rgb(255, 255, 255, 100));
    const float fill = abilityMeterFill(h.hero, h.abilityCooldown, h.flapCooldown);
    sf::Color bar = heroDef(h.hero).color;
    bar.a = 153;
    if (fill > 0) b.rect({20, 496}, {fill * 200, 26}, bar);
    // 7. Boss bar box.
    if (h.bossBar) {
        b.rect({330, 502}, {300, 16}, rgb(40, 0, 10, 200), 2, rgb(255, 255, 255, 160));
        const float f = h.bossMaxHp > 0 ? std::clamp(float(h.bossHp) / float(h.bossMaxHp), 0.0f, 1.0f) : 0.0f;
        if (f > 0) b.rect({330, 502}, {f * 300, 16}, rgb(255, 60, 80));
    }
    b.flush(ctx.target);

    // 4-7. Hint, ability name, timers, boss name.
    textUntil([](const HudLabel& l) { return l.size == 48; });

    // 8. Title card bands under its texts.
    if (h.titleCardTime > 0) {
        const float a = titleCardEase(h.titleCardTime, h.titleCardLength);
        const float o = (1 - a) * 500;
        sf::Color accent = zoneDef(h.zone).palette.accent;
        accent.a = 229;
        b.rect({-20 - o, 180}, {560, 110}, accent);
        b.rect({540 + o, 290}, {440, 60}, rgb(20, 20, 40, 230));
        b.flush(ctx.target);
    }
    textUntil([](const HudLabel&) { return false; });
}

void drawPause(DrawContext& ctx, const MenuList& pauseList, int hero, float t) {
    drawRect(ctx, {0, 0}, {960, 540}, rgb(0, 0, 20, 170));
    drawText(ctx, "PAUSED", {480, 120}, 48, sf::Color::White, 3, kAlignCenter);
    drawMenuButtons(pauseList, ctx, t, 24);
    const HeroDef& def = heroDef(hero);
    drawText(ctx, def.name + " - " + def.abilityName + ": " + def.abilityText, {480, 420}, 15, rgb(255, 230, 140), 2,
             kAlignCenter);
    drawText(ctx, "Move: arrows/WASD   Jump: Space   Ability: Shift or K   Roll: Down while running   Transform: F",
             {480, 450}, 14, rgb(210, 210, 230), 0, kAlignCenter);
}

std::vector<HudLabel> resultsLabels(const ResultsInfo& res) {
    std::vector<HudLabel> out;
    const float k = std::clamp(2 * res.r, 0.0f, 1.0f);
    const float s = (1 - k) * 600;
    const bool finalBoss = res.bossId == 9;
    out.push_back({finalBoss ? "OVIM IS UNSAID!" : heroDef(res.hero).name + " got through", {480 - s, 120}, 40,
                   sf::Color::White, 4, kAlignCenter});
    if (!finalBoss)
        out.push_back({zoneDef(res.zone).name + "  Act " + std::to_string(res.act), {480 + s, 175}, 30,
                       rgb(255, 220, 60), 3, kAlignCenter});
    const float f = std::clamp((res.r - 0.6f) / 1.2f, 0.0f, 1.0f);
    const sf::Color gold = rgb(255, 220, 60);
    out.push_back({"TIME   " + formatTime(res.actTime), {300, 250}, 24, gold, 0, kAlignLeft});
    out.push_back({"TIME BONUS   " + std::to_string(int(float(res.timeBonus) * f)), {300, 290}, 24, gold, 0, kAlignLeft});
    out.push_back({"GEM BONUS    " + std::to_string(int(float(res.gemBonus) * f)), {300, 330}, 24, gold, 0, kAlignLeft});
    out.push_back({"SCORE        " + std::to_string(res.score + int(float(res.timeBonus + res.gemBonus) * f)),
                   {300, 380}, 26, sf::Color::White, 0, kAlignLeft});
    if (res.r > 1.2f)
        out.push_back({"Press Enter", {480, 450}, 18,
                       rgb(220, 220, 240, int(std::clamp(150 + 100 * std::sin(5 * res.time), 0.0f, 255.0f))), 0,
                       kAlignCenter});
    return out;
}

void drawResults(DrawContext& ctx, const ResultsInfo& res) {
    const float k = std::clamp(2 * res.r, 0.0f, 1.0f);
    drawRect(ctx, {0, 0}, {960, 540}, rgb(0, 0, 30, int(120 * k)));
    sf::Text text;
    for (const HudLabel& l : resultsLabels(res)) drawLabel(ctx, text, l);
}
