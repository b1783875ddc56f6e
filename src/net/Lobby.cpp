#include "net/Lobby.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>

#include "net/InviteCode.h"
#include "net/PortMapDecision.h"

namespace {

sf::Packet message(LobbyMsg type) {
    sf::Packet p;
    p << std::uint8_t(type);
    return p;
}

sf::Uint8 byte(int v) { return sf::Uint8(std::clamp(v, 0, 255)); }

int clampHero(int hero) { return std::clamp(hero, 0, 8); }

// A position or time from the wire: finite and inside sane bounds, or nothing.
bool finite(float v) { return std::isfinite(v); }

float clampCoordinate(float v) { return std::clamp(v, -kMaxWireCoordinate, kMaxWireCoordinate); }

void closeLink(LobbyLink& link) {
    if (link.socket) link.socket->disconnect();
    link.closed = true;
}

std::string dotted(std::uint32_t a) { return sf::IpAddress(a).toString(); }

}  // namespace

// ---- Shared helpers ---------------------------------------------------------------------

void receivePlayerState(LobbyPlayer& pl, sf::Vector2f pos, float value, std::uint8_t flags, int zone, int act) {
    pos = {clampCoordinate(pos.x), clampCoordinate(pos.y)};
    if (pl.age > 1.0f || zone != pl.zone || act != pl.act) pl.display = pos;
    pl.target = pos;
    pl.flags = flags;
    pl.zone = zone;
    pl.act = act;
    pl.stateValue = value;
    pl.age = 0;
}

std::uint32_t machineLocalAddress() {
    std::uint32_t found = sf::IpAddress::LocalHost.toInteger();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return found;
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
        found = ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr);
        break;
    }
    freeifaddrs(list);
    return found;
}

Lobby::~Lobby() { leaveLobby(); }

LobbyPlayer* Lobby::findPlayer(std::uint32_t id) {
    for (LobbyPlayer& p : players)
        if (p.id == id) return &p;
    return nullptr;
}

const LobbyPlayer* Lobby::findPlayer(std::uint32_t id) const {
    for (const LobbyPlayer& p : players)
        if (p.id == id) return &p;
    return nullptr;
}

std::size_t Lobby::bufferedBytes() const {
    const auto linkBytes = [](const LobbyLink& l) {
        std::size_t n = l.reader.buffered();
        for (const std::string& f : l.sendQueue) n += f.size();
        return n;
    };
    std::size_t n = linkBytes(host);
    for (const LobbyClient& c : clients) n += linkBytes(c);
    return n;
}

void Lobby::addEvent(LobbyEvent::Type type, const std::string& text) {
    LobbyEvent e;
    e.type = type;
    e.text = text;
    events.push_back(std::move(e));
}

std::vector<LobbyEvent> Lobby::takeEvents() {
    std::vector<LobbyEvent> out;
    out.swap(events);
    return out;
}

bool Lobby::queuePacket(LobbyLink& link, const sf::Packet& packet) {
    if (link.sendQueue.size() >= kSendQueueCap) return false;
    link.sendQueue.push_back(framePacket(packet));
    return true;
}

void Lobby::queueToPlayers(const sf::Packet& packet, const LobbyClient* except) {
    for (LobbyClient& c : clients)
        if (c.playerId >= 0 && !c.closed && &c != except) queuePacket(c, packet);
}

void Lobby::flush(LobbyLink& link) {
    while (!link.sendQueue.empty() && link.socket && !link.closed) {
        const std::string& f = link.sendQueue.front();
        std::size_t sent = 0;
        const sf::Socket::Status st = link.socket->send(f.data() + link.frontSent, f.size() - link.frontSent, sent);
        if (st == sf::Socket::Done) {
            link.sendQueue.pop_front();
            link.frontSent = 0;
        } else if (st == sf::Socket::Partial) {
            link.frontSent += sent;
            break;
        } else if (st == sf::Socket::NotReady) {
            break;
        } else {
            link.closed = true;
        }
    }
}

