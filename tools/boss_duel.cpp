// Headless duel: every boss against the scripted attacker on a flat arena.
// Prints the time to defeat and the hits taken per boss with hero 0, then how
// many bosses each hero beats; exits with 1 when a boss could not be beaten
// within the time limit.
//
//   boss_duel [seconds-limit]
#include <cstdio>
#include <cstdlib>

#include "content/BossDuel.h"
#include "content/Heroes.h"

int main(int argc, char** argv) {
    float limit = argc > 1 ? float(std::atof(argv[1])) : 600.0f;
    if (!(limit > 0)) limit = 600.0f;
    const float dt = 1.0f / 60.0f;
    int unbeaten = 0;
    std::printf("%-3s %-16s %5s %9s %10s %9s\n", "id", "boss", "hp", "defeat s", "hits dealt", "hits taken");
    for (int kind = 0; kind < kBossCount; ++kind) {
        BossDuel d;
        startDuel(d, kind);
        while (!d.won && d.time < limit) stepDuel(d, dt);
        const BossDef& def = bossTable()[std::size_t(kind)];
        if (d.won)
            std::printf("%-3d %-16s %5d %9.1f %10d %9d\n", kind, def.name.c_str(), def.hitPoints, d.time,
                        d.hitsDealt, d.hitsTaken);
        else {
            std::printf("%-3d %-16s %5d %9s %10d %9d  (hp left %d)\n", kind, def.name.c_str(), def.hitPoints,
                        "NOT BEATEN", d.hitsDealt, d.hitsTaken, d.boss.hp);
            ++unbeaten;
        }
    }
    std::printf("\n%-6s %-6s %7s %12s %11s\n", "hero", "name", "beaten", "total time s", "total hits");
    for (int hero = 0; hero < kHeroCount; ++hero) {
        int beaten = 0, hits = 0;
        float total = 0;
        for (int kind = 0; kind < kBossCount; ++kind) {
            BossDuel d;
            startDuel(d, kind, hero);
            while (!d.won && d.time < limit) stepDuel(d, dt);
            beaten += d.won;
            hits += d.hitsTaken;
            total += d.time;
        }
        std::printf("%-6d %-6s %4d/12 %12.1f %11d\n", hero, heroTable()[std::size_t(hero)].name.c_str(), beaten,
                    total, hits);
        if (beaten < kBossCount) ++unbeaten;
    }
    return unbeaten == 0 ? 0 : 1;
}
