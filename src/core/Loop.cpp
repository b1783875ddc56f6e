#include "core/Loop.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/System/Clock.hpp>

#include "core/Mivoland2.h"
#include "core/platform/DropTarget.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Platform.h"
#include "mods/Package.h"
#include "persist/PlayerName.h"
#include "render/Draw.h"

Mivoland2::Mivoland2(Mivoland2Options opts) : options(std::move(opts)) {
    lobby.config.routerTargets = options.routerTargets;  // the router work of an Internet host
    if (options.keys) {
        keys = options.keys;
    } else {
        liveKeys = std::make_unique<LiveKeySource>(window);
        keys = liveKeys.get();
    }
}

Mivoland2::~Mivoland2() = default;

void Mivoland2::startupStep(const char* name) {
    if (options.startupStep) options.startupStep(name);
}

// Only what the first menu frame needs happens before it: finishStartUp()
// does the rest right after the first frame is shown (the sound device, the
// effects and the songs are then made on background threads, so they neither
// hold up nor compete with the first frame).
bool Mivoland2::startUp() {
    dataDir = options.dataFolder.empty() ? dataFolder() : withTrailingSeparator(options.dataFolder);
    if (!options.dataFolder.empty()) createDirectories(dataDir);

    settings = loadSettings(dataDir);
    startupStep("settings");
    createWindow();
    startupStep("window");
    if (!loadFont()) {
        window.close();
        return false;
    }
    startupStep("font");
    audio.startSoundBankLater();
    audio.buildMusicCatalogue(false);  // the songs are registered: the title can be picked
    startupStep("music catalogue");
    goToMainMenu();
    startupStep("main menu");
    return true;
}

void Mivoland2::finishStartUp() {
    if (startupFinished) return;
    startupFinished = true;
    audio.startSoundBank();    // the title starts once the device is open and its song rendered
    audio.renderSongsAhead();  // the title first
    achievements = loadAchievements(dataDir);
    removeInstallLeftovers(modsFolder());  // what an install cut short left behind
    // Temporary files of writes a crash cut short (ten minutes old at least,
    // so another copy of the game writing right now keeps its own).
    removeStaleWriteTemporaries(dataDir, std::chrono::minutes(10));
    removeStaleWriteTemporaries(modsFolder(), std::chrono::minutes(10));
    reloadMods();
    setupScriptHost();  // after the mods are scanned
    playerName = loadPlayerName(dataDir);
    startupStep("achievements, name");
}

int Mivoland2::run() {
    if (!startUp()) return 1;
    sf::Clock clock;
    while (window.isOpen()) frame(clock.restart().asSeconds());
    writeAchievements();  // the broken-baddie count of this run
    leaveLobbyAtExit();  // net/LobbyGame.cpp
    return 0;
}

void Mivoland2::frame(float seconds) {
    const float dt = capFrameTime(seconds);
    totalTime += dt;
    handleEvents();
    if (!window.isOpen()) return;
    update(dt);
    if (!window.isOpen()) return;
    draw();
    fps.frame(seconds);
    if (!startupFinished) {
        startupStep("first frame");
        finishStartUp();
    }
}

void Mivoland2::update(float dt) {
    toast.tick(dt);
    audio.update();
    if (input.pressed(sf::Keyboard::F11)) toggleFullscreen();
    if (dropTarget) dropTarget->pump();  // dropped files join the dropped-file list
    // Dropped files and the download inbox (mods/ModsGame.cpp), the invite file,
    // the lobby's sockets and events (net/LobbyGame.cpp): all once the first frame
    // is out and the mods and the player's name have been read.
    if (startupFinished) {
        updateModFiles();
        updateLobbyNetwork(dt);
    }

    switch (state) {
        case GameState::MainMenu: updateMainMenu(); break;
        // Menu screens (core/SaveSelect.cpp, HeroSelect.cpp, Story.cpp, ...).
        case GameState::SaveSelect: updateSaveSelect(); break;
        case GameState::HeroSelect: updateHeroSelect(); break;
        case GameState::Story: updateStory(); break;
        case GameState::Ending: updateEnding(); break;
        case GameState::Options: updateOptions(); break;
        case GameState::Extras: updateExtras(); break;
        // Play session (gameplay/Playing*.cpp).
        case GameState::Playing: updatePlaying(dt); break;
        case GameState::ActResults: updateActResults(dt); break;
        case GameState::ActSelect: updateActSelect(); break;
        // Special stage and hidden temple (gameplay/SpecialScreen.cpp, TempleScreen.cpp).
        case GameState::SpecialStage: updateSpecialStage(dt); break;
        case GameState::HiddenTemple: updateHiddenTemple(dt); break;
        // Mivo Maker (maker/MakerScreen.cpp).
        case GameState::Maker: updateMaker(dt); break;
        case GameState::Multiplayer: updateMultiplayerScreen(); break;  // net/LobbyScreen.cpp
        case GameState::Mods: updateModsScreen(); break;  // mods/ModsScreen.cpp
        default: break;
    }
}

void Mivoland2::drawScreen(DrawContext& ctx) {
    switch (state) {
        case GameState::MainMenu: drawMainMenu(ctx); break;
        // Menu screens (core/SaveSelect.cpp, HeroSelect.cpp, Story.cpp, ...).
        case GameState::SaveSelect: drawSaveSelect(ctx); break;
        case GameState::HeroSelect: drawHeroSelect(ctx); break;
        case GameState::Story: drawStory(ctx); break;
        case GameState::Ending: drawEnding(ctx); break;
        case GameState::Options: drawOptions(ctx); break;
        case GameState::Extras: drawExtras(ctx); break;
        // Play session (gameplay/PlayingDraw.cpp).
        case GameState::Playing: drawPlaying(ctx); break;
        case GameState::ActResults: drawActResults(ctx); break;
        case GameState::ActSelect: drawActSelect(ctx); break;
        // Special stage and hidden temple (gameplay/SpecialScreen.cpp, TempleScreen.cpp).
        case GameState::SpecialStage: drawSpecialStage(ctx); break;
        case GameState::HiddenTemple: drawHiddenTemple(ctx); break;
        // Mivo Maker (maker/MakerScreen.cpp).
        case GameState::Maker: drawMaker(ctx); break;
        case GameState::Multiplayer: drawMultiplayerScreen(ctx); break;  // net/LobbyScreen.cpp
        case GameState::Mods: drawModsScreen(ctx); break;  // mods/ModsScreen.cpp
        default: break;
    }
    drawToast(ctx);
    drawFps(ctx);
}

void Mivoland2::draw() {
    window.clear(sf::Color::Black);
    window.setView(view);
    DrawContext ctx{window, font};
    drawScreen(ctx);
    window.display();
}

sf::Image Mivoland2::captureFrame() {
    sf::RenderTexture target;
    if (!target.create(960, 540)) return {};
    target.clear(sf::Color::Black);
    target.setView(sf::View(sf::FloatRect(0.0f, 0.0f, 960.0f, 540.0f)));
    DrawContext ctx{target, font};
    drawScreen(ctx);
    target.display();
    return target.getTexture().copyToImage();
}
