#include "core/SaveSelect.h"

#include <filesystem>

#include "audio/SoundEffects.h"
#include "content/Zones.h"
#include "content/Heroes.h"
#include "core/HeroSelect.h"
#include "core/Mivoland2.h"
#include "render/Background.h"
#include "render/Draw.h"

std::vector<MenuButton> saveSelectButtons() {
    std::vector<MenuButton> b;
    for (int i = 0; i < kSaveSlotCount; ++i) b.push_back({"", 130.0f + 240.0f * float(i), 150.0f, 220.0f, 230.0f, true});
    b.push_back({"No Save", 130.0f, 400.0f, 220.0f, 46.0f, true});
    b.push_back({"Delete...", 370.0f, 400.0f, 220.0f, 46.0f, true});
    b.push_back({"Back", 610.0f, 400.0f, 220.0f, 46.0f, true});
    return b;
}

const char* saveSelectHeading(bool deleteMode) { return deleteMode ? "PICK A SAVE TO DELETE" : "CHOOSE A SAVE"; }

SaveSlot freshSaveRecord() { return SaveSlot{}; }

SaveCardText saveCardText(int slot, const SaveSlot& s) {
    SaveCardText t;
    t.title = "Save " + std::to_string(slot + 1);
    t.used = s.exists;
    if (!s.exists) return t;
    const int hero = s.hero >= 0 && s.hero < kHeroCount ? s.hero : 0;
    const int zone = s.zone >= 0 && s.zone < kZoneCount ? s.zone : 0;
    t.heroName = heroTable()[std::size_t(hero)].name;
    t.progress = s.finished ? "Finished!" : zoneTable()[std::size_t(zone)].name + " " + std::to_string(s.act);
    t.score = "Score " + std::to_string(s.score);
    return t;
}

bool deleteSlotFile(const std::string& dataFolder, int slot) {
    if (slot < 0 || slot >= kSaveSlotCount) return true;
    namespace fs = std::filesystem;
    const fs::path path = slotPath(dataFolder, slot);
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (ec || !fs::exists(st)) return true;
    if (fs::is_directory(st)) return false;
    fs::remove(path, ec);
    return !ec;
}

// ---- The screen -----------------------------------------------------------

void Mivoland2::openSaveSelect() {
    state = GameState::SaveSelect;
    deleteMode = false;
    for (int i = 0; i < kSaveSlotCount; ++i) slotPreview[std::size_t(i)] = loadSlot(dataDir, i);
    menu.reset(saveSelectButtons(), 0, true);  // cards side by side
}

void Mivoland2::chooseSaveSlot(int slot) {
    const SaveSlot record = loadSlot(dataDir, slot);
    if (!record.exists) {
        beginStoryGame(slot, freshSaveRecord());
        openHeroSelect();
        return;
    }
    beginStoryGame(slot, record);
    startAct(save.zone, save.act);
}

void Mivoland2::updateSaveSelect() {
    if (input.pressed(sf::Keyboard::Escape) || input.pressed(sf::Keyboard::Backspace)) {
        if (deleteMode)
            deleteMode = false;
        else
            goToMainMenu();
        return;
    }
    const int chosen = runMenuList(menu);
    if (chosen < 0) return;
    if (chosen < kSaveSlotCount) {
        if (deleteMode) {
            deleteSlotFile(dataDir, chosen);
            slotPreview[std::size_t(chosen)] = loadSlot(dataDir, chosen);
            deleteMode = false;
            playSound(SoundHurt, 1.0f);
        } else {
            chooseSaveSlot(chosen);
        }
    } else if (chosen == kSaveNoSaveButton) {
        beginStoryGame(-1, freshSaveRecord());
        openHeroSelect();
    } else if (chosen == kSaveDeleteButton) {
        deleteMode = !deleteMode;
    } else if (chosen == kSaveBackButton) {
        goToMainMenu();
    }
}

void Mivoland2::drawSaveSelect(DrawContext& ctx) {
    drawMenuBackdrop(ctx, totalTime);
    drawText(ctx, saveSelectHeading(deleteMode), {480.0f, 60.0f - 40.0f * 0.62f}, 40,
             deleteMode ? sf::Color(255, 120, 120) : sf::Color::White, 3.0f, kAlignCenter);
    drawMenuButtons(menu, ctx, totalTime, 22);

    for (int i = 0; i < kSaveSlotCount; ++i) {
        const MenuButton& card = menu.buttons[std::size_t(i)];
        const float cx = card.x + card.w / 2.0f;
        const SaveSlot& s = slotPreview[std::size_t(i)];
        const SaveCardText text = saveCardText(i, s);
        if (deleteMode && menu.selected == i)
            drawRect(ctx, {card.x + 6.0f, card.y + 6.0f}, {card.w - 12.0f, card.h - 12.0f}, sf::Color(160, 30, 50, 90));
        drawText(ctx, text.title, {cx, card.y + 12.0f}, 22, sf::Color(255, 220, 90), 2.0f, kAlignCenter);
        if (!text.used) {
            drawText(ctx, "New Game", {cx, card.y + 100.0f}, 22, sf::Color(200, 200, 230), 2.0f, kAlignCenter);
            continue;
        }
        drawMenuHero(ctx, s.hero, {cx, card.y + 72.0f}, 1.1f, totalTime);
        drawText(ctx, text.heroName, {cx, card.y + 100.0f}, 18, sf::Color::White, 2.0f, kAlignCenter);
        drawText(ctx, text.progress, {cx, card.y + 128.0f}, 16,
                 s.finished ? sf::Color(255, 220, 90) : sf::Color(200, 220, 255), 2.0f, kAlignCenter);
        for (int k = 0; k < 7; ++k) {
            const sf::Vector2f dot{cx + 20.0f * float(k - 3), card.y + 170.0f};
            if ((s.secretStones >> k) & 1)
                drawCircle(ctx, dot, 7.0f, hueColor(float(k) / 7.0f), 4, 1.5f, sf::Color(255, 255, 255, 200));
            else
                drawCircle(ctx, dot, 6.0f, sf::Color(20, 20, 40, 200), 4, 1.5f, sf::Color(110, 110, 150));
        }
        drawText(ctx, text.score, {cx, card.y + 192.0f}, 14, sf::Color(220, 220, 240), 2.0f, kAlignCenter);
    }
}
