#include "net/MultiplayerPage.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "content/Heroes.h"
#include "content/Zones.h"
#include "net/InviteCode.h"
#include "persist/PlayerName.h"
#include "render/Draw.h"

namespace {

const std::map<std::string, sf::FloatRect>& buttonMap() {
    static const std::map<std::string, sf::FloatRect> map = {
        {"local", {250, 80, 220, 44}},   {"global", {490, 80, 220, 44}}, {"name", {380, 160, 300, 42}},
        {"host", {280, 216, 400, 50}},   {"code", {200, 316, 300, 48}},  {"paste", {510, 316, 110, 48}},
        {"join", {630, 316, 130, 48}},   {"back", {40, 474, 140, 44}},   {"share", {520, 88, 130, 44}},
        {"charL", {520, 230, 44, 40}},   {"charR", {860, 230, 44, 40}},  {"zoneL", {520, 300, 44, 40}},
        {"zoneR", {860, 300, 44, 40}},   {"actL", {520, 360, 44, 40}},   {"actR", {860, 360, 44, 40}},
        {"modeL", {520, 420, 44, 40}},   {"modeR", {860, 420, 44, 40}},  {"start", {640, 474, 200, 48}},
    };
    return map;
}

bool printable(std::uint32_t c) { return c >= 32 && c <= 126; }

}  // namespace

sf::FloatRect buttonRect(const std::string& id) { return buttonMap().at(id); }

sf::FloatRect lanRowRect(int row) { return {280.0f, 410.0f + 44.0f * float(row), 400.0f, 38.0f}; }

MpView viewOf(const MultiplayerScreen& screen, const Lobby& lobby) {
    MpView v;
    v.lobbyPage = screen.lobbyPage;
    v.tab = screen.tab;
    v.lanLobbies = int(lobby.found.size());
    v.joining = lobby.joining();
    v.hosting = lobby.role == LobbyRole::Host;
    v.hasCode = !lobby.code.empty();
    return v;
}

std::vector<std::string> shownButtons(const MpView& v) {
    if (!v.lobbyPage) return {"local", "global", "name", "host", "code", "paste", "join", "back"};
    if (v.joining) return {"back"};
    std::vector<std::string> ids = {"back"};
    if (v.hasCode) ids.push_back("share");
    ids.insert(ids.end(), {"charL", "charR"});
    if (v.hosting) ids.insert(ids.end(), {"zoneL", "zoneR", "actL", "actR", "modeL", "modeR", "start"});
    return ids;
}

std::string clickTarget(const MpView& v, sf::Vector2f p) {
    for (const std::string& id : shownButtons(v))
        if (buttonRect(id).contains(p)) return id;
    if (!v.lobbyPage && v.tab == MpTab::Local)
        for (int i = 0; i < std::min(v.lanLobbies, kLanRowsShown); ++i)
            if (lanRowRect(i).contains(p)) return "lan" + std::to_string(i);
    return "";
}

// ---- Text fields ------------------------------------------------------------------

std::string cleanedName(const std::string& text) {
    const std::string name = cleanPlayerName(text);
    return name.empty() ? "Player" : name;
}

void typeIntoName(std::string& name, const std::vector<std::uint32_t>& typed) {
    for (std::uint32_t c : typed)
        if (printable(c) && name.size() < kPlayerNameMax) name += char(c);
}

void typeIntoCode(std::string& field, const std::vector<std::uint32_t>& typed) {
    static const std::string prefix = "MIVO-";
    for (std::uint32_t c : typed) {
        if (field.size() >= kInviteCodeLength || !printable(c)) continue;
        const char upper = char(std::toupper(int(c)));
        // The I and O of the code's own "MIVO-" are not code characters, but
        // a player copying a code types them: taken where they continue that
        // prefix at the field's start (else "MIVO-" would become "MV-", which
        // reads as the start of another code).
        const bool continuesPrefix = prefix.compare(0, field.size() + 1, field + upper) == 0;
        if (const char ch = inviteFieldChar(c); ch || continuesPrefix) field += upper;
    }
}

void pasteIntoName(std::string& name, const std::string& clipboard) {
    if (clipboard.empty()) return;
    // Only the first 14 characters that could be kept matter.
    name = cleanedName(name + clipboard.substr(0, 4096));
}

CodePaste pasteIntoCode(std::string& field, const std::string& clipboard) {
    if (clipboard.empty()) return CodePaste::Nothing;
    const InviteTarget t = decodeInviteCode(clipboard);
    if (!t.valid) return CodePaste::NoCode;
    field = encodeInviteTarget(t);
    return CodePaste::Code;
}

// ---- Texts of the pages -------------------------------------------------------------

std::string inviteCodeText(const Lobby& lobby, float time) {
    if (!lobby.code.empty()) return lobby.code;
    const int dots = int(std::max(time, 0.0f) * 3.0f) % 4;
    return "Getting it" + std::string(std::size_t(dots), '.');
}

std::string lanRowText(const FoundLobby& f) { return f.name + "'s lobby  (" + f.count + ")"; }

std::string playerRowText(const LobbyPlayer& p, std::uint32_t ownId) {
    std::string row = p.name;
    if (p.id == 0) row += "  (host)";
    if (p.id == ownId) row += "  (you)";
    row += "  " + heroTable()[std::size_t(std::clamp(p.hero, 0, kHeroCount - 1))].name;
    if (p.id != ownId && p.age < 2.0f && (p.flags & kStateVisible)) row += "  - on the course";
    if (p.finishPlace > 0)
        row += "  " + std::to_string(p.finishPlace) + placeSuffix(p.finishPlace) + "  " + formatTime(p.finishTime);
    return row;
}

std::string lobbyWaitLine(const Lobby& lobby) {
    if (!lobby.settings.started) return "Waiting for the host to start...";
    const LobbyPlayer* me = lobby.findPlayer(lobby.ownId);
    if (me && me->finishPlace > 0) return "Waiting for the others to finish...";
    return "A race is on - you'll be in the next one.";
}

const char* lobbyModeName(int mode) { return mode == kModeTogether ? "Together" : "Race"; }

std::string courseLine(const LobbySettings& s) {
    return "Course: " + zoneTable()[std::size_t(std::clamp(s.zone, 0, 5))].name + " Act " + std::to_string(s.act);
}
