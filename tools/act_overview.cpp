// Draws whole generated acts into PNG pictures for a quick look at a course.
//
//   act_overview                 all twelve acts
//   act_overview ZONE ACT        one act
//   act_overview ... -o FOLDER   where to write (default $MIVO_TEST_OUT or /tmp)
//
// The act is cut into strips laid under each other. Ground is brown (the
// zone's ground colour), platforms white (rails cyan, movers green, crumblers
// orange), loops yellow rings, gems cyan dots, baddies red squares, hazards
// violet, springs red bars, dash panels yellow, spikes grey, checkpoints blue
// posts, the stone portal a large magenta diamond, the arena shaded in red.
#include <SFML/Graphics/Image.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/Zones.h"
#include "level/ActGenerator.h"

namespace {

constexpr float kScale = 0.2f;        // pixels per unit
constexpr float kStripWidth = 6000;   // units per strip
constexpr float kTop = -400;          // world y at the top of a strip
constexpr float kBottom = 1150;       // world y at the bottom
constexpr int kStripGap = 6;

struct Canvas {
    sf::Image image;
    float startX = -400;
    int stripHeight = int((kBottom - kTop) * kScale);
    int width = int(kStripWidth * kScale);

    void pixel(int px, int py, sf::Color c) {
        if (px >= 0 && py >= 0 && px < int(image.getSize().x) && py < int(image.getSize().y))
            image.setPixel(unsigned(px), unsigned(py), c);
    }
    // World point to pixel: strip by x, then position inside the strip.
    bool toPixel(float wx, float wy, int& px, int& py) const {
        float rel = wx - startX;
        if (rel < 0) return false;
        int strip = int(rel / kStripWidth);
        px = int((rel - strip * kStripWidth) * kScale);
        py = strip * (stripHeight + kStripGap) + int((wy - kTop) * kScale);
        float local = wy - kTop;
        return local >= 0 && local <= kBottom - kTop;
    }
    void dot(float wx, float wy, int r, sf::Color c) {
        int px, py;
        if (!toPixel(wx, wy, px, py)) return;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                if (dx * dx + dy * dy <= r * r) pixel(px + dx, py + dy, c);
    }
    void box(float wx, float wy, int r, sf::Color c) {
        int px, py;
        if (!toPixel(wx, wy, px, py)) return;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) pixel(px + dx, py + dy, c);
    }
    void line(float ax, float ay, float bx, float by, sf::Color c) {
        float len = std::hypot(bx - ax, by - ay);
        int steps = std::max(1, int(len * kScale * 2));
        for (int i = 0; i <= steps; ++i) {
            float t = float(i) / float(steps);
            int px, py;
            if (toPixel(ax + (bx - ax) * t, ay + (by - ay) * t, px, py)) pixel(px, py, c);
        }
    }
    void diamond(float wx, float wy, int r, sf::Color c) {
        int px, py;
        if (!toPixel(wx, wy, px, py)) return;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                if (std::abs(dx) + std::abs(dy) <= r) pixel(px + dx, py + dy, c);
    }
};

