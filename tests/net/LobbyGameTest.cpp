// The game object in a lobby: hosting and joining through the multiplayer
// screen and the invite file, acts started by the lobby, the states
// sent from play, the finish rules, and the way back to the lobby.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "net/InviteCode.h"
#include "net/LobbyBot.h"
#include "net/NetSupport.h"
#include "render/Hud.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

// Frames of the game and the bots until done() holds (60 s of wall time at most).
bool runUntil(GameDriver& d, const std::vector<LobbyBot*>& bots, const std::function<bool()>& done,
              int maxFrames = 60 * 60) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < maxFrames; ++i) {
        d.step();
        for (LobbyBot* b : bots) b->update(GameDriver::kFrame);
        if (done()) return true;
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(60)) return false;
    }
    return false;
}

// A bot; the notices it hears are kept in heard.
std::unique_ptr<LobbyBot> makeBot(const std::string& name, int hero, float speed,
                                  std::vector<std::string>* heard = nullptr) {
    auto bot = std::make_unique<LobbyBot>();
    if (heard)
        bot->onEvent = [heard](const LobbyEvent& e) {
            if (e.type == LobbyEvent::Notice) heard->push_back(e.text);
        };
    bot->lobby.config = loopbackConfig();
    bot->name = name;
    bot->hero = hero;
    bot->speed = speed;
    return bot;
}

// From the title into the multiplayer screen.
void openLobbyScreen(GameDriver& d) {
    for (int guard = 0; guard < 10 && d.selectedButton() != 1; ++guard) d.press(K::Down);
    d.press(K::Enter);
}

// Puts the hero a little before the goal sign and runs into it.
bool runIntoGoal(GameDriver& d, const std::vector<LobbyBot*>& bots) {
    Mivoland2& g = d.game();
    const float x = g.session.goalX - 220.0f;
    const GroundHeight ground = g.level.groundHeightAt(x);
    g.player = makePlayer(g.player.hero, {x, (ground ? ground.y : g.session.goalY) - 18.0f});
    g.session.camera = {x, g.player.y};
    d.hold(K::Right);
    const bool reached = runUntil(d, bots, [&] { return g.session.goalReached; }, 60 * 10);
    d.release(K::Right);
    return reached;
}

}  // namespace

