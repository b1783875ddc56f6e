#include "level/ActGenerator.h"

#include <algorithm>
#include <cmath>

#include "content/Zones.h"

namespace {

constexpr float kTwoPi = 6.28318530717958647692f;

// Chance of each section type per zone: hills, loop, ramp gap, downhill,
// sky platforms, platform pit, gauntlet, valley.
constexpr float kSectionWeights[kZoneCount][8] = {
    {3.0f, 2.5f, 1.5f, 1.5f, 1.5f, 1.0f, 1.0f, 1.5f},
    {2.0f, 1.0f, 1.5f, 1.0f, 1.5f, 1.5f, 2.0f, 1.0f},
    {1.0f, 0.5f, 2.0f, 1.0f, 2.0f, 3.0f, 1.0f, 0.5f},
    {1.0f, 2.0f, 1.5f, 2.5f, 1.5f, 1.0f, 1.5f, 1.0f},
    {1.5f, 1.0f, 1.5f, 1.0f, 2.0f, 2.0f, 2.0f, 1.0f},
    {1.0f, 1.0f, 1.5f, 1.0f, 1.5f, 3.0f, 2.0f, 0.5f},
};

constexpr float kBandTop = 200;
constexpr float kBandBottom = 900;

float clampToBand(float v) { return std::clamp(v, kBandTop, kBandBottom); }

Platform ledge(float x1, float y1, float x2, float y2) {
    Platform p;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    return p;
}

Hazard hazard(int kind, float x, float y, float w, float h, float timer) {
    Hazard hz;
    hz.kind = kind;
    hz.x = x;
    hz.y = y;
    hz.w = w;
    hz.h = h;
    hz.timer = timer;
    return hz;
}

}  // namespace

float ActGenerator::groundAt(float px) const {
    GroundHeight g = level.groundHeightAt(px);
    return g.found ? g.y : y;
}

void ActGenerator::addFlat(float len) {
    if (level.groundPaths.empty()) level.groundPaths.emplace_back();
    GroundPath& path = level.groundPaths.back();
    float target = x + len;
    while (target > x + 48) {
        x += 48;
        path.push_back({x, y});
    }
    if (path.empty() || target > path.back().x) path.push_back({target, y});
    x = target;
}

void ActGenerator::addSlope(float len, float rise) {
    if (level.groundPaths.empty()) level.groundPaths.emplace_back();
    GroundPath& path = level.groundPaths.back();
    float x0 = x, y0 = y;
    int n = std::max(int(len / 32), 2);
    for (int i = 1; i <= n; ++i) {
        float t = float(i) / float(n);
        path.push_back({x0 + t * len, y0 + rise * t * t * (3 - 2 * t)});
    }
    x = x0 + len;
    y = y0 + rise;
}

void ActGenerator::startGroundPath(float px, float py) {
    level.groundPaths.emplace_back();
    level.groundPaths.back().push_back({px, py});
    x = px;
    y = py;
}

void ActGenerator::placeGemRow(float xa, float xb, float lift, int count) {
    for (int i = 0; i < count; ++i) {
        float gx = count == 1 ? xa : xa + float(i) / float(count - 1) * (xb - xa);
        level.gems.push_back({gx, groundAt(gx) - lift, false});
    }
}

void ActGenerator::placeGemArc(sf::Vector2f p1, sf::Vector2f p2, float lift, int count) {
    float d = float(std::max(count - 1, 1));
    for (int i = 0; i < count; ++i) {
        float t = float(i) / d;
        float gx = p1.x + t * (p2.x - p1.x);
        float gy = p1.y + t * (p2.y - p1.y) - 4 * lift * t * (1 - t);
        level.gems.push_back({gx, gy, false});
    }
}

int ActGenerator::rollMonitorKind() {
    float r = rand();
    if (r < 0.4f) return MonitorKind::TenGems;
    if (r < 0.65f) return MonitorKind::Shield;
    if (r < 0.8f) return MonitorKind::SpeedShoes;
    if (r < 0.93f) return MonitorKind::ExtraHeart;
    return MonitorKind::Invincibility;
}

void ActGenerator::placeEnemy(int kind, float ex) {
    float g = groundAt(ex);
    float ey;
    switch (kind) {
        case BaddieKind::Buzzer: ey = g - 120; break;
        case BaddieKind::Bomber: ey = g - 260; break;
        case BaddieKind::Turret: ey = g - 22; break;
        default: ey = g - 16; break;
    }
    Baddie b;
    b.kind = kind;
    b.x = b.homeX = ex;
    b.y = b.homeY = ey;
    b.timer = 3 * rand();
    b.cooldown = 0;
    b.dir = -1;
    b.alive = true;
    level.enemies.push_back(b);
}

