#pragma once
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>
#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/AudioSystem.h"
#include "core/FpsCounter.h"
#include "core/GameState.h"
#include "core/Input.h"
#include "core/MenuList.h"
#include "core/Toast.h"
#include "content/Bosses.h"
#include "content/Heroes.h"
#include "gameplay/ActFlow.h"
#include "gameplay/Player.h"
#include "gameplay/Special.h"
#include "gameplay/Temple.h"
#include "level/Effects.h"
#include "level/Level.h"
#include "maker/MakerEditor.h"
#include "mods/ModInfo.h"

#include "core/platform/Clipboard.h"
#include "net/Lobby.h"
#include "net/MultiplayerPage.h"
#include "persist/Achievements.h"
#include "persist/SaveSlot.h"
#include "render/BossInView.h"
#include "render/Hero.h"
#include "persist/Settings.h"
#include "script/Script.h"

struct DrawContext;
class DropTarget;

struct HudInfo;

// How a game object is set up. The defaults are the real game; tests and
// tools choose a data folder, script the keys and hide the window.
struct Mivoland2Options {
    std::string dataFolder;              // empty: the user's data folder
    KeySource* keys = nullptr;           // held keys; null: the live keyboard and gamepad
    bool visibleWindow = true;           // false: a hidden window
    bool paceFrames = true;              // false: no 60 frames per second limit
    std::vector<std::string> fontPaths;  // empty: the system's UI fonts
    // Where an Internet host looks for its router and its public address
    // (the real ones by default; tests point them at loopback).
    mp::RouterTargets routerTargets;
    Clipboard* clipboard = nullptr;  // null: the desktop's clipboard

    // Opens a folder or a web address for the player ("Get Mods", "Folder");
    // empty: the desktop's handler (openPath). Tests record instead.
    std::function<bool(const std::string&)> openExternal;
    // Called with a step's name as each start-up step ends (and with "first
    // frame" once the first frame is shown); tools/startup_time times them.
    std::function<void(const char*)> startupStep;
};

// The game: owns the window and every piece of state for the whole run.
// Member functions live in the file of the screen or subsystem they belong to.
class Mivoland2 {
public:
    explicit Mivoland2(Mivoland2Options options = {});
    ~Mivoland2();
    Mivoland2(const Mivoland2&) = delete;
    Mivoland2& operator=(const Mivoland2&) = delete;

    // ---- Start-up and main loop (core/Loop.cpp) ---------------------------
    // run(): start-up, then frames until the window closes. Returns 1 when no
    // UI font could be loaded, else 0.
    int run();
    bool startUp();             // false: no UI font
    void frame(float seconds);  // one pass: events, update, draw; seconds = real frame time
    void update(float dt);
    void draw();
    void drawScreen(DrawContext& ctx);  // the current screen and the overlays, in logical units
    sf::Image captureFrame();           // drawScreen into a 960 x 540 image

    Mivoland2Options options;
    float totalTime = 0.0f;  // sum of all frame steps

    // ---- Window, view, font and files (core/Window.cpp) -------------------
    void createWindow();
    void applyLetterbox(sf::View& v);
    bool loadFont();
    void toggleFullscreen();  // F11: flips the setting, saves it, recreates the window

    sf::RenderWindow window;
    sf::View view{sf::FloatRect(0.0f, 0.0f, 960.0f, 540.0f)};
    sf::Font font;
    std::string dataDir;  // ends with the path separator

    // ---- Input (core/Events.cpp; the snapshot rules in core/Input.h) -------
    void handleEvents();
    void handleEvent(const InputEvent& e);
    void injectEvent(const InputEvent& e);  // handled before the window's own events
    sf::Vector2f toLogical(sf::Vector2i pixel) const;

    InputState input;
    KeySource* keys = nullptr;
    std::unique_ptr<KeySource> liveKeys;
    std::deque<InputEvent> injectedEvents;

    // ---- Screens and menu lists (core/Menus.cpp) --------------------------
    int runMenuList(MenuList& list);  // index of the chosen button or -1

