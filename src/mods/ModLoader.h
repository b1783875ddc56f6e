#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "gameplay/Player.h"
#include "mods/ModFile.h"
#include "mods/ModInfo.h"
#include "mods/Unpack.h"

// The mods folder: finding the mods in it, installing dropped or downloaded
// files into it, remembering which mods are on, and folding the enabled
// mods into one set of modifiers. No window, no game object: every call
// takes the folders it works on.
//
// Layout of the data folder:
//   mods/                  one entry per mod: a ".txt" mod file, or a folder
//                          holding "mod.txt" (or another ".txt" mod file) and
//                          optionally "player.png", "music.ogg", "course.txt"
//                          and "script.mivo"; a folder may also hold exactly
//                          one folder that holds all this (a package that
//                          unpacks into a folder of its own)
//   mods_enabled.txt       the names of the mods turned on, one a line
//   mods_installed.txt     the download inbox: package paths, one a line

constexpr std::size_t kMaxModEntries = 1000;          // entries of the mods folder, or of one mod's folder, looked at
constexpr std::size_t kMaxEnabledFileBytes = 256u << 10;
constexpr std::size_t kMaxInboxBytes = 64u << 10;
constexpr std::size_t kMaxInboxPaths = 64;
constexpr std::size_t kMaxInboxPathBytes = 4096;
constexpr std::size_t kMaxPictureFileBytes = 4u << 20;  // "player.png"
constexpr unsigned kMaxPictureSide = 1024;              // pixels, either side

// The toast for a file that is not a mod.
inline constexpr const char* kNotAModFileText = "That isn't a mod file (mods are .txt, .mivomod or .zip)";

// dataDir (ending with a separator) + "mods".
std::string modsFolderIn(const std::string& dataDir);

// The mod file of a folder: "mod.txt" when there is one, else the first
// ".txt" file by name (not "course.txt") that reads as a mod file, else,
// when depth is 0 and the folder holds exactly one folder, that folder's
// mod file (depth 1). Empty when there is none.
std::string findModFile(const std::string& folder, int depth = 0);

// Reads a mod file (at most kMaxModFileBytes) into mod. False when it cannot
// be read or is not a mod file. tooLong tells that the file was cut.
bool readModFile(const std::string& path, ModInfo& mod, ModText& text, bool& tooLong);

// A folder holds a mod: its mod file exists and reads as one.
bool folderHoldsMod(const std::string& folder);

// Every mod of dataDir's mods folder (created if missing), sorted by file
// or folder name, with the ones named in "mods_enabled.txt" turned on.
// Entries that are not mods, and an installer's leftovers, are skipped.
std::vector<ModInfo> scanMods(const std::string& dataDir);

// Writes "mods_enabled.txt": the name of every enabled mod, one a line.
std::error_code saveEnabledMods(const std::string& dataDir, const std::vector<ModInfo>& mods);

struct ModInstall {
    std::string name;     // the installed file or folder name inside "mods"; empty on failure
    std::string message;  // why not, one line for the toast
    bool ok() const { return !name.empty(); }
};

// Installs a dropped or downloaded file into modsFolder: a ".txt" mod file
// is copied under its own name (replacing one of that name), a ".mivomod"
// or ".zip" package (any case) is unpacked into a folder of its own. A file
// that is not a mod installs nothing and leaves any installed mod as it was.
ModInstall installModFile(const std::string& path, const std::string& modsFolder, const UnpackLimits& limits = {});

// The download inbox: when "mods_installed.txt" exists it is renamed to
// "mods_installed.reading", its non-empty lines are taken as paths, and it
// is deleted. Empty when there is nothing to take.
std::vector<std::string> takeModsInbox(const std::string& dataDir);

// The enabled mods folded into one set of modifiers.
struct ModEffects {
    PlayerModifiers player;  // factors multiplied together (size clamped to 0.4..1.8), flags ORed
    bool noBaddies = false;
    bool rainbow = false;        // cycling colours; wins over a tint
    bool hasTint = false;        // the last enabled mod with a colour gives it
    sf::Color tint = sf::Color::White;
    std::vector<std::string> pictures;  // the enabled mods' pictures, in mod order: the first that loads is used
    std::optional<std::string> music;   // the first enabled mod's music file
};
ModEffects combineMods(const std::vector<ModInfo>& mods);

// The width and height a PNG file's header gives. False when the bytes do
// not start like a PNG.
bool pngSize(std::string_view bytes, unsigned& width, unsigned& height);
