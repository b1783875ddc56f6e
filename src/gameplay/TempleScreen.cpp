#include "core/Mivoland2.h"
#include "render/Draw.h"

void Mivoland2::openTemple(bool introSeen, int hero, int divineStones, float jumpSpeed) {
    temple = enterTemple(introSeen);
    templeHero = hero;
    templeDivineStones = divineStones;
    templeJumpSpeed = jumpSpeed;
    state = GameState::HiddenTemple;
    playMusic("temple");
}

void Mivoland2::updateHiddenTemple(float dt) {
    const TempleStep step = stepTemple(temple, input, dt, templeDivineStones, templeJumpSpeed);
    for (const SoundCue& cue : step.sounds) playSound(cue.effect, cue.pitch);
    if (step.introDone) templeIntroSeen();
    if (step.startDivine) {
        const SpecialEntry entry = enterFromTemple(templeDivineStones, templeHero);
        if (entry.start) {
            playSound(kSoundPortal, 1.0f);
            startSpecialRun(entry);
        }
    } else if (step.leave) {
        leaveTemple();
    }
}

void Mivoland2::drawHiddenTemple(DrawContext& ctx) {
    drawTemple(ctx, temple, totalTime, templeHero, templeDivineStones);
}

void Mivoland2::templeIntroSeen() {
    save.templeOpened = true;
    writeSave();
}

void Mivoland2::leaveTemple() { returnToAct(); }