void ActGenerator::placeEnemies(const std::vector<int>& kinds, int count) {
    for (int i = 0; i < count; ++i) {
        float ex = x - (80 + 420 * rand());
        if (kinds.empty() || !level.groundHeightAt(ex).found) continue;
        int kind = kinds[next() % kinds.size()];
        placeEnemy(kind, ex);
    }
}

void ActGenerator::keepInBand() {
    if (y < kBandTop) addSlope(400, 220 - y + 80 * rand());
    if (y > kBandBottom) addSlope(400, -(y - 820));
    if (trace) trace->afterKeepInBand.push_back({x, y});
}

void ActGenerator::buildHills() {
    float x0 = x, y0 = y;
    float len = 900 + 600 * rand();
    float waves = float(std::lround(1 + 2 * rand()));
    float amp = 40 + 70 * rand();
    int n = int(len / 24);
    GroundPath& path = level.groundPaths.back();
    for (int i = 1; i <= n; ++i) {
        float t = float(i) / float(n);
        path.push_back({x0 + t * len, y0 - std::sin(kTwoPi * waves * t) * amp});
    }
    x = path.back().x;
    y = path.back().y;
    placeGemRow(x0 + 120, x - 120, 50, int(next() % 5 + 5));
    if (rand() < 0.4f) {
        int kind = rollMonitorKind();
        float mx = x0 + len / 2;
        level.monitors.push_back({mx, groundAt(mx) - 22, kind, false});
    }
    keepInBand();
}

void ActGenerator::buildLoop() {
    addFlat(200);
    level.dashPanels.push_back({x - 120, 1});
    addFlat(260);
    level.loops.push_back({x, y, 150});
    for (int i = 0; i < 10; ++i) {
        float a = kTwoPi * float(i) / 10;
        level.gems.push_back({x + 110 * std::sin(a), y - 150 - 110 * std::cos(a), false});
    }
    addFlat(420);
    if (rand() < 0.5f) {
        float r = rand();
        addSlope(600, 80 + 100 * r);
    }
    keepInBand();
}

void ActGenerator::buildRampGap() {
    addFlat(160);
    level.dashPanels.push_back({x - 80, 1});
    float r = rand();
    addSlope(260, -(60 + 60 * r));
    float x1 = x, y1 = y;
    float g = 240 + 140 * rand();
    float y2 = clampToBand(y1 - 20 + 140 * rand());
    startGroundPath(x1 + g, y2);
    if (g > 300)
        level.platforms.push_back(ledge(x1 + g / 2 - 60, y1 + 40, x1 + g / 2 + 60, y1 + 40));
    placeGemArc({x1 + 20, y1 - 40}, {x1 + g - 20, y2 - 40}, 140, 7);
    r = rand();
    addFlat(300 + 200 * r);
    keepInBand();
}

void ActGenerator::buildDownhill() {
    addFlat(120);
    level.dashPanels.push_back({x - 60, 1});
    float xa = x;
    float d = 220 + 160 * rand();
    if (y + d > kBandBottom) d = std::max(kBandBottom - y, 80.0f);
    float r = rand();
    addSlope(800 + 400 * r, d);
    placeGemRow(xa + 100, x - 100, 34, 10);
    addFlat(200);
    level.dashPanels.push_back({x - 100, 1});
    r = rand();
    addSlope(500, -(100 + 100 * r));
    addFlat(300);
    keepInBand();
}

bool ActGenerator::buildSkyPlatforms(const std::vector<int>& kinds, bool portalHere) {
    addFlat(200);
    level.springs.push_back({x - 80, y, 1250, 0, 0, -1});
    float xa = x;
    float base = y - 300;
    float r = rand();
    addFlat(1300 + 500 * r);
    bool anyLedge = false;
    float xl = 0, xr = 0, yt = 0;
    float px = xa - 40;
    while (px < x - 200) {
        float w = 150 + 70 * rand();
        float py = base - 40 + 80 * rand();
        level.platforms.push_back(ledge(px, py, px + w, py));
        level.gems.push_back({px + 0.25f * w, py - 30, false});
        level.gems.push_back({px + 0.5f * w, py - 30, false});
        level.gems.push_back({px + 0.75f * w, py - 30, false});
        anyLedge = true;
        xl = px;
        xr = px + w;
        yt = py;
        px += 260 + 70 * rand();
    }
    bool portal = false;
    if (anyLedge) {
        if (portalHere) {
            level.stonePortals.push_back({xr - 40, yt - 70, false});
            portal = true;
        } else {
            int kind = rollMonitorKind();
            level.monitors.push_back({(xl + xr) / 2, yt - 22, kind, false});
        }
    }
    placeEnemies(kinds, 2);
    return portal;
}

