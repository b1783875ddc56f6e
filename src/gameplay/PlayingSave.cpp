// The save slot and the achievements of the game being played.
#include "core/Mivoland2.h"

void Mivoland2::beginStoryGame(int slot, const SaveSlot& record) {
    currentSlot = slot >= 0 && slot < kSaveSlotCount ? slot : -1;
    save = record;
    session.score = record.score;
    session.playingCourse = false;
}

bool Mivoland2::savingAllowed() const {
    return currentSlot >= 0 && state != GameState::MainMenu && !session.playingCourse && !inMultiplayerGame();
}

void Mivoland2::writeSave() {
    if (!savingAllowed()) return;
    save.exists = true;
    save.score = session.score;
    // The game goes on with the record in memory; the player should know.
    if (!saveSlot(dataDir, currentSlot, save)) showToast(saveFailedMessage(currentSlot));
}

namespace {

// The screens of a story game in progress. On the menus the slot number may
// still be that of a game left earlier (a slot deleted since, or one picked
// for a new game whose hero is not chosen yet): closing there writes nothing.
bool inStoryGame(GameState s) {
    switch (s) {
        case GameState::Story:
        case GameState::Playing:
        case GameState::ActResults:
        case GameState::SpecialStage:
        case GameState::Ending:
        case GameState::ActSelect:
        case GameState::HiddenTemple: return true;
        default: return false;
    }
}

}  // namespace

void Mivoland2::saveOnWindowClose() {
    if (inStoryGame(state)) writeSave();
    writeAchievements();
}

void Mivoland2::writeAchievements() {
    // Before the file has been read (the window closed in the first frame)
    // there is nothing of this run to keep, and writing would wipe it.
    if (!startupFinished) return;
    saveAchievements(dataDir, achievements);
}

void Mivoland2::unlockAchievement(int index) {
    if (!setAchievementBit(achievements, index)) return;
    writeAchievements();
    showToast(std::string("Achievement: ") + achievementTable()[std::size_t(index)].name);
    playSound(9);
}

void Mivoland2::countBaddieBroken() {
    if (achievements.baddiesBroken < 2147483647) achievements.baddiesBroken += 1;
    if (achievements.baddiesBroken >= 50) unlockAchievement(2);
}
