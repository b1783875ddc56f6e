// Mod scripts in an act: the game's script host, the events and the timers.
#include "core/Mivoland2.h"
#include "gameplay/ScriptBindings.h"

namespace {

ScriptAct actOf(Mivoland2& g) {
    return ScriptAct{g.player, g.level, g.session.score, g.playerLook, g.session.actTime, g.noBaddies};
}

bool scriptRuns(const ModInfo& mod) { return mod.enabled && mod.script && mod.script->error.empty(); }

}  // namespace

void Mivoland2::setupScriptHost() {
    applyMods();
    scriptHost.getVariable = [this](const std::string& name, float& value) {
        return getScriptVariable(actOf(*this), name, value);
    };
    scriptHost.setVariable = [this](const std::string& name, float value) {
        ScriptAct act = actOf(*this);
        return setScriptVariable(act, name, value);
    };
    scriptHost.runStep = [this](const mivo::Stmt& step, const std::vector<float>& args, const std::string& text) {
        ScriptAct act = actOf(*this);
        const ScriptStepResult r = runScriptStep(act, step, args, text);
        if (r.say) {
            // The banner: a newer line replaces the one shown.
            session.speech = r.sayText;
            session.speechTime = kSayTime;
        }
        if (r.sound >= 0) playSound(r.sound, 1.0f);
        if (r.formEnded) playMusic(actMusicId());
    };
}

void Mivoland2::fireEvent(const std::string& name) {
    if (state != GameState::Playing) return;
    for (ModInfo& mod : mods)
        if (scriptRuns(mod)) mivo::runEvent(*mod.script, name, scriptHost);
}

void Mivoland2::runScriptTimers(float dt) {
    if (state != GameState::Playing) return;
    for (ModInfo& mod : mods)
        if (scriptRuns(mod)) mivo::runTimers(*mod.script, dt, scriptHost);
}