TEST(LobbyGame, TheHostRacesABotAndTheFinishOrderReachesBoth) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    Mivoland2& g = d.game();
    g.lobby.config = loopbackConfig();
    g.playerName = "Host";
    d.step();
    openLobbyScreen(d);
    ASSERT_EQ(d.screen(), GameState::Multiplayer);
    EXPECT_EQ(g.audio.playingId(), "lobby");
    d.click(buttonCentre("host"));
    ASSERT_EQ(g.lobby.role, LobbyRole::Host);
    ASSERT_TRUE(decodeInviteCode(g.lobby.code).valid);

    std::vector<std::string> heard;
    auto bot = makeBot("Botty", 4, 4000.0f, &heard);
    const InviteTarget t = decodeInviteCode(g.lobby.code);
    ASSERT_TRUE(bot->lobby.joinLobby(t.address, t.port, false, bot->name, bot->hero));
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return g.lobby.players.size() == 2 && bot->lobby.welcomed; }));
    EXPECT_EQ(d.toast(), "Botty joined the lobby!");
    d.click(buttonCentre("charR"));  // the host picks hero 1
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return bot->lobby.findPlayer(0)->hero == 1; }));
    d.click(buttonCentre("zoneR"));
    EXPECT_EQ(g.lobby.settings.zone, 1);
    d.saveFrame("lobby_screen_host.png");

    d.click(buttonCentre("start"));  // The host's own start event is taken up next frame.
    d.step();
    ASSERT_EQ(d.screen(), GameState::Playing);
    EXPECT_EQ(g.level.zone, 1);
    EXPECT_EQ(g.level.act, 1);
    EXPECT_EQ(g.player.hero, 1);
    EXPECT_EQ(g.playMode(), PlayMode::Multiplayer);
    EXPECT_NEAR(g.session.titleCardTime, 2.0f, 0.05f);
    EXPECT_EQ(g.session.titleCardLength, 2.0f);
    // "Restart" from the pause menu starts the act again with the lobby's card.
    d.step(30);
    d.press(K::Escape);
    ASSERT_TRUE(g.paused);
    d.press(K::Down);
    d.press(K::Enter);
    EXPECT_FALSE(g.paused);
    EXPECT_NEAR(g.session.titleCardTime, 2.0f, 0.05f);
    EXPECT_EQ(g.session.titleCardLength, 2.0f);
    EXPECT_TRUE(g.session.goalPresent);
    EXPECT_TRUE(g.session.bossDefeated);
    EXPECT_FLOAT_EQ(g.session.goalX, g.level.bossX - 160.0f);
    HudInfo hud;
    g.lobbyHud(hud);
    EXPECT_EQ(hud.multiplayer, HudInfo::Race);
    EXPECT_EQ(hud.players, 2);

    // The bot runs off; for a second the two see each other's states, the
    // host's arriving every 0.05 s.
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return bot->playing; }));
    float oldest = 0;
    for (int i = 0; i < 60; ++i) {
        d.step();
        bot->update(GameDriver::kFrame);
        if (i > 5) oldest = std::max(oldest, bot->lobby.findPlayer(0)->age);
        if (i == 3) d.saveFrame("lobby_act_host_sees_bot.png");
    }
    EXPECT_LT(oldest, 0.09f);
    const LobbyPlayer& hostSeen = *bot->lobby.findPlayer(0);
    EXPECT_EQ(hostSeen.zone, 1);
    EXPECT_EQ(hostSeen.act, 1);
    EXPECT_EQ(hostSeen.flags & kStateVisible, kStateVisible);
    const RemoteScene scene = g.lobbyRemoteScene();
    ASSERT_EQ(scene.peers->size(), 2u);
    EXPECT_FALSE(remotePeerShown((*scene.peers)[0], 1, 1));  // the host itself
    EXPECT_TRUE(remotePeerShown((*scene.peers)[1], 1, 1));   // the bot
    EXPECT_FALSE(remotePeerShown((*scene.peers)[1], 1, 2));  // not from another act

    // The bot crosses the line first.
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return g.lobby.findPlayer(bot->lobby.ownId)->finishPlace == 1; }));
    EXPECT_EQ(d.toast(), "Botty finished 1st!");
    EXPECT_TRUE(g.lobby.settings.started);

    // Then the host, who goes back to the lobby screen.
    ASSERT_TRUE(runIntoGoal(d, {bot.get()}));
    EXPECT_EQ(d.screen(), GameState::Playing);
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return d.screen() == GameState::Multiplayer; }));
    EXPECT_TRUE(g.mpScreen.lobbyPage);
    EXPECT_EQ(g.audio.playingId(), "lobby");
    EXPECT_TRUE(g.achievements.has(11));
    EXPECT_FALSE(g.lobby.settings.started);
    EXPECT_EQ(g.lobby.players[0].finishPlace, 2);
    EXPECT_GT(g.lobby.players[0].finishTime, 0.0f);
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return !bot->lobby.settings.started; }));
    EXPECT_EQ(bot->lobby.players[0].finishPlace, 2);
    EXPECT_EQ(bot->lobby.players[1].finishPlace, 1);
    EXPECT_EQ(heard, (std::vector<std::string>{"Botty joined the lobby!", "Botty finished 1st!", "Host finished 2nd!"}));
    d.step(10);
    d.saveFrame("lobby_screen_after_race.png");
}

