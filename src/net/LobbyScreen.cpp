// A developer's stand-in for the multiplayer screens: enough to host, join
// and start acts by hand and from tests, keyboard only. The real screens
// replace the bodies of these three functions.
//
//   Without a lobby:  Tab hosts a lobby on the local network; typing an
//                     invite code and Enter joins it; F1 / F2 join the first
//                     or second lobby heard on the network; Escape goes back.
//   In a lobby:       Left / Right choose the hero; the host changes the zone
//                     (Z), the act (A) and the mode (M) and starts with Enter;
//                     Escape leaves the lobby.
#include <algorithm>

#include "content/Heroes.h"
#include "content/Zones.h"
#include "core/Mivoland2.h"
#include "net/InviteCode.h"
#include "render/Background.h"
#include "render/Draw.h"

namespace {

const sf::Color kGold(255, 220, 90);
const sf::Color kSoft(220, 220, 240);

const char* modeName(int mode) { return mode == kModeTogether ? "Together" : "Race"; }

}  // namespace

void Mivoland2::openMultiplayerScreen() {
    state = GameState::Multiplayer;
    paused = false;
    playMusic("lobby");
}

void Mivoland2::updateMultiplayerScreen() {
    using K = sf::Keyboard;
    if (lobby.role == LobbyRole::None) {
        for (std::uint32_t c : input.textEntered)
            if (const char ch = inviteFieldChar(c); ch && inviteField.size() < kInviteCodeLength) inviteField += ch;
        if (input.pressed(K::Backspace) && !inviteField.empty()) inviteField.pop_back();
        if (input.pressed(K::Escape)) {
            goToMainMenu();
        } else if (input.pressed(K::Enter)) {
            joinByCode(inviteField);
        } else if (input.pressed(K::Tab)) {
            playSound(lobby.hostLobby(false, playerName, multiplayerHero) ? 9 : 23);
        } else {
            for (int i = 0; i < 2; ++i) {
                if (!input.pressed(i == 0 ? K::F1 : K::F2) || std::size_t(i) >= lobby.found.size()) continue;
                const FoundLobby f = lobby.found[std::size_t(i)];
                if (!lobby.joinLobby(f.address, f.port, false, playerName, multiplayerHero)) playSound(23);
                break;
            }
        }
        return;
    }
    if (input.pressed(K::Escape)) {
        lobby.leaveLobby();
        return;
    }
    if (!lobby.inGame()) return;
    if (input.pressed(K::Left) || input.pressed(K::Right)) {
        multiplayerHero = (multiplayerHero + (input.pressed(K::Left) ? 8 : 1)) % 9;
        lobby.chooseHero(multiplayerHero);
        playSound(11);
    }
    if (lobby.role != LobbyRole::Host) return;
    LobbySettings s = lobby.settings;
    if (input.pressed(K::Z)) s.zone = (s.zone + 1) % 6;
    if (input.pressed(K::A)) s.act = s.act == 1 ? 2 : 1;
    if (input.pressed(K::M)) s.mode = s.mode == kModeRace ? kModeTogether : kModeRace;
    if (s.zone != lobby.settings.zone || s.act != lobby.settings.act || s.mode != lobby.settings.mode)
        lobby.changeSettings(s.zone, s.act, s.mode);
    if (input.pressed(K::Enter)) lobby.hostStartAct();
}

