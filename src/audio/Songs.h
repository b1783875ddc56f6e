#pragma once
#include <string>
#include <utility>
#include <vector>

#include "audio/Notation.h"

// The fourteen built-in songs, in the order they are registered. Each is
// eight bars of eight eighth-note steps.
struct BuiltinSong {
    std::string id;
    SongFactory factory;
};
const std::vector<BuiltinSong>& builtinSongs();

// The factory of a built-in song; an empty function for an unknown id.
SongFactory builtinSongFactory(const std::string& id);

// The id of the song for a zone's acts: "mod" when a mod brings a song and
// the game is not a multiplayer one, otherwise the zone's own song (zone
// index clamped to 0..5).
std::string zoneMusicId(int zone, bool modSongPresent, bool inMultiplayer);
