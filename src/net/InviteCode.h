#pragma once
// Invite codes such as "MIVO-ABC-DEFG": a host's IPv4 address, which of the
// four lobby ports it listens on, and whether the address is a public one,
// packed into seven characters of a 32-letter alphabet. Also the invite
// message put on the clipboard and the hand-over file "invite.txt".

#include <cstdint>
#include <string>

// No I, O, 0 or 1: a character's position is its 5-bit value.
inline constexpr const char* kInviteAlphabet = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
inline constexpr std::uint16_t kLobbyBasePort = 47787;  // ports 47787..47790
inline constexpr int kLobbyPortCount = 4;
inline constexpr std::uint64_t kInviteMask = 0x2c4d2e58bULL;  // 34 bits
inline constexpr std::size_t kInviteCodeLength = 13;          // "MIVO-ABC-DEFG"
inline constexpr const char* kInviteFileName = "invite.txt";

struct InviteTarget {
    std::uint32_t address = 0;  // host byte order, first octet in the top byte
    std::uint16_t port = 0;     // 47787 + port index
    bool global = false;        // a public Internet address
    bool valid = false;
};

// The 5-bit value of an alphabet character, or -1 (upper case only).
int inviteCharValue(char c);

// "MIVO-" + 3 characters + "-" + 4 characters. portIndex is taken modulo 4.
std::string encodeInviteCode(std::uint32_t address, int portIndex, bool global);

// Reads a code out of typed or pasted text: case does not matter, reading
// starts after the last "MIVO-" (or at the start), hyphens and spaces are
// skipped, and the first other character after the code began ends it.
InviteTarget decodeInviteCode(const std::string& text);

// The canonical code of a decoded target.
std::string encodeInviteTarget(const InviteTarget& target);

// "Join my Mivoland 2 lobby! Open Multiplayer, press Join and type the code: " + code.
std::string inviteMessage(const std::string& code);

// The code field takes printable characters turned to upper case when they
// are a hyphen or in the alphabet; 0 when the character is not taken.
char inviteFieldChar(std::uint32_t codePoint);

// The first whitespace-separated word of the invite file's text, at most
// maxChars long (a longer word is cut).
std::string inviteFileWord(const std::string& contents, std::size_t maxChars = 64);
