#include "debug/DebugEditor.h"

#include <algorithm>
#include <cmath>

#include "gameplay/Player.h"
#include "gameplay/Special.h"

// ---- Who may use it -------------------------------------------------------------

bool debugModeAllowed(bool settingOn, int saveSlot, bool multiplayer, bool courseTest) {
    return settingOn && saveSlot < 0 && !multiplayer && !courseTest;
}

// ---- The palette ----------------------------------------------------------------

const std::array<std::string, kDebugPaletteSize>& debugPalette() {
    static const std::array<std::string, kDebugPaletteSize> names = {
        "Gem",     "Spring",     "Big Spring",   "Monitor",    "Crawler", "Buzzer",       "Hopper",
        "Spiker",  "Bomber",     "Turret",       "Checkpoint", "Stone Portal", "Dash Panel", "Spikes",
        "Ledge",   "Secret Stone", "Divine Stone", "+50 Gems", "Teleport", "Go to Boss",   "Goal",
    };
    return names;
}

const std::string& debugEntryName(int index) { return debugPalette()[std::size_t(wrapDebugIndex(index))]; }

int debugEntryIndex(const std::string& name) {
    const auto& names = debugPalette();
    const auto it = std::find(names.begin(), names.end(), name);
    return it == names.end() ? -1 : int(it - names.begin());
}

int wrapDebugIndex(long long index) {
    const long long n = kDebugPaletteSize;
    return int(((index % n) + n) % n);
}

namespace {

bool inBox(sf::Vector2f m, float left) { return m.x >= left && m.x <= left + 50.0f && m.y >= 6.0f && m.y <= 46.0f; }

}  // namespace

bool inDebugPreviousBox(sf::Vector2f mouse) { return inBox(mouse, 250.0f); }
bool inDebugNextBox(sf::Vector2f mouse) { return inBox(mouse, 660.0f); }

int pickDebugEntry(int index, const DebugPick& pick) {
    if (pick.previous) return wrapDebugIndex(index - 1LL);
    if (pick.next) return wrapDebugIndex(index + 1LL);
    // Whole steps only; a wild wheel value cannot overflow the arithmetic.
    const float w = std::isfinite(pick.wheel) ? std::clamp(pick.wheel, -1.0e6f, 1.0e6f) : 0.0f;
    return wrapDebugIndex(index - (long long)(w));
}

// ---- Flying ---------------------------------------------------------------------

void flyDebugHero(Player& p, const DebugFlyKeys& keys, float dt) {
    const int dx = (keys.right ? 1 : 0) - (keys.left ? 1 : 0);
    const int dy = (keys.down ? 1 : 0) - (keys.up ? 1 : 0);
    const float speed = keys.fast ? kDebugFastFlySpeed : kDebugFlySpeed;
    p.x += float(dx) * speed * dt;
    p.y += float(dy) * speed * dt;
    if (dx != 0) p.facing = dx;
    p.vx = p.vy = p.groundSpeed = 0;
    p.grounded = false;
    // A hero caught in a death fall is alive again; the fall starts afresh
    // should it die later.
    p.dead = false;
    p.deathStarted = false;
    p.deathTime = 0;
    p.surface = -1;
    p.loopIndex = -1;
}

// ---- Cursor ---------------------------------------------------------------------

sf::Vector2f debugCursor(sf::Vector2f camera, sf::Vector2f mouse) {
    return camera - sf::Vector2f(480.0f, 270.0f) + mouse;
}

float debugSnappedY(const Level& level, sf::Vector2f cursor) {
    const GroundHeight g = level.groundHeightAt(cursor.x);
    return g && g.y > cursor.y - 40.0f ? g.y : cursor.y;
}

// ---- Placing --------------------------------------------------------------------

namespace {

void addBaddie(Level& level, int kind, sf::Vector2f at) { level.enemies.push_back(baddieAt(kind, at.x, at.y)); }

void addSpring(Level& level, sf::Vector2f at, float power) {
    Spring s;
    s.x = at.x;
    s.y = at.y;
    s.power = power;
    s.sideways = 0;
    s.lifetime = -1;
    level.springs.push_back(s);
}

}  // namespace

