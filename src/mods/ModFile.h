#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "mods/ModInfo.h"

// The mod file ("mod.txt", or any ".txt" file that reads as one): lines of
// "key: value", and optionally a line "code:" after which the rest of the
// file is the mod's script.
//
//   name: Moon Jump
//   description: Low gravity, big jumps
//   gravity: 0.5
//   jump: 1.4
//   color: 255 200 40
//   code:
//   on jump:
//     say "Boing!"

// Caps on what a mod brings along. Parsing is linear, but every token takes
// memory, so a script is read only up to this size.
constexpr std::size_t kMaxModFileBytes = 256u << 10;    // a mod file, settings and code together
constexpr std::size_t kMaxModScriptBytes = 256u << 10;  // "script.mivo"
constexpr std::size_t kMaxModNameBytes = 64;            // longer names and descriptions are cut
constexpr std::size_t kMaxModDescriptionBytes = 240;

// The message a mod's script gets when its file is over the cap.
std::string scriptTooLongMessage();

struct ModText {
    bool isMod = false;    // it has "name", "gravity", "speed", "jump", "size", "color" or a "code:" line
    bool hasCode = false;  // a "code:" line was found
    // The script: the lines after "code:", behind as many empty lines as
    // came before them, so that the script's line numbers are the file's.
    std::string code;
};

// Reads the settings of a mod file into mod; the fields it does not name
// keep their values. Factors are clamped to their ranges, a "color" line
// with three whole numbers sets the tint. Keys are not case-sensitive.
ModText readModText(std::string_view text, ModInfo& mod);

// A mod's parsed script. One that does not parse, or whose file was over
// the cap (tooLong), keeps its message in `error` and never runs.
std::shared_ptr<mivo::Script> parseModScript(const std::string& text, bool tooLong = false);

// The text cut to at most maxBytes bytes, never inside a UTF-8 character.
std::string cutUtf8(const std::string& text, std::size_t maxBytes);

// A text of more than maxChars characters (UTF-8) cut to its first
// maxChars - 3 followed by "...".
std::string shortenText(const std::string& text, std::size_t maxChars);