void ActGenerator::buildPlatformPit(bool crumbling) {
    addFlat(150);
    float x0 = x, y0 = y;
    float gap = 560 + 260 * rand();
    float y2 = clampToBand(y0 - 60 + 120 * rand());
    startGroundPath(x0 + gap, y2);
    int n = int(gap / 220);
    for (int i = 0; i < n; ++i) {
        float cx = x0 + (float(i) + 0.5f) * gap / float(n);
        float py = y0 - 70 + 100 * rand();
        Platform p = ledge(cx - 60, py, cx + 60, py);
        float rb = rand();
        float rc = rand();
        bool mover = false;
        if (rb < 0.4f) {
            p.moveY = 40 + 40 * rc;
            p.movePeriod = 2 + 1.5f * rand();
            mover = true;
        } else if (rc < 0.3f) {
            p.moveX = 50;
            p.movePeriod = 2.6f;
            mover = true;
        }
        if (mover) p.movePhase = rand();
        if (crumbling) p.crumbles = rand() < 0.6f;
        level.platforms.push_back(p);
        level.gems.push_back({cx, py - 40, false});
    }
    float r = rand();
    addFlat(250 + 150 * r);
}

void ActGenerator::buildGauntlet(const std::vector<int>& kinds) {
    float x0 = x;
    float r = rand();
    addFlat(900 + 300 * r);
    float px = x0 + 200;
    while (px < x - 150) {
        if (rand() < 0.45f) {
            level.spikes.push_back({px, 64});
        } else if (!kinds.empty()) {
            int kind = kinds[next() % kinds.size()];
            placeEnemy(kind, px);
        }
        px += 240 + 100 * rand();
    }
    placeGemRow(x0 + 100, x - 100, 110, 8);
    int kind = rand() < 0.5f ? int(MonitorKind::Shield) : rollMonitorKind();
    level.monitors.push_back({x0 + 120, y - 22, kind, false});
}

void ActGenerator::buildValley() {
    float x0 = x;
    float h = 160 + 100 * rand();
    if (y + h > kBandBottom) h = kBandBottom - y;
    addSlope(500, h);
    addFlat(160);
    addSlope(500, -h);
    placeGemArc({x0 + 80, groundAt(x0 + 80) - 30}, {x - 80, groundAt(x - 80) - 30}, 60 - h, 9);
    addFlat(200);
}

void ActGenerator::buildSetPiece(int zone) {
    float x0 = x, y0 = y;
    switch (zone) {
        case 0:  // two loops in a row
            buildLoop();
            buildLoop();
            break;
        case 1: {  // stalactite cave
            float r = rand();
            addFlat(1100 + 300 * r);
            for (float px = x0 + 200; px < x - 150;) {
                level.hazards.push_back(hazard(HazardKind::Stalactite, px, y - 420, 0, 0, 0));
                px += 180 + 80 * rand();
            }
            placeGemRow(x0 + 150, x - 150, 40, 9);
            break;
        }
        case 2: {  // updrafts over a wide gap
            addFlat(150);
            float gap = 900 + 300 * rand();
            float y2 = clampToBand(y0 - 80 + 120 * rand());
            startGroundPath(x0 + gap, y2);
            for (float px = x0 + 150; px < x0 + gap - 100; px += 260) {
                level.hazards.push_back(hazard(HazardKind::Updraft, px, y0 + 260, 110, 520, 0));
                level.gems.push_back({px, y0 - 160, false});
                level.gems.push_back({px, y0 - 200, false});
            }
            addFlat(300);
            break;
        }
        case 3: {  // grind rails over a gap, then a laser run
            addFlat(150);
            level.dashPanels.push_back({x - 80, 1});
            float len = 1000 + 300 * rand();
            float y2 = clampToBand(y0 - 40 + 180 * rand());
            startGroundPath(x0 + len, y2);
            Platform a = ledge(x0 - 60, y0, x0 + len / 2, y0 - 90);
            Platform b = ledge(x0 + len / 2, y0 - 90, x0 + len + 40, y2 - 1);
            a.isRail = b.isRail = true;
            level.platforms.push_back(a);
            level.platforms.push_back(b);
            for (int i = 0; i < 12; ++i) {
                float t = (float(i) + 0.5f) / 12;
                float gx = x0 + t * len;
                const Platform& rail = gx <= a.x2 ? a : b;
                float u = (gx - rail.x1) / (rail.x2 - rail.x1);
                level.gems.push_back({gx, rail.y1 + (rail.y2 - rail.y1) * u - 40, false});
            }
            float xs = x;
            addFlat(900);
            for (float px = xs + 250; px < x - 150; px += 260)
                level.hazards.push_back(hazard(HazardKind::Laser, px, y, 10, 180, 2 * rand()));
            break;
        }
        case 4: {  // crushers, then a crumbling pit
            float r = rand();
            addFlat(1200 + 300 * r);
            int i = 0;
            for (float px = x0 + 220; px < x - 160; ++i) {
                level.hazards.push_back(
                    hazard(HazardKind::Crusher, px, y, 90, 230, 0.55f * float(i)));
                px += 220 + 60 * rand();
            }
            placeGemRow(x0 + 150, x - 150, 30, 10);
            buildPlatformPit(true);
            break;
        }
        default: {  // crumbling pit, then wisps
            buildPlatformPit(true);
            float xb = x;
            addFlat(900);
            for (float px = xb + 200; px < x - 100; px += 300)
                level.hazards.push_back(hazard(HazardKind::Wisp, px, y - 120, 0, 0, 6 * rand()));
            break;
        }
    }
}

