#pragma once
#include <SFML/Graphics/Color.hpp>
#include <filesystem>
#include <memory>
#include <string>

#include "script/Script.h"

// One mod as read from the mods folder: a single mod file, or a folder
// holding a mod file and its picture, music, course and script. The game
// keeps its mods in a vector in mod order.
struct ModInfo {
    std::string name;         // from "name"; also the key in "mods_enabled.txt"
    std::string description;  // from "description"; the reader puts in "A mod pack" or "From " + file name
    // Physics factors, multiplied together over the enabled mods.
    float gravity = 1.0f;
    float speed = 1.0f;
    float jump = 1.0f;
    float size = 1.0f;
    bool rainbow = false;
    bool onehit = false;
    bool infiniteair = false;
    bool nobadniks = false;
    bool doublegems = false;
    bool hasColor = false;                      // a "color" line was read
    sf::Color color = sf::Color(255, 255, 255, 255);  // the player's tint; alpha always 255
    std::string entry;                          // its file or folder name inside "mods"
    std::filesystem::path folder;               // the folder that holds the mod file
    std::filesystem::path picturePath;          // "player.png" there, when present
    std::filesystem::path musicPath;            // "music.ogg"
    std::filesystem::path coursePath;           // "course.txt"
    std::shared_ptr<mivo::Script> script;       // from the "code:" section or "script.mivo"; none without
    std::string scriptError;                    // the script's parse message, empty when it parsed
    bool enabled = false;                       // turned on by the player
};
