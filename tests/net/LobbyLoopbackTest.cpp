// A host and its clients over real sockets on loopback (the test run has a
// private network namespace, so nothing leaves the machine).
#include <gtest/gtest.h>

#include "net/InviteCode.h"
#include "net/NetSupport.h"

namespace {

// A host and n clients, all welcomed and seeing the whole list.
struct Party {
    std::unique_ptr<Lobby> host = makeLobby();
    std::vector<std::unique_ptr<Lobby>> clients;

    std::vector<Lobby*> all() {
        std::vector<Lobby*> v{host.get()};
        for (auto& c : clients) v.push_back(c.get());
        return v;
    }

    bool start(int n, const std::string& hostName = "Host") {
        if (!host->hostLobby(false, hostName, 0)) return false;
        // One after the other, so the list is in this order.
        for (int i = 0; i < n; ++i) {
            clients.push_back(makeLobby());
            Lobby& c = *clients.back();
            if (!c.joinLobby(kLoopback, host->tcpPort(), false, "P" + std::to_string(i + 1), i % 9)) return false;
            if (!pumpUntil(all(), [&] { return c.welcomed; })) return false;
        }
        return pumpUntil(all(), [&] {
            for (auto& c : clients)
                if (!c->welcomed || c->players.size() != std::size_t(n + 1)) return false;
            return host->players.size() == std::size_t(n + 1);
        });
    }

    void clearEvents() {
        for (Lobby* l : all()) l->events.clear();
    }
};

}  // namespace

TEST(LobbyLoopback, SixPlayersMeetAndASeventhIsToldTheLobbyIsFull) {
    Party party;
    ASSERT_TRUE(party.start(5));
    const std::vector<std::string> names = {"Host", "P1", "P2", "P3", "P4", "P5"};
    EXPECT_EQ(playerNames(*party.host), names);
    for (auto& c : party.clients) {
        EXPECT_EQ(playerNames(*c), names);
        EXPECT_EQ(c->status, kJoinedLocalStatus);
        EXPECT_TRUE(hasEvent(*c, LobbyEvent::Joined));
    }
    // Every welcomed client was announced, to the host too.
    EXPECT_TRUE(hasEvent(*party.host, LobbyEvent::Notice, "P5 joined the lobby!"));
    party.clearEvents();

    auto seventh = makeLobby();
    ASSERT_TRUE(seventh->joinLobby(kLoopback, party.host->tcpPort(), false, "Late", 0));
    std::vector<Lobby*> everyone = party.all();
    everyone.push_back(seventh.get());
    ASSERT_TRUE(pumpUntil(everyone, [&] { return seventh->role == LobbyRole::None; }));
    EXPECT_EQ(seventh->error, kFullRejectText);
    EXPECT_TRUE(hasEvent(*seventh, LobbyEvent::Disconnected, kFullRejectText));
    EXPECT_TRUE(seventh->players.empty());

    // A few more seconds: the six see no change and hear no notice.
    pumpFrames(everyone, 180);
    EXPECT_EQ(playerNames(*party.host), names);
    EXPECT_EQ(party.host->clients.size(), 5u);
    for (Lobby* l : party.all()) {
        EXPECT_EQ(playerNames(*l), names);
        EXPECT_TRUE(notices(*l).empty());
        EXPECT_FALSE(hasEvent(*l, LobbyEvent::Disconnected));
    }
}

TEST(LobbyLoopback, AHelloOfAnotherVersionGetsTheVersionMessage) {
    auto host = makeLobby();
    ASSERT_TRUE(host->hostLobby(false, "Host", 0));
    RawClient raw(host->tcpPort());
    ASSERT_TRUE(raw.connected);
    ASSERT_TRUE(raw.sendPacket(hello(1, "Old")));
    sf::Packet reply;
    ASSERT_TRUE(pumpUntil({host.get()}, [&] { return raw.tryReceive(reply); }));
    sf::Uint8 type = 0;
    std::string reason;
    reply >> type >> reason;
    EXPECT_EQ(type, sf::Uint8(LobbyMsg::Reject));
    EXPECT_EQ(reason, kVersionRejectText);
    EXPECT_TRUE(pumpUntil({host.get()}, [&] { return raw.closedByPeer(); }));
    EXPECT_EQ(host->players.size(), 1u);
    EXPECT_TRUE(host->clients.empty());
}

