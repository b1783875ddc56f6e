// Drawing of the multiplayer screen: the MULTIPLAYER page (tabs, name,
// hosting, the code field, the lobbies on the network) and the LOBBY page
// (how it is reached, the invite code, players, hero, settings).
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
const sf::Color kDim(150, 150, 185);
const sf::Color kError(255, 140, 120);
const sf::Color kPanel(20, 20, 50, 200);

constexpr const char* kGlobalHelp =
    "When you host, the game asks your router to let friends in. If it can't, forward TCP port 47787 to your "
    "device in the router settings. Friends on your own Wi-Fi should use Local - a Global code usually doesn't "
    "work from the same Wi-Fi, so test it from another connection, like a phone on mobile data.";

sf::Vector2f pos(const sf::FloatRect& r) { return {r.left, r.top}; }
sf::Vector2f size(const sf::FloatRect& r) { return {r.width, r.height}; }

// One line that stays inside maxWidth: drawn smaller when it would not (a
// name of fourteen wide letters, a long player row), kept on the same middle.
void drawFitted(DrawContext& ctx, const std::string& str, sf::Vector2f at, unsigned textSize, sf::Color fill,
                float outline, float maxWidth, int align = kAlignLeft) {
    const sf::Text probe(sf::String::fromUtf8(str.begin(), str.end()), ctx.font, textSize);
    const float width = probe.getLocalBounds().width + 2.0f * outline;
    unsigned fitted = textSize;
    if (width > maxWidth && width > 0.0f) fitted = std::max(10u, unsigned(float(textSize) * maxWidth / width));
    drawText(ctx, str, {at.x, at.y + (float(textSize) - float(fitted)) * 0.5f}, fitted, fill, outline, align);
}

// A wrapped text with every line centred on x.
void drawCentredLines(DrawContext& ctx, const std::string& text, sf::Vector2f at, unsigned textSize, sf::Color fill,
                      float outline) {
    const float step = ctx.font.getLineSpacing(textSize);
    std::size_t start = 0;
    for (int line = 0; start <= text.size(); ++line) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        drawText(ctx, text.substr(start, end - start), {at.x, at.y + step * float(line)}, textSize, fill, outline,
                 kAlignCenter);
        start = end + 1;
    }
}

// A clickable box with a centred label; the mouse over it lights its edge,
// a chosen one (a tab) is filled.
void drawBox(DrawContext& ctx, const sf::FloatRect& r, const std::string& label, sf::Vector2f mouse,
             unsigned textSize = 22, bool chosen = false, sf::Color text = sf::Color::White) {
    const bool hover = r.contains(mouse);
    const sf::Color fill = chosen ? sf::Color(90, 80, 170, 235) : sf::Color(30, 30, 70, 215);
    const sf::Color edge = hover || chosen ? kGold : sf::Color(150, 150, 220);
    drawRect(ctx, pos(r), size(r), fill, hover || chosen ? 3.0f : 2.0f, edge);
    drawFitted(ctx, label, {r.left + r.width * 0.5f, r.top + r.height * 0.5f - float(textSize) * 0.62f}, textSize,
               text, 0.0f, r.width - 16.0f, kAlignCenter);
}

// A text field: its text and a blinking cursor while edited, else its text
// or the greyed hint shown while it is empty.
void drawField(DrawContext& ctx, const sf::FloatRect& r, const std::string& text, const std::string& hint,
               bool editing, float time, sf::Vector2f mouse) {
    const bool hover = r.contains(mouse);
    drawRect(ctx, pos(r), size(r), editing ? sf::Color(35, 35, 80, 235) : sf::Color(15, 15, 40, 220),
             editing ? 3.0f : 2.0f, editing ? kGold : hover ? sf::Color(200, 200, 240) : sf::Color(120, 120, 180));
    const unsigned sz = 22;
    const sf::Vector2f at{r.left + 12.0f, r.top + r.height * 0.5f - float(sz) * 0.62f};
    const float room = r.width - 24.0f;
    if (editing) {
        // The cursor's room is kept while it blinks off, so the text does not jump.
        const bool cursor = int(time * 2.0f) % 2 == 0;
        const sf::Text probe(sf::String::fromUtf8(text.begin(), text.end()) + "|", ctx.font, sz);
        const float width = probe.getLocalBounds().width;
        const unsigned fitted = width > room ? std::max(10u, unsigned(float(sz) * room / width)) : sz;
        drawText(ctx, text + (cursor ? "|" : ""), {at.x, at.y + (float(sz) - float(fitted)) * 0.5f}, fitted,
                 sf::Color::White, 0.0f);
    } else if (text.empty()) {
        drawFitted(ctx, hint, at, sz, sf::Color(110, 110, 140), 0.0f, room);
    } else {
        drawFitted(ctx, text, at, sz, sf::Color::White, 0.0f, room);
    }
}