    GameState state = GameState::MainMenu;
    bool paused = false;  // meaningful in Playing
    MenuList menu;

    // ---- Main menu (core/MainMenu.cpp) ------------------------------------
    void goToMainMenu();
    void updateMainMenu();
    void drawMainMenu(DrawContext& ctx);

    // ---- Toast and FPS counter (core/Toast.cpp, core/FpsCounter.cpp) ------
    void showToast(std::string message);
    void drawToast(DrawContext& ctx);
    void drawFps(DrawContext& ctx);

    Toast toast;
    FpsCounter fps;

    // ---- Settings (persist/Settings.h; F11 in core/Window.cpp) ------------
    Settings settings;

    // ---- Sound effects and music (audio/GameAudio.cpp, audio/AudioSystem.h) --
    // Effects by number (SoundId in audio/SoundEffects.h) at the sound volume;
    // songs by id at the music volume.
    void playSound(int pool, float pitch = 1.0f);
    void playMusic(const std::string& id);
    void applyMusicVolume();                 // the playing song follows settings.musicVolume
    std::string zoneMusicId(int zone) const; // "mod" or the zone's song
    bool inMultiplayerGame() const { return lobby.inGame(); }  // hosting, or joined and connected

    AudioSystem audio;

    // ---- Menu screens: title, save select, hero select, options, extras,
    // story and ending (core/Title.cpp, core/SaveSelect.cpp,
    // core/HeroSelect.cpp, core/Options.cpp, core/Extras.cpp, core/Story.cpp,
    // core/Ending.cpp). Each open* builds the screen's list and enters it.
    void openSaveSelect();
    void updateSaveSelect();
    void drawSaveSelect(DrawContext& ctx);
    void chooseSaveSlot(int slot);  // continue a used slot, or a new game in an empty one

    void openHeroSelect();
    void updateHeroSelect();
    void drawHeroSelect(DrawContext& ctx);
    void startNewGame();  // "Start!": the picked hero from zone 0 act 1, then the story

    void openOptions();
    void updateOptions();
    void drawOptions(DrawContext& ctx);
    void leaveOptions();  // saves the settings and returns to the title

    void openExtras();
    void updateExtras();
    void drawExtras(DrawContext& ctx);

    void openStory();   // page 0, music "the_unspoken"
    void updateStory();
    void drawStory(DrawContext& ctx);

    void openEnding();  // page 0, music "title"; entered after the final act
    void updateEnding();
    void drawEnding(DrawContext& ctx);

    // A hero figure on a menu screen (the backdrop is render/Background.h's).
    void drawMenuHero(DrawContext& ctx, int hero, sf::Vector2f centre, float scale, float time, float spin = 0.0f);

    bool deleteMode = false;  // save select: choosing a slot deletes it
    int heroPick = 0;         // hero select: the highlighted hero 0..8
    std::array<SaveSlot, kSaveSlotCount> slotPreview;  // save select: the three slot files as read

    std::string playerName;  // the name shown to other players ("player_name.txt")

    // ---- Play session (gameplay/Playing*.cpp; the pure steps in gameplay/ActFlow.h)
    // A story act: stores it in the save record, raises the furthest act,
    // generates the level and begins it with the save's hero.
    void startAct(int zone, int act);
    // Begins any act: a story act, a maker course or a multiplayer act.
    void beginAct(const Level& newLevel, int hero);
    void updatePlaying(float dt);
    void clearAct();              // the act is over: results, or back to the maker or lobby
    void continueAfterResults();  // the next act, or the ending
    void updateActResults(float dt);
    void openActSelect();
    void updateActSelect();
    // Back into the act from a bonus stage: Playing, 1 s of mercy, the act's music.
    void returnToAct();
    PlayMode playMode() const;
    std::string actMusicId() const;  // the boss's music during a fight, else the zone's
    void drawActWorld(DrawContext& ctx);  // the act as the world renderer draws it
    void drawPlaying(DrawContext& ctx);
    void drawActResults(DrawContext& ctx);
    void drawActSelect(DrawContext& ctx);

