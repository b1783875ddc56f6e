#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/platform/FileSystem.h"
#include "core/platform/Window.h"
#include "persist/Settings.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

sf::Vector2f buttonCentre(int i) { return {480.0f, 200.0f + 44.0f * float(i) + 19.0f}; }

bool near(sf::Color a, sf::Color b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

}  // namespace

TEST(Game, StartsOnTheMainMenuWithItsSixButtons) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step();
    EXPECT_EQ(d.screen(), GameState::MainMenu);
    const auto& b = d.game().menu.buttons;
    ASSERT_EQ(b.size(), 6u);
    const char* labels[] = {"Play", "Multiplayer", "Mivo Maker", "Mods", "Options", "Extras"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(b[std::size_t(i)].label, labels[i]);
        EXPECT_EQ(b[std::size_t(i)].x, 360.0f);
        EXPECT_EQ(b[std::size_t(i)].y, 200.0f + 44.0f * float(i));
        EXPECT_EQ(b[std::size_t(i)].w, 240.0f);
        EXPECT_EQ(b[std::size_t(i)].h, 38.0f);
    }
    EXPECT_EQ(d.selectedButton(), 0);
}

TEST(Game, KeysAndMouseDriveTheMainMenu) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.press(K::Down);
    d.press(K::S);
    EXPECT_EQ(d.selectedButton(), 2);
    d.press(K::Up);
    d.press(K::W);
    d.press(K::W);
    EXPECT_EQ(d.selectedButton(), 5);

    // The mouse rests on "Options"; the keyboard still moves the selection.
    d.moveMouse(buttonCentre(4));
    EXPECT_EQ(d.selectedButton(), 4);
    d.press(K::Down);
    EXPECT_EQ(d.selectedButton(), 5);
    d.step(3);
    EXPECT_EQ(d.selectedButton(), 5);
    d.moveMouse(buttonCentre(4) + sf::Vector2f(20, 0));
    EXPECT_EQ(d.selectedButton(), 4);

    // Enter, or a click, on "Mods" opens its screen; Escape comes back.
    d.moveMouse(buttonCentre(3));  // "Mods"
    EXPECT_EQ(d.selectedButton(), 3);
    d.press(K::Enter);
    EXPECT_EQ(d.screen(), GameState::Mods);
    d.press(K::Escape);
    EXPECT_EQ(d.screen(), GameState::MainMenu);
    d.click(buttonCentre(3));
    EXPECT_EQ(d.screen(), GameState::Mods);
    EXPECT_TRUE(d.open());
}

TEST(Game, HoldingSpaceDoesNotRepeatAChoice) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.hold(K::Space);
    d.step(5);
    EXPECT_TRUE(d.game().input.jumpHeld);
    EXPECT_FALSE(d.game().input.pressed(K::Space));
    EXPECT_EQ(d.game().runMenuList(d.game().menu), -1);
    d.game().injectEvent(InputEvent::keyPressed(K::Space));
    d.game().handleEvents();
    EXPECT_EQ(d.game().runMenuList(d.game().menu), 0);
}

TEST(Game, EscapeOnTheMainMenuEndsTheProgramWithCodeZero) {
    TempFolder tmp;
    ScriptedKeySource keys;
    Mivoland2Options opts;
    opts.dataFolder = tmp.path();
    opts.keys = &keys;
    opts.visibleWindow = false;
    opts.paceFrames = false;
    Mivoland2 game(opts);
    game.injectEvent(InputEvent::keyPressed(K::Down));
    game.injectEvent(InputEvent::keyPressed(K::Escape));
    EXPECT_EQ(game.run(), 0);
    EXPECT_FALSE(game.window.isOpen());
}

TEST(Game, GamepadStartActsAsEscape) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.keys().pad = true;
    d.keys().buttons = {kPadStart};
    d.step();
    EXPECT_FALSE(d.open());
}

TEST(Game, ClosingTheWindowEndsTheLoop) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.send(InputEvent::of(InputEvent::Closed));
    EXPECT_FALSE(d.open());
}

TEST(Game, WithoutAUiFontRunReturnsOneAndWritesNothing) {
    TempFolder tmp;
    ScriptedKeySource keys;
    Mivoland2Options opts;
    opts.dataFolder = tmp.path() + "data";
    opts.keys = &keys;
    opts.visibleWindow = false;
    opts.fontPaths = {tmp.path() + "no-such-font.ttf", tmp.path()};
    Mivoland2 game(opts);
    EXPECT_EQ(game.run(), 1);
    std::vector<std::string> names;
    listDirectory(tmp.path() + "data", names);
    EXPECT_TRUE(names.empty());
}

TEST(Game, ASlowFrameAdvancesByOneThirtiethOfASecond) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    const float before = d.game().totalTime;
    d.step(1, 0.2f);
    EXPECT_EQ(d.game().totalTime - before, 0.033333335f);
}