std::uint32_t actSeed(int zone, int act) {
    return 587797195u - 1640531535u * std::uint32_t(31 * zone + 7 * act);
}

float actLength(int zone, int act) {
    if (zone == 5 && act == 2) return 12000;
    return 23000 + 1000 * float(zone);
}

void generateAct(Level& level, int zone, int act, ActTrace* trace) {
    zone = std::clamp(zone, 0, kZoneCount - 1);
    act = std::clamp(act, 1, 2);
    const ZoneDef& def = zoneTable()[zone];
    const std::vector<int>& kinds = def.enemyKinds;
    const bool finalAct = zone == 5 && act == 2;

    level = Level{};
    level.zone = zone;
    level.act = act;
    if (trace) *trace = ActTrace{};

    ActGenerator gen(level, actSeed(zone, act));
    gen.trace = trace;
    gen.x = 0;
    gen.y = 420;
    gen.startGroundPath(-400, 420);
    gen.addFlat(700);
    level.startPos = {260, gen.y - 40};

    const float length = actLength(zone, act);
    const float* weights = kSectionWeights[zone];
    float weightSum = 0;
    for (int t = 0; t < 8; ++t) weightSum += weights[t];

    bool portalPlaced = false;
    float nextCheckpoint = 4500;
    int streak = 0;
    int count = 0;
    do {
        if (gen.x > nextCheckpoint) {
            gen.addFlat(160);
            level.checkpoints.push_back({gen.x - 80, gen.y, false, 0});
            nextCheckpoint += 4500;
        }

        int type = 0;
        bool setPiece = false;
        if (count == 0) {
            type = 0;
        } else if ((streak >= 3 && zone != 0) || streak >= 4) {
            setPiece = true;
        } else {
            float r = gen.rand() * weightSum;
            type = 0;
            for (int t = 0; t < 8; ++t) {
                if (weights[t] > r) {
                    type = t;
                    break;
                }
                r -= weights[t];
            }
        }
        streak = setPiece ? 0 : streak + 1;
        bool portalHere = !portalPlaced && gen.x > 0.35f * length;

        ActSectionTrace section;
        section.type = setPiece ? int(ActSectionTrace::SetPiece) : type;
        section.startX = gen.x;
        section.startY = gen.y;

        if (setPiece) {
            gen.buildSetPiece(zone);
        } else {
            switch (type) {
                case 0: gen.buildHills(); break;
                case 1: gen.buildLoop(); break;
                case 2: gen.buildRampGap(); break;
                case 3: gen.buildDownhill(); break;
                case 4:
                    if (gen.buildSkyPlatforms(kinds, portalHere)) portalPlaced = true;
                    break;
                case 5: gen.buildPlatformPit(zone == 5); break;
                case 6: gen.buildGauntlet(kinds); break;
                default: gen.buildValley(); break;
            }
        }
        section.endX = gen.x;
        section.endY = gen.y;
        if (trace) trace->sections.push_back(section);

        if (setPiece || type != 6) {
            if (gen.rand() < 0.55f) gen.placeEnemies(kinds, zone / 2 + 1);
        }
        ++count;
    } while (gen.x < length);

    if (!portalPlaced) {
        ActSectionTrace section;
        section.type = ActSectionTrace::FinalPortal;
        section.startX = gen.x;
        section.startY = gen.y;
        gen.buildSkyPlatforms(kinds, true);
        section.endX = gen.x;
        section.endY = gen.y;
        if (trace) trace->sections.push_back(section);
    }

    gen.addFlat(500);
    level.arenaX = gen.x;
    gen.addFlat(finalAct ? 1500.0f : act == 1 ? 1100.0f : 1300.0f);
    level.bossX = gen.x;
    level.arenaY = gen.y;
    level.bossId = act == 1 ? def.miniBossIndex : def.bossIndex;
    gen.addFlat(900);
    level.endX = gen.x;
    level.lowestGroundY = level.greatestGroundY();
}
