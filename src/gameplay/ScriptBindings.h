#pragma once
// What mod scripts may read and change of an act in play: the game's script
// variables ("gems", "hearts", "gravity", ...) with their limits, and the
// game's steps (say, heal, hurt, die, boost, spawn, color, sound). Pure
// functions on the act's records: the game wraps them into its script host
// (gameplay/PlayingScripts.cpp) and tools/run_script runs them on a headless
// act.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/Player.h"
#include "level/Level.h"
#include "render/Hero.h"
#include "script/Script.h"

// The parts of an act a script reaches.
struct ScriptAct {
    Player& player;
    Level& level;
    std::int64_t& score;
    PlayerLook& look;
    float actTime = 0;       // seconds in the act
    bool noBaddies = false;  // the "nobadniks" mod flag: spawn makes no enemies
};

constexpr float kSayTime = 3.0f;          // seconds a say line stays up
constexpr std::size_t kSayLength = 60;    // characters of a say line shown
constexpr float kScriptMaxSpeed = 4000;   // a script sets no speed beyond this, either way
constexpr float kScriptMaxCoord = 1e6f;   // nor a position beyond this
constexpr float kSpawnSpringPower = 1200;
// A script adds objects only while the level holds fewer than these.
constexpr std::size_t kScriptMaxGems = 3000;
constexpr std::size_t kScriptMaxEnemies = 1000;
constexpr std::size_t kScriptMaxSprings = 500;

// True with the value when the game owns the variable.
bool getScriptVariable(const ScriptAct& act, const std::string& name, float& value);

// True when the game owns the variable and takes the value, within its
// limits. A read-only name is not taken (the script keeps its own copy).
// A value that is not a number is taken and changes nothing.
bool setScriptVariable(ScriptAct& act, const std::string& name, float value);

struct ScriptStepResult {
    bool known = false;     // one of the game's steps
    bool say = false;       // show sayText in the banner for kSayTime
    std::string sayText;    // cut to kSayLength characters
    int sound = -1;         // a sound effect to play at pitch 1
    bool formEnded = false; // the player left a form: back to the act's music
    std::string summary;    // what the step did, in words
};

// Carries out one of the game's steps on the act. Unknown steps do nothing.
ScriptStepResult runScriptStep(ScriptAct& act, const mivo::Stmt& step, const std::vector<float>& args,
                               const std::string& text);

// The first kSayLength characters (UTF-8 code points) of a text.
std::string cutSayText(const std::string& text);
