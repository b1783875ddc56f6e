// The debug editor inside the game: B during a "No Save" act turns the act
// into a placement editor. The hero flies, the palette's entry is placed at
// the mouse with the left button and the nearest object is removed with the
// right. The pure steps are in debug/DebugEditor.h.
#include <SFML/Graphics/Color.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/SoundEffects.h"
#include "core/Mivoland2.h"
#include "debug/DebugEditor.h"
#include "render/Draw.h"

namespace {

int shownCoordinate(float v) { return std::isfinite(v) ? int(std::clamp(v, -1.0e9f, 1.0e9f)) : 0; }

}  // namespace

bool Mivoland2::debugAllowed() const {
    return debugModeAllowed(settings.debugMode, currentSlot, inMultiplayerGame(), session.playingCourse);
}

void Mivoland2::setDebugActive(bool on) {
    if (session.debugActive == on) return;
    session.debugActive = on;
    // Every toggle ends the form.
    const bool wasTransformed = player.transformed;
    player.transformed = player.divine = false;
    if (wasTransformed) playMusic(actMusicId());
    if (on) {
        // The act's title card is put away for good: no timer runs while
        // editing, so it would come back over the act afterwards.
        session.titleCardTime = 0;
    } else {
        // Play resumes where the hero floats, still and briefly safe.
        player.vx = player.vy = player.groundSpeed = 0;
        player.hurtTime = kRespawnMercy;
    }
}

void Mivoland2::toggleDebug() {
    if (!debugAllowed()) {
        setDebugActive(false);  // a condition stopped holding
        return;
    }
    if (!input.pressed(sf::Keyboard::B)) return;
    setDebugActive(!session.debugActive);
    playSound(SoundMenu);
    input.clicked = false;  // the click of this frame belongs to neither side
}

void Mivoland2::updateDebugEditor(float dt) {
    updateDebug(dt);
    updateEffects(dt);
    session.camera = stepCamera(session.camera, player, level, session.bossActive, {input.up, input.down}, dt);
}

void Mivoland2::updateDebug(float dt) {
    using K = sf::Keyboard;
    DebugPick pick;
    pick.previous = input.pressed(K::Q) || (input.clicked && inDebugPreviousBox(input.mousePos));
    pick.next = input.pressed(K::E) || (input.clicked && inDebugNextBox(input.mousePos));
    pick.wheel = input.wheelDelta;
    debugPaletteIndex = pickDebugEntry(debugPaletteIndex, pick);

    DebugFlyKeys fly;
    fly.left = input.left;
    fly.right = input.right;
    fly.up = input.up || input.jumpHeld;
    fly.down = input.down;
    fly.fast = input.actionHeld;
    flyDebugHero(player, fly, dt);

    const sf::Vector2f cursor = debugCursor(session.camera, input.mousePos);
    if (input.clicked && input.mousePos.y >= kDebugStripHeight) applyDebugEntry(cursor);
    if (input.rightClicked) debugRemoveNear(cursor);
}

void Mivoland2::applyDebugEntry(sf::Vector2f cursor) {
    const DebugPlacement placed = placeDebugEntry(level, debugPaletteIndex, cursor, player.facing);
    switch (placed.cheat) {
        case DebugCheat::None: break;
        case DebugCheat::SecretStone:
        case DebugCheat::DivineStone: {
            const bool divine = placed.cheat == DebugCheat::DivineStone;
            int& mask = divine ? save.divineStones : save.secretStones;
            const DebugStoneGrant grant = grantDebugStone(mask, divine);
            mask = grant.mask;
            showToast(grant.message);
            if (grant.stone >= 0) {
                playSound(SoundStone);
                writeSave();  // as after a won run; only a game with a slot writes
            }
            break;
        }
        case DebugCheat::FiftyGems:
            player.gems += 50;
            playSound(SoundGem);
            break;
        case DebugCheat::Teleport:
            player.x = placed.at.x;
            player.y = placed.at.y;
            break;
        case DebugCheat::GoToBoss:
            player.x = placed.at.x;
            player.y = placed.at.y;
            session.camera = placed.at;
            break;
        case DebugCheat::Goal:
            session.goalX = placed.at.x;
            session.goalY = placed.at.y;
            session.goalPresent = true;
            break;
    }
    if (placed.burst)
        spawnParticles(effects.particles, effectsRng, cursor, 8, sf::Color(255, 180, 255, 255), 120.0f, 0.3f, 3.0f, 1,
                       0.0f);
}

void Mivoland2::debugRemoveNear(sf::Vector2f point) {
    if (eraseDebugFind(level, findDebugRemoval(level, point))) playSound(SoundStomp);
}

// ---- The overlay ------------------------------------------------------------------

void Mivoland2::drawDebugHud(DrawContext& ctx) {
    const sf::Color accent(255, 180, 255);
    const std::string& name = debugEntryName(debugPaletteIndex);
    const sf::Vector2f m = input.mousePos;

    // The cursor: a ring of radius 16 with the entry's name under it.
    drawRing(ctx, m, 12.0f, 5.0f, sf::Color(0, 0, 0, 140));
    drawRing(ctx, m, 13.0f, 3.0f, accent);
    drawCircle(ctx, m, 2.0f, accent, 8);
    drawText(ctx, name, {m.x, m.y + 18.0f}, 14, sf::Color::White, 2.0f, kAlignCenter);

    // The strip with the palette.
    drawRect(ctx, {0, 0}, {960, kDebugStripHeight}, sf::Color(10, 6, 24, 230));
    drawRect(ctx, {0, kDebugStripHeight}, {960, 24}, sf::Color(10, 6, 24, 225));  // under the help line
    drawRect(ctx, {0, kDebugStripHeight - 2.0f}, {960, 2}, sf::Color(255, 180, 255, 140));
    drawText(ctx, "DEBUG MODE", {14, 13}, 20, accent, 2.0f);
    const bool hoverPrevious = inDebugPreviousBox(m), hoverNext = inDebugNextBox(m);
    drawRect(ctx, {250, 6}, {50, 40}, hoverPrevious ? sf::Color(90, 60, 120) : sf::Color(50, 36, 80), 2.0f, accent);
    drawRect(ctx, {660, 6}, {50, 40}, hoverNext ? sf::Color(90, 60, 120) : sf::Color(50, 36, 80), 2.0f, accent);
    drawText(ctx, "<", {275, 10}, 24, sf::Color::White, 2.0f, kAlignCenter);
    drawText(ctx, ">", {685, 10}, 24, sf::Color::White, 2.0f, kAlignCenter);
    drawText(ctx, name, {480, 11}, 24, sf::Color(255, 230, 120), 2.0f, kAlignCenter);

    drawText(ctx,
             "WASD/arrows: fly (Shift = fast)   Q/E or wheel: pick   Left click: place   Right click: remove   B: play",
             {480, kDebugStripHeight + 4.0f}, 14, sf::Color::White, 2.0f, kAlignCenter);

    char where[64];
    std::snprintf(where, sizeof where, "x %d  y %d", shownCoordinate(player.x), shownCoordinate(player.y));
    drawText(ctx, where, {946, 15}, 18, sf::Color::White, 2.0f, kAlignRight);
}
