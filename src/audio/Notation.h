#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A song is written as text: a tempo, an echo level and a few voices, each
// voice a line of blank-separated note tokens, one token per eighth note.

// Voice kinds of SongTrack::wave. Any other value sounds as a triangle.
enum SongWave : int { WavePulse = 0, WaveSquare = 1, WaveTriangle = 2, WaveSaw = 3, WaveDrums = 4 };

struct SongTrack {
    int wave = WaveTriangle;
    float volume = 0.0f;
    std::string notes;
    bool vibrato = false;
};

struct Song {
    float tempo = 120.0f;  // beats per minute; one step is an eighth of a beat
    std::vector<SongTrack> tracks;
    float echo = 0.0f;     // level of the single echo tap; 0 or less: none
};

using SongFactory = std::function<Song()>;

constexpr int kSampleRate = 44100;

// `count` copies of `text`, each followed by one blank; empty below 1.
std::string repeatPattern(const std::string& text, int count);

// The steps of a note line: split on white space, bar lines ("|") dropped.
std::vector<std::string_view> tokenizeNotes(std::string_view line);

// Frequency in Hz of a melodic token such as "A4", "C#5" or "Bb3";
// 0 for every token that is a silent step ("." rests, "-" holds, bare
// letters, lower-case or unknown letters).
double noteFrequency(std::string_view token);

enum class DrumHit { None, Kick, Snare, HiHat, Crash };

// A drum token is exactly one of "k", "s", "h" or "c"; anything else is silent.
DrumHit drumHit(std::string_view token);

// Samples in one step at this tempo (0 for a tempo that is not a positive number).
std::uint64_t stepSamples(float tempo);

// Length of the rendered song in samples: step length times the longest
// track's step count, at least 1.
std::uint64_t songLengthSamples(const Song& song);
