#pragma once
// The multiplayer screen as plain data: its two pages (MULTIPLAYER to host or
// join, LOBBY once in a lobby), the clickable rectangles, what each page
// shows, the rules of its two text fields, and the texts built from the
// lobby. The game's side (net/LobbyScreen.cpp) reads input, calls the lobby
// and draws; everything here works without a window.
#include <SFML/Graphics/Rect.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "net/Lobby.h"

enum class MpTab : int { Local = 0, Global = 1 };
enum class MpField : int { None = 0, Name = 1, Code = 2 };

// The screen's own state; the name and the code field are the game's
// playerName and inviteField.
struct MultiplayerScreen {
    MpTab tab = MpTab::Local;
    bool lobbyPage = false;  // the LOBBY page is shown (a lobby is hosted or joined)
    MpField editing = MpField::None;
};

// ---- Clickable elements -------------------------------------------------------------

// The rectangle (view units) of a button by its id: "local", "global",
// "name", "host", "code", "paste", "join", "back", "share", "charL", "charR",
// "zoneL", "zoneR", "actL", "actR", "modeL", "modeR", "start". An unknown id
// is a programming error (std::out_of_range).
sf::FloatRect buttonRect(const std::string& id);

// The rows of lobbies heard on the local network: at most two are listed.
constexpr int kLanRowsShown = 2;
sf::FloatRect lanRowRect(int row);

// What the page shows right now, as the buttons see it.
struct MpView {
    bool lobbyPage = false;
    MpTab tab = MpTab::Local;
    int lanLobbies = 0;       // lobbies heard on the network
    bool joining = false;     // a client not yet welcomed
    bool hosting = false;
    bool hasCode = false;     // the lobby's invite code is known
};
MpView viewOf(const MultiplayerScreen& screen, const Lobby& lobby);

// The ids of the buttons shown, in the order they are drawn.
std::vector<std::string> shownButtons(const MpView& view);

// What a click at point p hits: a button id, "lan0" / "lan1" for a listed
// lobby, or empty for nothing.
std::string clickTarget(const MpView& view, sf::Vector2f p);

// ---- Text fields ------------------------------------------------------------------

// The player's name as shown and sent: printable ASCII only, at most 14
// characters, blanks trimmed; "Player" when nothing is left.
std::string cleanedName(const std::string& text);

// Typed characters (code points of the frame's text events). The name takes
// any printable ASCII up to 14 characters; the code field takes the hyphen
// and the invite alphabet, turned to upper case, up to 13 (and the I and O of
// "MIVO-" typed at its start).
void typeIntoName(std::string& name, const std::vector<std::uint32_t>& typed);
void typeIntoCode(std::string& field, const std::vector<std::uint32_t>& typed);

// Pasting into the name: the clipboard text is appended, the result cleaned
// and cut to 14 characters. An empty clipboard changes nothing.
void pasteIntoName(std::string& name, const std::string& clipboard);

// Pasting into the code field: a code found in the clipboard text replaces
// the field in its canonical form.
enum class CodePaste { Nothing, Code, NoCode };
CodePaste pasteIntoCode(std::string& field, const std::string& clipboard);

// ---- Texts of the pages -------------------------------------------------------------

// The invite code, or "Getting it" with 0 to 3 dots moving with the time
// while an Internet host waits for its router.
std::string inviteCodeText(const Lobby& lobby, float time);

// "Name's lobby  (2/6)".
std::string lanRowText(const FoundLobby& found);

// One row of the player list: the name, "  (host)", "  (you)", the hero,
// "  - on the course" for another player heard from in play, and a finish
// place with its time.
std::string playerRowText(const LobbyPlayer& player, std::uint32_t ownId);

// What the lobby is doing, from this player's side.
std::string lobbyWaitLine(const Lobby& lobby);

const char* lobbyModeName(int mode);

// "Course: Echo Meadows Act 1".
std::string courseLine(const LobbySettings& settings);
