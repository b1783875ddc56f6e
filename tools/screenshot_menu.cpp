// Saves the main menu, as the game draws it, to a PNG.
//   screenshot_menu [out.png] [frames]
// Runs the real game object with a hidden window and a throw-away data
// folder, steps the given number of frames (default 30) and saves the frame.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/Mivoland2.h"

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "main_menu.png";
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;

    std::string folder = (std::filesystem::temp_directory_path() / "mivo-shot-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    ScriptedKeySource keys;
    Mivoland2Options opts;
    opts.dataFolder = folder;
    opts.keys = &keys;
    opts.visibleWindow = false;
    opts.paceFrames = false;
    int rc = 0;
    {
        Mivoland2 game(opts);
        if (!game.startUp()) {
            std::fprintf(stderr, "no UI font\n");
            rc = 1;
        } else {
            for (int i = 0; i < frames; ++i) game.frame(1.0f / 60.0f);
            if (!game.captureFrame().saveToFile(out)) rc = 1;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    if (rc == 0) std::printf("%s\n", out.c_str());
    return rc;
}
