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

// "slot" + (slot + 1) + ".txt".
std::string slotPath(const std::string& dataFolder, int slot);

// Older files end after `finished`; a file whose first seven values do not
// all read is an empty slot.
SaveSlot parseSlot(std::istream& in);
std::string formatSlot(const SaveSlot& s);

// A negative or unknown slot gives an empty record.
SaveSlot loadSlot(const std::string& dataFolder, int slot);

// Writes through a temporary file renamed over the old one, so a crash never
// leaves a half-written save. A negative slot (a "No Save" game) writes
// nothing. Returns false when nothing was written.
bool saveSlot(const std::string& dataFolder, int slot, const SaveSlot& s);
