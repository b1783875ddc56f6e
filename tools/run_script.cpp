// Runs a mod script against a headless act and prints what its steps did,
// so a mod author can try a script without the game window.
//
//   run_script SCRIPT [--zone 1-6] [--act 1|2] [--hero 0-8] [STEP ...]
//     SCRIPT   a "script.mivo", or a mod file whose script follows its "code:" line
//     STEP     an event name: start, jump, gem, hurt, stomp, bosshit, finish,
//              ability, checkpoint, transform;
//              or frames: "0.5" is one frame of 0.5 s, "60x0.0167" sixty frames
//     Without steps: start, then 3 s in frames of 1/60 s.
//
// A frame ticks the "every" blocks and the act clock and moves the player
// (standing, no keys held) as a frame of play would; the act's objects stay
// where they are. Exit status: 0 when the script ran, 1 when it could not be
// read or did not parse, 2 for a bad argument.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/Heroes.h"
#include "content/Zones.h"
#include "core/platform/FileSystem.h"
#include "gameplay/ScriptBindings.h"
#include "level/ActGenerator.h"
#include "mods/ModFile.h"

namespace {

constexpr std::size_t kMaxScriptBytes = kMaxModFileBytes;  // as the game reads it
constexpr long kMaxFrames = 1000000;

int usage(const char* why) {
    std::fprintf(stderr,
                 "run_script: %s\n"
                 "usage: run_script SCRIPT [--zone 1-6] [--act 1|2] [--hero 0-8] [STEP ...]\n"
                 "  STEP: an event name (start, jump, gem, hurt, stomp, bosshit, finish, ability,\n"
                 "        checkpoint, transform), or frames: 0.5 (one frame of 0.5 s), 60x0.0167\n",
                 why);
    return 2;
}

bool isEvent(const std::string& s) {
    for (const std::string& e : mivo::eventNames())
        if (e == s && e != "every") return true;
    return false;
}

// "S" or "NxS": N frames of S seconds.
bool parseFrames(const std::string& s, long& count, float& seconds) {
    const std::size_t x = s.find('x');
    char* end = nullptr;
    count = 1;
    if (x != std::string::npos) {
        count = std::strtol(s.c_str(), &end, 10);
        if (end != s.c_str() + x || count < 1 || count > kMaxFrames) return false;
    }
    const char* start = s.c_str() + (x == std::string::npos ? 0 : x + 1);
    seconds = std::strtof(start, &end);
    return end != start && *end == '\0' && std::isfinite(seconds) && seconds > 0 && seconds <= 10;
}

// The script of a mod file is everything after its "code:" line, read as
// the game reads it (its line numbers are the file's); any other file is a
// script as it stands.
std::string scriptPart(const std::string& text, bool& modFile) {
    ModInfo ignored;
    const ModText mod = readModText(text, ignored);
    modFile = mod.hasCode;
    return mod.hasCode ? mod.code : text;
}

std::string number(float v) { return mivo::formatScriptNumber(v); }

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    int zone = 1, act = 1, hero = 0;
    std::vector<std::string> steps;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto intArg = [&](int lo, int hi, int& out) {
            if (i + 1 >= argc) return false;
            char* end = nullptr;
            const long v = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || v < lo || v > hi) return false;
            out = int(v);
            return true;
        };
        if (a == "--zone") {
            if (!intArg(1, 6, zone)) return usage("--zone takes 1 to 6");
        } else if (a == "--act") {
            if (!intArg(1, 2, act)) return usage("--act takes 1 or 2");
        } else if (a == "--hero") {
            if (!intArg(0, 8, hero)) return usage("--hero takes 0 to 8");
        } else if (a == "-h" || a == "--help") {
            return usage("runs a mod script against a headless act");
        } else if (path.empty()) {
            path = a;
        } else {
            steps.push_back(a);
        }
    }
    if (path.empty()) return usage("no script file given");
    if (steps.empty()) steps = {"start", "180x0.0166667"};
    for (const std::string& s : steps) {
        long n;
        float dt;
        if (!isEvent(s) && !parseFrames(s, n, dt)) return usage(("not an event or frame time: " + s).c_str());
    }

    std::string text;
    if (readFile(path, text, kMaxScriptBytes + 1)) {
        std::fprintf(stderr, "run_script: cannot read %s\n", path.c_str());
        return 1;
    }
    if (text.size() > kMaxScriptBytes) {
        std::fprintf(stderr, "run_script: %s is larger than %zu KiB\n", path.c_str(), kMaxScriptBytes >> 10);
        return 1;
    }
    mivo::Script script;
    bool modFile = false;
    const bool parsed = mivo::parseScript(script, scriptPart(text, modFile));
    if (!parsed) {
        std::printf("%s: %s\n", path.c_str(), script.error.c_str());
        return 1;
    }
    std::printf("%s: %zu block%s:", path.c_str(), script.blocks.size(), script.blocks.size() == 1 ? "" : "s");
    for (const mivo::EventBlock& b : script.blocks)
        std::printf(" %s", b.event == "every" ? ("every " + number(b.interval) + " s").c_str() : b.event.c_str());
    std::printf("\n");

    // The act, as the game begins it.
    Level level;
    generateAct(level, zone - 1, act);
    Player player = makePlayer(hero, level.startPos);
    std::int64_t score = 0;
    PlayerLook look;
    float actTime = 0, bannerTime = 0;
    std::string banner;
    const std::size_t gemsBefore = level.gems.size(), enemiesBefore = level.enemies.size(),
                      springsBefore = level.springs.size();
    std::printf("act: %s act %d, hero %d %s, starting at (%s, %s)\n", zoneTable()[std::size_t(zone - 1)].name.c_str(),
                act, hero, heroTable()[std::size_t(hero)].name.c_str(), number(std::round(player.x)).c_str(),
                number(std::round(player.y)).c_str());

    auto stamp = [&] {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2f", double(actTime));
        return std::string(buffer);
    };
    const auto actView = [&] { return ScriptAct{player, level, score, look, actTime, false}; };
    mivo::ScriptHost host;
    host.getVariable = [&](const std::string& name, float& value) { return getScriptVariable(actView(), name, value); };
    host.setVariable = [&](const std::string& name, float value) {
        ScriptAct view = actView();
        float read = 0;
        if (setScriptVariable(view, name, value)) {
            getScriptVariable(view, name, read);
            std::printf("  %6s s  %s = %s", stamp().c_str(), name.c_str(), number(read).c_str());
            if (read != value && !std::isnan(value)) std::printf(" (asked %s)", number(value).c_str());
            std::printf("\n");
            return true;
        }
        const bool gameOwns = getScriptVariable(view, name, read);
        std::printf("  %6s s  %s = %s (script variable%s)\n", stamp().c_str(), name.c_str(), number(value).c_str(),
                    gameOwns ? "; the game's own value still reads back" : "");
        return false;
    };
    // The step's line comes from the step itself.
    host.runStep = [&](const mivo::Stmt& step, const std::vector<float>& args, const std::string& said) {
        ScriptAct view = actView();
        const ScriptStepResult r = runScriptStep(view, step, args, said);
        if (r.say) {
            banner = r.sayText;
            bannerTime = kSayTime;
        }
        std::printf("  %6s s  line %d: %s\n", stamp().c_str(), step.line, r.summary.c_str());
    };

    for (const std::string& s : steps) {
        if (isEvent(s)) {
            std::printf("%6s s  on %s\n", stamp().c_str(), s.c_str());
            mivo::runEvent(script, s, host);
            continue;
        }
        long frames;
        float dt;
        parseFrames(s, frames, dt);
        for (long f = 0; f < frames; ++f) {
            actTime += dt;
            bannerTime = std::max(bannerTime - dt, 0.0f);
            mivo::runTimers(script, dt, host);
            if (player.dead) {
                if (updateDeathFall(player, dt).respawnDue) {
                    player = respawnPlayer(player, level.startPos);
                    std::printf("  %6s s  the player is back at the start\n", stamp().c_str());
                }
            } else {
                updatePlayer(player, PlayerInput{}, level, dt, actTime);
            }
        }
    }

    std::printf("after %s s: gems %d, hearts %d of %d%s, score %lld, player at (%s, %s)%s\n", stamp().c_str(),
                player.gems, player.hearts, player.maxHearts, player.dead ? " (down)" : "", (long long)score,
                number(std::round(player.x)).c_str(), number(std::round(player.y)).c_str(),
                player.grounded ? " on the ground" : " in the air");
    std::printf("added: %zu gems, %zu enemies, %zu springs\n", level.gems.size() - gemsBefore,
                level.enemies.size() - enemiesBefore, level.springs.size() - springsBefore);
    if (bannerTime > 0) std::printf("banner: \"%s\" for %s s more\n", banner.c_str(), number(bannerTime).c_str());
    for (const auto& [name, value] : script.locals) std::printf("script variable %s = %s\n", name.c_str(), number(value).c_str());
    return 0;
}