void Mivoland2::drawMultiplayerScreen(DrawContext& ctx) {
    drawMenuBackdrop(ctx, totalTime, std::clamp(lobby.settings.zone, 0, 5));
    if (lobby.role == LobbyRole::None) {
        drawText(ctx, "MULTIPLAYER", {480, 24}, 40, sf::Color::White, 3, kAlignCenter);
        drawText(ctx, "Your name: " + playerName, {480, 96}, 22, kSoft, 2, kAlignCenter);
        drawText(ctx, "Tab - host a lobby on your Wi-Fi", {480, 150}, 24, kGold, 2, kAlignCenter);
        drawText(ctx, "Type an invite code and press Enter to join:", {480, 210}, 20, kSoft, 2, kAlignCenter);
        drawRect(ctx, {330, 244}, {300, 48}, sf::Color(20, 20, 45, 220), 2, kGold);
        const bool blink = int(totalTime * 2) % 2 == 0;
        if (inviteField.empty() && !blink)
            drawText(ctx, "MIVO-ABC-DEFG", {480, 254}, 24, sf::Color(120, 120, 150), 0, kAlignCenter);
        else
            drawText(ctx, inviteField + (blink ? "|" : ""), {480, 254}, 24, sf::Color::White, 2, kAlignCenter);
        drawText(ctx, "Lobbies on your Wi-Fi:", {480, 318}, 20, kSoft, 2, kAlignCenter);
        if (lobby.found.empty())
            drawText(ctx, "Looking for lobbies...", {480, 350}, 18, sf::Color(170, 170, 200), 2, kAlignCenter);
        for (std::size_t i = 0; i < std::min<std::size_t>(2, lobby.found.size()); ++i) {
            const FoundLobby& f = lobby.found[i];
            drawText(ctx, "F" + std::to_string(i + 1) + "  " + f.name + "'s lobby  (" + f.count + ")",
                     {480, 350 + 32.0f * float(i)}, 20, sf::Color::White, 2, kAlignCenter);
        }
        if (!lobby.error.empty())
            drawText(ctx, wrapText(lobby.error, 64), {480, 420}, 18, sf::Color(255, 140, 120), 2, kAlignCenter);
        drawText(ctx, "Esc - back", {40, 500}, 18, kSoft, 2);
        return;
    }

    drawText(ctx, "LOBBY", {480, 20}, 40, sf::Color::White, 3, kAlignCenter);
    if (lobby.joining()) {
        drawText(ctx, "Joining " + lobby.code, {480, 150}, 28, sf::Color::White, 2, kAlignCenter);
        drawText(ctx, lobby.global ? "Joining over the internet. If this takes a while, the host's router may not be "
                                     "letting the game in."
                                   : "Joining a lobby on your Wi-Fi.",
                 {480, 200}, 18, kSoft, 2, kAlignCenter);
        drawText(ctx, "Esc - cancel", {40, 500}, 18, kSoft, 2);
        return;
    }
    drawText(ctx, lobby.global ? "Global - over the internet" : "Local - same Wi-Fi", {40, 76}, 20, kSoft, 2);
    const std::string code =
        lobby.code.empty() ? "Getting it" + std::string(std::size_t(int(totalTime * 3) % 4), '.') : lobby.code;
    drawText(ctx, "Invite code  " + code, {40, 104}, 26, kGold, 2);
    drawText(ctx, wrapText(lobby.status, 110), {40, 142}, 14, kSoft, 1);

    drawText(ctx, "Players " + std::to_string(lobby.players.size()) + "/6", {40, 190}, 22, sf::Color::White, 2);
    for (std::size_t i = 0; i < lobby.players.size(); ++i) {
        const LobbyPlayer& p = lobby.players[i];
        std::string row = p.name;
        if (p.id == 0) row += "  (host)";
        if (p.id == lobby.ownId) row += "  (you)";
        row += "  " + heroTable()[std::size_t(std::clamp(p.hero, 0, 8))].name;
        if (p.id != lobby.ownId && p.age < 2.0f && (p.flags & kStateVisible)) row += "  - on the course";
        if (p.finishPlace > 0)
            row += "  " + std::to_string(p.finishPlace) + placeSuffix(p.finishPlace) + "  " + formatTime(p.finishTime);
        drawText(ctx, row, {40, 222 + 42.0f * float(i)}, 18, p.finishPlace == 1 ? kGold : sf::Color::White, 2);
    }

    const HeroDef& h = heroTable()[std::size_t(std::clamp(multiplayerHero, 0, 8))];
    drawText(ctx, "Your hero  < Left  Right >", {700, 190}, 18, kSoft, 2, kAlignCenter);
    drawMenuHero(ctx, multiplayerHero, {700, 250}, 1.2f, totalTime);
    drawText(ctx, h.name + " - " + h.abilityName, {700, 290}, 18, sf::Color::White, 2, kAlignCenter);
    const std::string zoneName = zoneTable()[std::size_t(std::clamp(lobby.settings.zone, 0, 5))].name;
    if (lobby.role == LobbyRole::Host) {
        drawText(ctx, "Zone (Z): " + zoneName, {700, 330}, 18, sf::Color::White, 2, kAlignCenter);
        drawText(ctx, "Act (A): Act " + std::to_string(lobby.settings.act), {700, 358}, 18, sf::Color::White, 2,
                 kAlignCenter);
        drawText(ctx, std::string("Mode (M): ") + modeName(lobby.settings.mode), {700, 386}, 18, sf::Color::White, 2,
                 kAlignCenter);
        drawText(ctx, "Enter - Start!", {740, 490}, 24, kGold, 2, kAlignCenter);
    } else {
        drawText(ctx, "Course: " + zoneName + " Act " + std::to_string(lobby.settings.act), {700, 330}, 18,
                 sf::Color::White, 2, kAlignCenter);
        drawText(ctx, std::string("Mode: ") + modeName(lobby.settings.mode), {700, 358}, 18, sf::Color::White, 2,
                 kAlignCenter);
    }
    const LobbyPlayer* me = lobby.findPlayer(lobby.ownId);
    const char* line = !lobby.settings.started                   ? "Waiting for the host to start..."
                       : me && me->finishPlace > 0                ? "Waiting for the others to finish..."
                                                                  : "A race is on - you'll be in the next one.";
    drawText(ctx, line, {480, 440}, 18, kSoft, 2, kAlignCenter);
    drawText(ctx, "Esc - leave", {40, 500}, 18, kSoft, 2);
}
