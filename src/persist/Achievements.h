#pragma once
#include <array>
#include <cstdint>
#include <istream>
#include <string>

struct AchievementDef {
    const char* name;
    const char* description;
};

constexpr int kAchievementCount = 12;

// Fixed order: the index is the bit in `AchievementState::unlocked`.
const std::array<AchievementDef, kAchievementCount>& achievementTable();

// "achievements.txt": "unlocked baddiesBroken".
struct AchievementState {
    std::uint32_t unlocked = 0;
    std::int32_t baddiesBroken = 0;

    bool has(int i) const { return i >= 0 && i < 32 && (unlocked >> i) & 1u; }
};

AchievementState parseAchievements(std::istream& in);
std::string formatAchievements(const AchievementState& a);
std::string achievementsPath(const std::string& dataFolder);
AchievementState loadAchievements(const std::string& dataFolder);
bool saveAchievements(const std::string& dataFolder, const AchievementState& a);

// Sets bit i; true when it was not set before (the caller then saves, shows
// the toast and plays the sound).
bool setAchievementBit(AchievementState& a, int i);
