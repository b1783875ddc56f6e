#include "core/Mivoland2.h"
#include "render/Draw.h"

void Mivoland2::startSpecialRun(const SpecialEntry& entry) {
    if (!entry.start) return;
    specialRun = entry.run;
    specialStone = entry.stone;
    specialDivine = entry.divine;
    state = GameState::SpecialStage;
    playMusic("special");
}

void Mivoland2::updateSpecialStage(float dt) {
    const SpecialStep step = stepSpecial(specialRun, input, dt);
    for (const SoundCue& cue : specialSounds(step)) playSound(cue.effect, cue.pitch);
    if (step.result != kSpecialRunning) endSpecialRun(step.result);
}

void Mivoland2::drawSpecialStage(DrawContext& ctx) {
    drawSpecial(ctx, specialRun, totalTime, stoneName(specialStone, specialDivine), stoneColor(specialStone));
}

void Mivoland2::endSpecialRun(int /*result*/) {
    // Won or not, the run is over and the act goes on.
    state = GameState::Playing;
}
