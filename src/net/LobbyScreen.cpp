// The multiplayer screen: opening it, the typing into its two fields, and
// the clicks on both pages. The rectangles and the field rules are in
// net/MultiplayerPage.h; the drawing is in net/LobbyScreenDraw.cpp.
#include "audio/SoundEffects.h"
#include "core/Mivoland2.h"
#include "net/InviteCode.h"
#include "persist/PlayerName.h"

namespace {

constexpr int kSoundJoined = 9;
constexpr int kSoundRefused = 23;
constexpr const char* kNoCodeCopiedText = "No invite code in what you copied";
constexpr const char* kInviteCopiedText = "Invite copied - paste it to your friends!";

}  // namespace

void Mivoland2::openMultiplayerScreen() {
    if (mpScreen.editing == MpField::Name) endNameEdit();
    mpScreen.editing = MpField::None;
    mpScreen.lobbyPage = lobby.role != LobbyRole::None;
    state = GameState::Multiplayer;
    paused = false;
    playMusic("lobby");
}

void Mivoland2::returnToLobbyScreen() {
    paused = false;
    openMultiplayerScreen();
}

Clipboard& Mivoland2::systemClipboard() {
    if (options.clipboard) return *options.clipboard;
    if (!desktopClipboard) desktopClipboard = std::make_unique<SystemClipboard>();
    return *desktopClipboard;
}

bool Mivoland2::controlHeld() const {
    return keys && keys->hasFocus() &&
           (keys->keyDown(sf::Keyboard::LControl) || keys->keyDown(sf::Keyboard::RControl));
}

void Mivoland2::updateMultiplayerScreen() {
    // The lobby closed under the LOBBY page (a failure, or a join that did
    // not start): back to the MULTIPLAYER page.
    if (mpScreen.lobbyPage && lobby.role == LobbyRole::None) mpScreen.lobbyPage = false;
    if (mpScreen.lobbyPage) mpScreen.editing = MpField::None;

    const bool keysTaken = mpScreen.editing != MpField::None && updateTextEntry();
    if (state != GameState::Multiplayer) return;

    if (input.clicked) {
        const std::string target = clickTarget(viewOf(mpScreen, lobby), input.mousePos);
        if (mpScreen.lobbyPage)
            clickLobbyPage(target);
        else
            clickMultiplayerPage(target);
        if (state != GameState::Multiplayer) return;
    }

    if (!keysTaken && mpScreen.editing == MpField::None && input.pressed(sf::Keyboard::Escape)) {
        if (mpScreen.lobbyPage) {
            lobby.leaveLobby();
            mpScreen.lobbyPage = false;
        } else {
            goToMainMenu();
        }
    }
}

bool Mivoland2::updateTextEntry() {
    using K = sf::Keyboard;
    const bool name = mpScreen.editing == MpField::Name;
    if (name)
        typeIntoName(playerName, input.textEntered);
    else
        typeIntoCode(inviteField, input.textEntered);
    for (K::Key k : input.keysPressed) {
        std::string& text = name ? playerName : inviteField;
        if (k == K::Backspace && !text.empty()) text.pop_back();
    }
    if (input.pressed(K::V) && controlHeld()) {
        if (name)
            pasteIntoName(playerName, systemClipboard().text());
        else
            pasteInviteCode();
    }
    if (input.pressed(K::Escape)) {
        if (name) endNameEdit();
        mpScreen.editing = MpField::None;
        return true;
    }
    if (input.pressed(K::Enter)) {
        mpScreen.editing = MpField::None;
        if (name)
            endNameEdit();
        else
            joinByCode(inviteField);
        return true;
    }
    return false;
}

void Mivoland2::endNameEdit() {
    playerName = cleanedName(playerName);
    savePlayerName(dataDir, playerName);
    if (mpScreen.editing == MpField::Name) mpScreen.editing = MpField::None;
}

void Mivoland2::clickMultiplayerPage(const std::string& target) {
    // A click anywhere but on the field being edited ends the edit.
    if (mpScreen.editing == MpField::Name && target != "name") endNameEdit();
    if (mpScreen.editing == MpField::Code && target != "code") mpScreen.editing = MpField::None;

    if (target == "back") {
        goToMainMenu();
    } else if (target == "local" || target == "global") {
        mpScreen.tab = target == "local" ? MpTab::Local : MpTab::Global;
        playSound(SoundMenu);
    } else if (target == "name") {
        mpScreen.editing = MpField::Name;
    } else if (target == "code") {
        mpScreen.editing = MpField::Code;
    } else if (target == "paste") {
        pasteInviteCode();
    } else if (target == "join") {
        joinByCode(inviteField);
    } else if (target == "host") {
        hostFromScreen();
    } else if (target == "lan0" || target == "lan1") {
        const std::size_t row = target == "lan0" ? 0 : 1;
        if (row >= lobby.found.size()) return;
        const FoundLobby f = lobby.found[row];
        if (lobby.joinLobby(f.address, f.port, false, playerName, multiplayerHero))
            mpScreen.lobbyPage = true;
        else
            playSound(kSoundRefused);
    }
}

void Mivoland2::clickLobbyPage(const std::string& target) {
    if (target == "back") {
        lobby.leaveLobby();
        mpScreen.lobbyPage = false;
        playSound(SoundMenu);
        return;
    }
    if (!lobby.inGame()) return;  // joining: only "Cancel"
    if (target == "share") {
        shareInvite();
    } else if (target == "charL" || target == "charR") {
        multiplayerHero = (std::clamp(multiplayerHero, 0, kHeroCount - 1) + (target == "charL" ? 8 : 1)) % 9;
        lobby.chooseHero(multiplayerHero);
        playSound(SoundMenu);
    }
    if (lobby.role != LobbyRole::Host) return;
    LobbySettings s = lobby.settings;
    if (target == "zoneL") s.zone = (s.zone + 5) % 6;
    if (target == "zoneR") s.zone = (s.zone + 1) % 6;
    if (target == "actL" || target == "actR") s.act = s.act == 1 ? 2 : 1;
    if (target == "modeL" || target == "modeR") s.mode = s.mode == kModeRace ? kModeTogether : kModeRace;
    if (s.zone != lobby.settings.zone || s.act != lobby.settings.act || s.mode != lobby.settings.mode) {
        lobby.changeSettings(s.zone, s.act, s.mode);
        playSound(SoundMenu);
    }
    if (target == "start") lobby.hostStartAct();
}

void Mivoland2::hostFromScreen() {
    if (lobby.hostLobby(mpScreen.tab == MpTab::Global, playerName, multiplayerHero)) {
        mpScreen.lobbyPage = true;
        playSound(kSoundJoined);
    } else {
        playSound(kSoundRefused);
    }
}

void Mivoland2::pasteInviteCode() {
    if (pasteIntoCode(inviteField, systemClipboard().text()) == CodePaste::NoCode) showToast(kNoCodeCopiedText);
}

void Mivoland2::shareInvite() {
    if (lobby.code.empty()) return;
    systemClipboard().setText(inviteMessage(lobby.code));
    showToast(kInviteCopiedText);
    playSound(SoundMenu);
}
