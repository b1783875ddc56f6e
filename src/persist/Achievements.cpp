#include "persist/Achievements.h"

#include <algorithm>
#include <sstream>

#include "core/platform/FileSystem.h"

const std::array<AchievementDef, kAchievementCount>& achievementTable() {
    static const std::array<AchievementDef, kAchievementCount> table{{
        {"Back in Action", "Clear your first act"},
        {"Loop-de-Loop", "Run all the way round a loop"},
        {"Baddie Breaker", "Break 50 baddies"},
        {"Gem Magnet", "Hold 100 gems at once"},
        {"Stone Seeker", "Earn a Secret Stone"},
        {"Rainbow Again", "Collect all 7 Secret Stones"},
        {"Mysterious", "Take the Mysterious Form"},
        {"Divine", "Take the Divine Form"},
        {"Word Spoken", "Defeat Ovim"},
        {"Speedrunner", "Clear an act in under 1:30"},
        {"Maker", "Clear a course you built in Mivo Maker"},
        {"Together", "Finish a multiplayer race"},
    }};
    return table;
}

AchievementState parseAchievements(std::istream& in) {
    AchievementState a;
    long long unlocked = 0, broken = 0;
    if (!(in >> unlocked)) return a;
    a.unlocked = std::uint32_t(unlocked) & ((1u << kAchievementCount) - 1u);
    if (!(in >> broken)) return a;
    a.baddiesBroken = std::int32_t(std::clamp<long long>(broken, 0, 2147483647LL));
    return a;
}

std::string formatAchievements(const AchievementState& a) {
    std::ostringstream out;
    out << a.unlocked << ' ' << a.baddiesBroken;
    return out.str();
}

std::string achievementsPath(const std::string& dataFolder) { return dataFolder + "achievements.txt"; }

AchievementState loadAchievements(const std::string& dataFolder) {
    std::string text;
    if (readFile(achievementsPath(dataFolder), text, 4096)) return AchievementState{};
    std::istringstream in(text);
    return parseAchievements(in);
}

bool saveAchievements(const std::string& dataFolder, const AchievementState& a) {
    return !writeFileAtomically(achievementsPath(dataFolder), formatAchievements(a));
}

bool setAchievementBit(AchievementState& a, int i) {
    if (i < 0 || i >= kAchievementCount || a.has(i)) return false;
    a.unlocked |= 1u << i;
    return true;
}
