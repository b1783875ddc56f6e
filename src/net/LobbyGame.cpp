// The game's side of a lobby: the background step that services it, the
// events it produces, acts started by the host, and what travels from the
// act in play (the player's state, the finish).
#include <filesystem>
#include <system_error>

#include "core/Mivoland2.h"
#include "core/platform/FileSystem.h"
#include "level/ActGenerator.h"
#include "net/InviteCode.h"
#include "render/Hud.h"

namespace {

constexpr const char* kNotACodeText = "That doesn't look like an invite code. It's like MIVO-ABC-DEFG.";

}  // namespace

bool Mivoland2::inLevel() const {
    switch (state) {
        case GameState::Playing:
        case GameState::ActResults:
        case GameState::ActSelect:
        case GameState::SpecialStage:
        case GameState::HiddenTemple: return true;
        default: return false;
    }
}

void Mivoland2::updateLobbyNetwork(float dt) {
    checkInviteFile();
    lobby.update(dt, state == GameState::Multiplayer);
    lobby.stepRemotes(dt);
    for (const LobbyEvent& e : lobby.takeEvents()) handleLobbyEvent(e);
}

void Mivoland2::leaveLobbyAtExit() {
    lobby.leaveLobby();
    // A router answers in moments; one that does not costs at most one call's wait.
    lobby.waitForRemovals(mp::kSoapTimeout + std::chrono::milliseconds(500));
}

// A companion program may hand over a code in "invite.txt": its first word
// is taken and the file removed.
void Mivoland2::checkInviteFile() {
    const std::string path = dataDir + kInviteFileName;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        inviteFileStuck = false;
        return;
    }
    if (inviteFileStuck) return;
    std::string text;
    readFile(path, text, 4096);
    if (!std::filesystem::remove(path, ec) || ec) inviteFileStuck = true;

    const std::string word = inviteFileWord(text);
    const InviteTarget target = decodeInviteCode(word);
    // The word goes into the code field by the field's own typing rule, so
    // nothing the field would not take (control bytes, other letters) gets in.
    inviteField.clear();
    if (target.valid)
        inviteField = encodeInviteTarget(target);
    else
        typeIntoCode(inviteField, std::vector<std::uint32_t>(reinterpret_cast<const unsigned char*>(word.data()),
                                                             reinterpret_cast<const unsigned char*>(word.data()) +
                                                                 word.size()));
    if (inLevel() || lobby.role != LobbyRole::None) {
        showToast("Invite received! Join it from Multiplayer");
        return;
    }
    openMultiplayerScreen();
    joinByCode(inviteField);
}

bool Mivoland2::joinByCode(const std::string& text) {
    const InviteTarget target = decodeInviteCode(text);
    if (!target.valid) {
        lobby.error = kNotACodeText;
        playSound(23);
        return false;
    }
    if (!lobby.joinLobby(target.address, target.port, target.global, playerName, multiplayerHero)) {
        playSound(23);
        return false;
    }
    mpScreen.lobbyPage = true;
    return true;
}

void Mivoland2::handleLobbyEvent(const LobbyEvent& e) {
    switch (e.type) {
        case LobbyEvent::Joined: playSound(9); break;
        case LobbyEvent::StartAct: startLobbyAct(e.zone, e.act); break;
        case LobbyEvent::BackToLobby: returnToLobbyScreen(); break;
        case LobbyEvent::Disconnected:
            if (inLevel()) returnToLobbyScreen();
            mpScreen.lobbyPage = false;
            showToast("Disconnected from the lobby");
            playSound(23);
            break;
        case LobbyEvent::Notice: showToast(e.text); break;
    }
}

void Mivoland2::startLobbyAct(int zone, int act) {
    session.playingCourse = false;
    lobbyGoalReached = false;
    Level fresh;
    generateAct(fresh, zone, act);
    beginAct(fresh, multiplayerHero);
    session.titleCardTime = session.titleCardLength = kLobbyTitleCardTime;
}

// ---- From the act in play ----------------------------------------------------------------

void Mivoland2::sendPlayerState() {
    lobby.sendPlayerState({player.x, player.y}, playerStateValue(player), playerStateFlags(player), level.zone,
                          level.act);
}

void Mivoland2::onMultiplayerCleared() {
    if (lobbyGoalReached) return;  // once per act
    lobbyGoalReached = true;
    playSound(10);
    if (lobby.role == LobbyRole::Host) {
        lobby.playerFinished(lobby.ownId, session.actTime);
    } else {
        lobby.sendFinish(session.actTime);
    }
    unlockAchievement(11);
    // A racer waits on the lobby screen; together, the act goes on until the
    // host starts the next one.
    if (lobby.settings.mode == kModeRace) returnToLobbyScreen();
}

RemoteScene Mivoland2::lobbyRemoteScene() {
    remotePeers.clear();
    for (const LobbyPlayer& pl : lobby.players) {
        RemotePeer r;
        r.local = pl.id == lobby.ownId;
        r.name = pl.name;
        r.hero = pl.hero;
        r.x = pl.display.x;
        r.y = pl.display.y;
        r.spin = pl.stateValue;
        r.facing = (pl.flags & kStateFacingLeft) ? -1 : 1;
        r.ball = (pl.flags & kStateBall) != 0;
        r.transformed = (pl.flags & kStateTransformed) != 0;
        r.divine = (pl.flags & kStateDivine) != 0;
        r.hurt = (pl.flags & kStateHurt) != 0;
        r.visible = (pl.flags & kStateVisible) != 0;
        r.zone = pl.zone;
        r.act = pl.act;
        r.secondsSinceHeard = pl.age;
        remotePeers.push_back(r);
    }
    RemoteScene scene;
    scene.peers = &remotePeers;
    scene.inGame = inMultiplayerGame();
    scene.zone = level.zone;
    scene.act = level.act;
    return scene;
}

void Mivoland2::lobbyHud(HudInfo& hud) const {
    if (!inMultiplayerGame()) return;
    hud.multiplayer = lobby.settings.mode == kModeTogether ? HudInfo::Together : HudInfo::Race;
    hud.players = int(lobby.players.size());
    hud.waitingForNextAct = lobby.settings.mode == kModeTogether && lobbyGoalReached;
}