sf::Vector2f debugBossSpot(const Level& level) {
    const float x = level.arenaX - 100.0f;
    const GroundHeight g = level.groundHeightAt(x);
    return {x, (g ? g.y : level.arenaY) - 60.0f};
}

DebugPlacement placeDebugEntry(Level& level, int index, sf::Vector2f cursor, int facing) {
    const float x = cursor.x;
    const float snapped = debugSnappedY(level, cursor);
    DebugPlacement r;
    r.burst = true;
    switch (DebugEntry(wrapDebugIndex(index))) {
        case DebugEntry::Gem: level.gems.push_back({x, cursor.y, false}); break;
        case DebugEntry::Spring: addSpring(level, {x, snapped}, 1150.0f); break;
        case DebugEntry::BigSpring: addSpring(level, {x, snapped}, 1500.0f); break;
        case DebugEntry::Monitor: {
            Monitor m;
            m.x = x;
            m.y = snapped - 22.0f;
            m.kind = int(level.monitors.size() % 5);
            level.monitors.push_back(m);
            break;
        }
        case DebugEntry::Crawler: addBaddie(level, BaddieKind::Crawler, {x, snapped - 16.0f}); break;
        case DebugEntry::Buzzer: addBaddie(level, BaddieKind::Buzzer, cursor); break;
        case DebugEntry::Hopper: addBaddie(level, BaddieKind::Hopper, {x, snapped - 15.0f}); break;
        case DebugEntry::Spiker: addBaddie(level, BaddieKind::Spiker, {x, snapped - 16.0f}); break;
        case DebugEntry::Bomber: addBaddie(level, BaddieKind::Bomber, cursor); break;
        case DebugEntry::Turret: addBaddie(level, BaddieKind::Turret, {x, snapped - 22.0f}); break;
        case DebugEntry::Checkpoint: {
            Checkpoint c;
            c.x = x;
            c.y = snapped;
            level.checkpoints.push_back(c);
            break;
        }
        case DebugEntry::StonePortal: level.stonePortals.push_back({cursor.x, cursor.y, false}); break;
        case DebugEntry::DashPanel: level.dashPanels.push_back({x, facing < 0 ? -1.0f : 1.0f}); break;
        case DebugEntry::Spikes: level.spikes.push_back({x, 64.0f}); break;
        case DebugEntry::Ledge: {
            Platform p;
            p.x1 = x - 70.0f;
            p.x2 = x + 70.0f;
            p.y1 = p.y2 = cursor.y;
            p.crumbleTimer = -1;
            level.platforms.push_back(p);
            break;
        }
        case DebugEntry::SecretStone: r.cheat = DebugCheat::SecretStone; break;
        case DebugEntry::DivineStone: r.cheat = DebugCheat::DivineStone; break;
        case DebugEntry::FiftyGems: r.cheat = DebugCheat::FiftyGems; break;
        case DebugEntry::Teleport:
            r.cheat = DebugCheat::Teleport;
            r.at = cursor;
            r.burst = false;
            break;
        case DebugEntry::GoToBoss:
            r.cheat = DebugCheat::GoToBoss;
            r.at = debugBossSpot(level);
            r.burst = false;
            break;
        case DebugEntry::Goal:
            r.cheat = DebugCheat::Goal;
            r.at = {x, snapped - 70.0f};
            break;
    }
    return r;
}

DebugStoneGrant grantDebugStone(int mask, bool divine) {
    DebugStoneGrant g;
    g.mask = mask;
    g.stone = lowestMissingStone(mask);
    if (g.stone < 0) {
        g.message = divine ? "You have all 7 Divine Stones" : "You have all 7 Secret Stones";
        return g;
    }
    g.mask |= 1 << g.stone;
    g.message = "You got the " + stoneName(g.stone, divine) + "!";
    return g;
}

// ---- Removing -------------------------------------------------------------------

