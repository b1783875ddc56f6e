// Times the drawing of play frames along a fixed camera path through the
// busiest stretches of every act (plus its first loop and the boss arena).
//
//   bench_frame [FRAMES_PER_STRETCH] [--tiny]   (default 45 frames)
//
// --layers times the layers on their own (sky and scenery, terrain, the
// whole world, world and HUD) for every zone.
// --tiny draws into a 2 x 2 pixel viewport: what remains is the cost of
// building and sending the shapes, without filling pixels.
//
// Each frame draws the world and the HUD into a 960 x 540 window and waits
// for the GL driver to finish. Prints, per zone, the mean and 99th-percentile
// frame time and the GL draw calls per frame. Run it under Xvfb to measure
// software rendering.
#include <SFML/Graphics/RenderWindow.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <string>
#include <vector>

#include "content/Zones.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Platform.h"
#include "level/ActGenerator.h"
#include "render/Background.h"
#include "render/Hud.h"
#include "render/Terrain.h"
#include "render/World.h"
#include "content/BossFight.h"

// Counts the draw calls the graphics library makes. The library imports
// glDrawArrays by name, so this definition takes its place and forwards.
static long long gDrawCalls = 0;
extern "C" void glDrawArrays(unsigned mode, int first, int count) {
    using Fn = void (*)(unsigned, int, int);
    static Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "glDrawArrays"));
    ++gDrawCalls;
    if (real) real(mode, first, count);
}

namespace {

// CPU time of the whole process, the GL driver's threads included: unlike
// the wall clock it does not grow when other programs share the cores.
double processCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1.0e6;
}

void glFinishNow() {
    using Fn = void (*)();
    static Fn finish = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, "glFinish"));
    if (finish) finish();
}

// How much there is to draw in the 960 units from x.
int busyness(const Level& l, float x) {
    auto in = [x](float v) { return v >= x && v < x + 960; };
    int n = 0;
    for (const auto& g : l.gems) n += in(g.x);
    for (const auto& e : l.enemies) n += 3 * in(e.x);
    for (const auto& h : l.hazards) n += 3 * in(h.x);
    for (const auto& p : l.platforms) n += 2 * in(p.x1);
    for (const auto& m : l.monitors) n += 2 * in(m.x);
    for (const auto& s : l.springs) n += in(s.x);
    for (const auto& s : l.spikes) n += in(s.x);
    for (const auto& lp : l.loops) n += 10 * in(lp.x);
    return n;
}

