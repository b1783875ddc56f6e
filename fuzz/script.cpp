// Feeds arbitrary text to the script parser and runs whatever parses, every
// event and a few timer ticks, against a host that applies the game's own
// script variables and steps to a small flat act and records the calls.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gameplay/ScriptBindings.h"
#include "script/Script.h"

namespace {

struct World {
    Level level;
    Player player;
    std::int64_t score = 0;
    PlayerLook look;
    std::size_t steps = 0;

    World() {
        level.groundPaths = {{{-1000, 500}, {2000, 500}}, {{2400, 500}, {5000, 500}}};
        level.lowestGroundY = 500;
        level.endX = 5000;
        player = makePlayer(4, {1000, 482});
        player.grounded = true;
    }
    ScriptAct act() { return ScriptAct{player, level, score, look, 1.5f, false}; }
};

bool finite(const Player& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.vx) && std::isfinite(p.vy) &&
           std::isfinite(p.groundSpeed) && std::isfinite(p.gravityScale) && std::isfinite(p.sizeScale);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    mivo::Script script;
    const bool ok = mivo::parseScript(script, text);
    if (ok != script.error.empty()) std::abort();
    if (!ok) {
        if (script.error.rfind("line ", 0) != 0 || !script.blocks.empty()) std::abort();
        return 0;
    }
    for (const mivo::EventBlock& b : script.blocks)
        if (!(b.interval >= 0) || (b.event == "every" && b.interval < mivo::kMinInterval)) std::abort();

    World w;
    mivo::ScriptHost host;
    host.getVariable = [&](const std::string& name, float& value) { return getScriptVariable(w.act(), name, value); };
    host.setVariable = [&](const std::string& name, float value) {
        ScriptAct a = w.act();
        return setScriptVariable(a, name, value);
    };
    host.runStep = [&](const mivo::Stmt& step, const std::vector<float>& args, const std::string& said) {
        ScriptAct a = w.act();
        const ScriptStepResult r = runScriptStep(a, step, args, said);
        if (r.say && r.sayText.size() > 4 * kSayLength) std::abort();
        ++w.steps;
    };

    auto check = [&] {
        if (script.stepCount > mivo::kMaxStepsPerRun + 1 + 2 * mivo::kMaxNesting) std::abort();
        if (!finite(w.player)) std::abort();
        if (w.player.hearts < 0 || w.player.hearts > w.player.maxHearts || w.player.maxHearts > 10) std::abort();
        if (w.level.gems.size() > kScriptMaxGems || w.level.enemies.size() > kScriptMaxEnemies ||
            w.level.springs.size() > kScriptMaxSprings)
            std::abort();
    };
    for (const std::string& e : mivo::eventNames()) {
        mivo::runEvent(script, e, host);
        check();
    }
    for (float dt : {0.05f, 0.4f, 1.0f, 1e30f}) {
        mivo::runTimers(script, dt, host);
        check();
    }
    return 0;
}
