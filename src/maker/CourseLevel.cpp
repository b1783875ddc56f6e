#include "maker/CourseLevel.h"

#include <algorithm>

namespace {

// Heights and column lookups of a course, clamped the way the conversion
// wants them: columns into 0..n-1, heights into 0..12 (an empty course is
// all pit).
struct Columns {
    const std::vector<std::int32_t>& heights;

    int count() const { return int(heights.size()); }
    int height(long long c) const {
        if (heights.empty()) return 0;
        const long long i = std::clamp<long long>(c, 0, count() - 1);
        return std::clamp(heights[std::size_t(i)], 0, kMaxColumnHeight);
    }
    float groundY(long long c) const { return columnGroundY(height(c)); }
};

Platform platformAcross(float x1, float x2, float y) {
    Platform p;
    p.x1 = x1;
    p.x2 = x2;
    p.y1 = p.y2 = y;
    p.crumbleTimer = -1;
    return p;
}

void buildTerrain(const Columns& cols, Level& level) {
    GroundPath run;
    const int n = cols.count();
    for (int c = 0; c < n; ++c) {
        const int h = cols.height(c);
        if (h == 0) {
            if (!run.empty()) level.groundPaths.push_back(std::move(run));
            run.clear();
            continue;
        }
        const float y = cols.groundY(c);
        const float left = float(c) * kCellSize;
        if (run.empty()) run.push_back({left, y});
        run.push_back({left + kCellSize / 2, y});
        const bool nextHasGround = c + 1 < n && cols.height(c + 1) > 0;
        const float nextY = nextHasGround ? cols.groundY(c + 1) : y;
        run.push_back({left + kCellSize, nextY != y ? (y + nextY) / 2 : y});
    }
    if (!run.empty()) level.groundPaths.push_back(std::move(run));
    if (level.groundPaths.empty()) level.groundPaths.push_back({{0, 672}, {192, 672}});
}

void addItem(const CourseItem& it, const Columns& cols, Level& level, bool& goalSeen) {
    const float x = float(double(it.column) * kCellSize + kCellSize / 2);
    const float cellY = float(double(it.row) * kCellSize + kCellSize / 2);
    const float baseY = cols.height(it.column) > 0 ? cols.groundY(it.column) : cellY + kCellSize / 2;
    switch (it.kind) {
        case CourseItemKind::Spring:
        case CourseItemKind::BigSpring: {
            Spring s;
            s.x = x;
            s.y = baseY;
            s.power = it.kind == CourseItemKind::Spring ? 1150.0f : 1500.0f;
            s.sideways = 0;
            s.squash = 0;
            s.lifetime = -1;
            level.springs.push_back(s);
            break;
        }
        case CourseItemKind::DashPanel: level.dashPanels.push_back({x, 1}); break;
        case CourseItemKind::Loop:
            level.loops.push_back({x, baseY, 150});
            level.dashPanels.push_back({x - 192, 1});
            break;
        case CourseItemKind::Ledge: level.platforms.push_back(platformAcross(x - 48, x + 48, cellY)); break;
        case CourseItemKind::Mover: {
            Platform p = platformAcross(x - 48, x + 48, cellY);
            p.moveX = 96;
            p.movePeriod = 3;
            level.platforms.push_back(p);
            break;
        }
        case CourseItemKind::Crumbler: {
            Platform p = platformAcross(x - 48, x + 48, cellY);
            p.crumbles = true;
            level.platforms.push_back(p);
            break;
        }
        case CourseItemKind::Rail: {
            Platform p = platformAcross(x - 96, x + 96, cellY - 24);
            p.isRail = true;
            level.platforms.push_back(p);
            break;
        }
        case CourseItemKind::Gem: level.gems.push_back({x, cellY, false}); break;
        case CourseItemKind::GemRow:
            for (int i = 0; i < 5; ++i) level.gems.push_back({x - 48 + float(i) * 24, cellY, false});
            break;
        case CourseItemKind::Monitor: {
            Monitor m;
            m.x = x;
            m.y = baseY - 22;
            m.kind = int((std::int64_t(it.column) * 7 + it.row) % 5);  // the sign of the dividend
            level.monitors.push_back(m);
            break;
        }
        case CourseItemKind::Spikes: level.spikes.push_back({x, 48}); break;
        case CourseItemKind::Crawler: level.enemies.push_back(baddieAt(BaddieKind::Crawler, x, baseY - 16)); break;
        case CourseItemKind::Buzzer: level.enemies.push_back(baddieAt(BaddieKind::Buzzer, x, cellY)); break;
        case CourseItemKind::Hopper: level.enemies.push_back(baddieAt(BaddieKind::Hopper, x, baseY - 16)); break;
        case CourseItemKind::Spiker: level.enemies.push_back(baddieAt(BaddieKind::Spiker, x, baseY - 16)); break;
        case CourseItemKind::Turret: level.enemies.push_back(baddieAt(BaddieKind::Turret, x, baseY - 22)); break;
        case CourseItemKind::Stalactite: {
            Hazard h;
            h.kind = HazardKind::Stalactite;
            h.x = x;
            h.y = cellY;
            level.hazards.push_back(h);
            break;
        }
        case CourseItemKind::Updraft: {
            Hazard h;
            h.kind = HazardKind::Updraft;
            h.x = x;
            h.y = std::max(baseY, cellY);
            h.w = 110;
            h.h = 520;
            level.hazards.push_back(h);
            break;
        }
        case CourseItemKind::Laser: {
            Hazard h;
            h.kind = HazardKind::Laser;
            h.x = x;
            h.y = baseY;
            h.w = 10;
            h.h = 180;
            level.hazards.push_back(h);
            break;
        }
        case CourseItemKind::Checkpoint: {
            Checkpoint c;
            c.x = x;
            c.y = baseY;
            level.checkpoints.push_back(c);
            break;
        }
        case CourseItemKind::StonePortal: {
            StonePortal p;
            p.x = x;
            p.y = cellY;
            level.stonePortals.push_back(p);
            break;
        }
        case CourseItemKind::Goal:
            // Play puts the goal post 160 left of bossX.
            level.bossX = x + 160;
            level.arenaY = baseY;
            goalSeen = true;
            break;
        default: break;  // the ground tool and unknown kinds build nothing
    }
}

}  // namespace

Level& buildLevelFromCourse(const Course& course, Level& level) {
    level = Level{};
    level.zone = std::clamp(course.theme, 0, 5);
    level.act = 1;
    const Columns cols{course.heights};
    const int n = cols.count();

    buildTerrain(cols, level);

    level.startPos = {72, cols.groundY(std::min(1, n - 1)) - 60};
    for (int c = 0; c < n; ++c) {
        if (cols.height(c) > 0) {
            level.startPos = {float(c) * kCellSize + kCellSize / 2, cols.groundY(c) - 60};
            break;
        }
    }

    level.endX = float(n) * kCellSize;
    level.arenaX = level.bossX = kCourseNoArenaX;
    bool goalSeen = false;
    for (const CourseItem& it : course.items) addItem(it, cols, level, goalSeen);
    if (!goalSeen) {
        level.bossX = float(n) * kCellSize - 100;
        level.arenaY = cols.groundY(n - 3);
    }
    level.lowestGroundY = level.greatestGroundY();
    return level;
}
