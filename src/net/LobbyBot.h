#pragma once
// A headless lobby player for tools and tests: it joins (or hosts) a lobby,
// picks a hero, and when an act starts plays back a scripted run through it
// - a ghost that follows the act's ground from the start to the goal at a
// set speed - sending its state twenty times a second like a game does and
// its finish when it reaches the goal.

#include <functional>
#include <string>

#include "level/Level.h"
#include "net/Lobby.h"

struct GhostRun {
    Level level;
    float x = 0, y = 0;
    float speed = 600;  // units a second
    float goalX = 0;
    float time = 0;     // seconds since the act started
    int facing = 1;
    bool finished = false;
};

// The act's level, the start position and the goal of a lobby act.
GhostRun startGhostRun(int zone, int act, float speed);
// Moves the ghost on; true on the step it reaches the goal.
bool stepGhostRun(GhostRun& run, float dt);

struct LobbyBot {
    Lobby lobby;
    std::string name = "Bot";
    int hero = 0;
    float speed = 600;
    bool playing = false;  // a ghost run is under way
    GhostRun run;
    float sendTimer = 0;
    // Sees every event before the bot acts on it (tools print them).
    std::function<void(const LobbyEvent&)> onEvent;

    // One frame: the lobby's sockets, its events, then the run.
    void update(float dt);
};