TEST(LobbyLoopback, ASilentClientIsDroppedAfterFifteenSecondsAndTheOthersSeeTheShorterList) {
    Party party;
    ASSERT_TRUE(party.start(3));
    party.clearEvents();
    Lobby* silent = party.clients[2].get();
    const std::vector<Lobby*> talking = {party.host.get(), party.clients[0].get(), party.clients[1].get()};
    float simulated = 0;
    const float dt = 0.25f;
    ASSERT_TRUE(pumpUntil(
        talking, [&] { return party.host->players.size() == 3; }, dt, [&] { simulated += dt; }));
    // Its last ping went out at most about two seconds before it fell silent.
    EXPECT_GT(simulated, 12.5f);
    EXPECT_LE(simulated, 15.25f);
    EXPECT_EQ(notices(*party.host), std::vector<std::string>{"P3 left the lobby."});
    // The leave is the host's own message; the others see it in the list.
    ASSERT_TRUE(pumpUntil(talking, [&] {
        return party.clients[0]->players.size() == 3 && party.clients[1]->players.size() == 3;
    }));
    const std::vector<std::string> names = {"Host", "P1", "P2"};
    EXPECT_EQ(playerNames(*party.clients[0]), names);
    EXPECT_EQ(playerNames(*party.clients[1]), names);
    EXPECT_TRUE(notices(*party.clients[0]).empty());
    // And the silent one, once it runs again, finds the connection gone.
    ASSERT_TRUE(pumpUntil({silent}, [&] { return silent->role == LobbyRole::None; }));
    EXPECT_EQ(silent->error, kHostLostText);
}

TEST(LobbyLoopback, RacePlacesAreAnnouncedInFinishingOrder) {
    Party party;
    ASSERT_TRUE(party.start(4));
    party.host->changeSettings(2, 1, kModeRace);
    party.clearEvents();
    party.host->hostStartAct();
    ASSERT_TRUE(pumpUntil(party.all(), [&] {
        for (auto& c : party.clients)
            if (!hasEvent(*c, LobbyEvent::StartAct)) return false;
        return true;
    }));
    for (auto& c : party.clients) {
        ASSERT_EQ(c->events.back().type, LobbyEvent::StartAct);
        EXPECT_EQ(c->events.back().zone, 2);
        EXPECT_EQ(c->events.back().act, 1);
    }
    EXPECT_TRUE(hasEvent(*party.host, LobbyEvent::StartAct));
    party.clearEvents();

    // P3, P1, P4, P2 cross the line in that order.
    const std::vector<int> order = {2, 0, 3, 1};
    for (std::size_t k = 0; k < order.size(); ++k) {
        Lobby& racer = *party.clients[std::size_t(order[k])];
        racer.sendPlayerState({5000.0f + float(k), 300}, 0, kStateVisible, 2, 1);
        racer.sendFinish(60.0f + float(k));
        const std::size_t want = k + 1;
        ASSERT_TRUE(pumpUntil(party.all(), [&] { return notices(*party.host).size() == want; }));
    }
    const std::vector<std::string> expected = {"P3 finished 1st!", "P1 finished 2nd!", "P4 finished 3rd!",
                                               "P2 finished 4th!"};
    EXPECT_EQ(notices(*party.host), expected);
    EXPECT_TRUE(party.host->settings.started);  // the host has not finished yet
    ASSERT_TRUE(pumpUntil(party.all(), [&] {
        for (auto& c : party.clients)
            if (notices(*c).size() < 4) return false;
        return true;
    }));
    for (auto& c : party.clients) EXPECT_EQ(notices(*c), expected);

    party.host->playerFinished(0, 99.0f);
    EXPECT_EQ(notices(*party.host).back(), "Host finished 5th!");
    EXPECT_FALSE(party.host->settings.started);
    // The places reach everyone in the lobby state.
    Lobby& p1 = *party.clients[0];
    ASSERT_TRUE(pumpUntil(party.all(), [&] { return !p1.settings.started; }));
    const std::vector<int> places = {5, 2, 4, 1, 3};
    for (std::size_t i = 0; i < places.size(); ++i) EXPECT_EQ(p1.players[i].finishPlace, places[i]) << i;
    EXPECT_FLOAT_EQ(p1.players[3].finishTime, 60.0f);
}