    // Steps of updatePlaying (gameplay/Playing.cpp).
    void updatePauseMenu();
    void handlePlayerEvents();
    void updateEffects(float dt);
    void respawnAfterDeath();
    void runObjectPasses(float dt);  // items, baddies, hazards (gameplay/PlayingObjects.cpp)
    // A stone portal was touched (it is marked used): the special stage or
    // the temple takes over from here.
    void enterStonePortal(int portal);
    // The boss fight (gameplay/PlayingBoss.cpp).
    void startBossFight();
    void updateBossFight(float dt);
    void defeatBoss();
    void resetBoss();
    std::optional<sf::Vector2f> bossTarget() const;  // for the homing attack
    bool bossPresent() const;  // fighting, or beaten and still sinking away
    void addShake(float seconds) { session.shakeTime = std::max(session.shakeTime, seconds); }

    // Hooks for the parts that attach to an act; they do nothing until then.
    void fireEvent(const std::string& name);        // mod scripts (gameplay/PlayingScripts.cpp)
    void runScriptTimers(float dt);                 // the mods' "every" handlers
    void sendPlayerState();                         // multiplayer, every 0.05 s
    void updateDebugEditor(float dt);               // the debug editor while active
    void onCourseCleared();                         // back to the maker
    void onMultiplayerCleared();                    // the lobby's finish rules

    ActState session;
    Level level;
    Level actStartLevel;  // the level as begun: a course restarts from it
    Player player;
    PlayerModifiers playerMods;  // the active mods' factors
    bool noBaddies = false;      // the "nobadniks" mod modifier
    Effects effects;
    XorShift32 effectsRng{kEffectsSeed};
    BossState boss;  // the act's boss, while a fight runs and while it sinks away
    PlayerLook playerLook;  // the mods' tint and picture

    // ---- Debug editor (debug/DebugMode.cpp; the pure steps in debug/DebugEditor.h)
    // In a "No Save" act with the debug setting on, B turns the act into a
    // placement editor (session.debugActive); updateDebugEditor runs it
    // instead of the rest of the play frame.
    bool debugAllowed() const;      // setting on, no slot, no lobby, no course test
    void toggleDebug();             // B; also switches off when no longer allowed
    void setDebugActive(bool on);   // ends the form; off stops the hero with 1 s of mercy
    void updateDebug(float dt);     // palette, flying, placing and removing
    void applyDebugEntry(sf::Vector2f cursor);  // the selected entry at a world point
    void debugRemoveNear(sf::Vector2f point);   // the nearest removable object within 50
    void drawDebugHud(DrawContext& ctx);

    int debugPaletteIndex = 0;  // the selected palette entry, 0..20

    // ---- The boss in view (gameplay/PlayingBoss.cpp) ------------------------
    // The marker at the screen's edge pointing at a fought boss outside the
    // view; none while it is in view, hidden (vanished or burrowed) or beaten.
    std::optional<BossMarker> bossMarker() const;

    // ---- Save slot and achievements (gameplay/PlayingSave.cpp) ------------
    // Takes up a story game: the slot (-1 for "No Save"), its record and its
    // score. A new game passes a fresh record with the chosen hero. The
    // caller then shows the story or calls startAct with the record's act.
    void beginStoryGame(int slot, const SaveSlot& record);
    // A slot is in use, not on the main menu, no course, no multiplayer game.
    bool savingAllowed() const;
    // Writes the slot with the exists flag and the current score when allowed.
    void writeSave();
    void saveOnWindowClose();
    // Sets the bit; a new unlock writes "achievements.txt", shows the toast
    // and plays sound 9.
    void unlockAchievement(int index);
    void countBaddieBroken();  // one more enemy broken; 50 unlocks "Baddie Breaker"
    void writeAchievements();

    int currentSlot = -1;  // -1: a "No Save" game
    SaveSlot save;         // the record of the game being played
    AchievementState achievements;
    int storyPage = 0;     // page of the story and ending screens

