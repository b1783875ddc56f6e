#pragma once
// The lobby protocol as plain data: message numbers, limits, the cleaning of
// names and texts that come from other players, the LAN beacon's text, the
// finish notices, and the framing of packets on a TCP stream. Nothing here
// touches a socket; net/Lobby.h does.

#include <SFML/Network/Packet.hpp>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Player;

// Message types: the first byte of every packet.
enum class LobbyMsg : std::uint8_t {
    Hello = 1,        // client: u32 version, text name, u8 reserved, u8 hero
    Welcome = 2,      // host: u8 player id
    Reject = 3,       // host: text reason
    LobbyState = 4,   // host: u8 flag, zone, act, mode; bool started; u8 count; players
    ChooseHero = 5,   // client: u8 reserved, u8 hero
    StartAct = 6,     // host: u8 flag, zone, act, mode
    PlayerState = 7,  // client: x, y, value, u8 flags, zone, act; host: u8 id first
    Finish = 8,       // client: float seconds
    Ping = 9,         // client
    Notice = 10,      // host: text
    BackToLobby = 11, // host
};

inline constexpr std::uint32_t kLobbyProtocolVersion = 2;
inline constexpr int kLobbyMaxPlayers = 6;
inline constexpr std::size_t kSendQueueCap = 400;   // packets per connection
inline constexpr int kHostReceiveCap = 200;         // packets from each client per frame
inline constexpr int kClientReceiveCap = 400;       // packets from the host per frame
inline constexpr float kLobbyIdleLimit = 15.0f;
inline constexpr float kPingInterval = 2.0f;
inline constexpr float kLobbyStateInterval = 2.0f;
inline constexpr float kBeaconInterval = 1.0f;
inline constexpr float kFoundLobbyLifetime = 4.0f;
inline constexpr std::size_t kFoundLobbyMax = 8;
inline constexpr float kPlayerStateInterval = 0.05f;
inline constexpr float kConnectTimeout = 6.0f;
inline constexpr std::uint16_t kBeaconPort = 47786;
inline constexpr std::size_t kBeaconMaxBytes = 512;
inline constexpr std::size_t kLobbyNameMax = 14;
inline constexpr std::size_t kNoticeMaxChars = 80;

// Limits that keep a stranger from growing the host's memory or taking its
// frame time.
inline constexpr std::uint32_t kMaxFrameBytes = 64 * 1024;      // one packet's length prefix
inline constexpr std::size_t kReceiveBytesPerFrame = 256 * 1024;  // read from one connection per frame
inline constexpr int kMaxPendingConnections = 16;  // accepted, no hello yet
inline constexpr float kHelloTimeLimit = 5.0f;     // seconds to say hello
inline constexpr int kAcceptsPerFrame = 32;
inline constexpr int kDatagramsPerFrame = 64;      // beacons read per frame
inline constexpr int kRelaysPerFrame = 4;          // player states relayed per sender per frame
inline constexpr std::size_t kReasonMaxChars = 160;
inline constexpr float kMaxWireCoordinate = 1.0e6f;  // positions beyond are not a real act
inline constexpr float kMaxFinishTime = 99.0f * 3600.0f;

// Race or play together.
enum : int { kModeRace = 0, kModeTogether = 1 };

// Names shown or sent: characters from space to tilde, at most 14, blanks
// trimmed at both ends, "Player" when nothing is left.
std::string cleanLobbyName(const std::string& name);
// Other texts from the wire: printable ASCII only, cut to maxChars.
std::string cleanWireText(const std::string& text, std::size_t maxChars);

// "st", "nd", "rd" for 1, 2, 3, else "th".
std::string placeSuffix(int place);
// name + " finished " + place + suffix + "!".
std::string finishNotice(const std::string& name, int place);

// The settings bytes of LobbyState and StartAct as a client reads them.
int zoneFromByte(std::uint8_t b);  // at most 5
int actFromByte(std::uint8_t b);   // 0 gives 1, 3 and up give 2
int modeFromByte(std::uint8_t b);  // Together exactly for 1

// The act after (zone, act) in a together run: act 2, then the next zone's act 1.
struct LobbyActStep {
    int zone = 0, act = 1;
};
LobbyActStep nextLobbyAct(int zone, int act);

// ---- The player state a game sends -----------------------------------------------

enum : std::uint8_t {
    kStateVisible = 1,
    kStateTransformed = 2,
    kStateDivine = 4,
    kStateHurt = 8,
    kStateBall = 16,
    kStateFacingLeft = 32,
};
std::uint8_t playerStateFlags(const Player& player);
// The drawing angle: the spin phase in a ball, else the body's rotation.
float playerStateValue(const Player& player);

// ---- LAN beacon --------------------------------------------------------------------

// "MIVOLOBBY 2", the port, the host's name and "count/6", one per line.
std::string formatBeacon(std::uint16_t port, const std::string& hostName, int players);

struct BeaconInfo {
    std::uint16_t port = 0;
    std::string name;   // cleaned, at most 14 characters
    std::string count;  // at most 8 characters
};
// Nothing unless the text has four lines, the first "MIVOLOBBY 2" and the
// second a lobby port 47787..47790.
std::optional<BeaconInfo> parseBeacon(const char* data, std::size_t size);

struct FoundLobby {
    std::uint32_t address = 0;  // host byte order
    std::uint16_t port = 0;
    std::string name;
    std::string count;
    float age = 0;
};
// Refreshes the lobby with this address and port, or lists it when fewer
// than eight are listed.
void noteFoundLobby(std::vector<FoundLobby>& found, std::uint32_t address, const BeaconInfo& beacon);
// Ages every entry and forgets those silent for more than 4 s.
void ageFoundLobbies(std::vector<FoundLobby>& found, float dt);

// ---- Framing ------------------------------------------------------------------------

// A packet on the stream as the multimedia library frames it: its length as
// four bytes, most significant first, then its bytes.
std::string framePacket(const sf::Packet& packet);

// Cuts packets out of the bytes received on one connection. A length prefix
// above the cap is an error instead of a reason to grow the buffer, so the
// buffer never holds more than one capped packet and the last read.
class FrameReader {
public:
    enum class Next { Packet, NeedMore, TooBig };

    FrameReader() = default;
    explicit FrameReader(std::uint32_t maxFrame) : maxFrame_(maxFrame) {}

    void append(const char* data, std::size_t size);
    // The next whole packet, if the buffer holds one.
    Next next(sf::Packet& out);
    std::size_t buffered() const { return buf_.size() - start_; }

private:
    std::vector<char> buf_;
    std::size_t start_ = 0;
    std::uint32_t maxFrame_ = kMaxFrameBytes;
};
