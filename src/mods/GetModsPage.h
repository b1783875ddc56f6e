#pragma once
#include <string>

// Where "Get Mods" on the mods screen leads. A web address ("https://...")
// is opened as it stands. Until the mods website exists it names a page that
// ships inside the game: written into the data folder under this name and
// opened from there.
inline constexpr const char* kModsWebsite = "get-mods.html";

// The shipped page: where mods come from, how to install one, and how to
// write one. It names the player's mods folder.
std::string getModsPageHtml(const std::string& modsFolder);

// What to open for "Get Mods": the website's address, or the shipped page
// written afresh into dataDir (ending with a separator) and given as a file
// address. Empty when the page could not be written.
std::string modsWebsiteAddress(const std::string& dataDir, const std::string& modsFolder);
