// Plays the game with mod scripts switched on, for trying a script in play
// without installing it as a mod.
//
//   play_mod SCRIPT...
//
// Each SCRIPT (a "script.mivo" file) becomes an enabled mod, in the order
// given, after the mods of the mods folder; a script that does not parse is
// reported and left out. The game then runs as usual, with the user's data
// folder (the mods screen's "Reload" forgets the scripts).
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <SFML/System/Clock.hpp>

#include "core/Mivoland2.h"
#include "core/platform/FileSystem.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: play_mod SCRIPT...\n");
        return 2;
    }
    std::vector<ModInfo> scripts;
    for (int i = 1; i < argc; ++i) {
        std::string text;
        if (readFile(argv[i], text, 1 << 20)) {
            std::fprintf(stderr, "play_mod: cannot read %s\n", argv[i]);
            return 1;
        }
        ModInfo mod;
        mod.name = argv[i];
        mod.enabled = true;
        mod.script = std::make_shared<mivo::Script>();
        if (!mivo::parseScript(*mod.script, text)) {
            std::fprintf(stderr, "play_mod: %s: %s\n", argv[i], mod.script->error.c_str());
            continue;
        }
        scripts.push_back(std::move(mod));
    }
    Mivoland2 game;
    if (!game.startUp()) return 1;
    for (ModInfo& mod : scripts) game.mods.push_back(std::move(mod));
    game.applyMods();
    sf::Clock clock;
    while (game.window.isOpen()) game.frame(clock.restart().asSeconds());
    game.writeAchievements();
    return 0;
}
