#include "net/InviteCode.h"

#include <algorithm>
#include <cctype>
#include <cstring>

int inviteCharValue(char c) {
    if (c == '\0') return -1;
    const char* at = std::strchr(kInviteAlphabet, c);
    return at ? int(at - kInviteAlphabet) : -1;
}

std::string encodeInviteCode(std::uint32_t address, int portIndex, bool global) {
    const std::uint64_t v = ((std::uint64_t(address) * 4 | std::uint64_t(portIndex & 3)) * 2) | (global ? 1u : 0u);
    const std::uint64_t w = v ^ kInviteMask;
    char c[7];
    for (int i = 0; i < 7; ++i) c[i] = kInviteAlphabet[(w >> (30 - 5 * i)) & 31];
    std::string code = "MIVO-";
    code.append(c, 3);
    code += '-';
    code.append(c + 3, 4);
    return code;
}

InviteTarget decodeInviteCode(const std::string& text) {
    std::string upper = text;
    for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
    const std::size_t prefix = upper.rfind("MIVO-");
    std::size_t i = prefix == std::string::npos ? 0 : prefix + 5;

    std::uint64_t w = 0;
    int collected = 0;
    for (; i < upper.size() && collected < 7; ++i) {
        const char ch = upper[i];
        const int value = inviteCharValue(ch);
        if (value >= 0) {
            w = w * 32 + std::uint64_t(value);
            ++collected;
        } else if (ch == '-' || ch == ' ') {
            continue;
        } else if (collected > 0) {
            break;
        }
    }
    InviteTarget t;
    if (collected != 7) return t;
    const std::uint64_t v = w ^ kInviteMask;
    t.address = std::uint32_t(v >> 3);
    t.port = std::uint16_t(kLobbyBasePort + ((v >> 1) & 3));
    t.global = (v & 1) != 0;
    t.valid = true;
    return t;
}

std::string encodeInviteTarget(const InviteTarget& target) {
    return encodeInviteCode(target.address, int(target.port - kLobbyBasePort), target.global);
}

std::string inviteMessage(const std::string& code) {
    return "Join my Mivoland 2 lobby! Open Multiplayer, press Join and type the code: " + code;
}

char inviteFieldChar(std::uint32_t codePoint) {
    if (codePoint < 32 || codePoint > 126) return 0;
    const char ch = char(std::toupper(int(codePoint)));
    return ch == '-' || inviteCharValue(ch) >= 0 ? ch : 0;
}

std::string inviteFileWord(const std::string& contents, std::size_t maxChars) {
    std::size_t i = 0;
    while (i < contents.size() && std::isspace(static_cast<unsigned char>(contents[i]))) ++i;
    std::size_t end = i;
    while (end < contents.size() && !std::isspace(static_cast<unsigned char>(contents[end]))) ++end;
    return contents.substr(i, std::min(end - i, maxChars));
}
