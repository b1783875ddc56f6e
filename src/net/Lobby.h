#pragma once
// A multiplayer lobby of up to six players: one game hosts (listens on TCP,
// keeps the player list and the settings, relays positions, decides places
// and act changes) and the others are clients with one connection each.
// Every socket is non-blocking and serviced once per frame on the game
// thread; only the connect of a join (and the router work of an Internet
// host) runs on a detached worker sharing an mp::Job.
//
// Peers are strangers: every packet is read field by field and checked, a
// length prefix above kMaxFrameBytes closes the connection, connections that
// have not said hello are few and short-lived, and every queue and per-frame
// loop has a cap.

#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/Packet.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/Network/UdpSocket.hpp>
#include <SFML/System/Vector2.hpp>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/Job.h"
#include "net/Listener.h"
#include "net/LobbyWire.h"
#include "net/PortMapping.h"

enum class LobbyRole : int { None = 0, Host = 1, Client = 2 };

struct LobbySettings {
    std::uint32_t reserved = 0;  // always 0 for now; reset whenever zone, act or mode change
    int zone = 0;                // 0..5
    int act = 1;                 // 1 or 2
    int mode = kModeRace;        // kModeRace or kModeTogether
    bool started = false;        // an act is being played
};

struct LobbyPlayer {
    std::uint32_t id = 0;  // 8 bits on the wire; the host is 0
    std::string name;      // cleaned, at most 14 characters
    std::uint8_t reserved = 0;
    int hero = 0;          // 0..8
    int finishPlace = 0;   // 0: not finished
    float finishTime = 0;
    // The last state heard, and where it is drawn.
    std::uint8_t flags = 0;
    int zone = 0, act = 0;
    float stateValue = 0;
    sf::Vector2f display, target;
    float age = 99.0f;  // seconds since the last state
};

struct LobbyEvent {
    enum Type : int { Joined = 0, StartAct = 1, BackToLobby = 2, Disconnected = 3, Notice = 4 };
    Type type = Notice;
    std::string text;
    std::uint32_t reserved = 0;
    int zone = 0, act = 1, mode = kModeRace;
};

// One TCP connection: the bytes read but not yet cut into packets, and the
// framed packets waiting to go out (the first one possibly half sent).
struct LobbyLink {
    std::unique_ptr<sf::TcpSocket> socket;  // none in tests that feed packets by hand
    FrameReader reader;
    std::deque<std::string> sendQueue;
    std::size_t frontSent = 0;
    float idle = 0;  // seconds since a packet arrived
    bool closed = false;
};

// The host's side of one accepted connection.
struct LobbyClient : LobbyLink {
    std::int64_t playerId = -1;  // -1 until its hello is accepted
    float age = 0;               // seconds since it was accepted
    int relaysThisFrame = 0;
};

// Where the lobby sends and listens. The defaults are the real game; tests
// and tools point the beacon at loopback.
struct LobbyNetConfig {
    sf::IpAddress beaconAddress = sf::IpAddress::Broadcast;
    std::uint16_t beaconPort = kBeaconPort;
    std::uint16_t discoveryPort = kBeaconPort;  // 0: any free port
    std::uint16_t basePort = 47787;             // the four lobby ports start here
    std::optional<std::uint32_t> localAddress;  // none: this machine's own
    // Where the router work of an Internet host looks for the router and the
    // public address. None: no router work, the job is done at once with
    // nothing found (no Internet), so a lobby made in a test or a tool never
    // talks to anything beyond what it is pointed at. The game sets the real
    // ones (Mivoland2Options::routerTargets).
    std::optional<mp::RouterTargets> routerTargets;
    // Stand-ins for the router work and the removal of its mapping (tests).
    // The worker, given the job, the TCP port and the local address as text,
    // fills the job and sets done last; it is used instead of the router
    // work when set.
    std::function<void(std::shared_ptr<mp::Job>, std::uint16_t, std::string)> portMappingWorker;
    // Removes a router mapping on a detached thread when a lobby closes;
    // unset, the router work's own removal runs (only after the router work).
    std::function<void(UpnpGateway, std::uint16_t)> removePortMapping;
};

// Status and error texts.
inline constexpr const char* kPortsBusyText = "Couldn't start a lobby: the game's network ports are busy.";
inline constexpr const char* kLocalHostStatus =
    "Anyone on the same Wi-Fi can join with this code, or find the lobby in their list.";
inline constexpr const char* kGlobalHostWaitStatus =
    "Getting your internet address and asking your router to let friends in...";
inline constexpr const char* kNoInternetStatus =
    "Couldn't reach the internet, so this is a Local code (same Wi-Fi only).";
inline constexpr const char* kConnectingStatus = "Connecting...";
inline constexpr const char* kHelloStatus = "Saying hello to the host...";
inline constexpr const char* kGlobalConnectFailText =
    "Couldn't reach that lobby. Check the code - and the host's router has to let the game in (it says on their "
    "lobby screen).";
inline constexpr const char* kLocalConnectFailText =
    "Couldn't reach that lobby. Check the code, and that you're both on the same Wi-Fi.";
inline constexpr const char* kJoinedGlobalStatus = "Joined over the internet.";
inline constexpr const char* kJoinedLocalStatus = "Joined on your local network.";
inline constexpr const char* kVersionRejectText = "That lobby is on a different version of Mivoland.";
inline constexpr const char* kFullRejectText = "That lobby is full.";
inline constexpr const char* kEmptyRejectText = "The lobby said no.";
inline constexpr const char* kHostLostText = "The host closed the lobby (or the connection dropped).";
inline constexpr const char* kNoAnswerText = "The lobby didn't answer.";
inline constexpr const char* kBeatLastZoneText = "You beat the last zone together!";

