// Two game processes on one machine: one hosts through the lobby screen, the
// other joins with the invite code handed over in "invite.txt"; the host
// starts a race, each sees the other in the act, and the finish order
// reaches both. The test starts this same program twice as the two players
// (each runs LobbyEndToEndChild.Play with its role in the environment) and
// waits for both. Every wait is for something to happen, under a generous
// wall-clock limit; frames run at real speed like the game's.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "net/InviteCode.h"
#include "net/NetSupport.h"
#include "support/GameDriver.h"

extern char** environ;

using K = sf::Keyboard;
using Clock = std::chrono::steady_clock;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Written whole under another name, then renamed: the other process never
// reads half a file.
void writeAtomically(const std::string& path, const std::string& text) {
    std::ofstream(path + ".tmp") << text;
    std::filesystem::rename(path + ".tmp", path);
}

pid_t spawnPlayer(const std::string& role, const std::string& dir) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.push_back("MIVO_E2E_ROLE=" + role);
    env.push_back("MIVO_E2E_DIR=" + dir);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=LobbyEndToEndChild.Play";
    char* argv[] = {exe.data(), filter.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
    return pid;
}

// One player's game, run frame by frame at real speed.
struct GameProcess {
    GameDriver d;
    std::string dir, role;
    std::vector<std::string> toasts;  // every message line shown, in order
    Clock::time_point last = Clock::now();

    Mivoland2& g() { return d.game(); }

    void frame() {
        const auto now = Clock::now();
        float dt = std::chrono::duration<float>(now - last).count();
        last = now;
        if (dt < 1.0f / 60.0f) {
            std::this_thread::sleep_for(std::chrono::duration<float>(1.0f / 60.0f - dt));
            dt = 1.0f / 60.0f;
            last = Clock::now();
        }
        d.step(1, dt);
        if (g().toast.visible() && (toasts.empty() || toasts.back() != g().toast.message))
            toasts.push_back(g().toast.message);
    }
    void press(K::Key key) {
        g().injectEvent(InputEvent::keyPressed(key));
        frame();
    }
    bool waitFor(const std::function<bool()>& done, double seconds = 90) {
        const auto start = Clock::now();
        while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) {
            frame();
            if (done()) return true;
        }
        return false;
    }
    bool waitForFile(const std::string& name) {
        return waitFor([&] { return std::filesystem::exists(dir + name); });
    }
    // The other player, drawn in this player's act.
    bool seesOther() {
        const RemoteScene scene = g().lobbyRemoteScene();
        for (const RemotePeer& p : *scene.peers)
            if (remotePeerShown(p, scene.zone, scene.act)) return true;
        return false;
    }
    // A little before the goal sign, then run into it.
    bool runIntoGoal() {
        const float x = g().session.goalX - 220.0f;
        const GroundHeight ground = g().level.groundHeightAt(x);
        g().player = makePlayer(g().player.hero, {x, (ground ? ground.y : g().session.goalY) - 18.0f});
        g().session.camera = {x, g().player.y};
        d.hold(K::Right);
        const bool reached = waitFor([&] { return g().session.goalReached; }, 30);
        d.release(K::Right);
        return reached;
    }
    void saveShot(const std::string& name) { d.saveFrame(name); }
};

bool contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

}  // namespace

TEST(LobbyEndToEnd, TwoGameProcessesRaceEachOther) {
    TempFolder shared;
    const pid_t host = spawnPlayer("host", shared.path());
    ASSERT_GT(host, 0);
    const pid_t guest = spawnPlayer("guest", shared.path());
    ASSERT_GT(guest, 0);

    int hostStatus = -1, guestStatus = -1;
    const auto start = Clock::now();
    while ((hostStatus < 0 || guestStatus < 0) && Clock::now() - start < std::chrono::minutes(5)) {
        int st = 0;
        if (hostStatus < 0 && waitpid(host, &st, WNOHANG) == host) hostStatus = st;
        if (guestStatus < 0 && waitpid(guest, &st, WNOHANG) == guest) guestStatus = st;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (pid_t pid : {host, guest}) {
        if ((pid == host ? hostStatus : guestStatus) < 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    ASSERT_TRUE(WIFEXITED(hostStatus) && WEXITSTATUS(hostStatus) == 0) << "host status " << hostStatus;
    ASSERT_TRUE(WIFEXITED(guestStatus) && WEXITSTATUS(guestStatus) == 0) << "guest status " << guestStatus;

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
        // Title -> "Multiplayer" -> host with Tab; the code goes to the guest.
        for (int guard = 0; guard < 10 && me.d.selectedButton() != 1; ++guard) me.press(K::Down);
        me.press(K::Enter);
        ASSERT_EQ(me.d.screen(), GameState::Multiplayer);
        me.press(K::Tab);
        ASSERT_EQ(g.lobby.role, LobbyRole::Host);
        writeAtomically(me.dir + "code.txt", g.lobby.code);
        ASSERT_TRUE(me.waitFor([&] { return g.lobby.players.size() == 2 && g.lobby.players[1].hero == 1; }));
        me.press(K::Enter);
        ASSERT_TRUE(me.waitFor([&] { return me.d.screen() == GameState::Playing; }));
    } else {
        // The code arrives the way a companion program would hand it over.
        ASSERT_TRUE(me.waitForFile("code.txt"));
        writeAtomically(me.d.dataFolder() + "invite.txt", readAll(me.dir + "code.txt"));
        ASSERT_TRUE(me.waitFor([&] { return g.lobby.welcomed; }));
        me.press(K::Right);  // the guest plays Fr
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
