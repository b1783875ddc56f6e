#pragma once
// Helpers for lobby tests over real loopback sockets: lobbies that send
// nothing beyond 127.0.0.1, a frame pump that runs until something holds
// (with a generous wall-clock limit instead of fixed sleeps), and a raw
// client that speaks bytes.

#include <SFML/Network.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/Lobby.h"
#include "net/MultiplayerPage.h"

inline constexpr std::uint32_t kLoopback = 0x7F000001u;

// Beacons go to a port on loopback that nobody reads unless a test says so.
inline LobbyNetConfig loopbackConfig(std::uint16_t beaconPort = 9) {
    LobbyNetConfig c;
    c.beaconAddress = sf::IpAddress::LocalHost;
    c.beaconPort = beaconPort;
    c.discoveryPort = 0;
    c.localAddress = kLoopback;
    return c;
}

inline std::unique_ptr<Lobby> makeLobby(std::uint16_t beaconPort = 9) {
    auto l = std::make_unique<Lobby>();
    l->config = loopbackConfig(beaconPort);
    return l;
}

// Runs frames of dt over every lobby (and the extra step) until done()
// holds; false when it did not within the wall-clock limit.
inline bool pumpUntil(const std::vector<Lobby*>& lobbies, const std::function<bool()>& done, float dt = 1.0f / 60.0f,
                      const std::function<void()>& extra = {}, double wallSeconds = 30.0) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        for (Lobby* l : lobbies) {
            l->update(dt, false);
            l->stepRemotes(dt);
        }
        if (extra) extra();
        if (done()) return true;
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > wallSeconds) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Runs a fixed number of frames.
inline void pumpFrames(const std::vector<Lobby*>& lobbies, int frames, float dt = 1.0f / 60.0f,
                       const std::function<void()>& extra = {}) {
    for (int i = 0; i < frames; ++i) {
        for (Lobby* l : lobbies) {
            l->update(dt, false);
            l->stepRemotes(dt);
        }
        if (extra) extra();
    }
}

inline bool hasEvent(const Lobby& l, LobbyEvent::Type type, const std::string& text = "") {
    for (const LobbyEvent& e : l.events)
        if (e.type == type && (text.empty() || e.text == text)) return true;
    return false;
}

inline std::vector<std::string> notices(const Lobby& l) {
    std::vector<std::string> out;
    for (const LobbyEvent& e : l.events)
        if (e.type == LobbyEvent::Notice) out.push_back(e.text);
    return out;
}

inline std::vector<std::string> playerNames(const Lobby& l) {
    std::vector<std::string> out;
    for (const LobbyPlayer& p : l.players) out.push_back(p.name);
    return out;
}

inline sf::Packet hello(std::uint32_t version, const std::string& name, int hero = 0) {
    sf::Packet p;
    p << sf::Uint8(LobbyMsg::Hello) << sf::Uint32(version) << name << sf::Uint8(0) << sf::Uint8(hero);
    return p;
}

// A connection that sends and reads what a test tells it to, nothing else.
struct RawClient {
    sf::TcpSocket socket;
    bool connected = false;

    explicit RawClient(std::uint16_t port) {
        connected = socket.connect(sf::IpAddress::LocalHost, port, sf::seconds(5)) == sf::Socket::Done;
        socket.setBlocking(false);
    }
    bool sendBytes(const std::string& bytes) {
        std::size_t sent = 0;
        socket.setBlocking(true);
        const bool ok = socket.send(bytes.data(), bytes.size(), sent) == sf::Socket::Done;
        socket.setBlocking(false);
        return ok;
    }
    bool sendPacket(const sf::Packet& p) { return sendBytes(framePacket(p)); }
    // A packet if one has arrived whole.
    bool tryReceive(sf::Packet& p) { return socket.receive(p) == sf::Socket::Done; }
    // True once the host has closed the connection.
    bool closedByPeer() {
        char c;
        std::size_t got = 0;
        const sf::Socket::Status st = socket.receive(&c, 1, got);
        return st == sf::Socket::Disconnected || st == sf::Socket::Error;
    }
};

// The messages of a packet's type byte, read from a copy.
inline LobbyMsg typeOf(sf::Packet p) {
    sf::Uint8 t = 0;
    p >> t;
    return LobbyMsg(t);
}

// The middle of a button of the multiplayer screen, where a click lands.
inline sf::Vector2f buttonCentre(const std::string& id) {
    const sf::FloatRect r = buttonRect(id);
    return {r.left + r.width / 2, r.top + r.height / 2};
}
