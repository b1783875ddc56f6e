#include "core/Options.h"

#include <algorithm>

#include "audio/SoundEffects.h"
#include "core/Mivoland2.h"
#include "render/Background.h"
#include "render/Draw.h"

namespace {

const char* onOff(bool v) { return v ? "On" : "Off"; }

}  // namespace

std::vector<MenuButton> optionsButtons(const Settings& s) {
    std::vector<MenuButton> b;
    for (float y : {150.0f, 204.0f, 258.0f, 312.0f, 366.0f, 430.0f}) b.push_back({"", 310.0f, y, 340.0f, 44.0f, true});
    relabelOptions(b, s);
    return b;
}

void relabelOptions(std::vector<MenuButton>& b, const Settings& s) {
    if (b.size() < 6) return;
    b[kOptMusic].label = "Music: " + std::to_string(s.musicVolume) + "%";
    b[kOptSound].label = "Sound: " + std::to_string(s.soundVolume) + "%";
    b[kOptFullscreen].label = std::string("Fullscreen: ") + onOff(s.fullscreen);
    b[kOptShowFps].label = std::string("Show FPS: ") + onOff(s.showFps);
    b[kOptDebugMode].label = std::string("Debug Mode: ") + onOff(s.debugMode);
    b[kOptBack].label = "Back";
}

int nudgeVolume(int volume, int delta) { return std::clamp(volume + delta, 0, 100); }

int cycleVolume(int volume) { return volume >= 100 ? 0 : std::clamp(volume + 10, 0, 100); }

// ---- The screen -----------------------------------------------------------

void Mivoland2::openOptions() {
    state = GameState::Options;
    menu.reset(optionsButtons(settings), 0);
}

void Mivoland2::leaveOptions() {
    saveSettings(dataDir, settings);
    goToMainMenu();
}

void Mivoland2::updateOptions() {
    if (input.pressed(sf::Keyboard::Escape) || input.pressed(sf::Keyboard::Backspace)) {
        leaveOptions();
        return;
    }
    const Settings before = settings;
    for (sf::Keyboard::Key k : input.keysPressed) {
        int delta = 0;
        if (k == sf::Keyboard::Left || k == sf::Keyboard::A) delta = -10;
        if (k == sf::Keyboard::Right || k == sf::Keyboard::D) delta = 10;
        if (delta == 0) continue;
        if (menu.selected == kOptMusic) {
            settings.musicVolume = nudgeVolume(settings.musicVolume, delta);
        } else if (menu.selected == kOptSound) {
            settings.soundVolume = nudgeVolume(settings.soundVolume, delta);
            playSound(SoundGem, 1.0f);
        }
    }
    switch (runMenuList(menu)) {
        case kOptMusic: settings.musicVolume = cycleVolume(settings.musicVolume); break;
        case kOptSound: settings.soundVolume = cycleVolume(settings.soundVolume); break;
        case kOptFullscreen: toggleFullscreen(); break;
        case kOptShowFps: settings.showFps = !settings.showFps; break;
        case kOptDebugMode:
            settings.debugMode = !settings.debugMode;
            if (settings.debugMode) showToast(kDebugModeHint);
            break;
        case kOptBack: leaveOptions(); return;
        default: break;
    }
    if (settings.musicVolume != before.musicVolume) applyMusicVolume();
    // Every change is kept at once too, so closing the window here loses nothing.
    if (formatSettings(settings) != formatSettings(before)) saveSettings(dataDir, settings);
    relabelOptions(menu.buttons, settings);
}

void Mivoland2::drawOptions(DrawContext& ctx) {
    drawMenuBackdrop(ctx, totalTime);
    relabelOptions(menu.buttons, settings);
    drawText(ctx, "OPTIONS", {480.0f, 60.0f}, 44, sf::Color::White, 3.0f, kAlignCenter);
    drawMenuButtons(menu, ctx, totalTime, 22);
    drawText(ctx, "Left/Right changes volume.  F11 switches fullscreen.", {480.0f, 494.0f}, 16,
             sf::Color(200, 200, 230), 2.0f, kAlignCenter);
}