TEST(Game, F11TogglesFullscreenAndTheChoiceSurvivesARestart) {
    TempFolder tmp;
    {
        GameDriver d(tmp.path());
        ASSERT_TRUE(d.start());
        EXPECT_FALSE(d.game().settings.fullscreen);
        d.press(K::F11);
        EXPECT_TRUE(d.game().settings.fullscreen);
        EXPECT_TRUE(d.open());
        EXPECT_TRUE(loadSettings(tmp.path()).fullscreen);
    }
    {
        GameDriver d(tmp.path());
        ASSERT_TRUE(d.start());
        EXPECT_TRUE(d.game().settings.fullscreen);
        d.press(K::F11);
        EXPECT_FALSE(loadSettings(tmp.path()).fullscreen);
        EXPECT_EQ(d.game().window.getSize(), sf::Vector2u(960, 540));
    }
}

TEST(Game, LosingFocusPausesPlayButNotMenus) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.send(InputEvent::of(InputEvent::LostFocus));
    EXPECT_FALSE(d.game().paused);
    EXPECT_EQ(d.screen(), GameState::MainMenu);

    d.game().state = GameState::Playing;
    d.send(InputEvent::of(InputEvent::LostFocus));
    EXPECT_TRUE(d.game().paused);
}

TEST(Game, ATouchOnAPlayButtonIsNotAClickButOnTheTitleItChooses) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step();
    d.game().state = GameState::Playing;
    d.touch(0, {885, 465});
    EXPECT_FALSE(d.game().input.clicked);
    EXPECT_EQ(d.game().input.touches.count(0), 1u);
    d.send(InputEvent::touch(InputEvent::TouchEnded, 0, {}));
    EXPECT_TRUE(d.game().input.touches.empty());

    d.game().goToMainMenu();
    d.touch(1, buttonCentre(4));
    EXPECT_TRUE(d.game().input.clicked);
    EXPECT_EQ(d.screen(), GameState::Options);
}

TEST(Game, TheToastAndFpsCounterAreDrawnOverTheScreen) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.game().settings.showFps = true;
    d.game().showToast("Achievement: Back in Action");
    d.step(30);  // half a second: the toast is fully in
    EXPECT_EQ(d.toast(), "Achievement: Back in Action");
    d.saveFrame("toast_and_fps.png");
    const sf::Image img = d.frameImage();
    EXPECT_TRUE(near(img.getPixel(480, 488), sf::Color(20, 20, 50), 8));  // the toast box, above its text
    EXPECT_EQ(img.getPixel(480, 483), sf::Color(255, 220, 90));            // its outline
    bool fpsText = false;
    for (unsigned y = 516; y < 534 && !fpsText; ++y)
        for (unsigned x = 8; x < 60; ++x)
            if (near(img.getPixel(x, y), sf::Color::White, 30)) fpsText = true;
    EXPECT_TRUE(fpsText);
    d.step(160);
    EXPECT_FALSE(d.game().toast.visible());
}

TEST(Game, MainMenuScreenshot) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.step(10);
    const std::string path = d.saveFrame("main_menu.png");
    EXPECT_TRUE(std::filesystem::exists(path));
    const sf::Image img = d.frameImage();
    ASSERT_EQ(img.getSize(), sf::Vector2u(960, 540));
    // The highlighted "Play" button's gold outline and the dark fill of the others.
    const sf::Color gold(255, 220, 90);
    bool outline = false;
    for (unsigned x = 340; x < 362 && !outline; ++x)
        if (img.getPixel(x, 219) == gold) outline = true;
    EXPECT_TRUE(outline);
    EXPECT_NE(img.getPixel(380, 200 + 44 * 3 + 5), img.getPixel(300, 200 + 44 * 3 + 5));
}

TEST(Game, AFullscreenWindowShowsTheViewLetterboxed) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.press(K::F11);
    const sf::Vector2u size = d.game().window.getSize();
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    ASSERT_EQ(size, sf::Vector2u(desktop.width, desktop.height));
    const sf::FloatRect v = d.game().view.getViewport(), want = letterboxViewport(size.x, size.y);
    EXPECT_FLOAT_EQ(v.left, want.left);
    EXPECT_FLOAT_EQ(v.top, want.top);
    EXPECT_FLOAT_EQ(v.width, want.width);
    EXPECT_FLOAT_EQ(v.height, want.height);
    // The bars map outside the logical canvas; the middle stays the middle.
    const sf::Vector2f corner = d.game().toLogical({0, 0});
    EXPECT_TRUE(corner.x < 0.0f || corner.y < 0.0f || (want.left == 0.0f && want.top == 0.0f));
    EXPECT_NEAR(d.game().toLogical({int(size.x / 2), int(size.y / 2)}).x, 480.0f, 1.0f);
    EXPECT_NEAR(d.game().toLogical({int(size.x / 2), int(size.y / 2)}).y, 270.0f, 1.0f);
}
