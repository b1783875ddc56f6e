// Feeds arbitrary bytes, as the invite file, the clipboard, typed text and
// the player name file, to the readers of the multiplayer screen, and checks
// that the code field and the name only ever hold what they may, and that a
// code read back leads where it was read from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/InviteCode.h"
#include "net/MultiplayerPage.h"
#include "persist/PlayerName.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// The code field: at most 13 characters, each a hyphen, a code character, or
// the I and O of its "MIVO-" prefix.
void checkCodeField(const std::string& field) {
    check(field.size() <= kInviteCodeLength);
    for (char c : field) check(c == '-' || c == 'I' || c == 'O' || inviteCharValue(c) >= 0);
}

// A shown or sent name: 1 to 14 printable characters, no blank at either end.
void checkName(const std::string& name) {
    check(!name.empty() && name.size() <= kPlayerNameMax);
    for (char c : name) check(c >= 32 && c <= 126);
    check(name.front() != ' ' && name.back() != ' ');
}

void checkTarget(const InviteTarget& t) {
    if (!t.valid) return;
    check(t.port >= kLobbyBasePort && t.port < kLobbyBasePort + kLobbyPortCount);
    const std::string code = encodeInviteTarget(t);
    check(code.size() == kInviteCodeLength);
    const InviteTarget again = decodeInviteCode(code);
    check(again.valid && again.address == t.address && again.port == t.port && again.global == t.global);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // The invite file: its first word goes into the code field.
    const std::string word = inviteFileWord(text);
    check(word.size() <= 64);
    checkTarget(decodeInviteCode(word));
    checkTarget(decodeInviteCode(text));
    std::string field;
    typeIntoCode(field, std::vector<std::uint32_t>(word.begin(), word.end()));
    checkCodeField(field);

    // Typed characters (each byte a code point, and a few wide ones).
    std::vector<std::uint32_t> typed;
    for (std::size_t i = 0; i + 1 < size; i += 2) typed.push_back(std::uint32_t(data[i]) << (data[i + 1] % 24));
    field.clear();
    typeIntoCode(field, typed);
    checkCodeField(field);
    std::string name;
    typeIntoName(name, typed);
    check(name.size() <= kPlayerNameMax);

    // The clipboard, pasted into both fields.
    std::string pasted = "MIVO-";
    if (pasteIntoCode(pasted, text) == CodePaste::Code) check(decodeInviteCode(pasted).valid);
    checkCodeField(pasted);
    name = "Zoe";
    pasteIntoName(name, text);
    checkName(name);

    // The name file's first line; what is written reads back the same.
    const std::string line = cleanPlayerName(text.substr(0, text.find('\n')));
    if (!line.empty()) {
        checkName(line);
        check(cleanPlayerName(line) == line);
    }
    checkName(cleanedName(text));
    return 0;
}
