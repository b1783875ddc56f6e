#pragma once
#include <cstdint>
#include <istream>
#include <string>

// One story save: "slot1.txt" to "slot3.txt" in the data folder, one line of
// "hero zone act secretStones divineStones score finished furthestAct templeOpened".
struct SaveSlot {
    bool exists = false;  // the file was read successfully
    std::int32_t hero = 0;   // 0..8
    std::int32_t zone = 0;   // 0..5
    std::int32_t act = 1;    // 1..2
    std::int32_t secretStones = 0;  // bit i: Secret Stone i
    std::int32_t divineStones = 0;  // bit i: Divine Stone i
    std::int64_t score = 0;
    bool finished = false;
    std::int32_t furthestAct = 0;  // zone * 2 - 1 + act
    bool templeOpened = false;
};

constexpr int kSaveSlotCount = 3;
constexpr std::int32_t kAllStones = 127;  // the seven stone bits
constexpr std::int32_t kLastActIndex = 11;  // furthestAct of zone 5 act 2
// The highest score a save holds: far above any real game, far enough below
// the 64-bit limit that no amount of play can overflow it.
constexpr std::int64_t kMaxSavedScore = 999'999'999'999'999LL;

// "slot" + (slot + 1) + ".txt".
std::string slotPath(const std::string& dataFolder, int slot);

// Older files end after `finished`; a file whose first seven values do not
// all read is an empty slot. A damaged or hand-edited record is made sane
// (saneSlot).
SaveSlot parseSlot(std::istream& in);

// A record with every field in range: hero 0..8, zone 0..5, act 1..2, stone
// masks 0..127 (anything else counts as no stones), score 0..kMaxSavedScore,
// furthestAct from the act the save stands at up to kLastActIndex.
SaveSlot saneSlot(SaveSlot r);
std::string formatSlot(const SaveSlot& s);

// A negative or unknown slot gives an empty record.
SaveSlot loadSlot(const std::string& dataFolder, int slot);

// Writes through a temporary file renamed over the old one, so a crash never
// leaves a half-written save. A negative slot (a "No Save" game) writes
// nothing. Returns false when nothing was written.
bool saveSlot(const std::string& dataFolder, int slot, const SaveSlot& s);

// The toast when a slot could not be written: "Could not save the game to Save N".
std::string saveFailedMessage(int slot);
