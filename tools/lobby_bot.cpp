// Headless lobby players for trying lobbies by hand and from tests: joins a
// lobby by its invite code (or hosts one), picks a hero, and whenever an
// act starts plays back a scripted run through it - a ghost that follows the
// act's ground to the goal - sending its state like a game and its finish.
//
//   lobby_bot join CODE [--bots N] [--name NAME] [--hero H] [--speed S] [--seconds T]
//   lobby_bot host [--start-after N] [--zone Z] [--act A] [--mode race|together]
//                  [--beacon ADDRESS] [--name NAME] [--hero H] [--speed S] [--seconds T]
//
// With --bots N, N players join from this one process (NAME1..NAMEN). A host
// prints its invite code, starts the act once --start-after players are in
// (the host included) and starts the next race a few seconds after one ends.
// Its LAN beacon goes to 127.0.0.1 unless --beacon names another address.
// Try it inside a private network namespace with the game:
//   unshare -n sh -c 'ip link set lo up; build/release/lobby_bot host --start-after 3 & ...'
#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "net/InviteCode.h"
#include "net/LobbyBot.h"

namespace {

const char* kTypeNames[] = {"joined", "start act", "back to lobby", "disconnected", "notice"};

void usage() {
    std::fprintf(stderr,
                 "usage: lobby_bot join CODE [--bots N] [--name NAME] [--hero H] [--speed S] [--seconds T]\n"
                 "       lobby_bot host [--start-after N] [--zone Z] [--act A] [--mode race|together]\n"
                 "                      [--beacon ADDRESS] [--name NAME] [--hero H] [--speed S] [--seconds T]\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        usage();
        return 2;
    }
    const std::string mode = argv[1];
    std::string code, name = "Bot", beacon = "127.0.0.1", lobbyMode = "race";
    int bots = 1, hero = 0, startAfter = 0, zone = 0, act = 1;
    float speed = 900, seconds = 0;
    int i = 2;
    if (mode == "join") {
        if (argc < 3) {
            usage();
            return 2;
        }
        code = argv[i++];
    } else if (mode != "host") {
        usage();
        return 2;
    }
    for (; i + 1 < argc; i += 2) {
        const std::string opt = argv[i], val = argv[i + 1];
        if (opt == "--bots") bots = std::max(1, std::atoi(val.c_str()));
        else if (opt == "--name") name = val;
        else if (opt == "--hero") hero = std::atoi(val.c_str());
        else if (opt == "--speed") speed = float(std::atof(val.c_str()));
        else if (opt == "--seconds") seconds = float(std::atof(val.c_str()));
        else if (opt == "--start-after") startAfter = std::atoi(val.c_str());
        else if (opt == "--zone") zone = std::atoi(val.c_str());
        else if (opt == "--act") act = std::atoi(val.c_str());
        else if (opt == "--mode") lobbyMode = val;
        else if (opt == "--beacon") beacon = val;
        else {
            usage();
            return 2;
        }
    }
    if (i < argc) {
        usage();
        return 2;
    }

    std::vector<std::unique_ptr<LobbyBot>> players;
    const int count = mode == "host" ? 1 : bots;
    sf::Clock clock;
    for (int n = 0; n < count; ++n) {
        auto bot = std::make_unique<LobbyBot>();
        bot->name = count > 1 ? name + std::to_string(n + 1) : name;
        bot->hero = (hero + n) % 9;
        bot->speed = speed;
        bot->lobby.config.beaconAddress = sf::IpAddress(beacon);
        const std::string who = bot->name;
        bot->onEvent = [who, &clock](const LobbyEvent& e) {
            std::printf("%7.2f  %-10s %s%s%s\n", clock.getElapsedTime().asSeconds(), who.c_str(),
                        kTypeNames[std::clamp(int(e.type), 0, 4)], e.text.empty() ? "" : ": ", e.text.c_str());
            if (e.type == LobbyEvent::StartAct) std::printf("%20s zone %d act %d\n", "", e.zone, e.act);
            std::fflush(stdout);
        };
        players.push_back(std::move(bot));
    }

    if (mode == "host") {
        LobbyBot& h = *players[0];
        if (!h.lobby.hostLobby(false, h.name, h.hero)) {
            std::fprintf(stderr, "%s\n", h.lobby.error.c_str());
            return 1;
        }
        h.lobby.changeSettings(zone, act, lobbyMode == "together" ? kModeTogether : kModeRace);
        std::printf("hosting on port %u, invite code %s\n", unsigned(h.lobby.tcpPort()), h.lobby.code.c_str());
    } else {
        const InviteTarget t = decodeInviteCode(code);
        if (!t.valid) {
            std::fprintf(stderr, "That doesn't look like an invite code. It's like MIVO-ABC-DEFG.\n");
            return 1;
        }
        for (auto& bot : players) bot->lobby.joinLobby(t.address, t.port, t.global, bot->name, bot->hero);
    }
    std::fflush(stdout);

    const float dt = 1.0f / 60.0f;
    float idleSince = -1;  // host: when the last race ended
    for (;;) {
        const sf::Time frameStart = clock.getElapsedTime();
        bool anyone = false;
        for (auto& bot : players) {
            bot->update(dt);
            anyone = anyone || bot->lobby.role != LobbyRole::None;
        }
        if (!anyone) return 0;  // every bot's lobby has ended
        if (mode == "host" && startAfter > 0) {
            Lobby& l = players[0]->lobby;
            const float now = clock.getElapsedTime().asSeconds();
            if (l.settings.started) {
                idleSince = -1;
            } else if (int(l.players.size()) >= startAfter) {
                if (idleSince < 0) idleSince = now;
                if (now - idleSince > 3.0f) l.hostStartAct();
            }
        }
        if (seconds > 0 && clock.getElapsedTime().asSeconds() > seconds) return 0;
        const sf::Time used = clock.getElapsedTime() - frameStart;
        if (used < sf::seconds(dt)) sf::sleep(sf::seconds(dt) - used);
    }
}