TEST(LobbyLoopback, TogetherRunsOnActByActAndEndsBackInTheLobby) {
    struct Case {
        int zone, act;
        int nextZone, nextAct;  // -1: the run is over
    };
    const Case cases[] = {{0, 1, 0, 2}, {0, 2, 1, 1}, {4, 2, 5, 1}, {5, 2, -1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.zone) + "/" + std::to_string(c.act));
        Party party;
        ASSERT_TRUE(party.start(2));
        party.host->changeSettings(c.zone, c.act, kModeTogether);
        party.host->hostStartAct();
        ASSERT_TRUE(pumpUntil(party.all(), [&] { return hasEvent(*party.clients[1], LobbyEvent::StartAct); }));
        party.clearEvents();

        party.clients[0]->sendPlayerState({100, 100}, 0, kStateVisible, c.zone, c.act);
        party.clients[0]->sendFinish(42.0f);
        Lobby& other = *party.clients[1];
        if (c.nextZone >= 0) {
            ASSERT_TRUE(pumpUntil(party.all(), [&] { return hasEvent(other, LobbyEvent::StartAct); }));
            EXPECT_EQ(notices(other), std::vector<std::string>{"P1 reached the goal - on to the next act!"});
            EXPECT_EQ(other.events.back().zone, c.nextZone);
            EXPECT_EQ(other.events.back().act, c.nextAct);
            EXPECT_TRUE(party.host->settings.started);
            EXPECT_TRUE(hasEvent(*party.host, LobbyEvent::StartAct));
        } else {
            ASSERT_TRUE(pumpUntil(party.all(), [&] {
                return hasEvent(other, LobbyEvent::BackToLobby) && hasEvent(*party.clients[0], LobbyEvent::BackToLobby);
            }));
            EXPECT_EQ(notices(other), std::vector<std::string>{kBeatLastZoneText});
            EXPECT_TRUE(hasEvent(*party.host, LobbyEvent::BackToLobby));
            EXPECT_EQ(notices(*party.host), std::vector<std::string>{kBeatLastZoneText});
            EXPECT_FALSE(party.host->settings.started);
            EXPECT_EQ(party.host->settings.zone, 0);
            ASSERT_TRUE(pumpUntil(party.all(), [&] { return !other.settings.started; }));
            EXPECT_EQ(other.settings.zone, 0);
        }
    }
}

TEST(LobbyLoopback, PlayersInTheSameActSeeEachOthersMoves) {
    Party party;
    ASSERT_TRUE(party.start(2));
    Lobby& a = *party.clients[0];
    Lobby& b = *party.clients[1];
    a.sendPlayerState({1000, 400}, 1.5f, kStateVisible | kStateBall, 1, 2);
    party.host->sendPlayerState({900, 380}, 0, kStateVisible, 1, 2);
    ASSERT_TRUE(pumpUntil(party.all(), [&] {
        const LobbyPlayer* seenA = b.findPlayer(a.ownId);
        const LobbyPlayer* seenHost = b.findPlayer(0);
        return seenA && seenA->age < 1 && seenHost && seenHost->age < 1;
    }));
    const LobbyPlayer& seenA = *b.findPlayer(a.ownId);
    EXPECT_EQ(seenA.zone, 1);
    EXPECT_EQ(seenA.act, 2);
    EXPECT_EQ(seenA.flags, kStateVisible | kStateBall);
    EXPECT_FLOAT_EQ(seenA.stateValue, 1.5f);
    EXPECT_FLOAT_EQ(seenA.target.x, 1000);
    // A first state puts the drawn position right there; later ones ease in.
    EXPECT_FLOAT_EQ(seenA.display.x, 1000);
    a.sendPlayerState({1100, 400}, 0, kStateVisible, 1, 2);
    ASSERT_TRUE(pumpUntil(party.all(), [&] { return b.findPlayer(a.ownId)->target.x == 1100; }));
    const float shown = b.findPlayer(a.ownId)->display.x;
    EXPECT_GT(shown, 1000);
    EXPECT_LT(shown, 1100);
    pumpFrames(party.all(), 60);
    EXPECT_NEAR(b.findPlayer(a.ownId)->display.x, 1100, 0.5f);
    // The host saw it too, and nobody got their own state back.
    EXPECT_FLOAT_EQ(party.host->findPlayer(a.ownId)->target.x, 1100);
    EXPECT_GT(a.findPlayer(a.ownId)->age, 0.5f);
}