DebugFind findDebugRemoval(const Level& level, sf::Vector2f point) {
    DebugFind best;
    float bestDistance = kDebugRemoveRadius;
    auto consider = [&](DebugTarget kind, std::size_t index, sf::Vector2f at) {
        const float d = std::hypot(at.x - point.x, at.y - point.y);
        if (d < bestDistance) {
            bestDistance = d;
            best = {kind, index, d};
        }
    };
    // Ground under x, or the point's own height over a pit.
    auto groundOr = [&](float x) {
        const GroundHeight g = level.groundHeightAt(x);
        return g ? g.y : point.y;
    };

    for (std::size_t i = 0; i < level.gems.size(); ++i)
        if (!level.gems[i].taken) consider(DebugTarget::Gem, i, {level.gems[i].x, level.gems[i].y});
    for (std::size_t i = 0; i < level.springs.size(); ++i)
        consider(DebugTarget::Spring, i, {level.springs[i].x, level.springs[i].y - 14.0f});
    for (std::size_t i = 0; i < level.monitors.size(); ++i)
        consider(DebugTarget::Monitor, i, {level.monitors[i].x, level.monitors[i].y});
    for (std::size_t i = 0; i < level.enemies.size(); ++i)
        if (level.enemies[i].alive) consider(DebugTarget::Baddie, i, {level.enemies[i].x, level.enemies[i].y});
    for (std::size_t i = 0; i < level.checkpoints.size(); ++i)
        consider(DebugTarget::Checkpoint, i, {level.checkpoints[i].x, level.checkpoints[i].y - 40.0f});
    for (std::size_t i = 0; i < level.stonePortals.size(); ++i)
        consider(DebugTarget::StonePortal, i, {level.stonePortals[i].x, level.stonePortals[i].y});
    for (std::size_t i = 0; i < level.spikes.size(); ++i) {
        const float x = level.spikes[i].x;
        const GroundHeight g = level.groundHeightAt(x);
        consider(DebugTarget::Spikes, i, {x, g ? g.y - 10.0f : point.y});
    }
    for (std::size_t i = 0; i < level.dashPanels.size(); ++i)
        consider(DebugTarget::DashPanel, i, {level.dashPanels[i].x, groundOr(level.dashPanels[i].x)});
    for (std::size_t i = 0; i < level.platforms.size(); ++i) {
        const Platform& p = level.platforms[i];
        // Read left to right whichever way round the ends were given.
        const bool forward = p.x1 <= p.x2;
        const sf::Vector2f a = forward ? sf::Vector2f(p.x1, p.y1) : sf::Vector2f(p.x2, p.y2);
        const sf::Vector2f b = forward ? sf::Vector2f(p.x2, p.y2) : sf::Vector2f(p.x1, p.y1);
        if (!(a.x <= point.x && point.x <= b.x)) continue;
        const float span = std::max(b.x - a.x, 1.0f);
        consider(DebugTarget::Platform, i, {point.x, a.y + (b.y - a.y) * (point.x - a.x) / span});
    }
    return best;
}

namespace {

template <class T>
bool eraseAt(std::vector<T>& list, std::size_t i) {
    if (i >= list.size()) return false;
    list.erase(list.begin() + std::ptrdiff_t(i));
    return true;
}

}  // namespace

bool eraseDebugFind(Level& level, const DebugFind& f) {
    switch (f.kind) {
        case DebugTarget::None: return false;
        case DebugTarget::Gem: return eraseAt(level.gems, f.index);
        case DebugTarget::Spring: return eraseAt(level.springs, f.index);
        case DebugTarget::Monitor: return eraseAt(level.monitors, f.index);
        case DebugTarget::Baddie: return eraseAt(level.enemies, f.index);
        case DebugTarget::Checkpoint: return eraseAt(level.checkpoints, f.index);
        case DebugTarget::StonePortal: return eraseAt(level.stonePortals, f.index);
        case DebugTarget::Spikes: return eraseAt(level.spikes, f.index);
        case DebugTarget::DashPanel: return eraseAt(level.dashPanels, f.index);
        case DebugTarget::Platform: return eraseAt(level.platforms, f.index);
    }
    return false;
}
