// Feeds arbitrary bytes to the lobby's readers: the first byte picks the
// reader, the rest is a stream of framed packets (cut by the capped frame
// reader) for the host's or the client's message handler, or one datagram
// for the LAN beacon reader. After every packet the lobby must still hold
// only what the protocol allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/Lobby.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool printableName(const std::string& s) {
    if (s.empty() || s.size() > kLobbyNameMax) return false;
    for (char c : s)
        if (c < 32 || c > 126) return false;
    return true;
}

void checkLobby(const Lobby& l) {
    check(l.players.size() <= std::size_t(kLobbyMaxPlayers));
    check(l.settings.zone >= 0 && l.settings.zone <= 5);
    check(l.settings.act == 1 || l.settings.act == 2);
    check(l.settings.mode == kModeRace || l.settings.mode == kModeTogether);
    for (const LobbyPlayer& p : l.players) {
        check(printableName(p.name));
        check(p.hero >= 0 && p.hero <= 8);
        check(std::abs(p.target.x) <= kMaxWireCoordinate && std::abs(p.target.y) <= kMaxWireCoordinate);
    }
    for (const LobbyClient& c : l.clients) check(c.sendQueue.size() <= kSendQueueCap);
    for (const LobbyEvent& e : l.events)
        if (e.type == LobbyEvent::Notice && l.role == LobbyRole::Client) check(e.text.size() <= kNoticeMaxChars);
}

void fuzzHost(const char* data, std::size_t size) {
    Lobby l;
    l.role = LobbyRole::Host;
    l.welcomed = true;
    LobbyPlayer me;
    me.name = "Host";
    l.players = {me};
    l.clients.resize(3);
    FrameReader reader;
    reader.append(data, size);
    sf::Packet p;
    for (int n = 0; reader.next(p) == FrameReader::Next::Packet; ++n) {
        LobbyClient& c = l.clients[std::size_t(n) % l.clients.size()];
        if (!c.closed) l.handleHostPacket(c, p);
        if (n % 7 == 6) {
            l.hostUpdate(0.25f);
            while (l.clients.size() < 3) l.clients.emplace_back();
        }
        checkLobby(l);
        for (std::size_t i = 0; i < l.players.size(); ++i)
            for (std::size_t j = i + 1; j < l.players.size(); ++j) check(l.players[i].id != l.players[j].id);
        l.events.clear();
    }
}

void fuzzClient(const char* data, std::size_t size) {
    Lobby l;
    FrameReader reader;
    reader.append(data, size);
    sf::Packet p;
    while (reader.next(p) == FrameReader::Next::Packet) {
        if (l.role != LobbyRole::Client) {  // a Reject ended it: join again
            l.role = LobbyRole::Client;
            l.ownId = 1;
        }
        l.handleClientPacket(p);
        l.stepRemotes(0.016f);
        checkLobby(l);
        l.events.clear();
    }
}

void fuzzBeacon(const char* data, std::size_t size) {
    std::vector<FoundLobby> found;
    for (std::uint32_t address = 1; address <= 10; ++address) {
        if (const auto b = parseBeacon(data, size)) {
            check(b->port >= 47787 && b->port <= 47790);
            check(printableName(b->name));
            check(b->count.size() <= 8);
            noteFoundLobby(found, address, *b);
        }
        ageFoundLobbies(found, 0.5f);
        check(found.size() <= kFoundLobbyMax);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char* rest = reinterpret_cast<const char*>(data + 1);
    switch (data[0] % 3) {
        case 0: fuzzHost(rest, size - 1); break;
        case 1: fuzzClient(rest, size - 1); break;
        default: fuzzBeacon(rest, size - 1); break;
    }
    return 0;
}
