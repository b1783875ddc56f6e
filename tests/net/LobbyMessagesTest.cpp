// The message handlers of host and client, fed packets by hand (no sockets).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "net/NetSupport.h"

namespace {

struct HostFixture {
    Lobby lobby;

    HostFixture() {
        lobby.role = LobbyRole::Host;
        lobby.welcomed = true;
        LobbyPlayer me;
        me.name = "Host";
        lobby.players = {me};
    }
    std::size_t connect() {
        lobby.clients.emplace_back();
        return lobby.clients.size() - 1;
    }
    void feed(std::size_t client, sf::Packet p) { lobby.handleHostPacket(lobby.clients[client], p); }
    // A connection that said hello; its index.
    std::size_t join(const std::string& name, int hero = 0) {
        const std::size_t i = connect();
        feed(i, hello(kLobbyProtocolVersion, name, hero));
        return i;
    }
    std::uint32_t idOf(std::size_t client) const { return std::uint32_t(lobby.clients[client].playerId); }
    // What was queued for a client since the last look.
    std::vector<sf::Packet> sent(std::size_t client) {
        LobbyLink& link = lobby.clients[client];
        FrameReader r;
        for (const std::string& f : link.sendQueue) r.append(f.data(), f.size());
        link.sendQueue.clear();
        std::vector<sf::Packet> out;
        sf::Packet p;
        while (r.next(p) == FrameReader::Next::Packet) out.push_back(p);
        return out;
    }
    int count(std::size_t client, LobbyMsg type) {
        int n = 0;
        for (const sf::Packet& p : sent(client)) n += typeOf(p) == type;
        return n;
    }
};

sf::Packet packet(LobbyMsg type) {
    sf::Packet p;
    p << sf::Uint8(type);
    return p;
}

sf::Packet state(float x, float y, int zone, int act) {
    sf::Packet p = packet(LobbyMsg::PlayerState);
    p << x << y << 0.0f << sf::Uint8(kStateVisible) << sf::Uint8(zone) << sf::Uint8(act);
    return p;
}

sf::Packet finish(float time) {
    sf::Packet p = packet(LobbyMsg::Finish);
    p << time;
    return p;
}

struct ClientFixture {
    Lobby lobby;
    ClientFixture() {
        lobby.role = LobbyRole::Client;
        lobby.welcomed = true;
        lobby.ownId = 2;
    }
    void feed(sf::Packet p) { lobby.handleClientPacket(p); }
};

struct Entry {
    int id;
    std::string name;
    int hero = 0, place = 0;
    float time = 0;
};

sf::Packet lobbyState(int flag, int zone, int act, int mode, bool started, const std::vector<Entry>& players,
                      int count = -1) {
    sf::Packet p = packet(LobbyMsg::LobbyState);
    p << sf::Uint8(flag) << sf::Uint8(zone) << sf::Uint8(act) << sf::Uint8(mode) << started
      << sf::Uint8(count < 0 ? int(players.size()) : count);
    for (const Entry& e : players)
        p << sf::Uint8(e.id) << e.name << sf::Uint8(0) << sf::Uint8(e.hero) << sf::Uint8(e.place) << e.time;
    return p;
}

}  // namespace

// ---- Host ------------------------------------------------------------------------------------

TEST(LobbyHostMessages, AConnectionMustStartWithACompleteHello) {
    struct Case {
        const char* what;
        sf::Packet first;
    };
    sf::Packet truncated = packet(LobbyMsg::Hello);
    truncated << sf::Uint32(2) << std::string("Ana");  // no reserved byte, no hero
    sf::Packet noName = packet(LobbyMsg::Hello);
    noName << sf::Uint32(2);
    sf::Packet hugeName = packet(LobbyMsg::Hello);
    hugeName << sf::Uint32(2) << sf::Uint32(1000000);  // a name length beyond the packet
    const Case cases[] = {
        {"empty", sf::Packet()},       {"ping", packet(LobbyMsg::Ping)}, {"hero", packet(LobbyMsg::ChooseHero)},
        {"state", state(1, 2, 0, 1)},  {"truncated hello", truncated},   {"hello without a name", noName},
        {"oversized name", hugeName},  {"type 0", packet(LobbyMsg(0))},   {"type 200", packet(LobbyMsg(200))},
    };
    for (const Case& c : cases) {
        HostFixture h;
        const std::size_t i = h.connect();
        h.feed(i, c.first);
        EXPECT_TRUE(h.lobby.clients[i].closed) << c.what;
        EXPECT_EQ(h.lobby.clients[i].playerId, -1) << c.what;
        EXPECT_EQ(h.lobby.players.size(), 1u) << c.what;
        EXPECT_TRUE(h.sent(i).empty()) << c.what;
    }
}

