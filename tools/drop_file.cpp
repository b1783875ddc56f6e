// Drops files onto an X11 window the way a file manager does (XDnD with a
// "text/uri-list"), to try the game's drop target without a desktop:
//   drop_file WINDOW_ID PATH...
// WINDOW_ID is decimal or 0x-hex (as xwininfo prints it). Relative paths
// are made absolute. Exits 0 when the window took the files.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/platform/XdndSource.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: drop_file WINDOW_ID PATH...\n");
        return 2;
    }
    char* end = nullptr;
    const unsigned long window = std::strtoul(argv[1], &end, 0);
    if (!end || *end || window == 0) {
        std::fprintf(stderr, "drop_file: not a window id: %s\n", argv[1]);
        return 2;
    }
    std::vector<std::string> paths;
    for (int i = 2; i < argc; ++i) {
        std::error_code ec;
        const std::filesystem::path p = std::filesystem::absolute(argv[i], ec);
        paths.push_back(ec ? std::string(argv[i]) : p.lexically_normal().string());
    }

    XdndSource source;
    const XdndSource::State s = dropFiles(source, window, paths, [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    switch (s) {
        case XdndSource::State::Done:
            std::printf("dropped %zu file(s)\n", paths.size());
            return 0;
        case XdndSource::State::Refused:
            std::fprintf(stderr, "drop_file: the window did not take the drop\n");
            return 1;
        default:
            std::fprintf(stderr, "drop_file: the drop failed (no display, or no answer in time)\n");
            return 1;
    }
}