// "<" and ">" around a value, with a label at the row's left.
void drawPicker(DrawContext& ctx, const char* left, const char* right, const std::string& label,
                const std::string& value, sf::Vector2f mouse) {
    const sf::FloatRect l = buttonRect(left), r = buttonRect(right);
    drawBox(ctx, l, "<", mouse, 24);
    drawBox(ctx, r, ">", mouse, 24);
    const float x0 = l.left + l.width + 8.0f, x1 = r.left - 8.0f;
    drawRect(ctx, {x0, l.top}, {x1 - x0, l.height}, kPanel);
    drawText(ctx, label, {x0 + 10.0f, l.top + 11.0f}, 15, kGold, 1.5f);
    const float centre = (x0 + x1) * 0.5f + 24.0f;
    drawFitted(ctx, value, {centre, l.top + 8.0f}, 20, sf::Color::White, 2.0f, 2.0f * (x1 - 6.0f - centre),
               kAlignCenter);
}

}  // namespace

void Mivoland2::drawMultiplayerScreen(DrawContext& ctx) {
    drawMenuBackdrop(ctx, totalTime, std::clamp(mpScreen.lobbyPage ? lobby.settings.zone : 0, 0, 5));
    drawRect(ctx, {0, 0}, {960, 540}, sf::Color(10, 10, 35, 90));  // the texts stand out from any sky
    if (mpScreen.lobbyPage && lobby.role != LobbyRole::None)
        drawLobbyPage(ctx);
    else
        drawMultiplayerPage(ctx);
}

void Mivoland2::drawMultiplayerPage(DrawContext& ctx) {
    const sf::Vector2f mouse = input.mousePos;
    const bool local = mpScreen.tab == MpTab::Local;
    drawText(ctx, "MULTIPLAYER", {480, 14}, 44, sf::Color::White, 3, kAlignCenter);
    drawBox(ctx, buttonRect("local"), "Local", mouse, 24, local);
    drawBox(ctx, buttonRect("global"), "Global", mouse, 24, !local);
    drawText(ctx, local ? "Play with people on the same Wi-Fi." : "Play with friends anywhere, over the internet.",
             {480, 130}, 17, kSoft, 2, kAlignCenter);

    const sf::FloatRect name = buttonRect("name");
    drawText(ctx, "Your name", {name.left - 14.0f, name.top + 9.0f}, 20, kSoft, 2, kAlignRight);
    drawField(ctx, name, playerName, "", mpScreen.editing == MpField::Name, totalTime, mouse);
    drawBox(ctx, buttonRect("host"), "Host a Lobby", mouse, 26, false, kGold);

    const sf::FloatRect code = buttonRect("code");
    drawText(ctx, "Join with an invite code:", {code.left, code.top - 28.0f}, 18, kSoft, 2);
    drawField(ctx, code, inviteField, "MIVO-ABC-DEFG", mpScreen.editing == MpField::Code, totalTime, mouse);
    drawBox(ctx, buttonRect("paste"), "Paste", mouse);
    drawBox(ctx, buttonRect("join"), "Join", mouse, 24, false, kGold);

    if (!lobby.error.empty()) drawCentredLines(ctx, wrapText(lobby.error, 64), {480, 367}, 15, kError, 2);

    if (local) {
        const sf::FloatRect first = lanRowRect(0);
        drawText(ctx, "Lobbies on your Wi-Fi:", {first.left - 14.0f, first.top + 9.0f}, 17, kSoft, 2, kAlignRight);
        if (lobby.found.empty())
            drawText(ctx, "Looking for lobbies...", {first.left + first.width * 0.5f, first.top + 8.0f}, 18, kDim, 2,
                     kAlignCenter);
        for (int i = 0; i < std::min<int>(kLanRowsShown, int(lobby.found.size())); ++i)
            drawBox(ctx, lanRowRect(i), lanRowText(lobby.found[std::size_t(i)]), mouse, 19);
    } else {
        // Below two lines of an error text.
        drawRect(ctx, {276, 410}, {574, 98}, kPanel);
        drawText(ctx, wrapText(kGlobalHelp, 72), {288, 415}, 15, kSoft, 1.5f);
    }
    drawBox(ctx, buttonRect("back"), "Back", mouse);
}

