#pragma once
#include <array>
#include <cstdint>
#include <vector>

// Rough pitch content of a block of samples, for checking by ear's stand-in:
// the energy found at each equal-tempered note (MIDI numbers), folded into
// the twelve pitch classes (0 = C, 1 = C#, ... 11 = B).
struct PitchProfile {
    std::array<double, 12> pitchClass{};
    std::vector<double> note;  // index = MIDI number - firstNote
    int firstNote = 0;
    // Pitch classes from loudest to quietest.
    std::array<int, 12> ranking() const;
};

// Measures notes from MIDI `lowNote` to `highNote` (E2 = 40 .. E7 = 100 by
// default) over Hann-windowed blocks of the signal.
PitchProfile measurePitches(const std::vector<float>& samples, int sampleRate, int lowNote = 40,
                            int highNote = 100);
PitchProfile measurePitches(const std::vector<std::int16_t>& samples, int sampleRate, int lowNote = 40,
                            int highNote = 100);

// Name of a pitch class: "C", "C#", ... "B".
const char* pitchClassName(int pc);
