// Strangers misbehaving: the host keeps serving its real players, frame
// after frame, with its memory bounded.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/NetSupport.h"

namespace {

// A host with two real players who keep talking while a test misbehaves.
struct Lobbyists {
    std::unique_ptr<Lobby> host = makeLobby();
    std::unique_ptr<Lobby> a = makeLobby(), b = makeLobby();
    float clock = 0;

    std::vector<Lobby*> all() { return {host.get(), a.get(), b.get()}; }

    bool start() {
        if (!host->hostLobby(false, "Host", 0)) return false;
        a->joinLobby(kLoopback, host->tcpPort(), false, "Ana", 1);
        b->joinLobby(kLoopback, host->tcpPort(), false, "Bob", 2);
        return pumpUntil(all(), [&] { return a->players.size() == 3 && b->players.size() == 3; });
    }
    // The two move about; called once per frame.
    void play() {
        clock += 1.0f / 60.0f;
        a->sendPlayerState({clock * 100, 300}, 0, kStateVisible, 0, 1);
        b->sendPlayerState({clock * 90, 300}, 0, kStateVisible, 0, 1);
    }
    // Both still in the lobby and hearing each other right now.
    bool served() {
        const LobbyPlayer* bobSeenByAna = a->findPlayer(b->ownId);
        const LobbyPlayer* anaSeenByBob = b->findPlayer(a->ownId);
        return a->inGame() && b->inGame() && bobSeenByAna && anaSeenByBob && bobSeenByAna->age < 0.5f &&
               anaSeenByBob->age < 0.5f && a->players.size() == host->players.size() &&
               b->players.size() == host->players.size();
    }
};

// Read buffers of one capped packet and one read per connection, plus what
// the queues hold.
std::size_t readBound(const Lobby& host) { return host.clients.size() * (kMaxFrameBytes + 4 + 4096); }

}  // namespace

TEST(LobbyAbuse, GarbageAndHugeLengthPrefixesCloseOnlyThatConnection) {
    std::string noise;
    for (std::uint32_t x = 12345, i = 0; i < 20000; ++i) noise += char((x = x * 1103515245u + 12345u) >> 24);
    sf::Packet ping;
    ping << sf::Uint8(LobbyMsg::Ping);
    struct Case {
        const char* what;
        bool helloFirst;
        std::string bytes;
    };
    const Case cases[] = {
        {"noise", false, noise},
        {"4 GB prefix", false, std::string("\xff\xff\xff\xff", 4) + noise},
        {"prefix just over the cap", false, std::string("\x00\x01\x00\x01", 4) + std::string(70000, 'a')},
        {"ping before hello", false, framePacket(ping)},
        {"4 GB prefix after hello", true, std::string("\xff\xff\xff\xff", 4) + noise},
        {"noise after hello", true, noise},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lobbyists l;
        ASSERT_TRUE(l.start());
        RawClient raw(l.host->tcpPort());
        ASSERT_TRUE(raw.connected);
        if (c.helloFirst) {
            ASSERT_TRUE(raw.sendPacket(hello(kLobbyProtocolVersion, "Mallory")));
            ASSERT_TRUE(pumpUntil(l.all(), [&] { return l.a->players.size() == 4; }, 1.0f / 60.0f,
                                  [&] { l.play(); }));
        }
        l.host->events.clear();
        ASSERT_TRUE(raw.sendBytes(c.bytes));
        std::size_t most = 0;
        ASSERT_TRUE(pumpUntil(
            l.all(), [&] { return raw.closedByPeer() && l.host->clients.size() == 2; }, 1.0f / 60.0f, [&] {
                l.play();
                most = std::max(most, l.host->bufferedBytes());
            }));
        EXPECT_LE(most, readBound(*l.host) + 2 * (kMaxFrameBytes + 4 + 4096));
        EXPECT_EQ(l.host->players.size(), 3u);
        if (c.helloFirst) {
            EXPECT_TRUE(hasEvent(*l.host, LobbyEvent::Notice, "Mallory left the lobby."));
        }
        ASSERT_TRUE(pumpUntil(l.all(), [&] { return l.served(); }, 1.0f / 60.0f, [&] { l.play(); }));
    }
}

