#include "persist/Settings.h"

#include <algorithm>
#include <sstream>

#include "core/platform/FileSystem.h"

namespace {

// One whitespace-separated integer; values beyond 64 bits do not read.
bool readValue(std::istream& in, long long& v) { return bool(in >> v); }

std::int32_t clampVolume(long long v) { return std::int32_t(std::clamp(v, 0LL, 100LL)); }

}  // namespace

Settings parseSettings(std::istream& in) {
    Settings s;
    long long v = 0;
    if (!readValue(in, v)) return s;
    s.fullscreen = v != 0;
    if (!readValue(in, v)) return s;
    s.musicVolume = clampVolume(v);
    if (!readValue(in, v)) return s;
    s.soundVolume = clampVolume(v);
    if (!readValue(in, v)) return s;
    s.showFps = v != 0;
    if (!readValue(in, v)) return s;
    s.debugMode = v != 0;
    return s;
}

std::string formatSettings(const Settings& s) {
    std::ostringstream out;
    out << (s.fullscreen ? 1 : 0) << ' ' << std::clamp(s.musicVolume, 0, 100) << ' '
        << std::clamp(s.soundVolume, 0, 100) << ' ' << (s.showFps ? 1 : 0) << ' ' << (s.debugMode ? 1 : 0);
    return out.str();
}

std::string settingsPath(const std::string& dataFolder) { return dataFolder + "settings.txt"; }

Settings loadSettings(const std::string& dataFolder) {
    std::string text;
    // The file is one short line; a huge file is not read past its start.
    if (readFile(settingsPath(dataFolder), text, 4096)) return Settings{};
    std::istringstream in(text);
    return parseSettings(in);
}

bool saveSettings(const std::string& dataFolder, const Settings& s) {
    return !writeFileAtomically(settingsPath(dataFolder), formatSettings(s));
}