TEST(LobbyHostMessages, AHelloAddsACleanedPlayerWelcomesAndTellsEveryone) {
    HostFixture h;
    const std::size_t a = h.join("Ana");
    h.sent(a);
    const std::size_t b = h.join("  \x01" "Bob the Magnificent Builder\n", 200);  // 14 kept, then trimmed
    ASSERT_EQ(h.lobby.players.size(), 3u);
    EXPECT_EQ(h.lobby.players[2].name, "Bob the Magn");
    EXPECT_EQ(h.lobby.players[2].hero, 8);
    const std::vector<sf::Packet> toB = h.sent(b);
    ASSERT_EQ(toB.size(), 3u);
    EXPECT_EQ(typeOf(toB[0]), LobbyMsg::Welcome);
    EXPECT_EQ(typeOf(toB[1]), LobbyMsg::Notice);
    EXPECT_EQ(typeOf(toB[2]), LobbyMsg::LobbyState);
    sf::Packet w = toB[0];
    sf::Uint8 type = 0, id = 0;
    w >> type >> id;
    EXPECT_EQ(id, h.idOf(b));
    EXPECT_EQ(h.count(a, LobbyMsg::Notice), 1);
    EXPECT_TRUE(hasEvent(h.lobby, LobbyEvent::Notice, "Bob the Magn joined the lobby!"));
}

TEST(LobbyHostMessages, PlayerIdsStayUniqueAndNeverTheHostsOverManyJoins) {
    HostFixture h;
    for (int i = 0; i < 4; ++i) h.join("Stay" + std::to_string(i));
    std::vector<std::uint32_t> kept;
    for (const LobbyPlayer& p : h.lobby.players) kept.push_back(p.id);
    for (int round = 0; round < 600; ++round) {
        const std::size_t i = h.join("Visitor");
        ASSERT_GE(h.lobby.clients[i].playerId, 1) << round;
        ASSERT_LE(h.lobby.clients[i].playerId, 255) << round;
        for (std::uint32_t id : kept) ASSERT_NE(h.idOf(i), id) << round;
        h.lobby.clients[i].closed = true;
        h.lobby.hostUpdate(0);
        ASSERT_EQ(h.lobby.players.size(), 5u);
    }
}

TEST(LobbyHostMessages, ClientsAreTrustedOnlyWithinBounds) {
    HostFixture h;
    const std::size_t a = h.join("Ana");
    const std::size_t b = h.join("Bob");
    h.lobby.changeSettings(3, 2, kModeRace);
    h.lobby.hostStartAct();
    h.sent(a);
    h.sent(b);
    LobbyPlayer& ana = *h.lobby.findPlayer(h.idOf(a));

    sf::Packet hero = packet(LobbyMsg::ChooseHero);
    hero << sf::Uint8(7) << sf::Uint8(99);
    h.feed(a, hero);
    EXPECT_EQ(ana.hero, 8);
    EXPECT_EQ(ana.reserved, 0);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    h.feed(a, state(nan, 1, 3, 2));
    h.feed(a, state(1, inf, 3, 2));
    EXPECT_EQ(ana.age, 99.0f);  // not stored
    EXPECT_EQ(h.count(b, LobbyMsg::PlayerState), 0);
    h.feed(a, state(3e30f, -3e30f, 3, 2));
    EXPECT_EQ(ana.target.x, kMaxWireCoordinate);
    EXPECT_EQ(ana.target.y, -kMaxWireCoordinate);

    // A finish only counts from a player last seen in the act being played,
    // and only with a sane time.
    h.feed(a, state(100, 100, 3, 1));
    h.feed(a, finish(50));
    EXPECT_EQ(ana.finishPlace, 0);
    h.feed(a, state(100, 100, 3, 2));
    h.feed(a, finish(nan));
    h.feed(a, finish(-1));
    EXPECT_EQ(ana.finishPlace, 0);
    h.feed(a, finish(1e30f));
    EXPECT_EQ(ana.finishPlace, 1);
    EXPECT_EQ(ana.finishTime, kMaxFinishTime);
    h.feed(a, finish(20));  // a second finish changes nothing
    EXPECT_EQ(ana.finishPlace, 1);
    EXPECT_EQ(h.lobby.finishers, 1);
}

