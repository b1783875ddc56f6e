#pragma once
// Two real game processes in one test: the test starts its own program again
// for each player (running one child test with the player's role and a
// shared folder in the environment) and waits for both. The players hand
// things to each other through small files in the shared folder. Each game
// runs frame by frame at real speed; every wait is for something to happen,
// under a generous wall-clock limit.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "net/NetSupport.h"
#include "support/GameDriver.h"

extern char** environ;

namespace e2e {

using K = sf::Keyboard;
using Clock = std::chrono::steady_clock;

inline std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Written whole under another name, then renamed: the other process never
// reads half a file.
inline void writeAtomically(const std::string& path, const std::string& text) {
    std::ofstream(path + ".tmp") << text;
    std::filesystem::rename(path + ".tmp", path);
}

// This program again, running only the child test `childTest` as `role`.
inline pid_t spawnPlayer(const std::string& childTest, const std::string& role, const std::string& dir) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.push_back("MIVO_E2E_ROLE=" + role);
    env.push_back("MIVO_E2E_DIR=" + dir);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=" + childTest;
    char* argv[] = {exe.data(), filter.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
    return pid;
}

// Starts the two players of `childTest` ("host" and "guest") and waits for
// both (five minutes at most; a player still running then is killed).
// Fails the test unless both end well.
inline void runTwoPlayers(const std::string& childTest, const std::string& dir) {
    const pid_t host = spawnPlayer(childTest, "host", dir);
    ASSERT_GT(host, 0);
    const pid_t guest = spawnPlayer(childTest, "guest", dir);
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
    // Types text as the keyboard would: one character a frame.
    void type(const std::string& text) {
        for (char c : text) {
            g().injectEvent(InputEvent::text(std::uint32_t(static_cast<unsigned char>(c))));
            frame();
        }
    }
    void click(const std::string& button) {
        g().injectEvent(InputEvent::mousePressed(d.toPixel(buttonCentre(button))));
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

}  // namespace e2e
