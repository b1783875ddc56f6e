#pragma once
#include <cstdint>
#include <istream>
#include <string>

// The options kept in "settings.txt" in the data folder: one line of
// "fullscreen musicVolume soundVolume showFps debugMode", bools as 0 or 1.
struct Settings {
    bool fullscreen = false;
    std::int32_t musicVolume = 70;  // 0..100
    std::int32_t soundVolume = 70;  // 0..100
    bool showFps = false;
    bool debugMode = false;
};

// Reads the values in order; reading stops at the first value that cannot
// be read and the rest keep their defaults. Volumes are clamped to 0..100.
Settings parseSettings(std::istream& in);
std::string formatSettings(const Settings& s);

// The file inside a data folder (a path ending with a separator).
std::string settingsPath(const std::string& dataFolder);

// A missing or unreadable file gives the defaults.
Settings loadSettings(const std::string& dataFolder);

// Writes the whole file through a temporary file renamed over the old one.
// Returns false when it could not be written; the old file is then intact.
bool saveSettings(const std::string& dataFolder, const Settings& s);