TEST(LobbyLoopback, TheHostLeavingEndsTheLobbyForItsClients) {
    Party party;
    ASSERT_TRUE(party.start(2));
    const int firstPort = party.host->portIndex;
    party.host->leaveLobby();
    ASSERT_TRUE(pumpUntil(party.all(), [&] {
        return party.clients[0]->role == LobbyRole::None && party.clients[1]->role == LobbyRole::None;
    }));
    for (auto& c : party.clients) {
        EXPECT_EQ(c->error, kHostLostText);
        EXPECT_TRUE(hasEvent(*c, LobbyEvent::Disconnected, kHostLostText));
    }
    // Hosting again at once gets the same port, although the closed
    // connections still linger in the system.
    ASSERT_TRUE(party.host->hostLobby(false, "Host", 0));
    EXPECT_EQ(party.host->portIndex, firstPort);
}

TEST(LobbyLoopback, TheInviteCodeOfALocalLobbyLeadsToIt) {
    auto host = makeLobby();
    ASSERT_TRUE(host->hostLobby(false, "Host", 0));
    EXPECT_EQ(host->status, kLocalHostStatus);
    const InviteTarget t = decodeInviteCode(host->code);
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.address, kLoopback);
    EXPECT_EQ(t.port, host->tcpPort());
    EXPECT_FALSE(t.global);

    auto guest = makeLobby();
    ASSERT_TRUE(guest->joinLobby(t.address, t.port, t.global, "Guest", 3));
    EXPECT_EQ(guest->status, kConnectingStatus);
    EXPECT_EQ(guest->code, host->code);
    ASSERT_TRUE(pumpUntil({host.get(), guest.get()}, [&] { return guest->welcomed && guest->players.size() == 2; }));
    EXPECT_EQ(guest->players[1].hero, 3);
}

TEST(LobbyLoopback, AGlobalHostWithoutInternetFallsBackToALocalCode) {
    auto host = makeLobby();
    ASSERT_TRUE(host->hostLobby(true, "Host", 0));
    EXPECT_TRUE(host->code.empty());
    EXPECT_EQ(host->status, kGlobalHostWaitStatus);
    ASSERT_TRUE(pumpUntil({host.get()}, [&] { return !host->code.empty(); }));
    EXPECT_EQ(host->status, kNoInternetStatus);
    EXPECT_FALSE(host->global);
    EXPECT_FALSE(decodeInviteCode(host->code).global);
}

TEST(LobbyLoopback, BusyPortsAndUnreachableLobbies) {
    // All four ports taken: no lobby, an error text and no disconnect event.
    const std::uint16_t base = 47900;
    std::vector<std::unique_ptr<sf::TcpListener>> squatters;
    for (int i = 0; i < 4; ++i) {
        squatters.push_back(std::make_unique<sf::TcpListener>());
        ASSERT_EQ(squatters.back()->listen(std::uint16_t(base + i)), sf::Socket::Done);
    }
    auto host = makeLobby();
    host->config.basePort = base;
    EXPECT_FALSE(host->hostLobby(false, "Host", 0));
    EXPECT_EQ(host->error, kPortsBusyText);
    EXPECT_EQ(host->role, LobbyRole::None);
    EXPECT_TRUE(host->events.empty());
    squatters[2].reset();
    ASSERT_TRUE(host->hostLobby(false, "Host", 0));
    EXPECT_EQ(host->portIndex, 2);
    EXPECT_TRUE(host->error.empty());
    host->leaveLobby();

    // Nobody listens on the first port any more.
    squatters[0].reset();
    for (bool global : {false, true}) {
        auto guest = makeLobby();
        ASSERT_TRUE(guest->joinLobby(kLoopback, base, global, "Guest", 0));
        ASSERT_TRUE(pumpUntil({guest.get()}, [&] { return guest->role == LobbyRole::None; }));
        const char* text = global ? kGlobalConnectFailText : kLocalConnectFailText;
        EXPECT_EQ(guest->error, text);
        EXPECT_TRUE(hasEvent(*guest, LobbyEvent::Disconnected, text));
    }
}

