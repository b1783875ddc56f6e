// The mods screen: the list of mods, six a page, with their toggles,
// "Play" and "Delete", and the folder's buttons.
#include <cmath>
#include <sstream>

#include "audio/SoundEffects.h"
#include "core/Mivoland2.h"
#include "core/platform/FileSystem.h"
#include "maker/Course.h"
#include "mods/GetModsPage.h"
#include "mods/ModFile.h"
#include "mods/ModLoader.h"
#include "mods/ModsLayout.h"
#include "mods/Package.h"
#include "render/Background.h"
#include "render/Draw.h"

namespace {

// The screen's buttons for what the game holds now. The selection stays on
// its index (clamped) while labels and rows change.
std::vector<ModsButton> layOutModsScreen(const Mivoland2& g, MenuList& menu) {
    std::vector<ModsButton> actions;
    modsScreenButtons(g.mods, g.modsPage, g.modsArmed, menu.buttons, actions);
    menu.selected = std::clamp(menu.selected, 0, int(menu.buttons.size()) - 1);
    return actions;
}

void drawButton(DrawContext& ctx, const MenuButton& b, bool selected, float time, sf::Color fill, unsigned size,
                float inset = 0.0f) {
    const float y = b.y + inset, h = b.h - inset;
    float e = 0.0f;
    sf::Color outline(150, 150, 220);
    float thickness = 2.0f;
    if (selected) {
        e = std::sin(time * 6.0f) * 1.5f + 4.0f;
        outline = sf::Color(255, 220, 90);
        fill = sf::Color(std::min(255, fill.r + 40), std::min(255, fill.g + 40), std::min(255, fill.b + 60), 235);
        thickness = 3.0f;
    }
    drawRect(ctx, {b.x - e, y - e * 0.5f}, {b.w + 2.0f * e, h + e}, fill, thickness, outline);
    drawText(ctx, b.label, {b.x + b.w * 0.5f, y + h * 0.5f - float(size) * 0.62f}, size, sf::Color::White, 0.0f,
             kAlignCenter);
}

}  // namespace

void Mivoland2::openModsScreen() {
    state = GameState::Mods;
    modsPage = 0;
    reloadMods();
    setupScriptHost();  // applies the mods as read now
    menu.buttons.clear();
    layOutModsScreen(*this, menu);
    // The first mod's toggle, or "Get Mods" when there is none yet.
    menu.selected = mods.empty() ? 1 : 0;
}

void Mivoland2::updateModsScreen() {
    if (input.pressed(sf::Keyboard::Escape) || input.pressed(sf::Keyboard::Backspace)) {
        goToMainMenu();
        return;
    }
    const std::vector<ModsButton> actions = layOutModsScreen(*this, menu);
    const int chosen = runMenuList(menu);
    if (chosen < 0 || chosen >= int(actions.size())) return;
    const ModsButton b = actions[std::size_t(chosen)];
    const int pages = modsPageCount(mods.size());
    switch (b.action) {
        case ModsAction::Back: goToMainMenu(); return;
        case ModsAction::GetMods: {
            const std::string address = modsWebsiteAddress(dataDir, modsFolder());
            if (!openExternal(address)) showToast("Couldn't open the mods page");
            break;
        }
        case ModsAction::Reload:
            reloadMods();
            applyMods();
            showToast(kModsReloadedText);
            break;
        case ModsAction::Folder:
            createDirectories(modsFolder());
            if (!openExternal(modsFolder())) showToast("Couldn't open the mods folder");
            break;
        case ModsAction::PreviousPage:
        case ModsAction::NextPage:
            modsPage = wrapModsPage(modsPage, b.action == ModsAction::NextPage ? 1 : -1, pages);
            modsArmed = -1;
            break;
        case ModsAction::Toggle: {
            ModInfo& mod = mods[std::size_t(b.mod)];
            mod.enabled = !mod.enabled;
            saveEnabledMods(dataDir, mods);
            applyMods();
            playSound(SoundGem);
            break;
        }
        case ModsAction::Play: {
            Course course;
            const ModInfo& mod = mods[std::size_t(b.mod)];
            const std::u8string path = mod.coursePath.u8string();
            if (readCourseFile(std::string(path.begin(), path.end()), course))
                startCourseRun(course, save.hero);
            else
                showToast(kOldCourseText);
            return;
        }
        case ModsAction::Delete:
            if (modsArmed != b.mod) {
                modsArmed = b.mod;
                break;
            }
            if (deleteModEntry(modsFolder(), modsFolder() + "/" + mods[std::size_t(b.mod)].entry))
                showToast("Couldn't delete that mod");
            reloadMods();
            applyMods();
            playSound(SoundHurt);
            break;
    }
    layOutModsScreen(*this, menu);
}

