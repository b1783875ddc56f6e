// Times renderSong for every built-in song on one thread: wall-clock time and
// the processor time the render used (the latter holds steady on a busy machine).
//   bench_songs [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "audio/Songs.h"
#include "audio/Synth.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    double total = 0.0;
    double worst = 0.0;
    double totalCpu = 0.0;
    std::printf("%-16s %10s %10s %10s %10s\n", "song", "samples", "best ms", "mean ms", "cpu ms");
    for (const BuiltinSong& song : builtinSongs()) {
        double best = 1e9, sum = 0.0, cpu = 0.0;
        std::size_t samples = 0;
        for (int r = 0; r < rounds; ++r) {
            const std::clock_t cpuStart = std::clock();
            const auto start = std::chrono::steady_clock::now();
            const auto out = renderSong(song.factory());
            const auto end = std::chrono::steady_clock::now();
            cpu += 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            const double ms = std::chrono::duration<double, std::milli>(end - start).count();
            samples = out.size();
            best = std::min(best, ms);
            sum += ms;
        }
        std::printf("%-16s %10zu %10.2f %10.2f %10.2f\n", song.id.c_str(), samples, best, sum / rounds, cpu / rounds);
        total += sum / rounds;
        totalCpu += cpu / rounds;
        worst = std::max(worst, best);
    }
    const double n = double(builtinSongs().size());
    std::printf("mean per song %.2f ms (processor time %.2f ms), slowest song (best of %d) %.2f ms\n", total / n,
                totalCpu / n, rounds, worst);
    return 0;
}
