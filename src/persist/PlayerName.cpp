#include "persist/PlayerName.h"

#include "core/platform/FileSystem.h"

namespace {

std::string trim(const std::string& s) {
    const char* blanks = " \t\r\n";
    std::size_t a = s.find_first_not_of(blanks);
    if (a == std::string::npos) return "";
    std::size_t b = s.find_last_not_of(blanks);
    return s.substr(a, b - a + 1);
}

}  // namespace

std::string playerNamePath(const std::string& dataFolder) { return dataFolder + "player_name.txt"; }

std::string cleanPlayerName(const std::string& line) {
    std::string t = trim(line);
    if (t.empty()) return "";
    std::string kept;
    for (char c : t) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u >= 32 && u <= 126) kept += c;
        if (kept.size() == kPlayerNameMax) break;
    }
    kept = trim(kept);
    return kept.empty() ? "Player" : kept;
}

std::string freshPlayerName(std::uint32_t randomValue) {
    return "Player" + std::to_string(100 + randomValue % 900);
}

std::string loadPlayerName(const std::string& dataFolder) {
    std::string text;
    std::string name;
    if (!readFile(playerNamePath(dataFolder), text, 4096)) {
        std::size_t end = text.find('\n');
        name = cleanPlayerName(text.substr(0, end));
    }
    if (name.empty()) {
        std::random_device rd;
        name = freshPlayerName(rd());
    }
    return name;
}

bool savePlayerName(const std::string& dataFolder, const std::string& name) {
    // Only a clean name reaches the file, as its one line: a line feed or a
    // control character in the given name cannot add lines or garble it.
    std::string clean = cleanPlayerName(name);
    if (clean.empty()) clean = "Player";
    return !writeFileAtomically(playerNamePath(dataFolder), clean + "\n");
}
