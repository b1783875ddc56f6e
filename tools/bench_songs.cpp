// Times renderSong for every built-in song on one thread.
//   bench_songs [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "audio/Songs.h"
#include "audio/Synth.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    double total = 0.0;
    double worst = 0.0;
    std::printf("%-16s %10s %10s %10s\n", "song", "samples", "best ms", "mean ms");
    for (const BuiltinSong& song : builtinSongs()) {
        double best = 1e9, sum = 0.0;
        std::size_t samples = 0;
        for (int r = 0; r < rounds; ++r) {
            const auto start = std::chrono::steady_clock::now();
            const auto out = renderSong(song.factory());
            const auto end = std::chrono::steady_clock::now();
            const double ms = std::chrono::duration<double, std::milli>(end - start).count();
            samples = out.size();
            best = std::min(best, ms);
            sum += ms;
        }
        std::printf("%-16s %10zu %10.2f %10.2f\n", song.id.c_str(), samples, best, sum / rounds);
        total += sum / rounds;
        worst = std::max(worst, best);
    }
    std::printf("mean per song %.2f ms, slowest song (best of %d) %.2f ms\n", total / double(builtinSongs().size()),
                rounds, worst);
    return 0;
}
