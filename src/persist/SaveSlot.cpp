#include "persist/SaveSlot.h"

#include <algorithm>
#include <limits>
#include <sstream>

#include "core/platform/FileSystem.h"

namespace {

template <typename T>
bool readInt(std::istream& in, T& out) {
    long long v = 0;
    if (!(in >> v)) return false;
    out = T(std::clamp<long long>(v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
    return true;
}

bool readBool(std::istream& in, bool& out) {
    long long v = 0;
    if (!(in >> v)) return false;
    out = v != 0;
    return true;
}

}  // namespace

std::string slotPath(const std::string& dataFolder, int slot) {
    return dataFolder + "slot" + std::to_string(slot + 1) + ".txt";
}

SaveSlot parseSlot(std::istream& in) {
    SaveSlot s;
    SaveSlot r;
    if (!readInt(in, r.hero) || !readInt(in, r.zone) || !readInt(in, r.act) || !readInt(in, r.secretStones) ||
        !readInt(in, r.divineStones) || !readInt(in, r.score) || !readBool(in, r.finished))
        return s;
    r.exists = true;
    const bool older = !readInt(in, r.furthestAct);
    if (!readBool(in, r.templeOpened)) r.templeOpened = false;
    r = saneSlot(r);
    if (older) r.furthestAct = r.zone * 2 - 1 + r.act;  // from the zone and act in range
    return r;
}

SaveSlot saneSlot(SaveSlot r) {
    r.hero = std::clamp(r.hero, 0, 8);
    r.zone = std::clamp(r.zone, 0, 5);
    r.act = std::clamp(r.act, 1, 2);
    // A stone mask outside the seven bits is no stones at all (-1 would
    // otherwise hold every stone and open the form).
    if (r.secretStones < 0 || r.secretStones > kAllStones) r.secretStones = 0;
    if (r.divineStones < 0 || r.divineStones > kAllStones) r.divineStones = 0;
    r.score = std::clamp<std::int64_t>(r.score, 0, kMaxSavedScore);
    // At least the act the save stands at, at most the last act.
    const int here = r.zone * 2 - 1 + r.act;
    r.furthestAct = std::clamp(r.furthestAct, here, kLastActIndex);
    return r;
}

std::string formatSlot(const SaveSlot& s) {
    std::ostringstream out;
    out << s.hero << ' ' << s.zone << ' ' << s.act << ' ' << s.secretStones << ' ' << s.divineStones << ' '
        << s.score << ' ' << (s.finished ? 1 : 0) << ' ' << s.furthestAct << ' ' << (s.templeOpened ? 1 : 0);
    return out.str();
}

SaveSlot loadSlot(const std::string& dataFolder, int slot) {
    if (slot < 0 || slot >= kSaveSlotCount) return SaveSlot{};
    std::string text;
    if (readFile(slotPath(dataFolder, slot), text, 4096)) return SaveSlot{};
    std::istringstream in(text);
    return parseSlot(in);
}

bool saveSlot(const std::string& dataFolder, int slot, const SaveSlot& s) {
    if (slot < 0 || slot >= kSaveSlotCount) return false;
    return !writeFileAtomically(slotPath(dataFolder, slot), formatSlot(s));
}

std::string saveFailedMessage(int slot) { return "Could not save the game to Save " + std::to_string(slot + 1); }