    // ---- Special stage (gameplay/SpecialScreen.cpp) -----------------------
    // Shows the run of the entry (screen SpecialStage, music "special"); an
    // entry that does not start leaves everything as it is.
    void startSpecialRun(const SpecialEntry& entry);
    void updateSpecialStage(float dt);
    void drawSpecialStage(DrawContext& ctx);
    // The run's result has been shown: back into the act.
    void endSpecialRun(int result);

    SpecialRun specialRun;
    int specialStone = 0;        // the stone the run is for, 0..6
    bool specialDivine = false;  // a Divine run

    // ---- Hidden temple (gameplay/TempleScreen.cpp) ------------------------
    // Opens the temple for a visit: the hero, the Divine Stones held and the
    // hero's full jump speed stay as they are for the whole visit.
    void openTemple(bool introSeen, int hero, int divineStones, float jumpSpeed);
    void updateHiddenTemple(float dt);
    void drawHiddenTemple(DrawContext& ctx);
    void templeIntroSeen();  // the awakening is over
    void leaveTemple();      // back into the act

    TempleState temple;
    int templeHero = 0;
    int templeDivineStones = 0;
    float templeJumpSpeed = 0.0f;

    // ---- Mivo Maker (maker/MakerScreen.cpp; the editor in maker/MakerEditor.h) --
    // "Mivo Maker" on the main menu: loads the current slot's course (unless
    // the maker is already showing), screen Maker, music "lobby".
    void openMaker();
    void updateMaker(float dt);
    int pressMakerButton(int i);  // a MakerResult
    void drawMaker(DrawContext& ctx);
    // Plays a course as a test run: it becomes the editor's course (so "Back
    // to Editor" shows it; no slot file is written), the hero becomes the
    // test hero, and the level built from it begins without a boss. The
    // maker's "Play" and a mod's course both start here.
    void startCourseRun(const Course& course, int hero);
    // From a test run back to the editor (music "lobby"), with a message if given.
    void returnToMaker(const std::string& message = "");
    void nextTestHero();  // the "Hero" button and H: "Testing as ..."

    MakerEditor maker;
    int makerTestHero = 0;           // 0..8
    std::string makerTestHeroName = heroTable()[0].name;  // shown on the "Hero" button

    // ---- Files dropped on the window (core/platform/DropTarget.h) ----------
    // createWindow attaches the drop target to each new window; update
    // services it every frame before the screen's own update, so dropped
    // paths reach the dropped-file list (takeDroppedFiles) on every screen.
    std::unique_ptr<DropTarget> dropTarget;

    // ---- Mods and their scripts (gameplay/PlayingScripts.cpp; the language
    // in script/Script.h, what scripts reach in gameplay/ScriptBindings.h) ---
    // Applies the enabled mods and installs the script host's callbacks on
    // the act in play. Runs at start-up once the mods are scanned.
    void setupScriptHost();
    // fireEvent(name) (declared with the play hooks) runs, only while Playing,
    // every block of that event of every enabled mod with a script that
    // parsed, in mod order; runScriptTimers(dt) ticks their "every" blocks.

    std::vector<ModInfo> mods;     // in mod order
    mivo::ScriptHost scriptHost;

    // ---- Mods: the mods folder, applying the enabled mods, the mods screen
    // and installing dropped or downloaded files (mods/ModsGame.cpp,
    // mods/ModsScreen.cpp; the folder's rules in mods/ModLoader.h) ----------
    std::string modsFolder() const;  // the data folder's "mods"
    void reloadMods();               // scans the mods folder again; forgets the armed row
    // Folds the enabled mods into playerMods, noBaddies, playerLook (tint and
    // picture) and the "mod" song; an act in play takes the new modifiers
    // at once and its song follows the mods.
    void applyMods();
    // The background step: files dropped on the window and, every 0.5 s,
    // the download inbox, installed by handleDroppedFiles.
    void updateModFiles();
    // Installs the files; the installed mods are turned on and named in the
    // toast. Nothing happens for no paths.
    void handleDroppedFiles(const std::vector<std::string>& paths);
    bool openExternal(const std::string& address);  // options.openExternal, or the desktop's handler

