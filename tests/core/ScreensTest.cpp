#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/Options.h"
#include "core/SaveSelect.h"
#include "core/Story.h"
#include "persist/Settings.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

// Moves the selection of the list on screen to button i with the arrow keys.
void selectButton(GameDriver& d, int i) {
    for (int guard = 0; guard < 20 && d.selectedButton() != i; ++guard) d.press(K::Down);
    ASSERT_EQ(d.selectedButton(), i);
}

// From the title: "Play", then the slot card.
void openSlot(GameDriver& d, int slot) {
    ASSERT_EQ(d.screen(), GameState::MainMenu);
    selectButton(d, 0);
    d.press(K::Enter);
    ASSERT_EQ(d.screen(), GameState::SaveSelect);
    selectButton(d, slot);
    d.press(K::Enter);
}

void writeFile(GameDriver& d, const std::string& name, const std::string& text) {
    std::ofstream(d.dataFolder() + name) << text;
}

std::string labelOf(GameDriver& d, int i) { return d.game().menu.buttons.at(std::size_t(i)).label; }

// Back to the title from an act in play, through the pause menu.
void quitToTitle(GameDriver& d) {
    d.press(K::Escape);
    ASSERT_TRUE(d.game().paused);
    const MenuList& pause = d.game().session.pauseList;
    ASSERT_EQ(pause.buttons.size(), 4u);
    ASSERT_EQ(pause.buttons[3].label, "Quit to Title");
    for (int guard = 0; guard < 8 && pause.selected != 3; ++guard) d.press(K::Down);
    d.press(K::Enter);
}

}  // namespace

TEST(Screens, NewGameInSlotOneRunsThroughTheStoryIntoActOneAndContinuesLater) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step();
    openSlot(d, 0);
    ASSERT_EQ(d.screen(), GameState::HeroSelect);
    EXPECT_EQ(labelOf(d, d.selectedButton()), "Start!");
    for (int i = 0; i < 3; ++i) d.press(K::Right);
    EXPECT_EQ(d.game().heroPick, 3);
    d.saveFrame("screens_hero_select.png");
    d.press(K::Enter);

    ASSERT_EQ(d.screen(), GameState::Story);
    EXPECT_EQ(d.game().storyPage, 0);
    EXPECT_EQ(d.game().audio.playingId(), "the_unspoken");
    const SaveSlot written = loadSlot(d.dataFolder(), 0);
    EXPECT_TRUE(written.exists);
    EXPECT_EQ(written.hero, 3);
    EXPECT_EQ(written.zone, 0);
    EXPECT_EQ(written.act, 1);
    d.press(K::Enter);
    EXPECT_EQ(d.game().storyPage, 1);
    d.press(K::Escape);  // skips the rest

    ASSERT_EQ(d.screen(), GameState::Playing);
    EXPECT_EQ(d.game().currentSlot, 0);
    EXPECT_EQ(d.game().save.hero, 3);
    EXPECT_EQ(d.game().save.zone, 0);
    EXPECT_EQ(d.game().save.act, 1);
    EXPECT_EQ(d.game().player.hero, 3);
    EXPECT_EQ(d.game().level.zone, 0);
    EXPECT_EQ(d.game().level.act, 1);
    // The act runs: the clock goes and the hero runs right.
    const float startX = d.game().player.x;
    d.hold(K::Right);
    d.step(90);
    d.release(K::Right);
    EXPECT_GT(d.game().session.actTime, 1.0f);
    EXPECT_GT(d.game().player.x, startX + 100.0f);
    d.saveFrame("screens_act1.png");

    // Later: the slot has reached zone 2 act 2; choosing it goes straight there.
    quitToTitle(d);
    ASSERT_EQ(d.screen(), GameState::MainMenu);
    ASSERT_TRUE(saveSlot(d.dataFolder(), 0, [] {
        SaveSlot s;
        s.exists = true;
        s.hero = 3;
        s.zone = 2;
        s.act = 2;
        s.score = 4200;
        s.furthestAct = 5;
        return s;
    }()));
    openSlot(d, 0);
    ASSERT_EQ(d.screen(), GameState::Playing);
    EXPECT_EQ(d.game().save.zone, 2);
    EXPECT_EQ(d.game().save.act, 2);
    EXPECT_EQ(d.game().save.hero, 3);
    EXPECT_EQ(d.game().session.score, 4200);
}

