// How a lobby host holds up while strangers misbehave: a host and four bot
// players race on loopback while, phase by phase, connections send noise,
// 4 GB length prefixes, sit idle by the hundred, or never read. Prints the
// host's frame work (mean and worst) and the bytes it holds in each phase.
// Run it inside a private network namespace:
//   unshare -n sh -c 'ip link set lo up; build/release/bench_lobby'
// (a release build: the sanitizers of the test build hold on to freed memory).
#include <SFML/Network.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/LobbyBot.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr float kDt = 1.0f / 60.0f;

long residentKb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

LobbyNetConfig loopback() {
    LobbyNetConfig c;
    c.beaconAddress = sf::IpAddress::LocalHost;
    c.beaconPort = 9;
    c.localAddress = 0x7F000001u;
    return c;
}

struct Raw {
    sf::TcpSocket s;
    bool ok = false;
    explicit Raw(unsigned short port) {
        ok = s.connect(sf::IpAddress::LocalHost, port, sf::seconds(2)) == sf::Socket::Done;
        s.setBlocking(false);
    }
    void send(const std::string& bytes) {
        std::size_t sent = 0;
        s.send(bytes.data(), bytes.size(), sent);
    }
};

}  // namespace

int main() {
    LobbyBot host;
    host.name = "Host";
    host.speed = 700;
    host.lobby.config = loopback();
    if (!host.lobby.hostLobby(false, "Host", 0)) {
        std::fprintf(stderr, "%s\n", host.lobby.error.c_str());
        return 1;
    }
    const unsigned short port = host.lobby.tcpPort();
    std::vector<std::unique_ptr<LobbyBot>> bots;
    for (int i = 0; i < 4; ++i) {
        auto b = std::make_unique<LobbyBot>();
        b->lobby.config = loopback();
        b->speed = 600.0f + 50.0f * float(i);
        b->lobby.joinLobby(0x7F000001u, port, false, "Bot" + std::to_string(i + 1), i);
        bots.push_back(std::move(b));
    }
    const auto frame = [&](double& worst, double& total) {
        const auto t0 = Clock::now();
        host.update(kDt);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        worst = std::max(worst, ms);
        total += ms;
        for (auto& b : bots) b->update(kDt);
    };
    double w = 0, t = 0;
    for (int i = 0; i < 600 && host.lobby.players.size() < 5; ++i) {
        frame(w, t);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    host.lobby.hostStartAct();

    std::string noise;
    for (std::uint32_t x = 7, i = 0; i < 8192; ++i) noise += char((x = x * 1103515245u + 12345u) >> 24);
    std::vector<std::unique_ptr<Raw>> raws;
    struct Phase {
        const char* name;
        std::function<void(int)> act;  // called every frame with the frame number
    };
    const Phase phases[] = {
        {"five players racing", [](int) {}},
        {"20 connections of noise",
         [&](int f) {
             if (f % 10 == 0) {
                 raws.clear();
                 for (int i = 0; i < 20; ++i) raws.push_back(std::make_unique<Raw>(port));
             }
             for (auto& r : raws) r->send(noise);
         }},
        {"4 GB length prefixes",
         [&](int f) {
             if (f % 5 == 0) {
                 raws.clear();
                 for (int i = 0; i < 20; ++i) raws.push_back(std::make_unique<Raw>(port));
             }
             for (auto& r : raws) r->send(std::string("\xff\xff\xff\xff", 4) + noise);
         }},
        {"200 idle connections",
         [&](int f) {
             if (f == 0) {
                 raws.clear();
                 for (int i = 0; i < 200; ++i) raws.push_back(std::make_unique<Raw>(port));
             }
         }},
        {"a client that never reads",
         [&](int f) {
             if (f == 0) {
                 raws.clear();
                 raws.push_back(std::make_unique<Raw>(port));
                 sf::Packet hello;
                 hello << sf::Uint8(LobbyMsg::Hello) << sf::Uint32(kLobbyProtocolVersion) << std::string("Deaf")
                       << sf::Uint8(0) << sf::Uint8(0);
                 raws.back()->send(framePacket(hello));
             }
             if (f % 120 == 0) {
                 sf::Packet ping;
                 ping << sf::Uint8(LobbyMsg::Ping);
                 raws.back()->send(framePacket(ping));
             }
             for (int i = 0; i < 10; ++i) host.lobby.broadcastNotice(std::string(16000, 'n'));
         }},
    };
    std::printf("%-28s %8s %10s %10s %12s %10s %8s\n", "phase", "frames", "mean ms", "worst ms", "held KB",
                "RSS MB", "players");
    for (const Phase& p : phases) {
        double worst = 0, total = 0;
        std::size_t held = 0;
        const int frames = 60 * 8;
        for (int f = 0; f < frames; ++f) {
            p.act(f);
            frame(worst, total);
            held = std::max(held, host.lobby.bufferedBytes());
            if (!host.lobby.settings.started) host.lobby.hostStartAct();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::printf("%-28s %8d %10.3f %10.3f %12zu %10.1f %8zu\n", p.name, frames, total / frames, worst,
                    held / 1024, double(residentKb()) / 1024.0, host.lobby.players.size());
    }
    return 0;
}
