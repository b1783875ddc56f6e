// Times generateAct for all twelve acts.
//
//   bench_generator [ROUNDS]     (default 200 rounds of every act)
//
// Prints, per act, the mean and best time of one build, and a checksum of
// the course so that builds made with different compilers or options can be
// compared: the same act must give the same checksum everywhere.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "content/Zones.h"
#include "level/ActGenerator.h"

namespace {

std::uint64_t checksum(const Level& l) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 4; ++i) h = (h ^ ((bits >> (8 * i)) & 0xFF)) * 1099511628211ull;
    };
    for (const GroundPath& path : l.groundPaths)
        for (const sf::Vector2f& p : path) { mix(p.x); mix(p.y); }
    for (const Platform& p : l.platforms) { mix(p.x1); mix(p.y1); mix(p.movePhase); }
    for (const Gem& g : l.gems) { mix(g.x); mix(g.y); }
    for (const Baddie& b : l.enemies) { mix(b.x); mix(b.y); mix(b.timer); mix(float(b.kind)); }
    for (const Hazard& z : l.hazards) { mix(z.x); mix(z.y); mix(z.timer); }
    for (const StonePortal& s : l.stonePortals) { mix(s.x); mix(s.y); }
    mix(l.endX);
    return h;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    using Clock = std::chrono::steady_clock;
    double worstMean = 0, total = 0;
    Level level;
    for (int zone = 0; zone < kZoneCount; ++zone) {
        for (int act = 1; act <= 2; ++act) {
            double sum = 0, best = 1e9;
            for (int i = 0; i < rounds; ++i) {
                auto t0 = Clock::now();
                generateAct(level, zone, act);
                double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
                sum += ms;
                best = std::min(best, ms);
            }
            double mean = sum / rounds;
            worstMean = std::max(worstMean, mean);
            total += mean;
            std::printf("zone %d act %d: mean %.3f ms  best %.3f ms  checksum %016llx\n", zone,
                        act, mean, best, (unsigned long long)checksum(level));
        }
    }
    std::printf("all twelve acts: mean %.3f ms per act, slowest act %.3f ms (%d rounds)\n",
                total / 12, worstMean, rounds);
    return 0;
}