template <class Handle>
void Lobby::receiveFrom(LobbyLink& link, int cap, Handle&& handle) {
    sf::Packet packet;
    std::size_t bytes = 0;
    for (int handled = 0; handled < cap && !link.closed;) {
        const FrameReader::Next next = link.reader.next(packet);
        if (next == FrameReader::Next::Packet) {
            ++handled;
            if (!handle(packet)) return;
            continue;
        }
        if (next == FrameReader::Next::TooBig) {
            closeLink(link);
            return;
        }
        if (!link.socket || bytes >= kReceiveBytesPerFrame) return;
        char buf[4096];
        std::size_t got = 0;
        const sf::Socket::Status st = link.socket->receive(buf, sizeof buf, got);
        if (st == sf::Socket::Done) {
            link.reader.append(buf, got);
            bytes += got;
        } else if (st == sf::Socket::NotReady) {
            return;
        } else {
            link.closed = true;
            return;
        }
    }
}

// ---- Starting and leaving -------------------------------------------------------------

bool Lobby::hostLobby(bool isGlobal, const std::string& name, int hero) {
    leaveLobby();
    error.clear();
    auto l = std::make_unique<LobbyListener>();
    int index = -1;
    for (int i = 0; i < kLobbyPortCount && index < 0; ++i)
        if (l->listenReusable(std::uint16_t(config.basePort + i)) == sf::Socket::Done) index = i;
    if (index < 0) {
        error = kPortsBusyText;
        return false;
    }
    listener = std::move(l);
    portIndex = index;
    role = LobbyRole::Host;
    global = isGlobal;
    ownId = 0;
    nextId = 1;
    welcomed = true;
    settings.started = false;
    finishers = 0;
    beaconTimer = lobbyStateTimer = 0;
    LobbyPlayer me;
    me.id = 0;
    me.name = cleanLobbyName(name);
    me.hero = clampHero(hero);
    players = {me};

    localAddress = config.localAddress ? *config.localAddress : machineLocalAddress();
    auto b = std::make_unique<sf::UdpSocket>();
    if (b->bind(sf::Socket::AnyPort) == sf::Socket::Done) {
        b->setBlocking(false);
        beacon = std::move(b);
    }

    if (!global) {
        code = encodeInviteCode(localAddress, portIndex, false);
        status = kLocalHostStatus;
        return true;
    }
    // An Internet lobby: the router work finds the public address and opens
    // the port; pollNetJob makes the code from what it found.
    status = kGlobalHostWaitStatus;
    job = std::make_shared<mp::Job>();
    job->mappingsInFlight = mappingsInFlight;
    bool started = false;
    if (config.portMappingWorker) {
        try {
            std::thread(config.portMappingWorker, job, tcpPort(), dotted(localAddress)).detach();
            started = true;
        } catch (const std::system_error&) {
        }
    } else if (config.routerTargets) {
        started = mp::startPortMappingJob(job, tcpPort(), dotted(localAddress), *config.routerTargets);
    }
    if (!started) {
        std::lock_guard<std::mutex> lock(job->mutex);
        job->done = true;
    }
    return true;
}

bool Lobby::joinLobby(std::uint32_t address, std::uint16_t port, bool isGlobal, const std::string& name, int hero) {
    leaveLobby();
    error.clear();
    role = LobbyRole::Client;
    global = isGlobal;
    welcomed = false;
    helloName = cleanLobbyName(name);
    helloReserved = 0;
    helloHero = clampHero(hero);
    code = encodeInviteCode(address, int(port) - kLobbyBasePort, global);
    status = kConnectingStatus;
    auto j = std::make_shared<mp::Job>();
    try {
        std::thread([j, address, port] {
            auto socket = std::make_unique<sf::TcpSocket>();
            const bool ok = socket->connect(sf::IpAddress(address), port, sf::seconds(kConnectTimeout)) == sf::Socket::Done;
            std::lock_guard<std::mutex> lock(j->mutex);
            j->socket = std::move(socket);
            j->connected = ok;
            j->done = true;
        }).detach();
    } catch (const std::system_error&) {
        role = LobbyRole::None;
        code.clear();
        status.clear();
        return false;
    }
    job = std::move(j);
    return true;
}

