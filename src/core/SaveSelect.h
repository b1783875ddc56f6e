#pragma once
#include <string>
#include <vector>

#include "core/MenuList.h"
#include "persist/SaveSlot.h"

// Save select: buttons 0..2 are the slot cards (drawn as cards, without
// labels), then "No Save", "Delete..." and "Back".
constexpr int kSaveNoSaveButton = 3, kSaveDeleteButton = 4, kSaveBackButton = 5;

std::vector<MenuButton> saveSelectButtons();

// "CHOOSE A SAVE", or "PICK A SAVE TO DELETE" in delete mode.
const char* saveSelectHeading(bool deleteMode);

// The record of a new story: hero 0, zone 0, act 1, no stones, score 0,
// not finished.
SaveSlot freshSaveRecord();

// The lines a slot card shows.
struct SaveCardText {
    std::string title;     // "Save 1" .. "Save 3"
    bool used = false;     // false: the card says "New Game"
    std::string heroName;
    std::string progress;  // "Finished!", or the zone name and the act number
    std::string score;     // "Score " + score
};
SaveCardText saveCardText(int slot, const SaveSlot& s);

// Removes a slot's file; a missing file is fine and a folder in its place is
// left alone. True when no slot file remains.
bool deleteSlotFile(const std::string& dataFolder, int slot);