    // "Mods" on the main menu: the list rescanned, the script host rebuilt.
    void openModsScreen();
    void updateModsScreen();
    void drawModsScreen(DrawContext& ctx);

    int modsPage = 0;           // from 0
    int modsArmed = -1;         // the mod whose "Delete" reads "Sure?", -1 for none
    float modsInboxCheckedAt = 0.0f;  // run time of the last look at the download inbox
    sf::Texture modPicture;     // the enabled mods' player picture, when one loaded

    // ---- Multiplayer lobby (net/LobbyGame.cpp; the protocol in net/Lobby.h;
    // the multiplayer screen in net/LobbyScreen.cpp) -------------------------
    // The background step of every frame: the invite file, the lobby's
    // sockets, the drawn peers, then the lobby's events.
    void updateLobbyNetwork(float dt);
    void checkInviteFile();
    void handleLobbyEvent(const LobbyEvent& e);
    // An act of the lobby: generated from its zone and act, no boss, the
    // multiplayer hero, a 2 s title card.
    void startLobbyAct(int zone, int act);
    // Decodes typed or pasted text and joins (the LOBBY page shows); an
    // invalid code sets the lobby's error text. True when joining started.
    bool joinByCode(const std::string& text);
    bool inLevel() const;  // an act or one of its bonus stages is on screen
    // The lobby's peers as the world renderer draws them, and the HUD line.
    RemoteScene lobbyRemoteScene();
    void lobbyHud(HudInfo& hud) const;


    Lobby lobby;
    int multiplayerHero = 0;        // the hero used in lobby play
    std::string inviteField;        // the invite code field, at most 13 characters
    bool lobbyGoalReached = false;  // this lobby act's finish has been counted
    bool inviteFileStuck = false;   // "invite.txt" could not be removed: read it once
    std::vector<RemotePeer> remotePeers;

    // ---- The multiplayer screen (net/LobbyScreen.cpp, drawn in
    // net/LobbyScreenDraw.cpp; its rules in net/MultiplayerPage.h) ------------
    // The MULTIPLAYER page to host or join and, once in a lobby, the LOBBY
    // page. Music "lobby". Opening it shows the LOBBY page exactly when a
    // lobby exists; returnToLobbyScreen is the way back from a lobby act.
    void openMultiplayerScreen();
    void returnToLobbyScreen();
    void updateMultiplayerScreen();
    void drawMultiplayerScreen(DrawContext& ctx);
    // Steps of the screen.
    bool updateTextEntry();  // true when the frame's Enter or Escape was taken
    void endNameEdit();      // cleans the name and writes "player_name.txt"
    void clickMultiplayerPage(const std::string& target);
    void clickLobbyPage(const std::string& target);
    void hostFromScreen();
    void pasteInviteCode();
    void shareInvite();
    bool controlHeld() const;
    Clipboard& systemClipboard();  // options.clipboard, or the desktop's
    void drawMultiplayerPage(DrawContext& ctx);
    void drawLobbyPage(DrawContext& ctx);

    MultiplayerScreen mpScreen;
    std::unique_ptr<Clipboard> desktopClipboard;  // made on first use
    // On the way out (run(), after the loop): a lobby still open closes, and
    // a router mapping it opened is removed before the program ends.
    void leaveLobbyAtExit();

    // ---- Fast start (core/Loop.cpp) ------------------------------------------
    // The start-up work the first menu frame does not need: starts the sound
    // device, the effects and the songs in the background and reads the
    // achievements and the player name. frame() runs it once the first frame
    // is shown (tests' GameDriver::start runs it at once).
    void finishStartUp();
    void startupStep(const char* name);  // reports a finished start-up step to options.startupStep

    bool startupFinished = false;  // finishStartUp has run: until then nothing writes the achievements
};
