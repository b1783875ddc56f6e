// Headless duel: every boss against the scripted attacker on a flat arena.
// Prints the time to defeat and the hits taken per boss; exits with 1 when a
// boss could not be beaten within the time limit.
//
//   boss_duel [seconds-limit]
#include <cstdio>
#include <cstdlib>

#include "content/BossDuel.h"

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
                        d.player.hitsDealt, d.player.hitsTaken);
        else {
            std::printf("%-3d %-16s %5d %9s %10d %9d  (hp left %d)\n", kind, def.name.c_str(), def.hitPoints,
                        "NOT BEATEN", d.player.hitsDealt, d.player.hitsTaken, d.boss.hp);
            ++unbeaten;
        }
    }
    return unbeaten == 0 ? 0 : 1;
}
