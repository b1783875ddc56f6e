// Times the game's start-up: from process start to each start-up step, the
// first drawn menu frame and the title music playing.
//   startup_time [runs]        (default 5; run it under xvfb-run -a)
// Every run is a fresh process (this program started again with "--run")
// with the real, visible window and a fresh data folder, so nothing is warm
// but the system's file cache. Prints each run and the median of every step,
// with the main thread's processor time (steadier on a busy machine); exits
// with 2 when the median first frame is not under 400 ms or the title music
// does not start within a second. Time the release build.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SFML/System/Clock.hpp>
#include <SFML/System/Err.hpp>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/Mivoland2.h"

extern char** environ;

namespace {

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Processor time of the calling (main) thread.
long long threadCpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

void mark(const char* name) { std::printf("%lld %lld %s\n", nowNs(), threadCpuNs(), name); }

bool titlePlaying(Mivoland2& game) {
    if (game.audio.playingId() != "title") return false;
    MusicEntry* e = game.audio.findMusic("title");
    if (!e) return false;
    if (e->streaming && e->music) return e->music->getStatus() == sf::SoundSource::Playing;
    return e->sound && e->sound->getStatus() == sf::SoundSource::Playing;
}

// One start-up, in this process; prints "<steady ns> <step>" lines.
int runOnce() {
    mark("main");
    sf::err().rdbuf(nullptr);
    std::string folder = (std::filesystem::temp_directory_path() / "mivo-startup-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 1;
    int rc = 0;
    {
        Mivoland2Options opts;
        opts.dataFolder = folder;
        opts.startupStep = mark;
        Mivoland2 game(opts);
        mark("game object");
        if (!game.startUp()) {
            rc = 1;
        } else {
            sf::Clock clock, total;
            bool drawn = false, music = false;
            while (game.window.isOpen() && !(drawn && music) && total.getElapsedTime().asSeconds() < 5.0f) {
                game.frame(clock.restart().asSeconds());  // the first one reports "first frame"
                drawn = true;
                if (!music && titlePlaying(game)) {
                    mark("title music");
                    music = true;
                }
            }
            std::fflush(stdout);
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::fflush(stdout);
    return rc;
}

struct Step {
    std::string name;
    double ms = 0.0;     // wall-clock time after the spawn
    double cpuMs = 0.0;  // processor time of the game's main thread so far
};

// Starts this program with "--run" and returns its steps.
std::vector<Step> timeOneRun(const char* self) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    char arg0[] = "startup_time", arg1[] = "--run";
    char* argv[] = {arg0, arg1, nullptr};
    pid_t pid = 0;
    const long long start = nowNs();
    const int err = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, std::size_t(n));
    close(fds[0]);
    if (err != 0) return {};
    int status = 0;
    waitpid(pid, &status, 0);
    std::vector<Step> steps;
    std::size_t at = 0;
    while (at < out.size()) {
        std::size_t end = out.find('\n', at);
        if (end == std::string::npos) end = out.size();
        const std::string line = out.substr(at, end - at);
        at = end + 1;
        long long wall = 0, cpu = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), "%lld %lld %n", &wall, &cpu, &used) < 2 || used <= 0) continue;
        steps.push_back({line.substr(std::size_t(used)), double(wall - start) / 1e6, double(cpu) / 1e6});
    }
    return steps;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--run") return runOnce();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> wall, cpu;
    for (int r = 0; r < runs; ++r) {
        const std::vector<Step> steps = timeOneRun("/proc/self/exe");
        if (steps.empty()) {
            std::fprintf(stderr, "run %d failed (no display? no UI font?)\n", r + 1);
            return 1;
        }
        std::printf("run %d:", r + 1);
        for (const Step& s : steps) {
            if (std::find(order.begin(), order.end(), s.name) == order.end()) order.push_back(s.name);
            wall[s.name].push_back(s.ms);
            cpu[s.name].push_back(s.cpuMs);
            std::printf("  %s %.0f", s.name.c_str(), s.ms);
        }
        std::printf("\n");
    }
    std::printf("\nmedian of %d runs, ms from process start (and main-thread processor time):\n", runs);
    for (const std::string& name : order)
        std::printf("  %-22s %8.1f  (%6.1f)%s\n", name.c_str(), median(wall[name]), median(cpu[name]),
                    int(wall[name].size()) < runs ? "  not in every run" : "");
    const auto first = wall.find("first frame");
    const auto music = wall.find("title music");
    const bool fast = first != wall.end() && median(first->second) < 400.0;
    const bool sound = music != wall.end() && int(music->second.size()) == runs && median(music->second) < 1000.0;
    std::printf("\nfirst drawn frame %s 400 ms; title music %s 1 s\n", fast ? "under" : "NOT under",
                sound ? "within" : "NOT within");
    return fast && sound ? 0 : 2;
}
