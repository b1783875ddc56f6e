#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "audio/Notation.h"

// Renders a song to mono 16-bit samples at 44100 Hz that loop without a seam:
// every write wraps round the end of the buffer, so held notes, drum tails
// and the echo carry on from the start. Pure: the same song always gives the
// same samples.
std::vector<std::int16_t> renderSong(const Song& song);

// The same render, given up early (returning an empty vector) as soon as
// `stop` becomes true. Used by the background renderer so that closing the
// game never waits for a whole song.
std::vector<std::int16_t> renderSongUnlessStopped(const Song& song, const std::atomic<bool>& stop);