void Lobby::leaveLobby() {
    if (job) {
        std::lock_guard<std::mutex> lock(job->mutex);
        job->abandoned = true;  // a worker still running adds nothing more and removes what it added
        if (role == LobbyRole::Host && job->gatewayHeld && job->mappingAdded) {
            if (config.removePortMapping) {
                try {
                    std::thread(config.removePortMapping, job->gateway, tcpPort()).detach();
                } catch (const std::system_error&) {
                }
            } else if (config.routerTargets) {
                // Its own thread with a copy of the router; only the counter is shared.
                const auto running = mappingsInFlight;
                ++*running;
                try {
                    std::thread([gateway = job->gateway, port = tcpPort(), running] {
                        mp::removePortMapping(gateway, port);
                        --*running;
                    }).detach();
                } catch (const std::system_error&) {
                    --*running;  // the lease ends a forgotten mapping by itself
                }
            }
        }
    }
    job.reset();
    for (LobbyClient& c : clients)
        if (c.socket) c.socket->disconnect();
    clients.clear();
    if (host.socket) host.socket->disconnect();
    host = LobbyLink{};
    if (listener) listener->close();
    listener.reset();
    beacon.reset();
    role = LobbyRole::None;
    players.clear();
    welcomed = false;
    settings.started = false;
    code.clear();
    status.clear();
    finishers = 0;
    pingTimer = beaconTimer = lobbyStateTimer = 0;
    lobbyStateChanged = false;
}