TEST(LobbyLoopback, BeaconsListLobbiesOnTheNetwork) {
    auto browser = makeLobby();
    browser->lanDiscoveryUpdate(0, true);
    ASSERT_TRUE(browser->discovery);
    const std::uint16_t port = browser->discovery->getLocalPort();
    auto host = makeLobby(port);
    ASSERT_TRUE(host->hostLobby(false, "Beacon Host", 0));

    const auto browse = [&](const std::function<bool()>& done) {
        return pumpUntil(
            {host.get()}, done, 1.0f / 60.0f, [&] { browser->lanDiscoveryUpdate(1.0f / 60.0f, true); });
    };
    ASSERT_TRUE(browse([&] { return !browser->found.empty(); }));
    EXPECT_EQ(browser->found[0].address, kLoopback);
    EXPECT_EQ(browser->found[0].port, host->tcpPort());
    EXPECT_EQ(browser->found[0].name, "Beacon Host");
    EXPECT_EQ(browser->found[0].count, "1/6");
    host->leaveLobby();

    // Beacons from nine more lobbies on nine addresses, two of them wrong.
    const auto beaconFrom = [&](int last, const std::string& text) {
        sf::UdpSocket s;
        ASSERT_EQ(s.bind(sf::Socket::AnyPort, sf::IpAddress(127, 0, 0, sf::Uint8(last))), sf::Socket::Done);
        ASSERT_EQ(s.send(text.data(), text.size(), sf::IpAddress::LocalHost, port), sf::Socket::Done);
    };
    beaconFrom(20, "MIVOLOBBY 1\n47787\nOld\n1/6");
    beaconFrom(21, "MIVOLOBBY 2\n50000\nOdd\n1/6");
    for (int i = 0; i < 8; ++i) beaconFrom(30 + i, formatBeacon(47787, "Lobby" + std::to_string(i), 2));
    ASSERT_TRUE(browse([&] { return browser->found.size() == 8 && browser->found.back().name == "Lobby6"; }));
    for (const FoundLobby& f : browser->found) {
        EXPECT_NE(f.name, "Old");
        EXPECT_NE(f.name, "Odd");
        EXPECT_NE(f.name, "Lobby7");  // the ninth is not listed
    }
    // Hosting stops the listening and clears the list.
    ASSERT_TRUE(browser->hostLobby(false, "Browser", 0));
    browser->lanDiscoveryUpdate(0.1f, true);
    EXPECT_FALSE(browser->discovery);
    EXPECT_TRUE(browser->found.empty());
}

TEST(LobbyLoopback, AGlobalHostTakesItsCodeFromTheRouterWorkAndRemovesTheMappingOnLeaving) {
    auto host = makeLobby();
    std::uint16_t workerPort = 0;
    std::string workerAddress;
    host->config.portMappingWorker = [&](std::shared_ptr<mp::Job> job, std::uint16_t port, std::string local) {
        std::lock_guard<std::mutex> lock(job->mutex);
        workerPort = port;
        workerAddress = local;
        job->publicAddress = 0x01020304u;
        job->publicAddressFound = true;
        job->gateway.host = "192.168.1.1";
        job->gateway.found = true;
        job->gatewayHeld = true;
        job->mappingAdded = true;
        job->done = true;
    };
    std::mutex removedMutex;
    std::string removedHost;
    std::uint16_t removedPort = 0;
    host->config.removePortMapping = [&](UpnpGateway gateway, std::uint16_t port) {
        std::lock_guard<std::mutex> lock(removedMutex);
        removedHost = gateway.host;
        removedPort = port;
    };
    ASSERT_TRUE(host->hostLobby(true, "Host", 0));
    ASSERT_TRUE(pumpUntil({host.get()}, [&] { return !host->code.empty(); }));
    const InviteTarget t = decodeInviteCode(host->code);
    EXPECT_TRUE(t.global);
    EXPECT_EQ(t.address, 0x01020304u);
    EXPECT_EQ(t.port, host->tcpPort());
    EXPECT_EQ(workerPort, host->tcpPort());
    EXPECT_EQ(workerAddress, "127.0.0.1");

    const std::uint16_t port = host->tcpPort();
    host->leaveLobby();
    ASSERT_TRUE(pumpUntil({}, [&] {
        std::lock_guard<std::mutex> lock(removedMutex);
        return !removedHost.empty();
    }));
    EXPECT_EQ(removedHost, "192.168.1.1");
    EXPECT_EQ(removedPort, port);
}