void Mivoland2::drawModsScreen(DrawContext& ctx) {
    drawMenuBackdrop(ctx, totalTime);
    drawText(ctx, kModsTitle, {480.0f, 10.0f}, 36, sf::Color::White, 3.0f, kAlignCenter);
    drawText(ctx, kModsSubtitle, {480.0f, 56.0f}, 16, sf::Color(220, 220, 245), 2.0f, kAlignCenter);
    const int pages = modsPageCount(mods.size());
    drawText(ctx, modsPageText(modsPage, pages), {920.0f, 22.0f}, 18, sf::Color(255, 230, 140), 2.0f, kAlignRight);

    MenuList shown = menu;
    const std::vector<ModsButton> actions = layOutModsScreen(*this, shown);

    if (mods.empty()) {
        std::istringstream lines(wrapText(kNoModsText, 58));
        std::string line;
        for (float y = 200.0f; std::getline(lines, line); y += 30.0f)
            drawText(ctx, line, {480.0f, y}, 20, sf::Color::White, 2.0f, kAlignCenter);
    }
    for (int row = 0; row < kModsPerPage; ++row) {
        const int i = modsPage * kModsPerPage + row;
        if (i >= int(mods.size())) break;
        const ModInfo& mod = mods[std::size_t(i)];
        const float top = modRowTop(row);
        drawRect(ctx, {kModRowLeft, top}, {kModRowWidth, kModRowHeight},
                 mod.enabled ? sf::Color(28, 52, 48, 225) : sf::Color(25, 25, 60, 215), 2.0f,
                 mod.enabled ? sf::Color(110, 210, 140) : sf::Color(90, 90, 140));
        drawText(ctx, shortenText(mod.name, 40), {144.0f, top + 5.0f}, 20, sf::Color::White, 2.0f);
        const bool problem = !mod.scriptError.empty();
        drawText(ctx, modSecondLine(mod), {144.0f, top + 32.0f}, 14,
                 problem ? sf::Color(255, 150, 140) : sf::Color(200, 200, 230), 1.0f);
    }
    for (std::size_t k = 0; k < shown.buttons.size(); ++k) {
        const MenuButton& b = shown.buttons[k];
        const bool selected = int(k) == shown.selected;
        switch (actions[k].action) {
            case ModsAction::Toggle: {
                const bool on = mods[std::size_t(actions[k].mod)].enabled;
                drawButton(ctx, b, selected, totalTime, on ? sf::Color(40, 150, 70, 230) : sf::Color(70, 70, 90, 220),
                           18, kModButtonInset);
                break;
            }
            case ModsAction::Play:
                drawButton(ctx, b, selected, totalTime, sf::Color(40, 80, 160, 225), 18, kModButtonInset);
                break;
            case ModsAction::Delete:
                drawButton(ctx, b, selected, totalTime,
                           actions[k].mod == modsArmed ? sf::Color(170, 40, 50, 235) : sf::Color(80, 40, 60, 220), 18,
                           kModButtonInset);
                break;
            default: drawButton(ctx, b, selected, totalTime, sf::Color(30, 30, 70, 215), 22); break;
        }
    }
}