class Lobby {
public:
    Lobby() = default;
    ~Lobby();
    Lobby(const Lobby&) = delete;
    Lobby& operator=(const Lobby&) = delete;

    // ---- Starting and leaving ---------------------------------------------------------
    // Listens on the first free lobby port; false (with the error text) when
    // all four are busy.
    bool hostLobby(bool global, const std::string& name, int hero);
    // Starts the connect on a worker; true once it runs.
    bool joinLobby(std::uint32_t address, std::uint16_t port, bool global, const std::string& name, int hero);
    void leaveLobby();
    void leaveLobbyWithError(const std::string& text);
    // Waits (at most `limit`) for the router mappings on their way in or out
    // (a removal after a lobby closed, or router work that asked for a
    // mapping and will take it back); true when none is left. The game calls
    // it on the way out, so closing the window does not cut a removal short.
    bool waitForRemovals(std::chrono::milliseconds limit);

    // ---- Each frame, in this order (update runs all four) ----------------------------
    // browsing: the multiplayer screen is shown, so found lobbies are listed.
    void update(float dt, bool browsing);
    void lanDiscoveryUpdate(float dt, bool browsing);
    void pollNetJob();
    void hostUpdate(float dt);
    void clientUpdate(float dt);
    // Moves every drawn position toward its target and ages every state.
    void stepRemotes(float dt);
    std::vector<LobbyEvent> takeEvents();

    // ---- Host -------------------------------------------------------------------------
    void hostStartAct();
    void broadcastLobbyState();
    void broadcastNotice(const std::string& text);
    void playerFinished(std::uint32_t id, float time);
    // Zone, act and mode chosen on the lobby screen; the others are told.
    void changeSettings(int zone, int act, int mode);

    // ---- Playing ----------------------------------------------------------------------
    void sendPlayerState(sf::Vector2f position, float value, std::uint8_t flags, int zone, int act);
    void sendFinish(float time);
    void chooseHero(int hero);

    // ---- Messages (public so tests and the fuzzer can feed packets) ----------------
    // Appends a copy unless the queue holds 400 packets already.
    static bool queuePacket(LobbyLink& link, const sf::Packet& packet);
    void handleHostPacket(LobbyClient& client, sf::Packet& packet);
    void handleClientPacket(sf::Packet& packet);

    // ---- Queries ------------------------------------------------------------------------
    bool inGame() const { return role == LobbyRole::Host || (role == LobbyRole::Client && welcomed); }
    bool joining() const { return role == LobbyRole::Client && !welcomed; }
    LobbyPlayer* findPlayer(std::uint32_t id);
    const LobbyPlayer* findPlayer(std::uint32_t id) const;
    LobbyPlayer* ownPlayer() { return findPlayer(ownId); }
    std::uint16_t tcpPort() const { return std::uint16_t(config.basePort + portIndex); }
    // Bytes held for all connections (read buffers and send queues).
    std::size_t bufferedBytes() const;

    LobbyNetConfig config;

    LobbyRole role = LobbyRole::None;
    bool global = false;
    std::string code, status, error;
    std::vector<LobbyPlayer> players;  // join order, host first
    std::uint32_t ownId = 0;
    bool welcomed = false;
    LobbySettings settings;

    // Host.
    std::unique_ptr<LobbyListener> listener;
    std::vector<LobbyClient> clients;
    std::unique_ptr<sf::UdpSocket> beacon;
    std::uint32_t localAddress = 0;
    int portIndex = 0;
    std::uint32_t nextId = 1;
    int finishers = 0;
    float beaconTimer = 0, lobbyStateTimer = 0;
    bool lobbyStateChanged = false;  // a hero changed: one LobbyState after this frame's packets

    // Client.
    LobbyLink host;
    float pingTimer = 0;
    std::string helloName;
    std::uint8_t helloReserved = 0;
    int helloHero = 0;

    std::shared_ptr<mp::Job> job;
    std::vector<LobbyEvent> events;
    // Router mappings on their way in or out on other threads: removals, and
    // router work past asking for a mapping (mp::Job::mappingsInFlight).
    std::shared_ptr<std::atomic<int>> mappingsInFlight = std::make_shared<std::atomic<int>>(0);

    // Browsing.
    std::unique_ptr<sf::UdpSocket> discovery;
    float discoveryRetry = 0;  // seconds until binding the discovery port is tried again
    std::vector<FoundLobby> found;

private:
    void acceptConnections();
    void removeClosedClients();
    void sendBeacon();
    void rejectClient(LobbyClient& client, const std::string& reason);
    void queueToPlayers(const sf::Packet& packet, const LobbyClient* except = nullptr);
    void addEvent(LobbyEvent::Type type, const std::string& text = "");
    std::uint32_t allocatePlayerId();
    // Reads and handles at most cap packets; false ends the loop early.
    template <class Handle>
    void receiveFrom(LobbyLink& link, int cap, Handle&& handle);
    static void flush(LobbyLink& link);
};

// Stores a state heard for a player: the drawn position jumps when the last
// state is old or from another act, and the age starts again.
void receivePlayerState(LobbyPlayer& player, sf::Vector2f position, float value, std::uint8_t flags, int zone,
                        int act);

// This machine's IPv4 address on its network (host byte order), or loopback.
std::uint32_t machineLocalAddress();