TEST(Screens, ADeletedSlotStartsANewGame) {
    GameDriver d;
    writeFile(d, "slot1.txt", "5 3 2 15 0 9000 0 8 0");
    ASSERT_TRUE(d.start());
    d.step();
    selectButton(d, 0);
    d.press(K::Enter);
    ASSERT_EQ(d.screen(), GameState::SaveSelect);
    EXPECT_TRUE(d.game().slotPreview[0].exists);

    selectButton(d, kSaveDeleteButton);
    d.press(K::Enter);
    EXPECT_TRUE(d.game().deleteMode);
    d.saveFrame("screens_save_delete.png");
    selectButton(d, 0);
    d.press(K::Enter);
    EXPECT_FALSE(d.game().deleteMode);
    EXPECT_EQ(d.screen(), GameState::SaveSelect);
    EXPECT_FALSE(std::filesystem::exists(d.dataFolder() + "slot1.txt"));
    EXPECT_FALSE(d.game().slotPreview[0].exists);

    d.press(K::Enter);
    ASSERT_EQ(d.screen(), GameState::HeroSelect);
    EXPECT_EQ(d.game().currentSlot, 0);
    EXPECT_EQ(d.game().heroPick, 0);
    EXPECT_EQ(d.game().save.zone, 0);
    EXPECT_EQ(d.game().save.secretStones, 0);
}

TEST(Screens, EscapeInDeleteModeOnlyLeavesDeleteMode) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.game().openSaveSelect();
    selectButton(d, kSaveDeleteButton);
    d.press(K::Enter);
    ASSERT_TRUE(d.game().deleteMode);
    d.press(K::Escape);
    EXPECT_FALSE(d.game().deleteMode);
    EXPECT_EQ(d.screen(), GameState::SaveSelect);
    d.press(K::Backspace);
    EXPECT_EQ(d.screen(), GameState::MainMenu);
}

TEST(Screens, AFinishedSaveShowsFinishedAndNoSavePicksAHero) {
    GameDriver d;
    writeFile(d, "slot2.txt", "8 5 2 127 3 123456 1 12 1");
    ASSERT_TRUE(d.start());
    d.game().openSaveSelect();
    d.step(10);
    EXPECT_EQ(saveCardText(1, d.game().slotPreview[1]).progress, "Finished!");
    d.saveFrame("screens_save_select.png");

    selectButton(d, kSaveNoSaveButton);
    d.press(K::Enter);
    ASSERT_EQ(d.screen(), GameState::HeroSelect);
    EXPECT_EQ(d.game().currentSlot, -1);
    d.press(K::Enter);  // "Start!"
    ASSERT_EQ(d.screen(), GameState::Story);
    for (int i = 0; i < 4; ++i) {
        d.click({480, 300});
        EXPECT_EQ(d.screen(), GameState::Story);
    }
    EXPECT_EQ(d.game().storyPage, 4);
    d.press(K::Space);
    EXPECT_EQ(d.screen(), GameState::Playing);
    // A "No Save" game writes no slot.
    EXPECT_FALSE(std::filesystem::exists(d.dataFolder() + "slot1.txt"));
    EXPECT_FALSE(std::filesystem::exists(d.dataFolder() + "slot3.txt"));
    EXPECT_EQ(loadSlot(d.dataFolder(), 1).hero, 8);
}

TEST(Screens, HeroPickerWrapsWithKeysAndArrowButtons) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.game().openSaveSelect();
    selectButton(d, kSaveNoSaveButton);
    d.press(K::Enter);
    ASSERT_EQ(d.game().heroPick, 0);
    d.press(K::Left);
    EXPECT_EQ(d.game().heroPick, 8);
    d.press(K::D);
    EXPECT_EQ(d.game().heroPick, 0);
    d.press(K::A);
    d.press(K::A);
    EXPECT_EQ(d.game().heroPick, 7);
    d.moveMouse({210, 260});  // "<"
    d.click({210, 260});
    EXPECT_EQ(d.game().heroPick, 6);
    d.click({750, 260});  // ">"
    EXPECT_EQ(d.game().heroPick, 7);
    d.press(K::Escape);
    EXPECT_EQ(d.screen(), GameState::SaveSelect);
}

TEST(Screens, OptionsChangeVolumesTogglesAndSaveOnLeaving) {
    GameDriver d;
    writeFile(d, "settings.txt", "0 100 100 0 0");
    ASSERT_TRUE(d.start());
    d.step();
    selectButton(d, 4);
    d.press(K::Enter);
    ASSERT_EQ(d.screen(), GameState::Options);
    EXPECT_EQ(d.selectedButton(), kOptMusic);
    EXPECT_EQ(labelOf(d, kOptMusic), "Music: 100%");

    d.press(K::Right);
    EXPECT_EQ(d.game().settings.musicVolume, 100);
    d.press(K::Enter);
    EXPECT_EQ(d.game().settings.musicVolume, 0);
    EXPECT_EQ(labelOf(d, kOptMusic), "Music: 0%");
    // The title song follows at once.
    MusicEntry* song = d.game().audio.findMusic(d.game().audio.playingId());
    ASSERT_NE(song, nullptr);
    if (song->sound) {
        EXPECT_EQ(song->sound->getVolume(), 0.0f);
    }
    d.press(K::Right);
    d.press(K::D);
    EXPECT_EQ(d.game().settings.musicVolume, 20);
    if (song->sound) {
        EXPECT_NEAR(song->sound->getVolume(), 20.0f, 0.01f);
    }

    selectButton(d, kOptSound);
    d.press(K::Left);
    d.press(K::A);
    EXPECT_EQ(labelOf(d, kOptSound), "Sound: 80%");

    selectButton(d, kOptShowFps);
    d.press(K::Enter);
    EXPECT_TRUE(d.game().settings.showFps);
    selectButton(d, kOptDebugMode);
    d.press(K::Space);
    EXPECT_EQ(labelOf(d, kOptDebugMode), "Debug Mode: On");
    EXPECT_EQ(d.toast(), kDebugModeHint);
    d.saveFrame("screens_options.png");

    d.press(K::Escape);
    EXPECT_EQ(d.screen(), GameState::MainMenu);
    EXPECT_EQ(formatSettings(loadSettings(d.dataFolder())), "0 20 80 1 1");
}