TEST(LobbyAbuse, TwoHundredIdleConnectionsDoNotLockPlayersOut) {
    Lobbyists l;
    ASSERT_TRUE(l.start());
    std::vector<std::unique_ptr<RawClient>> idle;
    for (int i = 0; i < 200; ++i) {
        idle.push_back(std::make_unique<RawClient>(l.host->tcpPort()));
        ASSERT_TRUE(idle.back()->connected) << i;
    }
    std::size_t mostClients = 0;
    const auto watch = [&] {
        l.play();
        mostClients = std::max(mostClients, l.host->clients.size());
    };
    // While all of them are still open, a new player gets in.
    auto late = makeLobby();
    ASSERT_TRUE(late->joinLobby(kLoopback, l.host->tcpPort(), false, "Late", 0));
    std::vector<Lobby*> everyone = l.all();
    everyone.push_back(late.get());
    ASSERT_TRUE(pumpUntil(everyone, [&] { return late->welcomed && late->players.size() == 4; }, 1.0f / 60.0f, watch));
    EXPECT_LE(mostClients, 3u + kMaxPendingConnections);
    EXPECT_TRUE(l.served());
    // A few seconds on, every idle one has been shown the door.
    pumpFrames(everyone, 60 * 6, 1.0f / 60.0f, watch);
    EXPECT_EQ(l.host->clients.size(), 3u);
    EXPECT_LE(mostClients, 3u + kMaxPendingConnections);
    EXPECT_TRUE(l.served());
    int closed = 0;
    for (auto& r : idle) closed += r->closedByPeer();
    EXPECT_EQ(closed, 200);
}

TEST(LobbyAbuse, AClientThatNeverReadsFillsOnlyItsOwnQueue) {
    Lobbyists l;
    ASSERT_TRUE(l.start());
    RawClient deaf(l.host->tcpPort());
    ASSERT_TRUE(deaf.connected);
    ASSERT_TRUE(deaf.sendPacket(hello(kLobbyProtocolVersion, "Deaf")));
    ASSERT_TRUE(pumpUntil(l.all(), [&] { return l.host->players.size() == 4; }, 1.0f / 60.0f, [&] { l.play(); }));
    // Big notices fill the socket's system buffers, then the queue.
    const std::string big(16000, 'n');
    std::size_t longest = 0, most = 0;
    ASSERT_TRUE(pumpUntil(
        l.all(),
        [&] {
            for (const LobbyClient& c : l.host->clients) longest = std::max(longest, c.sendQueue.size());
            return longest >= kSendQueueCap;
        },
        1.0f / 60.0f,
        [&] {
            l.play();
            for (int i = 0; i < 10; ++i) l.host->broadcastNotice(big);
            most = std::max(most, l.host->bufferedBytes());
            // Keep the deaf one's connection alive: it talks, it just never reads.
            sf::Packet ping;
            ping << sf::Uint8(LobbyMsg::Ping);
            deaf.sendPacket(ping);
        },
        60.0));
    // Only the deaf one's queue is full; the others drain theirs every frame.
    int full = 0;
    for (const LobbyClient& c : l.host->clients) full += c.sendQueue.size() >= kSendQueueCap;
    EXPECT_EQ(full, 1);
    EXPECT_LE(longest, kSendQueueCap);
    EXPECT_LE(most, (kSendQueueCap + 40) * (big.size() + 64) + readBound(*l.host));
    for (int i = 0; i < 60; ++i) {
        l.play();
        pumpFrames(l.all(), 1);
    }
    EXPECT_TRUE(l.served());
    EXPECT_EQ(l.host->players.size(), 4u);
}