void Mivoland2::drawLobbyPage(DrawContext& ctx) {
    const sf::Vector2f mouse = input.mousePos;
    drawText(ctx, "LOBBY", {480, 10}, 44, sf::Color::White, 3, kAlignCenter);
    if (lobby.joining()) {
        drawText(ctx, "Joining " + lobby.code, {480, 170}, 32, sf::Color::White, 2, kAlignCenter);
        drawCentredLines(ctx,
                         wrapText(lobby.global ? "Joining over the internet. If this takes a while, the host's "
                                                 "router may not be letting the game in."
                                               : "Joining a lobby on your Wi-Fi.",
                                  70),
                         {480, 230}, 18, kSoft, 2);
        drawBox(ctx, buttonRect("back"), "Cancel", mouse);
        return;
    }

    // How the lobby is reached and its code.
    drawText(ctx, lobby.global ? "Global - over the internet" : "Local - same Wi-Fi", {40, 66}, 18, kSoft, 2);
    drawText(ctx, "Invite code", {40, 102}, 17, kSoft, 2);
    drawText(ctx, inviteCodeText(lobby, totalTime), {152, 94}, 30, kGold, 2.5f);
    if (!lobby.code.empty()) drawBox(ctx, buttonRect("share"), "Copy", mouse);
    if (!lobby.status.empty()) {
        const std::string status = wrapText(lobby.status, 110);
        const auto lines = float(std::count(status.begin(), status.end(), '\n') + 1);
        drawRect(ctx, {32, 137}, {896, 17.0f * lines + 6.0f}, kPanel);
        drawText(ctx, status, {40, 139}, 14, kSoft, 0.0f);
    }

    // The players.
    drawText(ctx, "Players " + std::to_string(lobby.players.size()) + "/" + std::to_string(kLobbyMaxPlayers),
             {40, 194}, 20, sf::Color::White, 2);
    for (std::size_t i = 0; i < lobby.players.size(); ++i) {
        const LobbyPlayer& p = lobby.players[i];
        const float y = 222.0f + 42.0f * float(i);
        const bool me = p.id == lobby.ownId;
        drawRect(ctx, {40, y}, {466, 36}, me ? sf::Color(60, 50, 120, 190) : kPanel);
        drawFitted(ctx, playerRowText(p, lobby.ownId), {50, y + 7}, 18,
                   p.finishPlace == 1 ? kGold : sf::Color::White, 2, 446);
    }

    // The hero.
    const HeroDef& h = heroTable()[std::size_t(std::clamp(multiplayerHero, 0, kHeroCount - 1))];
    drawText(ctx, "Your hero", {712, 204}, 18, kSoft, 2, kAlignCenter);
    drawBox(ctx, buttonRect("charL"), "<", mouse, 24);
    drawBox(ctx, buttonRect("charR"), ">", mouse, 24);
    drawRect(ctx, {572, 230}, {280, 40}, kPanel);
    drawMenuHero(ctx, multiplayerHero, {598, 250}, 0.7f, totalTime);
    drawFitted(ctx, h.name + " - " + h.abilityName, {728, 239}, 18, sf::Color::White, 2, 236, kAlignCenter);

    // The course: the host chooses, the others see it.
    const std::string zoneName = zoneTable()[std::size_t(std::clamp(lobby.settings.zone, 0, 5))].name;
    if (lobby.role == LobbyRole::Host) {
        drawPicker(ctx, "zoneL", "zoneR", "Zone", zoneName, mouse);
        drawPicker(ctx, "actL", "actR", "Act", "Act " + std::to_string(lobby.settings.act), mouse);
        drawPicker(ctx, "modeL", "modeR", "Mode", lobbyModeName(lobby.settings.mode), mouse);
        drawBox(ctx, buttonRect("start"), "Start!", mouse, 26, false, kGold);
    } else {
        drawText(ctx, courseLine(lobby.settings), {712, 306}, 20, sf::Color::White, 2, kAlignCenter);
        drawText(ctx, std::string("Mode: ") + lobbyModeName(lobby.settings.mode), {712, 346}, 20, sf::Color::White,
                 2, kAlignCenter);
    }

    drawText(ctx, lobbyWaitLine(lobby), {410, 486}, 18, kSoft, 2, kAlignCenter);
    drawBox(ctx, buttonRect("back"), "Leave", mouse);
}
