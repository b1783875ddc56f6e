// Plays one act by hand from a list of key moves and takes screenshots: the
// real game object with a hidden window and a fresh data folder ("No Save"),
// stepped 60 frames a second, so a run is the same every time. For finding
// out whether a person gets through a place: look at the shots, change the
// moves, run again.
//
//   hand_play ZONE ACT HERO MOVES_FILE [-o FOLDER]
//
// The moves file holds one command a line ('#' starts a comment):
//   at X                 put the hero on the ground at X, as if a checkpoint there was reached
//   hold KEY...          hold keys from the next frame on (Left Right Up Down Space Shift F)
//   release KEY...       let them go
//   tap KEY              hold a key for one frame
//   frames N             play N frames
//   until x> X [N]       play until the hero is right of X (at most N frames, default 1200)
//   until x< X [N]       ... left of X
//   until grounded [N]   ... on the ground
//   shot NAME            save the frame as FOLDER/NN_NAME.png
//   log                  print where the hero is
// Every hit and death is printed as it happens; the last line sums them up.
#include <SFML/Window/Keyboard.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "core/Mivoland2.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;

bool keyNamed(const std::string& name, sf::Keyboard::Key& key) {
    static const std::map<std::string, sf::Keyboard::Key> keys = {
        {"Left", sf::Keyboard::Left}, {"Right", sf::Keyboard::Right}, {"Up", sf::Keyboard::Up},
        {"Down", sf::Keyboard::Down}, {"Space", sf::Keyboard::Space}, {"Shift", sf::Keyboard::LShift},
        {"F", sf::Keyboard::F}};
    auto it = keys.find(name);
    if (it == keys.end()) return false;
    key = it->second;
    return true;
}

struct Session {
    Mivoland2& game;
    ScriptedKeySource& keys;
    std::string folder;
    int shots = 0;
    int hits = 0, deaths = 0;
    int frame = 0;

    void log(const char* what = "") {
        const Player& p = game.player;
        std::printf("frame %5d t %6.2f x %7.1f y %6.1f v (%5.0f, %5.0f) gs %5.0f %s hearts %d%s%s\n", frame,
                    game.session.actTime, p.x, p.y, p.vx, p.vy, p.groundSpeed, p.grounded ? "ground" : "air   ",
                    p.hearts, p.dead ? " dead" : "", what);
    }

    void step() {
        const int hearts = game.player.hearts;
        const bool shield = game.player.shield;
        const bool dead = game.player.dead;
        game.frame(kFrame);
        ++frame;
        const Player& p = game.player;
        if (!dead && p.dead) {
            ++deaths;
            log("  DIED");
        } else if (!p.dead && (p.hearts < hearts || (shield && !p.shield))) {
            ++hits;
            log("  HIT");
        }
    }

    void shot(const std::string& name) {
        char file[32];
        std::snprintf(file, sizeof file, "%02d_", ++shots);
        const std::string path = folder + "/" + file + name + ".png";
        game.captureFrame().saveToFile(path);
        log(("  shot " + path).c_str());
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: hand_play ZONE ACT HERO MOVES_FILE [-o FOLDER]\n");
        return 2;
    }
    const int zone = std::atoi(argv[1]), act = std::atoi(argv[2]), hero = std::atoi(argv[3]);
    std::ifstream moves(argv[4]);
    if (!moves) {
        std::fprintf(stderr, "cannot read %s\n", argv[4]);
        return 2;
    }
    std::string folder = "/tmp/hand_play";
    if (argc >= 7 && std::string(argv[5]) == "-o") folder = argv[6];
    std::filesystem::create_directories(folder);
    const std::string data = folder + "/data";
    std::filesystem::remove_all(data);
    std::filesystem::create_directories(data);

    ScriptedKeySource keys;
    Mivoland2Options options;
    options.dataFolder = data;
    options.keys = &keys;
    options.visibleWindow = false;
    options.paceFrames = false;
    Mivoland2 game(options);
    if (!game.startUp()) {
        std::fprintf(stderr, "no UI font\n");
        return 1;
    }
    for (int i = 0; i < 3; ++i) game.frame(kFrame);
    SaveSlot record;
    record.hero = hero;
    game.beginStoryGame(-1, record);
    game.startAct(zone, act);

    Session s{game, keys, folder};
    std::string line;
    int lineNo = 0;
    while (std::getline(moves, line)) {
        ++lineNo;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream in(line);
        std::string cmd;
        if (!(in >> cmd)) continue;
        if (game.state != GameState::Playing) {
            std::printf("line %d: the act is over (screen %d)\n", lineNo, int(game.state));
            break;
        }
        if (cmd == "at") {
            float x = 0;
            in >> x;
            const GroundHeight g = game.level.groundHeightAt(x);
            const sf::Vector2f spot{x, (g ? g.y : game.level.arenaY) - 18.0f};
            game.player = makePlayer(hero, spot);
            game.session.respawnPoint = spot;
            game.session.camera = spot;
        } else if (cmd == "hold" || cmd == "release" || cmd == "tap") {
            std::string name;
            while (in >> name) {
                sf::Keyboard::Key k;
                if (!keyNamed(name, k)) {
                    std::printf("line %d: no key %s\n", lineNo, name.c_str());
                    continue;
                }
                if (cmd == "release")
                    keys.keys.erase(k);
                else
                    keys.keys.insert(k);
                if (cmd == "tap") {
                    s.step();
                    keys.keys.erase(k);
                }
            }
        } else if (cmd == "frames") {
            int n = 0;
            in >> n;
            for (int i = 0; i < n && game.state == GameState::Playing; ++i) s.step();
        } else if (cmd == "until") {
            std::string what;
            float value = 0;
            int most = 1200;
            in >> what;
            if (what != "grounded") in >> value;
            in >> most;
            auto done = [&] {
                const Player& p = game.player;
                if (what == "x>") return p.x > value;
                if (what == "x<") return p.x < value;
                return p.grounded && !p.dead;
            };
            int i = 0;
            while (!done() && i++ < most && game.state == GameState::Playing) s.step();
            if (!done()) s.log("  (until: not reached)");
        } else if (cmd == "shot") {
            std::string name = "shot";
            in >> name;
            s.shot(name);
        } else if (cmd == "log") {
            s.log();
        } else {
            std::printf("line %d: unknown command %s\n", lineNo, cmd.c_str());
        }
    }
    s.log();
    std::printf("%d hits, %d deaths, furthest shown above; screen %d\n", s.hits, s.deaths, int(game.state));
    return 0;
}