void drawAct(const Level& level, const std::string& path) {
    const ZonePalette& pal = zoneTable()[level.zone].palette;
    Canvas cv;
    float total = level.endX - cv.startX;
    int strips = int(std::ceil(total / kStripWidth));
    cv.image.create(unsigned(cv.width), unsigned(strips * (cv.stripHeight + kStripGap)),
                    sf::Color(20, 20, 30));

    // Sky, arena shade and the play band (y 200..900) per column.
    for (int s = 0; s < strips; ++s) {
        for (int px = 0; px < cv.width; ++px) {
            float wx = cv.startX + s * kStripWidth + px / kScale;
            if (wx > level.endX) break;
            bool arena = wx >= level.arenaX && wx <= level.bossX;
            GroundHeight g = level.groundHeightAt(wx);
            for (int py = 0; py < cv.stripHeight; ++py) {
                float wy = kTop + py / kScale;
                sf::Color c = arena ? sf::Color(90, 50, 60) : sf::Color(60, 90, 130);
                if (std::fabs(wy - 200) < 2.5f || std::fabs(wy - 900) < 2.5f)
                    c = sf::Color(120, 120, 150);
                if (g.found && wy >= g.y) c = wy - g.y < 10 ? pal.groundTop : pal.groundMid;
                cv.pixel(px, s * (cv.stripHeight + kStripGap) + py, c);
            }
        }
    }
    for (const Loop& l : level.loops)
        for (int i = 0; i < 120; ++i) {
            float a = 6.2831853f * float(i) / 120;
            cv.dot(l.x + l.radius * std::sin(a), l.y - l.radius - l.radius * std::cos(a), 0,
                   sf::Color(255, 230, 60));
        }
    for (const Platform& p : level.platforms) {
        sf::Color c = p.isRail ? sf::Color(0, 255, 255)
                      : p.crumbles ? sf::Color(255, 150, 40)
                      : p.movePeriod > 0 ? sf::Color(120, 255, 120)
                                         : sf::Color(255, 255, 255);
        for (int k = -1; k <= 1; ++k) cv.line(p.x1, p.y1 + k * 4, p.x2, p.y2 + k * 4, c);
        if (p.movePeriod > 0)  // the far ends of the motion
            cv.line(p.x1 - p.moveX, p.y1 - p.moveY, p.x1 + p.moveX, p.y1 + p.moveY, c);
    }
    for (const Gem& g : level.gems) cv.dot(g.x, g.y, 1, sf::Color(80, 255, 255));
    for (const Monitor& m : level.monitors) cv.box(m.x, m.y, 3, sf::Color(230, 230, 240));
    for (const Spring& s : level.springs) cv.box(s.x, s.y - 8, 2, sf::Color(255, 40, 40));
    for (const DashPanel& d : level.dashPanels) {
        GroundHeight g = level.groundHeightAt(d.x);
        cv.box(d.x, g.y - 4, 2, sf::Color(255, 255, 0));
    }
    for (const SpikeStrip& s : level.spikes) {
        GroundHeight g = level.groundHeightAt(s.x);
        cv.line(s.x - s.width / 2, g.y - 10, s.x + s.width / 2, g.y - 10, sf::Color(200, 200, 200));
        cv.line(s.x - s.width / 2, g.y - 14, s.x + s.width / 2, g.y - 14, sf::Color(200, 200, 200));
    }
    for (const Hazard& h : level.hazards) {
        sf::Color c(200, 80, 255);
        if (h.kind == HazardKind::Updraft || h.kind == HazardKind::Crusher ||
            h.kind == HazardKind::Laser) {
            cv.line(h.x - h.w / 2, h.y, h.x - h.w / 2, h.y - h.h, c);
            cv.line(h.x + h.w / 2, h.y, h.x + h.w / 2, h.y - h.h, c);
        } else {
            cv.diamond(h.x, h.y, 3, c);
        }
    }
    for (const Baddie& b : level.enemies) cv.box(b.x, b.y, 3, sf::Color(255, 40, 40));
    for (const Checkpoint& c : level.checkpoints) cv.line(c.x, c.y, c.x, c.y - 80, sf::Color(60, 120, 255));
    for (const StonePortal& s : level.stonePortals) cv.diamond(s.x, s.y, 9, sf::Color(255, 0, 255));
    cv.dot(level.startPos.x, level.startPos.y, 4, sf::Color(255, 255, 255));
    cv.line(level.bossX, level.arenaY, level.bossX, level.arenaY - 200, sf::Color(255, 0, 0));

    if (!cv.image.saveToFile(path)) std::fprintf(stderr, "could not write %s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string out = std::getenv("MIVO_TEST_OUT") ? std::getenv("MIVO_TEST_OUT") : "/tmp";
    std::vector<int> args;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-o" && i + 1 < argc) out = argv[++i];
        else args.push_back(std::atoi(argv[i]));
    }
    std::vector<std::pair<int, int>> acts;
    if (args.size() >= 2) acts.push_back({args[0], args[1]});
    else
        for (int z = 0; z < kZoneCount; ++z)
            for (int a = 1; a <= 2; ++a) acts.push_back({z, a});

    for (auto [zone, act] : acts) {
        Level level;
        generateAct(level, zone, act);
        std::string path = out + "/act_" + std::to_string(zone) + "_" + std::to_string(act) + ".png";
        drawAct(level, path);
        std::printf("%s  paths %zu  platforms %zu  gems %zu  baddies %zu  hazards %zu  "
                    "checkpoints %zu  portal x %.0f  arena %.0f..%.0f  end %.0f  lowest %.0f\n",
                    path.c_str(), level.groundPaths.size(), level.platforms.size(),
                    level.gems.size(), level.enemies.size(), level.hazards.size(),
                    level.checkpoints.size(),
                    level.stonePortals.empty() ? -1.0f : level.stonePortals[0].x, level.arenaX,
                    level.bossX, level.endX, level.lowestGroundY);
    }
    return 0;
}