TEST(Screens, StartUpReadsSettingsAndPlayerNameAndF11SurvivesARestart) {
    TempFolder tmp;
    tmp.write("settings.txt", "1 150 -5");
    tmp.write("player_name.txt", "ABCDEFGHIJKLMNOPQRST\n");
    {
        GameDriver d(tmp.path());
        ASSERT_TRUE(d.start());
        EXPECT_EQ(d.game().playerName, "ABCDEFGHIJKLMN");
        d.game().openOptions();
        d.step();
        EXPECT_EQ(labelOf(d, kOptMusic), "Music: 100%");
        EXPECT_EQ(labelOf(d, kOptSound), "Sound: 0%");
        EXPECT_EQ(labelOf(d, kOptFullscreen), "Fullscreen: On");
        EXPECT_EQ(labelOf(d, kOptShowFps), "Show FPS: Off");
        d.press(K::F11);
        EXPECT_EQ(labelOf(d, kOptFullscreen), "Fullscreen: Off");
        d.press(K::F11);
        d.press(K::F11);
        EXPECT_EQ(labelOf(d, kOptFullscreen), "Fullscreen: Off");
    }
    tmp.write("player_name.txt", "\x01\x02\x03\x7f");
    {
        GameDriver d(tmp.path());
        ASSERT_TRUE(d.start());
        EXPECT_EQ(d.game().playerName, "Player");
        EXPECT_FALSE(d.game().settings.fullscreen);
        d.game().openOptions();
        selectButton(d, kOptFullscreen);
        d.press(K::Enter);
        EXPECT_TRUE(d.game().settings.fullscreen);
        EXPECT_TRUE(d.open());
    }
    GameDriver d(tmp.path());
    ASSERT_TRUE(d.start());
    EXPECT_TRUE(d.game().settings.fullscreen);
}

TEST(Screens, ExtrasShowsTheAchievementsAndGoesBack) {
    GameDriver d;
    writeFile(d, "achievements.txt", "5 37");
    ASSERT_TRUE(d.start());
    d.step();
    selectButton(d, 5);
    d.press(K::Enter);
    ASSERT_EQ(d.screen(), GameState::Extras);
    EXPECT_EQ(d.game().achievements.baddiesBroken, 37);
    d.step(5);
    d.saveFrame("screens_extras.png");
    const sf::Image img = d.frameImage();
    // Unlocked boxes (0 and 2) wear the gold edge, a locked one does not.
    EXPECT_EQ(img.getPixel(43, 126), sf::Color(255, 220, 90));
    EXPECT_EQ(img.getPixel(633, 126), sf::Color(255, 220, 90));
    EXPECT_NE(img.getPixel(338, 126), sf::Color(255, 220, 90));
    d.press(K::Enter);
    EXPECT_EQ(d.screen(), GameState::MainMenu);
    d.game().openExtras();
    d.press(K::Escape);
    EXPECT_EQ(d.screen(), GameState::MainMenu);
    EXPECT_TRUE(d.open());
}

TEST(Screens, TheEndingTurnsFourPagesThenReturnsToTheTitle) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.game().session.score = 98765;
    d.game().openEnding();
    EXPECT_EQ(d.game().audio.playingId(), "title");
    d.step();
    d.saveFrame("screens_ending.png");
    d.press(K::Escape);  // the ending is not skipped
    EXPECT_EQ(d.screen(), GameState::Ending);
    for (int i = 1; i < kEndingPageCount; ++i) {
        d.press(i % 2 ? K::Enter : K::Space);
        EXPECT_EQ(d.game().storyPage, i);
        EXPECT_EQ(d.screen(), GameState::Ending);
    }
    d.click({480, 270});
    EXPECT_EQ(d.screen(), GameState::MainMenu);
    EXPECT_EQ(d.selectedButton(), 0);
}

TEST(Screens, TheTitleScreenDrawsOverTheBackdrop) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step(40);
    d.saveFrame("screens_title.png");
    d.game().openSaveSelect();
    d.step();
    d.saveFrame("screens_save_empty.png");
    d.game().save.zone = 0;
    d.game().openStory();
    d.step();
    d.press(K::Enter);
    d.press(K::Enter);
    d.saveFrame("screens_story_ovim.png");
    EXPECT_EQ(d.game().storyPage, 2);
}