TEST(LobbyHostMessages, ALateFinishDoesNotSkipATogetherAct) {
    HostFixture h;
    const std::size_t a = h.join("Ana");
    const std::size_t b = h.join("Bob");
    h.lobby.changeSettings(0, 1, kModeTogether);
    h.lobby.hostStartAct();
    h.feed(a, state(100, 100, 0, 1));
    h.feed(b, state(100, 100, 0, 1));
    // Both reach the goal of act 1 at about the same time.
    h.feed(a, finish(40));
    h.feed(b, finish(40.1f));
    EXPECT_EQ(h.lobby.settings.zone, 0);
    EXPECT_EQ(h.lobby.settings.act, 2);
    EXPECT_TRUE(h.lobby.settings.started);
    // Once Bob plays act 2, his finish moves the run on.
    h.feed(b, state(100, 100, 0, 2));
    h.feed(b, finish(30));
    EXPECT_EQ(h.lobby.settings.zone, 1);
    EXPECT_EQ(h.lobby.settings.act, 1);
}

TEST(LobbyHostMessages, BurstsAreRelayedAndAnsweredInMeasure) {
    HostFixture h;
    const std::size_t a = h.join("Ana");
    const std::size_t b = h.join("Bob");
    h.sent(a);
    h.sent(b);
    for (int i = 0; i < 50; ++i) h.feed(a, state(float(i), 0, 0, 1));
    EXPECT_EQ(h.count(b, LobbyMsg::PlayerState), kRelaysPerFrame);
    EXPECT_EQ(h.count(a, LobbyMsg::PlayerState), 0);  // not echoed
    EXPECT_EQ(h.lobby.findPlayer(h.idOf(a))->target.x, 49.0f);  // the newest is kept

    for (int i = 0; i < 50; ++i) {
        sf::Packet hero = packet(LobbyMsg::ChooseHero);
        hero << sf::Uint8(0) << sf::Uint8(i % 9);
        h.feed(a, hero);
    }
    EXPECT_EQ(h.count(b, LobbyMsg::LobbyState), 0);
    h.lobby.hostUpdate(0.01f);
    EXPECT_EQ(h.count(b, LobbyMsg::LobbyState), 1);
    EXPECT_EQ(h.lobby.findPlayer(h.idOf(a))->hero, 49 % 9);
}

TEST(LobbyHostMessages, SendQueuesHoldAtMostFourHundredPackets) {
    LobbyLink link;
    int queued = 0;
    for (int i = 0; i < 500; ++i) queued += Lobby::queuePacket(link, packet(LobbyMsg::Ping));
    EXPECT_EQ(queued, 400);
    EXPECT_EQ(link.sendQueue.size(), 400u);
}

// ---- Client ----------------------------------------------------------------------------------

TEST(LobbyClientMessages, LobbyStateSettingsAreClamped) {
    struct Case {
        int flag, zone, act, mode;
        std::uint32_t wantFlag;
        int wantZone, wantAct, wantMode;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0, 1, kModeRace},  {0, 2, 7, 1, 0, 2, 2, kModeTogether},
        {0, 9, 2, 2, 0, 5, 2, kModeRace},  {5, 5, 1, 255, 1, 5, 1, kModeRace},
        {1, 255, 3, 1, 1, 5, 2, kModeTogether},
    };
    for (const Case& c : cases) {
        ClientFixture f;
        f.feed(lobbyState(c.flag, c.zone, c.act, c.mode, true, {{0, "Host"}, {2, "Me"}}));
        EXPECT_EQ(f.lobby.settings.reserved, c.wantFlag);
        EXPECT_EQ(f.lobby.settings.zone, c.wantZone);
        EXPECT_EQ(f.lobby.settings.act, c.wantAct);
        EXPECT_EQ(f.lobby.settings.mode, c.wantMode);
        EXPECT_TRUE(f.lobby.settings.started);

        sf::Packet start = packet(LobbyMsg::StartAct);
        start << sf::Uint8(c.flag) << sf::Uint8(c.zone) << sf::Uint8(c.act) << sf::Uint8(c.mode);
        f.feed(start);
        ASSERT_EQ(f.lobby.events.size(), 1u);
        const LobbyEvent& e = f.lobby.events[0];
        EXPECT_EQ(e.type, LobbyEvent::StartAct);
        EXPECT_EQ(e.reserved, c.wantFlag);
        EXPECT_EQ(e.zone, c.wantZone);
        EXPECT_EQ(e.act, c.wantAct);
        EXPECT_EQ(e.mode, c.wantMode);
    }
}

