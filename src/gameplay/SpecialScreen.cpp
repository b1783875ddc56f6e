#include "core/Mivoland2.h"
#include "gameplay/Objects.h"
#include "render/Draw.h"

void Mivoland2::enterStonePortal(int) {
    const PortalResult where = portalOutcome(save.secretStones, save.divineStones, player.hero);
    switch (where.outcome) {
        case PortalOutcome::SpecialStage:
            playSound(kSoundPortal);
            startSpecialRun(enterFromPortal(save.secretStones, player.hero));
            break;
        case PortalOutcome::Temple:
            playSound(kSoundPortal);
            player.transformed = player.divine = false;
            openTemple(save.templeOpened, player.hero, save.divineStones, jumpStrength(player));
            break;
        case PortalOutcome::Gems: {
            if (where.toast) showToast(kDivineHeroesToast);
            ObjectFrame frame;
            frame.time = totalTime;
            frame.doubleGems = playerMods.doubleGems;
            ObjectEvents events;
            for (int i = 0; i < where.gems; ++i) pickUpGem(player, effects, frame, events, {player.x, player.y});
            playEventSounds(*this, events);
            session.score += events.score;
            for (const std::string& name : events.scriptEvents) fireEvent(name);
            break;
        }
    }
}

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

void Mivoland2::endSpecialRun(int result) {
    const SpecialReward reward =
        specialReward(result, specialStone, specialDivine, save.secretStones, save.divineStones);
    save.secretStones = reward.secretStones;
    save.divineStones = reward.divineStones;
    for (int a : reward.achievements) unlockAchievement(a);
    if (reward.save) writeSave();
    // Won or not, the act goes on.
    returnToAct();
}
