#pragma once
#include <string>
#include <vector>

#include "core/MenuList.h"
#include "mods/ModInfo.h"

// The mods screen's layout and what its buttons do, in logical units:
// six mods a page, each row with its toggle, "Play" (a mod with a course)
// and "Delete", then the bottom row "Back", "Get Mods", "Reload", "Folder",
// "<" and ">".

constexpr int kModsPerPage = 6;
constexpr float kModRowLeft = 40.0f, kModRowWidth = 880.0f, kModRowHeight = 56.0f;
constexpr float kModButtonInset = 8.0f;  // row buttons are drawn this far below the row's top, 40 high

inline constexpr const char* kModsTitle = "MODS";
inline constexpr const char* kModsSubtitle = "Get mods from the website, then drag the file onto this window.";
inline constexpr const char* kNoModsText =
    "No mods yet! Press Get Mods to open the mods website, download one, then drag the file onto this window. "
    "Mivoland 1 mods work here too.";
inline constexpr const char* kOldCourseText = "That course was made for Mivoland 1";
inline constexpr const char* kModsReloadedText = "Mods reloaded";
inline constexpr const char* kModInstalledText = "Mod installed and turned on: ";

// max(1, (count + 5) / 6).
int modsPageCount(std::size_t modCount);
// The page moved by delta, wrapping around.
int wrapModsPage(int page, int delta, int pageCount);
// The top of row 0..5.
float modRowTop(int row);
// "Page " + (page + 1) + "/" + pageCount.
std::string modsPageText(int page, int pageCount);
// The row's second line: "Code problem, " + the script's message, or the
// description with "  [code]", "  [picture]", "  [music]" as they apply;
// cut to 67 characters and "..." when longer than 70.
std::string modSecondLine(const ModInfo& mod);

enum class ModsAction { Back, GetMods, Reload, Folder, PreviousPage, NextPage, Toggle, Play, Delete };

struct ModsButton {
    ModsAction action = ModsAction::Back;
    int mod = -1;  // Toggle, Play and Delete: the mod's index
};

// The screen's buttons for the page, as a menu list (same order in both
// vectors): each shown row's toggle ("ON"/"OFF"), "Play" when the mod has a
// course and "Delete" ("Sure?" while armed), then the six bottom buttons. A
// row button's box spans the row from its top to the bottom of the button
// as drawn.
void modsScreenButtons(const std::vector<ModInfo>& mods, int page, int armed, std::vector<MenuButton>& buttons,
                       std::vector<ModsButton>& actions);
