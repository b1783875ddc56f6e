// Two game processes on one machine: one hosts through the lobby screen, the
// other joins with the invite code handed over in "invite.txt"; the host
// starts a race, each sees the other in the act, and the finish order
// reaches both. The test starts this same program twice as the two players
// (each runs LobbyEndToEndChild.Play with its role in the environment) and
// waits for both. Every wait is for something to happen, under a generous
// wall-clock limit; frames run at real speed like the game's.
#include <gtest/gtest.h>

#include "net/GameProcess.h"
#include "net/InviteCode.h"

using namespace e2e;

namespace {

bool contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

}  // namespace

TEST(LobbyEndToEnd, TwoGameProcessesRaceEachOther) {
    TempFolder shared;
    runTwoPlayers("LobbyEndToEndChild.Play", shared.path());
    if (HasFatalFailure()) return;

    // The finish order reached both players' message lines.
    for (const char* role : {"host", "guest"}) {
        const std::string toasts = readAll(shared.file(std::string(role) + "_toasts.txt"));
        const std::size_t first = toasts.find("Hostess finished 1st!\n");
        const std::size_t second = toasts.find("Guest finished 2nd!\n");
        EXPECT_NE(first, std::string::npos) << role << ":\n" << toasts;
        EXPECT_NE(second, std::string::npos) << role << ":\n" << toasts;
        EXPECT_LT(first, second) << role;
    }
    for (const char* shot : {"e2e_lobby_host_sees_guest.png", "e2e_lobby_guest_sees_host.png",
                              "e2e_lobby_host_after_race.png", "e2e_lobby_guest_after_race.png"})
        EXPECT_TRUE(std::filesystem::exists(testOutputFolder() + shot)) << shot;
}

TEST(LobbyEndToEndChild, Play) {
    const char* role = std::getenv("MIVO_E2E_ROLE");
    const char* dir = std::getenv("MIVO_E2E_DIR");
    if (!role || !dir) GTEST_SKIP() << "one of the two players of LobbyEndToEnd; it starts them";
    const bool hosting = std::string(role) == "host";
    GameProcess me;
    me.dir = dir;
    me.role = role;
    ASSERT_TRUE(me.d.start());
    Mivoland2& g = me.g();
    g.lobby.config = loopbackConfig();
    g.playerName = hosting ? "Hostess" : "Guest";
    me.frame();

    if (hosting) {
        // Title -> "Multiplayer" -> "Host a Lobby"; the code goes to the guest.
        for (int guard = 0; guard < 10 && me.d.selectedButton() != 1; ++guard) me.press(K::Down);
        me.press(K::Enter);
        ASSERT_EQ(me.d.screen(), GameState::Multiplayer);
        me.click("host");
        ASSERT_EQ(g.lobby.role, LobbyRole::Host);
        writeAtomically(me.dir + "code.txt", g.lobby.code);
        ASSERT_TRUE(me.waitFor([&] { return g.lobby.players.size() == 2 && g.lobby.players[1].hero == 1; }));
        me.click("start");
        ASSERT_TRUE(me.waitFor([&] { return me.d.screen() == GameState::Playing; }));
    } else {
        // The code arrives the way a companion program would hand it over.
        ASSERT_TRUE(me.waitForFile("code.txt"));
        writeAtomically(me.d.dataFolder() + "invite.txt", readAll(me.dir + "code.txt"));
        ASSERT_TRUE(me.waitFor([&] { return g.lobby.welcomed; }));
        me.click("charR");  // the guest plays Fr
        ASSERT_TRUE(me.waitFor([&] { return me.d.screen() == GameState::Playing; }));
        EXPECT_EQ(g.player.hero, 1);
        // Step aside so the two figures do not cover each other.
        me.d.hold(K::Right);
        for (int i = 0; i < 20; ++i) me.frame();
        me.d.release(K::Right);
    }
    EXPECT_EQ(g.level.zone, 0);
    EXPECT_EQ(g.level.act, 1);

    // Each sees the other in the act.
    ASSERT_TRUE(me.waitFor([&] { return me.seesOther() && g.session.titleCardTime <= 0; }));
    for (int i = 0; i < 20; ++i) me.frame();
    ASSERT_TRUE(me.seesOther());
    me.saveShot(hosting ? "e2e_lobby_host_sees_guest.png" : "e2e_lobby_guest_sees_host.png");
    writeAtomically(me.dir + role + "_saw.txt", "yes");

    // The host finishes first, then the guest.
    if (hosting) {
        ASSERT_TRUE(me.waitForFile("guest_saw.txt"));
        ASSERT_TRUE(me.runIntoGoal());
    } else {
        ASSERT_TRUE(me.waitForFile("host_saw.txt"));
        ASSERT_TRUE(me.waitFor([&] {
            const LobbyPlayer* host = g.lobby.findPlayer(0);
            return host && host->finishPlace == 1;
        }));
        ASSERT_TRUE(me.runIntoGoal());
    }
    // A racer who is through waits on the lobby screen for the others.
    ASSERT_TRUE(me.waitFor([&] { return me.d.screen() == GameState::Multiplayer; }));
    ASSERT_TRUE(me.waitFor([&] { return !g.lobby.settings.started && g.lobby.players.size() == 2; }));
    ASSERT_TRUE(me.waitFor([&] { return contains(me.toasts, "Guest finished 2nd!"); }));
    EXPECT_EQ(g.lobby.players[0].finishPlace, 1);
    EXPECT_EQ(g.lobby.players[1].finishPlace, 2);
    EXPECT_TRUE(g.achievements.has(11));
    me.saveShot(hosting ? "e2e_lobby_host_after_race.png" : "e2e_lobby_guest_after_race.png");

    std::string seen;
    for (const std::string& t : me.toasts) seen += t + "\n";
    writeAtomically(me.dir + role + "_toasts.txt", seen);
    // The host stays until the guest is done, so nobody is cut off early.
    writeAtomically(me.dir + role + "_done.txt", "yes");
    if (hosting) {
        ASSERT_TRUE(me.waitForFile("guest_done.txt"));
    }
}