bool Lobby::waitForRemovals(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (*mappingsInFlight > 0) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void Lobby::leaveLobbyWithError(const std::string& text) {
    leaveLobby();
    error = text;
    addEvent(LobbyEvent::Disconnected, text);
}

// ---- Each frame -----------------------------------------------------------------------------

void Lobby::update(float dt, bool browsing) {
    lanDiscoveryUpdate(dt, browsing);
    pollNetJob();
    if (role == LobbyRole::Host) hostUpdate(dt);
    else if (role == LobbyRole::Client) clientUpdate(dt);
}

void Lobby::lanDiscoveryUpdate(float dt, bool browsing) {
    ageFoundLobbies(found, dt);
    if (!browsing || role != LobbyRole::None || job) {
        discovery.reset();
        discoveryRetry = 0;
        found.clear();
        return;
    }
    if (!discovery) {
        // A port taken by another program is tried again once a second, not
        // every frame.
        discoveryRetry -= dt;
        if (discoveryRetry > 0) return;
        discoveryRetry = 1.0f;
        auto u = std::make_unique<sf::UdpSocket>();
        if (u->bind(config.discoveryPort) != sf::Socket::Done) return;
        u->setBlocking(false);
        discovery = std::move(u);
    }
    char buf[kBeaconMaxBytes];
    for (int i = 0; i < kDatagramsPerFrame; ++i) {
        std::size_t got = 0;
        sf::IpAddress sender;
        unsigned short senderPort = 0;
        if (discovery->receive(buf, sizeof buf, got, sender, senderPort) != sf::Socket::Done) break;
        if (sender == sf::IpAddress::None) continue;
        if (const auto b = parseBeacon(buf, got)) noteFoundLobby(found, sender.toInteger(), *b);
    }
}

void Lobby::pollNetJob() {
    if (!job) return;
    if (role == LobbyRole::Client) {
        std::unique_ptr<sf::TcpSocket> socket;
        bool connected = false;
        {
            std::lock_guard<std::mutex> lock(job->mutex);
            if (!job->done) return;
            socket = std::move(job->socket);
            connected = job->connected;
        }
        job.reset();
        if (!connected || !socket) {
            leaveLobbyWithError(global ? kGlobalConnectFailText : kLocalConnectFailText);
            return;
        }
        socket->setBlocking(false);
        host = LobbyLink{};
        host.socket = std::move(socket);
        pingTimer = 0;
        sf::Packet hello = message(LobbyMsg::Hello);
        hello << sf::Uint32(kLobbyProtocolVersion) << helloName << helloReserved << byte(helloHero);
        queuePacket(host, hello);
        status = kHelloStatus;
        return;
    }
    if (role == LobbyRole::Host && code.empty()) {
        mp::PortMapFindings findings;
        {
            std::lock_guard<std::mutex> lock(job->mutex);
            if (!job->done) return;
            findings = mp::findingsOf(*job);
        }
        // The job stays: leaving the lobby still needs its router to remove
        // the mapping.
        const mp::PortMapDecision d = mp::decidePortMapping(findings, tcpPort(), localAddress);
        code = encodeInviteCode(d.codeAddress, portIndex, d.global);
        global = d.global;
        status = d.status;
    }
}

// ---- Host ------------------------------------------------------------------------------------

void Lobby::acceptConnections() {
    for (int i = 0; i < kAcceptsPerFrame && listener; ++i) {
        auto socket = std::make_unique<sf::TcpSocket>();
        if (listener->accept(*socket) != sf::Socket::Done) break;
        socket->setBlocking(false);
        LobbyClient c;
        c.socket = std::move(socket);
        clients.push_back(std::move(c));
    }
    // Too many connections that have not said hello: the oldest go, so the
    // newest (a player who just connected) always gets its turn.
    int pending = 0;
    for (const LobbyClient& c : clients)
        if (c.playerId < 0 && !c.closed) ++pending;
    for (LobbyClient& c : clients) {
        if (pending <= kMaxPendingConnections) break;
        if (c.playerId < 0 && !c.closed) {
            closeLink(c);
            --pending;
        }
    }
}

void Lobby::hostUpdate(float dt) {
    if (role != LobbyRole::Host) return;
    acceptConnections();
    for (std::size_t i = 0; i < clients.size(); ++i) {
        LobbyClient& c = clients[i];
        if (c.closed) continue;
        c.idle += dt;
        c.age += dt;
        c.relaysThisFrame = 0;
        receiveFrom(c, kHostReceiveCap, [&](sf::Packet& p) {
            c.idle = 0;
            handleHostPacket(c, p);
            return !c.closed;
        });
        if (c.idle > kLobbyIdleLimit) c.closed = true;
        if (c.playerId < 0 && c.age > kHelloTimeLimit) c.closed = true;
    }
    if (lobbyStateChanged) broadcastLobbyState();
    removeClosedClients();

    lobbyStateTimer += dt;
    if (lobbyStateTimer > kLobbyStateInterval) broadcastLobbyState();
    beaconTimer += dt;
    if (beacon && beaconTimer > kBeaconInterval) {
        beaconTimer = 0;
        sendBeacon();
    }
    for (LobbyClient& c : clients) flush(c);
}

void Lobby::removeClosedClients() {
    bool removed = false;
    for (LobbyClient& c : clients) {
        if (!c.closed) continue;
        if (c.socket) c.socket->disconnect();
        if (c.playerId < 0) continue;
        const auto it = std::find_if(players.begin(), players.end(),
                                     [&](const LobbyPlayer& p) { return p.id == std::uint32_t(c.playerId); });
        if (it == players.end()) continue;
        addEvent(LobbyEvent::Notice, it->name + " left the lobby.");
        players.erase(it);
        removed = true;
    }
    clients.erase(std::remove_if(clients.begin(), clients.end(), [](const LobbyClient& c) { return c.closed; }),
                  clients.end());
    if (!removed) return;
    if (settings.started && settings.mode == kModeRace && finishers >= int(players.size())) settings.started = false;
    broadcastLobbyState();
}

void Lobby::sendBeacon() {
    const std::string text = formatBeacon(tcpPort(), players.empty() ? "" : players.front().name, int(players.size()));
    beacon->send(text.data(), text.size(), config.beaconAddress, config.beaconPort);
}

void Lobby::rejectClient(LobbyClient& c, const std::string& reason) {
    sf::Packet p = message(LobbyMsg::Reject);
    p << reason;
    // Sent at once, ahead of anything queued: a client that has not been
    // welcomed has been sent nothing else, so the few bytes fit the socket.
    if (c.socket) {
        const std::string f = framePacket(p);
        std::size_t sent = 0;
        c.socket->send(f.data(), f.size(), sent);
    }
    closeLink(c);
}

std::uint32_t Lobby::allocatePlayerId() {
    // Ids are one byte on the wire: wrap within 1..255 and skip ids in use,
    // so a long-lived lobby never hands out the host's id or a taken one.
    for (int tries = 0; tries < 255; ++tries) {
        const std::uint32_t id = nextId;
        nextId = nextId >= 255 ? 1 : nextId + 1;
        if (!findPlayer(id)) return id;
    }
    return nextId;
}

void Lobby::handleHostPacket(LobbyClient& c, sf::Packet& p) {
    sf::Uint8 type = 0;
    if (c.playerId < 0) {
        // Only a complete Hello is taken from a connection without a player.
        sf::Uint32 version = 0;
        std::string name;
        sf::Uint8 reserved = 0, hero = 0;
        if (!(p >> type) || type != sf::Uint8(LobbyMsg::Hello) || !(p >> version >> name >> reserved >> hero)) {
            closeLink(c);
            return;
        }
        if (version != kLobbyProtocolVersion) {
            rejectClient(c, kVersionRejectText);
            return;
        }
        if (int(players.size()) >= kLobbyMaxPlayers) {
            rejectClient(c, kFullRejectText);
            return;
        }
        LobbyPlayer pl;
        pl.id = allocatePlayerId();
        pl.name = cleanLobbyName(name);
        pl.hero = clampHero(hero);
        players.push_back(pl);
        c.playerId = pl.id;
        sf::Packet welcome = message(LobbyMsg::Welcome);
        welcome << byte(int(pl.id));
        queuePacket(c, welcome);
        broadcastNotice(pl.name + " joined the lobby!");
        broadcastLobbyState();
        return;
    }
    if (!(p >> type)) return;
    LobbyPlayer* pl = findPlayer(std::uint32_t(c.playerId));
    if (!pl) return;
    switch (LobbyMsg(type)) {
        case LobbyMsg::ChooseHero: {
            sf::Uint8 reserved = 0, hero = 0;
            if (!(p >> reserved >> hero)) return;
            pl->reserved = 0;
            pl->hero = clampHero(hero);
            lobbyStateChanged = true;  // one LobbyState however many arrive this frame
            break;
        }
        case LobbyMsg::PlayerState: {
            float x = 0, y = 0, value = 0;
            sf::Uint8 flags = 0, zone = 0, act = 0;
            if (!(p >> x >> y >> value >> flags >> zone >> act)) return;
            if (!finite(x) || !finite(y) || !finite(value)) return;
            receivePlayerState(*pl, {x, y}, value, flags, zone, act);
            // A burst of states (after a stall, or a flood) relays only its
            // first few; the stored one is always the newest.
            if (c.relaysThisFrame >= kRelaysPerFrame) return;
            ++c.relaysThisFrame;
            sf::Packet relay = message(LobbyMsg::PlayerState);
            relay << byte(int(pl->id)) << pl->target.x << pl->target.y << value << flags << zone << act;
            queueToPlayers(relay, &c);
            break;
        }
        case LobbyMsg::Finish: {
            float time = 0;
            if (!(p >> time) || !finite(time) || time < 0) return;
            // A finish counts for the act being played: one sent for an
            // earlier act (say just before a together run moved on) is late.
            if (pl->zone != settings.zone || pl->act != settings.act) return;
            playerFinished(pl->id, std::min(time, kMaxFinishTime));
            break;
        }
        default: break;  // Ping and anything else: arriving was enough
    }
}

void Lobby::broadcastLobbyState() {
    sf::Packet p = message(LobbyMsg::LobbyState);
    p << byte(int(settings.reserved != 0)) << byte(settings.zone) << byte(settings.act) << byte(settings.mode)
      << settings.started << byte(int(players.size()));
    for (const LobbyPlayer& pl : players)
        p << byte(int(pl.id)) << pl.name << sf::Uint8(0) << byte(pl.hero) << byte(pl.finishPlace) << pl.finishTime;
    queueToPlayers(p);
    lobbyStateTimer = 0;
    lobbyStateChanged = false;
}

void Lobby::broadcastNotice(const std::string& text) {
    sf::Packet p = message(LobbyMsg::Notice);
    p << text;
    queueToPlayers(p);
    addEvent(LobbyEvent::Notice, text);
}

void Lobby::hostStartAct() {
    if (role != LobbyRole::Host) return;
    settings.started = true;
    finishers = 0;
    for (LobbyPlayer& pl : players) {
        pl.finishPlace = 0;
        pl.finishTime = 0;
    }
    broadcastLobbyState();
    sf::Packet p = message(LobbyMsg::StartAct);
    p << byte(int(settings.reserved != 0)) << byte(settings.zone) << byte(settings.act) << byte(settings.mode);
    queueToPlayers(p);
    LobbyEvent e;
    e.type = LobbyEvent::StartAct;
    e.reserved = settings.reserved;
    e.zone = settings.zone;
    e.act = settings.act;
    e.mode = settings.mode;
    events.push_back(e);
}

void Lobby::playerFinished(std::uint32_t id, float time) {
    if (role != LobbyRole::Host || !settings.started) return;
    LobbyPlayer* pl = findPlayer(id);
    if (!pl) return;
    if (settings.mode == kModeRace) {
        if (pl->finishPlace != 0) return;
        pl->finishPlace = ++finishers;
        pl->finishTime = time;
        broadcastNotice(finishNotice(pl->name, pl->finishPlace));
        if (std::all_of(players.begin(), players.end(), [](const LobbyPlayer& q) { return q.finishPlace != 0; }))
            settings.started = false;
        broadcastLobbyState();
        return;
    }
    const std::string name = pl->name;
    const LobbyActStep next = nextLobbyAct(settings.zone, settings.act);
    settings.reserved = 0;
    settings.act = next.act;
    if (next.zone <= 5) {
        settings.zone = next.zone;
        broadcastNotice(name + " reached the goal - on to the next act!");
        hostStartAct();
        return;
    }
    settings.zone = 0;
    settings.started = false;
    broadcastNotice(kBeatLastZoneText);
    queueToPlayers(message(LobbyMsg::BackToLobby));
    addEvent(LobbyEvent::BackToLobby);
    broadcastLobbyState();
}

void Lobby::changeSettings(int zone, int act, int mode) {
    if (role != LobbyRole::Host) return;
    settings.zone = std::clamp(zone, 0, 5);
    settings.act = std::clamp(act, 1, 2);
    settings.mode = mode == kModeTogether ? kModeTogether : kModeRace;
    settings.reserved = 0;
    broadcastLobbyState();
}

// ---- Client ---------------------------------------------------------------------------------

void Lobby::clientUpdate(float dt) {
    if (role != LobbyRole::Client || !host.socket) return;
    host.idle += dt;
    receiveFrom(host, kClientReceiveCap, [&](sf::Packet& p) {
        host.idle = 0;
        handleClientPacket(p);
        return role == LobbyRole::Client;
    });
    if (role != LobbyRole::Client) return;  // a Reject ended it
    pingTimer += dt;
    if (pingTimer > kPingInterval) {
        pingTimer = 0;
        queuePacket(host, message(LobbyMsg::Ping));
    }
    flush(host);
    if (host.closed || host.idle > kLobbyIdleLimit) leaveLobbyWithError(welcomed ? kHostLostText : kNoAnswerText);
}

void Lobby::handleClientPacket(sf::Packet& p) {
    if (role != LobbyRole::Client) return;
    sf::Uint8 type = 0;
    if (!(p >> type)) return;
    switch (LobbyMsg(type)) {
        case LobbyMsg::Welcome: {
            sf::Uint8 id = 0;
            if (!(p >> id)) return;
            ownId = id;
            welcomed = true;
            status = global ? kJoinedGlobalStatus : kJoinedLocalStatus;
            addEvent(LobbyEvent::Joined);
            break;
        }
        case LobbyMsg::Reject: {
            std::string reason;
            p >> reason;
            reason = cleanWireText(reason, kReasonMaxChars);
            leaveLobbyWithError(reason.empty() ? kEmptyRejectText : reason);
            break;
        }
        case LobbyMsg::LobbyState: {
            sf::Uint8 flag = 0, zone = 0, act = 0, mode = 0, count = 0;
            bool started = false;
            if (!(p >> flag >> zone >> act >> mode >> started >> count)) return;
            if (count > kLobbyMaxPlayers) return;  // no lobby holds more
            std::vector<LobbyPlayer> list;
            for (int i = 0; i < count; ++i) {
                sf::Uint8 id = 0, reserved = 0, hero = 0, place = 0;
                std::string name;
                float time = 0;
                if (!(p >> id >> name >> reserved >> hero >> place >> time)) return;
                LobbyPlayer pl;
                if (const LobbyPlayer* known = findPlayer(id)) pl = *known;
                pl.id = id;
                pl.name = cleanLobbyName(name);
                pl.reserved = 0;
                pl.hero = clampHero(hero);
                pl.finishPlace = place;
                pl.finishTime = finite(time) ? std::clamp(time, 0.0f, kMaxFinishTime) : 0.0f;
                list.push_back(std::move(pl));
            }
            settings.reserved = flag != 0;
            settings.zone = zoneFromByte(zone);
            settings.act = actFromByte(act);
            settings.mode = modeFromByte(mode);
            settings.started = started;
            players = std::move(list);
            break;
        }
        case LobbyMsg::StartAct: {
            sf::Uint8 flag = 0, zone = 0, act = 0, mode = 0;
            if (!(p >> flag >> zone >> act >> mode)) return;
            LobbyEvent e;
            e.type = LobbyEvent::StartAct;
            e.reserved = flag != 0;
            e.zone = zoneFromByte(zone);
            e.act = actFromByte(act);
            e.mode = modeFromByte(mode);
            settings.reserved = e.reserved;
            settings.zone = e.zone;
            settings.act = e.act;
            settings.mode = e.mode;
            settings.started = true;
            for (LobbyPlayer& pl : players) {
                pl.finishPlace = 0;
                pl.finishTime = 0;
            }
            events.push_back(e);
            break;
        }
        case LobbyMsg::PlayerState: {
            sf::Uint8 id = 0, flags = 0, zone = 0, act = 0;
            float x = 0, y = 0, value = 0;
            if (!(p >> id >> x >> y >> value >> flags >> zone >> act)) return;
            if (id == ownId || !finite(x) || !finite(y) || !finite(value)) return;
            if (LobbyPlayer* pl = findPlayer(id)) receivePlayerState(*pl, {x, y}, value, flags, zone, act);
            break;
        }
        case LobbyMsg::Notice: {
            std::string text;
            if (!(p >> text)) return;
            addEvent(LobbyEvent::Notice, cleanWireText(text, kNoticeMaxChars));
            break;
        }
        case LobbyMsg::BackToLobby: addEvent(LobbyEvent::BackToLobby); break;
        default: break;
    }
}

// ---- Playing ----------------------------------------------------------------------------------

void Lobby::sendPlayerState(sf::Vector2f pos, float value, std::uint8_t flags, int zone, int act) {
    if (!inGame()) return;
    if (LobbyPlayer* me = ownPlayer()) {
        me->display = me->target = pos;
        me->flags = flags;
        me->zone = zone;
        me->act = act;
        me->stateValue = value;
        me->age = 0;
    }
    sf::Packet p = message(LobbyMsg::PlayerState);
    if (role == LobbyRole::Host) {
        p << byte(int(ownId)) << pos.x << pos.y << value << flags << byte(zone) << byte(act);
        queueToPlayers(p);
    } else {
        p << pos.x << pos.y << value << flags << byte(zone) << byte(act);
        queuePacket(host, p);
    }
}

void Lobby::sendFinish(float time) {
    if (role != LobbyRole::Client || !welcomed) return;
    sf::Packet p = message(LobbyMsg::Finish);
    p << time;
    queuePacket(host, p);
}

void Lobby::chooseHero(int hero) {
    hero = clampHero(hero);
    helloHero = hero;
    if (LobbyPlayer* me = ownPlayer(); me && inGame()) {
        me->hero = hero;
        me->reserved = 0;
    }
    if (role == LobbyRole::Host) {
        broadcastLobbyState();
    } else if (role == LobbyRole::Client && welcomed) {
        sf::Packet p = message(LobbyMsg::ChooseHero);
        p << sf::Uint8(0) << byte(hero);
        queuePacket(host, p);
    }
}

void Lobby::stepRemotes(float dt) {
    const float k = std::min(15.0f * dt, 1.0f);
    for (LobbyPlayer& pl : players) {
        pl.display += (pl.target - pl.display) * k;
        pl.age += dt;
    }
}