std::vector<float> stretches(const Level& l) {
    std::vector<std::pair<int, float>> scored;
    for (float x = l.startPos.x; x < l.arenaX - 960; x += 480) scored.push_back({busyness(l, x), x});
    std::sort(scored.begin(), scored.end(), [](auto& a, auto& b) { return a.first > b.first; });
    std::vector<float> out;
    for (std::size_t i = 0; i < scored.size() && out.size() < 4; ++i) out.push_back(scored[i].second);
    if (!l.loops.empty()) out.push_back(l.loops.front().x - 480);
    if (!l.stonePortals.empty()) out.push_back(l.stonePortals.front().x - 480);
    out.push_back(l.arenaX);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    int framesPer = 45;
    bool tiny = false, layers = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--tiny") tiny = true;
        else if (std::string(argv[i]) == "--layers") layers = true;
        else framesPer = std::max(1, std::atoi(argv[i]));
    }
    sf::Font font;
    for (const std::string& path : uiFontCandidates())
        if (pathExists(path) && font.loadFromFile(path)) break;
    sf::RenderWindow window(sf::VideoMode(960, 540), "bench", sf::Style::Titlebar);
    window.setVerticalSyncEnabled(false);
    sf::View logical(sf::FloatRect(0, 0, 960, 540));
    if (tiny) logical.setViewport(sf::FloatRect(0, 0, 2.0f / 960.0f, 2.0f / 540.0f));
    window.setView(logical);
    DrawContext ctx{window, font};

    if (layers) {
        std::printf("CPU ms per frame\n%-16s %10s %10s %10s %10s\n", "zone", "scenery", "+terrain", "world", "world+hud");
        for (int zone = 0; zone < kZoneCount; ++zone) {
            Level level;
            generateAct(level, zone, 1);
            const ZoneDef& def = zoneTable()[std::size_t(zone)];
            double ms[4] = {0, 0, 0, 0};
            for (int f = 0; f < framesPer; ++f) {
                const float x = level.startPos.x + 2000 + 12.0f * float(f);
                const GroundHeight g = level.groundHeightAt(x);
                const float gy = g ? g.y : level.arenaY;
                const float t = float(f) / 60.0f;
                const sf::FloatRect v = worldViewRect({x, gy - 58}, 0, t);
                for (int layer = 0; layer < 4; ++layer) {
                    glFinishNow();
                    const double start = processCpuMs();
                    window.clear();
                    if (layer < 2) {
                        sf::View view(v);
                        window.setView(view);
                        ShapeBatch b;
                        drawBackground(b, def, zone, v, t);
                        if (layer == 1) drawTerrain(b, level, def, zone, v, t);
                        b.flush(window);
                        window.setView(logical);
                    } else {
                        WorldScene scene;
                        scene.level = &level;
                        scene.time = t;
                        scene.camera = {x, gy - 58};
                        drawWorld(ctx, scene);
                        if (layer == 3) {
                            HudInfo hud;
                            hud.time = t;
                            hud.zone = zone;
                            drawHud(ctx, hud);
                        }
                    }
                    glFinishNow();
                    ms[layer] += processCpuMs() - start;
                    window.display();
                }
            }
            std::printf("%-16s %10.2f %10.2f %10.2f %10.2f\n", def.name.c_str(), ms[0] / framesPer, ms[1] / framesPer,
                        ms[2] / framesPer, ms[3] / framesPer);
        }
        return 0;
    }
    std::printf("%-16s %7s %8s %8s %8s %9s %9s %9s\n", "zone", "frames", "mean ms", "p99 ms", "max ms", "cpu mean",
                "cpu p99", "draws/fr");
    double worstMean = 0, worstP99 = 0;
    float t = 10;
    for (int zone = 0; zone < kZoneCount; ++zone) {
        std::vector<double> times, cpu;
        long long draws = 0;
        for (int act = 1; act <= 2; ++act) {
            Level level;
            generateAct(level, zone, act);
            Effects fx;
            XorShift32 rng(kEffectsSeed);
            for (float x0 : stretches(level)) {
                // In the arena the act's boss is fought along.
                BossState boss;
                const bool arena = x0 == level.arenaX;
                if (arena) spawnBoss(boss, level.bossId, level.arenaX, level.bossX, level.arenaY);
                for (int f = 0; f < framesPer; ++f) {
                    const float x = x0 + 200 + float(f) * 12.0f;
                    const GroundHeight g = level.groundHeightAt(x);
                    const float gy = g ? g.y : level.arenaY;
                    t += 1.0f / 60.0f;
                    // Some effects as in play: a burst every few frames.
                    if (f % 10 == 0) spawnParticles(fx.particles, rng, {x, gy - 30}, 12, sf::Color(255, 220, 90), 240, 0.4f, 5, 1);
                    for (auto& p : fx.particles) {
                        p.x += p.vx / 60.0f;
                        p.y += p.vy / 60.0f;
                        p.life -= 1.0f / 60.0f;
                    }
                    fx.particles.erase(std::remove_if(fx.particles.begin(), fx.particles.end(),
                                                      [](const Particle& p) { return p.life <= 0; }),
                                       fx.particles.end());
                    PlayerFigure fig;
                    fig.pose.hero = (zone + act) % 9;
                    fig.pose.x = x;
                    fig.pose.y = gy - 18;
                    fig.pose.time = t;
                    fig.pose.shielded = true;
                    WorldScene scene;
                    scene.level = &level;
                    scene.time = t;
                    scene.camera = {x, gy - 58};
                    scene.shakeTime = f % 30 < 5 ? 0.2f : 0.0f;
                    scene.effects = &fx;
                    scene.player = &fig;
                    scene.hero = fig.pose.hero;
                    scene.goalPresent = !arena;
                    scene.goal = {level.bossX - 160, level.arenaY - 70};
                    if (arena) {
                        BossArena ba = bossArenaOf(level, {x, gy - 18});
                        updateBoss(boss, ba, 1.0f / 60.0f);
                        scene.boss = &boss;
                        scene.bossFight = true;
                    }
                    HudInfo hud;
                    hud.time = t;
                    hud.score = 12345;
                    hud.actTime = 100 + t;
                    hud.gems = 37;
                    hud.secretStones = 0x7F;
                    hud.divineStones = 0x15;
                    hud.hero = fig.pose.hero;
                    hud.zone = zone;
                    hud.act = act;
                    hud.speedShoesTime = 5;
                    hud.titleCardTime = f < 10 ? 2.0f : 0.0f;
                    if (arena) hudFromBoss(hud, boss, true);

                    glFinishNow();
                    const long long before = gDrawCalls;
                    const auto start = std::chrono::steady_clock::now();
                    const double cpuStart = processCpuMs();
                    window.clear();
                    drawWorld(ctx, scene);
                    drawHud(ctx, hud);
                    glFinishNow();
                    const auto end = std::chrono::steady_clock::now();
                    cpu.push_back(processCpuMs() - cpuStart);
                    window.display();
                    draws += gDrawCalls - before;
                    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
                }
            }
        }
        std::vector<double> sorted = times, cpuSorted = cpu;
        std::sort(sorted.begin(), sorted.end());
        std::sort(cpuSorted.begin(), cpuSorted.end());
        double cpuSum = 0;
        for (double v : cpu) cpuSum += v;
        const std::size_t p99i = std::min(sorted.size() - 1, std::size_t(double(sorted.size()) * 0.99));
        double sum = 0;
        for (double v : times) sum += v;
        const double mean = sum / double(times.size());
        const double p99 = sorted[p99i];
        worstMean = std::max(worstMean, mean);
        worstP99 = std::max(worstP99, p99);
        std::printf("%-16s %7zu %8.2f %8.2f %8.2f %9.2f %9.2f %9.1f\n", zoneTable()[std::size_t(zone)].name.c_str(),
                    times.size(), mean, p99, sorted.back(), cpuSum / double(cpu.size()), cpuSorted[p99i],
                    double(draws) / double(times.size()));
    }
    std::printf("worst zone: mean %.2f ms, p99 %.2f ms\n", worstMean, worstP99);
    return 0;
}
