// Save select and act select through the real game: card rows, damaged save
// files and saves that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "core/SaveSelect.h"
#include "core/platform/FileSystem.h"
#include "support/FullDisk.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

void openSaveSelect(GameDriver& d) {
    ASSERT_EQ(d.screen(), GameState::MainMenu);
    ASSERT_EQ(d.selectedButton(), 0);  // "Play"
    d.press(K::Enter);
    ASSERT_EQ(d.screen(), GameState::SaveSelect);
}

}  // namespace

TEST(SaveScreens, LeftAndRightMoveBetweenSaveCardsAndBetweenActs) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step();
    openSaveSelect(d);
    struct Move { K::Key key; int to; };
    const Move moves[] = {
        {K::Right, 1}, {K::Right, 2}, {K::Right, 0}, {K::Left, 2}, {K::A, 1}, {K::D, 2},
        {K::Down, kSaveNoSaveButton}, {K::Right, kSaveDeleteButton}, {K::Right, kSaveBackButton},
        {K::Right, kSaveNoSaveButton}, {K::Up, 2},
    };
    for (const Move& m : moves) {
        d.press(m.key);
        EXPECT_EQ(d.selectedButton(), m.to) << "key " << m.key;
    }
    EXPECT_EQ(d.screen(), GameState::SaveSelect);

    // Act select: the two acts of a zone stand side by side; a locked act is skipped.
    SaveSlot record;
    record.furthestAct = 4;  // up to zone 2 act 1
    d.game().beginStoryGame(0, record);
    d.game().startAct(1, 1);
    d.game().paused = true;
    d.game().openActSelect();
    d.step();
    ASSERT_EQ(d.screen(), GameState::ActSelect);
    ASSERT_EQ(d.selectedButton(), 2);  // zone 1 act 1
    d.press(K::Right);
    EXPECT_EQ(d.selectedButton(), 3);
    d.press(K::Right);
    EXPECT_EQ(d.selectedButton(), 2);
    d.press(K::Down);
    d.press(K::Down);
    ASSERT_EQ(d.selectedButton(), 4);  // zone 2 act 1; act 2 is locked
    d.press(K::Right);
    EXPECT_EQ(d.selectedButton(), 4);
}

TEST(SaveScreens, ADamagedSlotFileLoadsWithNoStonesAndScoreZero) {
    GameDriver d;
    std::ofstream(d.dataFolder() + "slot1.txt") << "0 0 1 -1 -1 -5 0 1 0";
    ASSERT_TRUE(d.start());
    d.step();
    openSaveSelect(d);
    const SaveSlot& card = d.game().slotPreview[0];
    ASSERT_TRUE(card.exists);
    EXPECT_EQ(card.secretStones, 0);
    EXPECT_EQ(card.divineStones, 0);
    EXPECT_EQ(card.score, 0);
    EXPECT_EQ(saveCardText(0, card).score, "Score 0");
    d.step(5);
    d.saveFrame("save_damaged_slot.png");
    d.press(K::Enter);  // continue it
    ASSERT_EQ(d.screen(), GameState::Playing);
    EXPECT_EQ(d.game().save.secretStones, 0);
    EXPECT_EQ(d.game().save.divineStones, 0);
    EXPECT_EQ(d.game().session.score, 0);
}

// A new game in Save 1 is written when "Start!" is chosen; when that write
// fails the player is told and the game goes on.
TEST(SaveScreens, ASaveThatCannotBeWrittenShowsAToast) {
    for (const bool folder : {true, false}) {
        SCOPED_TRACE(folder ? "a folder in the slot's place" : "a full disk");
        GameDriver d;
        if (folder) std::filesystem::create_directory(d.dataFolder() + "slot1.txt");
        ASSERT_TRUE(d.start());
        d.step();
        openSaveSelect(d);
        d.press(K::Enter);  // Save 1: a new game
        ASSERT_EQ(d.screen(), GameState::HeroSelect);
        {
            std::optional<FullDisk> full;
            if (!folder) full.emplace();
            d.press(K::Enter);  // "Start!"
        }
        EXPECT_EQ(d.screen(), GameState::Story);
        EXPECT_EQ(d.toast(), "Could not save the game to Save 1");
        EXPECT_GT(d.game().toast.timer, 0.0f);
        EXPECT_FALSE(loadSlot(d.dataFolder(), 0).exists);
        if (folder) {
            d.step(20);
            d.saveFrame("save_failed_toast.png");
        }
        std::vector<std::string> names;
        ASSERT_FALSE(listDirectory(d.dataFolder(), names));
        for (const std::string& n : names) EXPECT_EQ(n.find(".tmp"), std::string::npos) << n;
    }
}
