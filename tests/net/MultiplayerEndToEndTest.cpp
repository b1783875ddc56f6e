// Two game processes meet over an Internet code, through the screens only:
// one hosts a Global lobby with its router (a fake one on the loopback) and
// shows the Global code and what the router did; the other types that code
// into the MULTIPLAYER page, joins, and both see each other in the lobby.
#include <gtest/gtest.h>

#include "net/FakeRouter.h"
#include "net/GameProcess.h"
#include "net/InviteCode.h"

using namespace e2e;

namespace {

std::string openedText(std::uint16_t port) {
    return "Your router opened port " + std::to_string(port) +
           " for the game - friends anywhere can join! (To test it yourself, join from a different internet "
           "connection, like a phone on mobile data.)";
}

// Title -> "Multiplayer".
void openScreen(GameProcess& me) {
    for (int guard = 0; guard < 10 && me.d.selectedButton() != 1; ++guard) me.press(K::Down);
    me.press(K::Enter);
}

std::vector<std::string> names(const Lobby& l) { return playerNames(l); }

}  // namespace

TEST(MultiplayerEndToEnd, AGlobalCodeTypedOnAnotherGameJoinsIt) {
    TempFolder shared;
    runTwoPlayers("MultiplayerEndToEndChild.Play", shared.path());
    if (HasFatalFailure()) return;
    for (const char* shot : {"e2e_mp_host_getting_it.png", "e2e_mp_host_lobby.png", "e2e_mp_guest_typing.png",
                             "e2e_mp_guest_lobby.png"})
        EXPECT_TRUE(std::filesystem::exists(testOutputFolder() + shot)) << shot;
}

TEST(MultiplayerEndToEndChild, Play) {
    const char* role = std::getenv("MIVO_E2E_ROLE");
    const char* dir = std::getenv("MIVO_E2E_DIR");
    if (!role || !dir) GTEST_SKIP() << "one of the two players of MultiplayerEndToEnd; it starts them";
    const bool hosting = std::string(role) == "host";

    // The host's router: it opens the port, keeps its own address to itself,
    // and the Internet sees this machine at 127.0.0.1, so the Global code
    // leads to the loopback.
    FakeRouter router;
    router.publicAddress = "127.0.0.1";
    router.externalAddress = "";
    if (hosting) router.start();

    GameProcess me;
    me.dir = dir;
    me.role = role;
    ASSERT_TRUE(me.d.start());
    Mivoland2& g = me.g();
    g.lobby.config = loopbackConfig();
    if (hosting) {
        mp::RouterTargets t;
        t.ssdpAddress = "127.0.0.1";
        t.ssdpPort = router.ssdpPort();
        t.fallbackRouters = {"127.0.0.1"};
        t.fallbackPort = router.ssdpPort();
        t.publicAddressUrl = router.ipUrl();
        g.lobby.config.routerTargets = t;
    }
    me.frame();
    openScreen(me);
    ASSERT_EQ(me.d.screen(), GameState::Multiplayer);

    // Both name themselves in the name field.
    me.click("name");
    for (int i = 0; i < 14; ++i) me.press(K::Backspace);
    me.type(hosting ? "Hostess" : "Guest");
    me.press(K::Enter);
    EXPECT_EQ(g.playerName, hosting ? "Hostess" : "Guest");

    if (hosting) {
        me.click("global");
        me.click("host");
        ASSERT_EQ(g.lobby.role, LobbyRole::Host);
        ASSERT_TRUE(g.mpScreen.lobbyPage);
        EXPECT_EQ(inviteCodeText(g.lobby, 0.0f), "Getting it");
        me.saveShot("e2e_mp_host_getting_it.png");
        ASSERT_TRUE(me.waitFor([&] { return !g.lobby.code.empty(); }, 30));
        const InviteTarget t = decodeInviteCode(g.lobby.code);
        EXPECT_TRUE(t.global);
        EXPECT_TRUE(g.lobby.global);
        EXPECT_EQ(t.address, kLoopback);
        EXPECT_EQ(g.lobby.status, openedText(g.lobby.tcpPort()));
        writeAtomically(me.dir + "code.txt", g.lobby.code);
        ASSERT_TRUE(me.waitFor([&] { return g.lobby.players.size() == 2; }));
        EXPECT_EQ(names(g.lobby), (std::vector<std::string>{"Hostess", "Guest"}));
        for (int i = 0; i < 20; ++i) me.frame();
        me.saveShot("e2e_mp_host_lobby.png");
        writeAtomically(me.dir + "host_saw.txt", "yes");
        ASSERT_TRUE(me.waitForFile("guest_done.txt"));
        // Leaving the lobby gives the port back.
        me.click("back");
        EXPECT_FALSE(g.mpScreen.lobbyPage);
        ASSERT_TRUE(me.waitFor([&] {
            for (const auto& call : router.calls())
                if (call.action == "DeletePortMapping") return true;
            return false;
        }, 30));
    } else {
        // The code arrives by hand, typed in lower case into the code field.
        ASSERT_TRUE(me.waitForFile("code.txt"));
        const std::string code = readAll(me.dir + "code.txt");
        std::string lower = code;
        for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        me.click("code");
        me.type(lower);
        EXPECT_EQ(g.inviteField, code);
        me.saveShot("e2e_mp_guest_typing.png");
        me.click("join");
        ASSERT_TRUE(g.mpScreen.lobbyPage);
        ASSERT_TRUE(g.lobby.global);
        ASSERT_TRUE(me.waitFor([&] { return g.lobby.welcomed && g.lobby.players.size() == 2; }));
        EXPECT_EQ(names(g.lobby), (std::vector<std::string>{"Hostess", "Guest"}));
        EXPECT_EQ(g.lobby.status, kJoinedGlobalStatus);
        ASSERT_TRUE(me.waitForFile("host_saw.txt"));
        me.saveShot("e2e_mp_guest_lobby.png");
        writeAtomically(me.dir + "guest_done.txt", "yes");
    }
}
