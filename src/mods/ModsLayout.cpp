#include "mods/ModsLayout.h"

#include <algorithm>

#include "mods/ModFile.h"

int modsPageCount(std::size_t modCount) { return std::max(1, int((modCount + 5) / 6)); }

int wrapModsPage(int page, int delta, int pageCount) {
    if (pageCount < 1) return 0;
    return ((page + delta) % pageCount + pageCount) % pageCount;
}

float modRowTop(int row) { return 88.0f + 62.0f * float(row); }

std::string modsPageText(int page, int pageCount) {
    return "Page " + std::to_string(page + 1) + "/" + std::to_string(pageCount);
}

std::string modSecondLine(const ModInfo& mod) {
    std::string line;
    if (!mod.scriptError.empty()) {
        line = "Code problem, " + mod.scriptError;
    } else {
        line = mod.description;
        if (mod.script) line += "  [code]";
        if (!mod.picturePath.empty()) line += "  [picture]";
        if (!mod.musicPath.empty()) line += "  [music]";
    }
    return shortenText(line, 70);
}

void modsScreenButtons(const std::vector<ModInfo>& mods, int page, int armed, std::vector<MenuButton>& buttons,
                       std::vector<ModsButton>& actions) {
    buttons.clear();
    actions.clear();
    const float h = kModButtonInset + 40.0f;
    for (int row = 0; row < kModsPerPage; ++row) {
        const int i = page * kModsPerPage + row;
        if (i < 0 || i >= int(mods.size())) break;
        const ModInfo& mod = mods[std::size_t(i)];
        const float top = modRowTop(row);
        buttons.push_back({mod.enabled ? "ON" : "OFF", 48.0f, top, 80.0f, h, true});
        actions.push_back({ModsAction::Toggle, i});
        if (!mod.coursePath.empty()) {
            buttons.push_back({"Play", 700.0f, top, 100.0f, h, true});
            actions.push_back({ModsAction::Play, i});
        }
        buttons.push_back({armed == i ? "Sure?" : "Delete", 810.0f, top, 100.0f, h, true});
        actions.push_back({ModsAction::Delete, i});
    }
    const std::pair<const char*, ModsAction> bottom[] = {
        {"Back", ModsAction::Back},     {"Get Mods", ModsAction::GetMods},   {"Reload", ModsAction::Reload},
        {"Folder", ModsAction::Folder}, {"<", ModsAction::PreviousPage}, {">", ModsAction::NextPage},
    };
    for (int k = 0; k < 6; ++k) {
        buttons.push_back({bottom[k].first, 40.0f + 150.0f * float(k), 474.0f, 140.0f, 44.0f, true});
        actions.push_back({bottom[k].second, -1});
    }
}
