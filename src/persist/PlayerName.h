#pragma once
#include <random>
#include <string>

// "player_name.txt": the name shown to other players, at most 14 printable
// ASCII characters.
constexpr std::size_t kPlayerNameMax = 14;

std::string playerNamePath(const std::string& dataFolder);

// The cleaned name of a file's first line: blanks trimmed, printable ASCII
// only, at most 14 characters, "Player" when nothing is left. An empty line
// gives an empty string (the caller then makes a fresh name).
std::string cleanPlayerName(const std::string& line);

// "Player" followed by a number from 100 to 999.
std::string freshPlayerName(std::uint32_t randomValue);

// A missing file or an empty first line gives a fresh random name.
std::string loadPlayerName(const std::string& dataFolder);
// Writes the cleaned name ("Player" when nothing is left) as the file's only
// line.
bool savePlayerName(const std::string& dataFolder, const std::string& name);