TEST(LobbyGame, AnInviteFileJoinsAndTogetherWaitsForTheNextAct) {
    auto bot = makeBot("Hosty", 2, 0.0f);
    ASSERT_TRUE(bot->lobby.hostLobby(false, bot->name, bot->hero));
    bot->lobby.changeSettings(0, 1, kModeTogether);

    GameDriver d;
    ASSERT_TRUE(d.start());
    Mivoland2& g = d.game();
    g.lobby.config = loopbackConfig();
    g.playerName = "Guest";
    d.step();
    std::ofstream(d.dataFolder() + "invite.txt") << "  " << bot->lobby.code << "\nignored words\n";
    d.step();
    EXPECT_FALSE(std::filesystem::exists(d.dataFolder() + "invite.txt"));
    EXPECT_EQ(d.screen(), GameState::Multiplayer);
    EXPECT_EQ(g.inviteField, bot->lobby.code);
    ASSERT_EQ(g.lobby.role, LobbyRole::Client);
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return g.lobby.welcomed && g.lobby.players.size() == 2; }));
    d.saveFrame("lobby_screen_guest.png");

    bot->lobby.hostStartAct();
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return d.screen() == GameState::Playing; }));
    EXPECT_EQ(g.level.act, 1);
    HudInfo hud;
    g.lobbyHud(hud);
    EXPECT_EQ(hud.multiplayer, HudInfo::Together);
    EXPECT_FALSE(hud.waitingForNextAct);

    ASSERT_TRUE(runIntoGoal(d, {bot.get()}));
    // Together: after the goal the guest stays in the act and waits.
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return g.lobbyGoalReached; }));
    EXPECT_EQ(d.screen(), GameState::Playing);
    HudInfo waiting;
    g.lobbyHud(waiting);
    EXPECT_TRUE(waiting.waitingForNextAct);
    EXPECT_TRUE(g.achievements.has(11));
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return g.level.act == 2; }));
    EXPECT_EQ(d.toast(), "Guest reached the goal - on to the next act!");
    EXPECT_FALSE(g.lobbyGoalReached);
    EXPECT_EQ(d.screen(), GameState::Playing);

    // "Back to Lobby" leaves the act but not the lobby.
    d.press(K::Escape);
    ASSERT_TRUE(g.paused);
    const MenuList& pause = g.session.pauseList;
    ASSERT_EQ(pause.buttons[3].label, "Back to Lobby");
    EXPECT_FALSE(pause.buttons[2].enabled);
    for (int guard = 0; guard < 8 && pause.selected != 3; ++guard) d.press(K::Down);
    d.press(K::Enter);
    EXPECT_EQ(d.screen(), GameState::Multiplayer);
    EXPECT_TRUE(g.lobby.inGame());
    EXPECT_TRUE(g.mpScreen.lobbyPage);
    EXPECT_FALSE(g.paused);

    // Back into the next act, then the host goes away.
    bot->lobby.hostStartAct();
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return d.screen() == GameState::Playing; }));
    bot->lobby.leaveLobby();
    ASSERT_TRUE(runUntil(d, {bot.get()}, [&] { return d.screen() == GameState::Multiplayer; }));
    EXPECT_EQ(d.toast(), "Disconnected from the lobby");
    EXPECT_EQ(g.lobby.role, LobbyRole::None);
    EXPECT_FALSE(g.mpScreen.lobbyPage);
    EXPECT_EQ(g.lobby.error, kHostLostText);
}

TEST(LobbyGame, InviteFilesOutsideTheTitleWaitAndBadCodesSayWhatACodeLooksLike) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    Mivoland2& g = d.game();
    g.lobby.config = loopbackConfig();
    d.step();

    // Not a code: the screen opens with the hint and nothing joins.
    std::ofstream(d.dataFolder() + "invite.txt") << "MIVO-ABO-DEFG";
    d.step();
    EXPECT_EQ(d.screen(), GameState::Multiplayer);
    EXPECT_EQ(g.lobby.role, LobbyRole::None);
    EXPECT_EQ(g.lobby.error, "That doesn't look like an invite code. It's like MIVO-ABC-DEFG.");
    EXPECT_FALSE(std::filesystem::exists(d.dataFolder() + "invite.txt"));
    d.saveFrame("lobby_screen_bad_code.png");

    // While hosting, an invite only waits in the field.
    d.click(buttonCentre("host"));
    ASSERT_EQ(g.lobby.role, LobbyRole::Host);
    const std::string own = g.lobby.code;
    const std::string other = encodeInviteCode(kLoopback, 3, false);
    std::ofstream(d.dataFolder() + "invite.txt") << inviteMessage(other).substr(inviteMessage("").size());
    d.step();
    EXPECT_EQ(d.toast(), "Invite received! Join it from Multiplayer");
    EXPECT_EQ(g.inviteField, other);
    EXPECT_EQ(g.lobby.role, LobbyRole::Host);
    EXPECT_EQ(g.lobby.code, own);

    // A folder of that name is left alone.
    std::filesystem::create_directory(d.dataFolder() + "invite.txt");
    d.step(2);
    EXPECT_TRUE(std::filesystem::is_directory(d.dataFolder() + "invite.txt"));
}