TEST(LobbyClientMessages, AMalformedLobbyStateLeavesTheOldList) {
    ClientFixture f;
    f.feed(lobbyState(0, 1, 1, 0, false, {{0, "Host", 2}, {2, "Me"}, {5, "Eve", 4, 1, 33.5f}}));
    ASSERT_EQ(playerNames(f.lobby), (std::vector<std::string>{"Host", "Me", "Eve"}));
    EXPECT_EQ(f.lobby.players[2].finishPlace, 1);
    EXPECT_FLOAT_EQ(f.lobby.players[2].finishTime, 33.5f);

    sf::Packet s = state(700, 300, 1, 1);
    sf::Packet relay = packet(LobbyMsg::PlayerState);
    relay << sf::Uint8(5) << 700.0f << 300.0f << 0.0f << sf::Uint8(1) << sf::Uint8(1) << sf::Uint8(1);
    f.feed(relay);
    EXPECT_EQ(f.lobby.players[2].age, 0.0f);

    struct Case {
        const char* what;
        sf::Packet p;
    };
    sf::Packet cut = lobbyState(0, 1, 1, 0, false, {{0, "Host"}, {2, "Me"}}, 3);  // says three, holds two
    sf::Packet seven = lobbyState(0, 1, 1, 0, false,
                                  {{0, "a"}, {1, "b"}, {2, "c"}, {3, "d"}, {4, "e"}, {5, "f"}, {6, "g"}});
    sf::Packet header = packet(LobbyMsg::LobbyState);
    header << sf::Uint8(0) << sf::Uint8(1);
    const Case cases[] = {{"count beyond the entries", cut}, {"seven players", seven}, {"cut header", header}};
    for (const Case& c : cases) {
        f.feed(c.p);
        EXPECT_EQ(playerNames(f.lobby), (std::vector<std::string>{"Host", "Me", "Eve"})) << c.what;
        EXPECT_EQ(f.lobby.settings.zone, 1) << c.what;
    }

    // A good one keeps what is known of players still there.
    f.feed(lobbyState(0, 1, 1, 0, true, {{0, "Host"}, {5, "Eve\x7f!", 200}, {2, "Me"}, {9, ""}}));
    ASSERT_EQ(playerNames(f.lobby), (std::vector<std::string>{"Host", "Eve!", "Me", "Player"}));
    EXPECT_EQ(f.lobby.players[1].age, 0.0f);
    EXPECT_EQ(f.lobby.players[1].target.x, 700.0f);
    EXPECT_EQ(f.lobby.players[1].hero, 8);
    EXPECT_EQ(f.lobby.players[3].age, 99.0f);
}

TEST(LobbyClientMessages, TextsFromTheHostAreCleanedAndCut) {
    ClientFixture f;
    sf::Packet notice = packet(LobbyMsg::Notice);
    notice << ("\x1b[2J" + std::string(300, 'x'));
    f.feed(notice);
    ASSERT_EQ(f.lobby.events.size(), 1u);
    EXPECT_EQ(f.lobby.events[0].text, "[2J" + std::string(77, 'x'));

    struct Case {
        std::string reason, shown;
    };
    const Case cases[] = {{"", kEmptyRejectText},
                          {"\x01\x02", kEmptyRejectText},
                          {"Go away", "Go away"},
                          {std::string(5000, 'r'), std::string(kReasonMaxChars, 'r')}};
    for (const Case& c : cases) {
        ClientFixture g;
        sf::Packet reject = packet(LobbyMsg::Reject);
        reject << c.reason;
        g.feed(reject);
        EXPECT_EQ(g.lobby.role, LobbyRole::None);
        EXPECT_EQ(g.lobby.error, c.shown);
        EXPECT_TRUE(hasEvent(g.lobby, LobbyEvent::Disconnected, c.shown));
    }
}

TEST(LobbyClientMessages, StatesOfUnknownPlayersAndOwnEchoesAreIgnored) {
    ClientFixture f;
    f.feed(lobbyState(0, 0, 1, 0, true, {{0, "Host"}, {2, "Me"}}));
    for (int id : {2, 3, 255}) {
        sf::Packet relay = packet(LobbyMsg::PlayerState);
        relay << sf::Uint8(id) << 10.0f << 20.0f << 0.0f << sf::Uint8(1) << sf::Uint8(0) << sf::Uint8(1);
        f.feed(relay);
    }
    EXPECT_EQ(f.lobby.findPlayer(2)->age, 99.0f);
    EXPECT_EQ(f.lobby.players.size(), 2u);

    ClientFixture w;
    w.lobby.welcomed = false;
    w.lobby.global = true;
    sf::Packet welcome = packet(LobbyMsg::Welcome);
    welcome << sf::Uint8(4);
    w.feed(welcome);
    EXPECT_TRUE(w.lobby.welcomed);
    EXPECT_EQ(w.lobby.ownId, 4u);
    EXPECT_EQ(w.lobby.status, kJoinedGlobalStatus);
    EXPECT_TRUE(hasEvent(w.lobby, LobbyEvent::Joined));
}
