// Feeds arbitrary bytes to the readers of the settings and save slot files,
// and checks that what they read is in range and writes back and reads again
// the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "persist/SaveSlot.h"
#include "persist/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        std::istringstream in(text);
        const Settings s = parseSettings(in);
        if (s.musicVolume < 0 || s.musicVolume > 100 || s.soundVolume < 0 || s.soundVolume > 100) std::abort();
        std::istringstream again(formatSettings(s));
        if (formatSettings(parseSettings(again)) != formatSettings(s)) std::abort();
    }
    {
        std::istringstream in(text);
        const SaveSlot s = parseSlot(in);
        if (s.hero < 0 || s.hero > 8 || s.zone < 0 || s.zone > 5 || s.act < 1 || s.act > 2 || s.secretStones < 0 ||
            s.secretStones > kAllStones || s.divineStones < 0 || s.divineStones > kAllStones || s.score < 0 ||
            s.score > kMaxSavedScore || (s.exists && (s.furthestAct < s.zone * 2 - 1 + s.act || s.furthestAct > kLastActIndex)))
            std::abort();
        if (s.exists) {
            std::istringstream again(formatSlot(s));
            if (formatSlot(parseSlot(again)) != formatSlot(s)) std::abort();
        }
    }
    return 0;
}
