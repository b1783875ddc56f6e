#include "net/LobbyWire.h"

#include <algorithm>
#include <cmath>

#include "gameplay/Player.h"
#include "net/InviteCode.h"

namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trimBlanks(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && blank(s[a])) ++a;
    while (b > a && blank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

}  // namespace

std::string cleanLobbyName(const std::string& name) {
    std::string kept;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || u > 126) continue;
        kept += c;
        if (kept.size() == kLobbyNameMax) break;
    }
    kept = trimBlanks(kept);
    return kept.empty() ? "Player" : kept;
}

std::string cleanWireText(const std::string& text, std::size_t maxChars) {
    std::string kept;
    for (char c : text) {
        if (kept.size() >= maxChars) break;
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 32 && u <= 126) kept += c;
    }
    return kept;
}

std::string placeSuffix(int place) {
    switch (place) {
        case 1: return "st";
        case 2: return "nd";
        case 3: return "rd";
        default: return "th";
    }
}

std::string finishNotice(const std::string& name, int place) {
    return name + " finished " + std::to_string(place) + placeSuffix(place) + "!";
}

int zoneFromByte(std::uint8_t b) { return std::min<int>(b, 5); }
int actFromByte(std::uint8_t b) { return b == 0 ? 1 : b >= 3 ? 2 : int(b); }
int modeFromByte(std::uint8_t b) { return b == 1 ? kModeTogether : kModeRace; }

LobbyActStep nextLobbyAct(int zone, int act) {
    if (act >= 2) return {zone + 1, 1};
    return {zone, act + 1};
}

// ---- Player state --------------------------------------------------------------------

std::uint8_t playerStateFlags(const Player& p) {
    std::uint8_t f = kStateVisible;
    if (p.transformed) f |= kStateTransformed;
    if (p.divine) f |= kStateDivine;
    if (p.hurtTime > 0) f |= kStateHurt;
    if (inBallState(p)) f |= kStateBall;
    if (p.facing < 0) f |= kStateFacingLeft;
    return f;
}

float playerStateValue(const Player& p) { return inBallState(p) ? p.spinPhase : p.rotation; }

// ---- Beacon ----------------------------------------------------------------------------

std::string formatBeacon(std::uint16_t port, const std::string& hostName, int players) {
    return "MIVOLOBBY " + std::to_string(kLobbyProtocolVersion) + "\n" + std::to_string(port) + "\n" +
           cleanLobbyName(hostName) + "\n" + std::to_string(players) + "/" + std::to_string(kLobbyMaxPlayers);
}

std::optional<BeaconInfo> parseBeacon(const char* data, std::size_t size) {
    size = std::min(size, kBeaconMaxBytes);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (lines.size() == 4) break;  // only four lines are read
        } else {
            line += data[i];
        }
    }
    if (lines.size() < 4) lines.push_back(line);
    if (lines.size() < 4) return std::nullopt;
    if (lines[0] != "MIVOLOBBY " + std::to_string(kLobbyProtocolVersion)) return std::nullopt;
    const std::string& portText = lines[1];
    if (portText.empty() || portText.size() > 9 ||
        !std::all_of(portText.begin(), portText.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const long port = std::stol(portText);
    if (port < kLobbyBasePort || port >= kLobbyBasePort + kLobbyPortCount) return std::nullopt;
    BeaconInfo b;
    b.port = std::uint16_t(port);
    b.name = cleanLobbyName(lines[2]);
    b.count = cleanWireText(lines[3], 8);
    return b;
}

void noteFoundLobby(std::vector<FoundLobby>& found, std::uint32_t address, const BeaconInfo& beacon) {
    for (FoundLobby& f : found) {
        if (f.address == address && f.port == beacon.port) {
            f.name = beacon.name;
            f.count = beacon.count;
            f.age = 0;
            return;
        }
    }
    if (found.size() >= kFoundLobbyMax) return;
    found.push_back({address, beacon.port, beacon.name, beacon.count, 0.0f});
}

void ageFoundLobbies(std::vector<FoundLobby>& found, float dt) {
    for (FoundLobby& f : found) f.age += dt;
    found.erase(std::remove_if(found.begin(), found.end(), [](const FoundLobby& f) { return f.age > kFoundLobbyLifetime; }),
                found.end());
}

// ---- Framing -------------------------------------------------------------------------

std::string framePacket(const sf::Packet& packet) {
    const std::size_t n = packet.getDataSize();
    std::string out(4 + n, '\0');
    out[0] = char((n >> 24) & 0xFF);
    out[1] = char((n >> 16) & 0xFF);
    out[2] = char((n >> 8) & 0xFF);
    out[3] = char(n & 0xFF);
    if (n > 0) std::copy_n(static_cast<const char*>(packet.getData()), n, out.begin() + 4);
    return out;
}

void FrameReader::append(const char* data, std::size_t size) {
    if (start_ > 0 && start_ * 2 >= buf_.size()) {
        buf_.erase(buf_.begin(), buf_.begin() + std::ptrdiff_t(start_));
        start_ = 0;
    }
    buf_.insert(buf_.end(), data, data + size);
}

FrameReader::Next FrameReader::next(sf::Packet& out) {
    if (buffered() < 4) return Next::NeedMore;
    const unsigned char* h = reinterpret_cast<const unsigned char*>(buf_.data() + start_);
    const std::uint32_t n = std::uint32_t(h[0]) << 24 | std::uint32_t(h[1]) << 16 | std::uint32_t(h[2]) << 8 | h[3];
    if (n > maxFrame_) return Next::TooBig;
    if (buffered() - 4 < n) return Next::NeedMore;
    out.clear();
    if (n > 0) out.append(buf_.data() + start_ + 4, n);
    start_ += 4 + n;
    if (start_ == buf_.size()) {
        buf_.clear();
        start_ = 0;
    }
    return Next::Packet;
}
