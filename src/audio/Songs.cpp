#include "audio/Songs.h"

#include <algorithm>

// Every song follows one plan: the melody is eight bars in one line; the
// chord and bass lines are four bars (one chord a bar) played twice; the
// drums are built from one- or two-bar patterns, a fill joined before or
// after the repeats.

namespace {

SongTrack melody(int wave, float volume, std::string notes, bool vibrato = true) {
    return SongTrack{wave, volume, std::move(notes), vibrato};
}
SongTrack voice(int wave, float volume, const std::string& fourBars) {
    return SongTrack{wave, volume, repeatPattern(fourBars, 2), false};
}
SongTrack drums(float volume, std::string line) { return SongTrack{WaveDrums, volume, std::move(line), false}; }

// D major, bright and heroic: the title screen and the menus.
Song titleSong() {
    Song s;
    s.tempo = 132.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WavePulse, 0.15f,
               "D5 - F#5 A5 D6 - A5 F#5 | B5 - - A5 F#5 - D5 F#5 | G5 - B5 - D6 - B5 G5 | A5 - C#6 - E6 - - - | "
               "F#6 - E6 D6 A5 - D6 - | D6 - C#6 B5 F#5 - B5 - | G5 - B5 D6 G6 - F#6 E6 | E6 - - C#6 A5 - . . |"),
        voice(WaveSquare, 0.05f,
              "D4 F#4 A4 D5 A4 F#4 D4 F#4 | B3 D4 F#4 B4 F#4 D4 B3 D4 | "
              "G3 B3 D4 G4 D4 B3 G3 B3 | A3 C#4 E4 A4 E4 C#4 A3 C#4 |"),
        voice(WaveTriangle, 0.36f,
              "D2 . D2 A2 . D2 A1 . | B1 . B1 F#2 . B1 F#2 . | G1 . G1 D2 . G1 B1 . | A1 . A1 E2 . A1 C#2 . |"),
        drums(0.45f, "c . h . s . h . | k . h k s . h . | k . h . s . h k | k . s . s s s s | " +
                         repeatPattern("k . h k s . h . | k k h . s . h s |", 2)),
    };
    return s;
}

// G major, a sunny meadow run: zone 1.
Song echoMeadowsSong() {
    Song s;
    s.tempo = 144.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WavePulse, 0.15f,
               "B5 - D6 - G5 - B5 A5 | G5 - E5 - G5 - B5 - | C6 - G5 - E5 - G5 C6 | D6 - - - A5 - F#5 - | "
               "G5 A5 B5 - D6 - B5 - | E6 - B5 - G5 - E5 G5 | C6 - E6 - G6 - E6 C6 | D6 - A5 - F#5 - D5 - |"),
        voice(WaveSquare, 0.05f,
              "G3 D4 B3 D4 G3 D4 B3 D4 | E3 B3 G3 B3 E3 B3 G3 B3 | "
              "C4 G4 E4 G4 C4 G4 E4 G4 | D4 A4 F#4 A4 D4 A4 F#4 A4 |"),
        voice(WaveTriangle, 0.36f,
              "G1 . G2 . D2 . G2 . | E2 . E2 . B1 . E2 . | C2 . C2 . G1 . C2 . | D2 . D2 . A1 . F#2 . |"),
        drums(0.45f, repeatPattern("k . h . s . h k | . k h . s . h . |", 3) +
                         "k . s . s . s s | s . s s s s s s |"),
    };
    return s;
}

// E minor, slow and glassy with a long echo: zone 2.
Song crystalCavernsSong() {
    Song s;
    s.tempo = 120.0f;
    s.echo = 0.40f;
    s.tracks = {
        melody(WaveTriangle, 0.30f,
               "E5 - - G5 B5 - - - | C6 - B5 - G5 - E5 - | F#5 - - A5 D6 - A5 - | D#6 - - - B5 - F#5 - | "
               "G5 - F#5 - E5 - B4 - | E5 - G5 - C6 - - - | D6 - C6 - A5 - F#5 - | B5 - - - D#5 - F#5 - |",
               false),
        voice(WavePulse, 0.05f,
              "E4 G4 B4 E5 B4 G4 E4 B3 | C4 E4 G4 C5 G4 E4 C4 G3 | "
              "D4 F#4 A4 D5 A4 F#4 D4 A3 | B3 D#4 F#4 B4 F#4 D#4 B3 F#3 |"),
        voice(WaveTriangle, 0.34f,
              "E2 - - . E2 - B1 . | C2 - - . C2 - G1 . | D2 - - . D2 - A1 . | B1 - - . B1 - F#1 . |"),
        drums(0.32f, repeatPattern("k . . h s . . h | k . h . s . . h |", 4)),
    };
    return s;
}

// F major, a brisk march among the clouds: zone 3.
Song skyFortressSong() {
    Song s;
    s.tempo = 150.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WavePulse, 0.15f,
               "F5 - A5 - C6 - A5 C6 | E6 - - D6 C6 - G5 - | D6 - A5 - F5 - A5 D6 | D6 - - C6 Bb5 - F5 - | "
               "A5 - C6 - F6 - C6 A5 | G5 - C6 - E6 - G6 - | F6 - - E6 D6 - A5 - | Bb5 - D6 - F6 - E6 - |"),
        voice(WaveSquare, 0.05f,
              "C4 A3 F3 A3 C4 A3 F3 A3 | G4 E4 C4 E4 G4 E4 C4 E4 | "
              "A4 F4 D4 F4 A4 F4 D4 F4 | F4 D4 Bb3 D4 F4 D4 Bb3 D4 |"),
        voice(WaveTriangle, 0.36f,
              "F1 . F2 F1 . F2 C2 . | C2 . C3 C2 . C3 G1 . | D2 . D3 D2 . D3 A1 . | Bb1 . Bb2 Bb1 . Bb2 F2 . |"),
        drums(0.48f, repeatPattern("k . h . s . h . | k . h k s . h h |", 3) +
                         "k . s . k . s s | k s s s s s c . |"),
    };
    return s;
}

// A minor, a driving night-city pulse: zone 4.
Song neonRushSong() {
    Song s;
    s.tempo = 164.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WaveSaw, 0.12f,
               "E6 - A5 - C6 - E6 D6 | C6 - A5 - F5 - A5 C6 | D6 - B5 - G5 - B5 D6 | E6 - - - G#5 - B5 - | "
               "A6 - G6 - E6 - C6 - | F6 - E6 - C6 - A5 - | G6 - F6 - D6 - B5 - | G#5 - B5 - E6 - - . |"),
        voice(WavePulse, 0.05f,
              "A3 A4 A3 A4 A3 A4 A3 A4 | F3 F4 F3 F4 F3 F4 F3 F4 | "
              "G3 G4 G3 G4 G3 G4 G3 G4 | E3 E4 E3 E4 E3 E4 E3 E4 |"),
        voice(WaveTriangle, 0.38f,
              "A1 A1 A2 A1 A1 A2 A1 A2 | F1 F1 F2 F1 F1 F2 F1 F2 | "
              "G1 G1 G2 G1 G1 G2 G1 G2 | E1 E1 E2 E1 E1 E2 E1 E2 |"),
        drums(0.50f, repeatPattern("k h s h k k s h |", 7) + "k s s s s s s s |"),
    };
    return s;
}

// E with a raised third over F and D minor: an old, exotic ruin. Zone 5.
Song hiddenTempleSong() {
    Song s;
    s.tempo = 138.0f;
    s.echo = 0.35f;
    s.tracks = {
        melody(WavePulse, 0.14f,
               "E5 - F5 - G#5 - B5 - | C6 - B5 A5 F5 - A5 - | D6 - C6 - A5 - F5 - | G#5 - - F5 E5 - - - | "
               "B5 - C6 B5 G#5 - E5 - | A5 - C6 - F6 - E6 - | D6 - A5 - F5 - D6 C6 | B5 - G#5 - F5 - E5 - |"),
        voice(WaveSquare, 0.05f,
              "E4 G#4 B4 G#4 E4 G#4 B4 G#4 | F4 A4 C5 A4 F4 A4 C5 A4 | "
              "D4 F4 A4 F4 D4 F4 A4 F4 | E4 G#4 B4 G#4 E4 G#4 B4 G#4 |"),
        voice(WaveTriangle, 0.36f,
              "E2 . B1 E2 . B1 E2 . | F2 . C2 F2 . C2 F2 . | D2 . A1 D2 . A1 D2 . | E2 . B1 E2 . F2 E2 . |"),
        drums(0.45f, repeatPattern("k . . k s . h . | k . h . s . k h |", 4)),
    };
    return s;
}

// C minor with a flattened second, dark and heavy: the last zone and the story.
Song theUnspokenSong() {
    Song s;
    s.tempo = 126.0f;
    s.echo = 0.45f;
    s.tracks = {
        melody(WaveSquare, 0.11f,
               "G5 - - - Eb5 - C5 - | F5 - - - Ab5 - Db6 - | C6 - Bb5 - Ab5 - Eb5 - | D5 - - - B4 - - - | "
               "C6 - - D6 Eb6 - G5 - | Db6 - C6 - Ab5 - F5 - | Eb6 - C6 - Ab5 - C6 - | B5 - - - G5 - - - |"),
        voice(WavePulse, 0.05f,
              "C4 Eb4 G4 Eb4 C4 Eb4 G4 Eb4 | Db4 F4 Ab4 F4 Db4 F4 Ab4 F4 | "
              "Ab3 C4 Eb4 C4 Ab3 C4 Eb4 C4 | G3 B3 D4 B3 G3 B3 D4 B3 |"),
        voice(WaveTriangle, 0.36f,
              "C2 - - . C2 . G1 . | Db2 - - . Db2 . Ab1 . | Ab1 - - . Ab1 . Eb2 . | G1 - - . G1 . D2 . |"),
        drums(0.40f, repeatPattern("k . . . s . . h | k . k . s . h . |", 4)),
    };
    return s;
}

// D minor, fast arpeggios then a short stern tune; no chord voice.
Song miniBossSong() {
    Song s;
    s.tempo = 172.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WavePulse, 0.15f,
               "D5 F5 A5 D6 A5 F5 D5 F5 | D5 F5 A5 D6 F6 D6 A5 F5 | Bb4 D5 F5 Bb5 F5 D5 Bb4 D5 | "
               "A4 C#5 E5 A5 C#6 A5 E5 C#5 | "
               "D6 - - C6 A5 - F5 - | A5 - F5 - D5 - E5 F5 | Bb5 - - A5 F5 - D5 - | C#6 - - - A5 - E5 - |",
               false),
        voice(WaveTriangle, 0.36f,
              "D2 D2 D3 D2 D2 D3 D2 A1 | D2 D2 D3 D2 D2 D3 D2 A1 | "
              "Bb1 Bb1 Bb2 Bb1 Bb1 Bb2 Bb1 F2 | A1 A1 A2 A1 A1 A2 A1 E2 |"),
        drums(0.50f, repeatPattern("k . s k k . s . |", 7) + "k s k s s s s s |"),
    };
    return s;
}

// G minor, syncopated and tense under held stabs: the act 2 bosses.
Song bossSong() {
    Song s;
    s.tempo = 152.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WaveSaw, 0.12f,
               "G5 - - Bb5 - - D6 - | Eb6 - D6 - Bb5 - G5 - | F5 - - A5 - - C6 - | D6 - - - F#5 - A5 - | "
               "G6 - F6 - D6 - Bb5 - | G6 - F6 Eb6 Bb5 - G5 - | A5 - C6 - F6 - Eb6 - | D6 - C6 - A5 - F#5 - |"),
        voice(WaveSquare, 0.06f,
              "G4 - - . D4 - . . | G4 - - . Eb4 - . . | F4 - - . C4 - . . | F#4 - - . D4 - . . |"),
        voice(WaveTriangle, 0.36f,
              "G1 . G1 G2 . G1 D2 F2 | Eb2 . Eb2 Eb1 . Eb2 Bb1 D2 | "
              "F1 . F1 F2 . F1 C2 Eb2 | D2 . D2 D1 . D2 A1 F#1 |"),
        drums(0.50f, repeatPattern("k . h k s . h . |", 7) + "k k s . s s s s |"),
    };
    return s;
}

// C minor at full tilt, running eighths: Ovim.
Song finalBossSong() {
    Song s;
    s.tempo = 178.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WaveSaw, 0.12f,
               "C6 - G5 C6 Eb6 - D6 C6 | Eb6 - C6 Eb6 Ab6 - G6 F6 | F6 - Eb6 C6 Ab5 - C6 F6 | G6 - - F6 D6 - B5 D6 | "
               "Eb6 D6 C6 D6 Eb6 D6 C6 G5 | Ab5 C6 Eb6 C6 Ab6 G6 F6 Eb6 | F6 Eb6 C6 Ab5 F5 Ab5 C6 F6 | "
               "G6 - D6 - B5 - G5 B5 |"),
        voice(WavePulse, 0.06f,
              "C4 Eb4 G4 C5 C4 Eb4 G4 C5 | Ab3 C4 Eb4 Ab4 Ab3 C4 Eb4 Ab4 | "
              "F3 Ab3 C4 F4 F3 Ab3 C4 F4 | G3 B3 D4 G4 G3 B3 D4 G4 |"),
        voice(WaveTriangle, 0.38f,
              "C2 C2 C3 C2 C2 C3 C2 C3 | Ab1 Ab1 Ab2 Ab1 Ab1 Ab2 Ab1 Ab2 | "
              "F1 F1 F2 F1 F1 F2 F1 F2 | G1 G1 G2 G1 G1 G2 B1 D2 |"),
        drums(0.52f, repeatPattern("k h s h k k s k |", 7) + "k s s s s s s c |"),
    };
    return s;
}

// E major, sparkling and hopeful: the special stage.
Song specialSong() {
    Song s;
    s.tempo = 156.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WavePulse, 0.14f,
               "B5 - G#5 - E5 - G#5 B5 | C#6 - B5 - G#5 - E5 - | E6 - C#6 - A5 - C#6 E6 | D#6 - - C#6 B5 - F#5 - | "
               "G#6 - F#6 - E6 - B5 - | E6 - D#6 - C#6 - G#5 - | A5 - C#6 - E6 - F#6 - | D#6 - - - B5 - - . |"),
        voice(WaveSquare, 0.05f,
              "E4 G#4 B4 G#4 E4 G#4 B4 G#4 | C#4 E4 G#4 E4 C#4 E4 G#4 E4 | "
              "A3 C#4 E4 C#4 A3 C#4 E4 C#4 | B3 D#4 F#4 D#4 B3 D#4 F#4 D#4 |"),
        voice(WaveTriangle, 0.34f,
              "E2 . E2 B1 . E2 B1 . | C#2 . C#2 G#1 . C#2 G#1 . | A1 . A1 E2 . A1 E2 . | B1 . B1 F#2 . B1 D#2 . |"),
        drums(0.45f, repeatPattern("k . h . s . h h |", 7) + "k . s s s . s s |"),
    };
    return s;
}

// A major, fast and triumphant: the transformed hero.
Song formSong() {
    Song s;
    s.tempo = 168.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WavePulse, 0.15f,
               "A5 - C#6 - E6 - A6 - | F#6 - E6 - C#6 - A5 - | D6 - F#6 - A6 - F#6 - | G#6 - - - E6 - B5 - | "
               "C#6 - E6 - A6 - G#6 A6 | A6 - F#6 - C#6 - E6 - | F#6 - A6 - D6 - F#6 E6 | E6 - - - G#5 - B5 - |"),
        voice(WaveSquare, 0.05f,
              "A3 C#4 E4 A4 E4 C#4 A3 C#4 | F#3 A3 C#4 F#4 C#4 A3 F#3 A3 | "
              "D4 F#4 A4 D5 A4 F#4 D4 F#4 | E3 G#3 B3 E4 B3 G#3 E3 G#3 |"),
        voice(WaveTriangle, 0.36f,
              "A1 . A2 A1 . A2 E2 . | F#1 . F#2 F#1 . F#2 C#2 . | D2 . D3 D2 . D3 A1 . | E2 . E3 E2 . E3 B1 . |"),
        drums(0.50f, repeatPattern("k h s h k h s h |", 7) + "k s k s s s s s |"),
    };
    return s;
}

// D minor, slow and calm with long bass notes: the hidden temple.
Song templeSong() {
    Song s;
    s.tempo = 96.0f;
    s.echo = 0.45f;
    s.tracks = {
        melody(WaveSquare, 0.12f,
               "D6 - - - A5 - F5 - | C6 - - - G5 - E5 - | F5 - Bb5 - D6 - - - | C#6 - - - A5 - E5 - | "
               "F5 - A5 - D6 - - - | E6 - - D6 C6 - G5 - | F5 - - D5 Bb4 - D5 F5 | A5 - - - C#6 - - - |"),
        voice(WaveSquare, 0.05f,
              "D4 A4 F4 A4 D4 A4 F4 A4 | C4 G4 E4 G4 C4 G4 E4 G4 | "
              "Bb3 F4 D4 F4 Bb3 F4 D4 F4 | A3 E4 C#4 E4 A3 E4 C#4 E4 |"),
        voice(WaveTriangle, 0.35f, "D2 - - - - - - - | C2 - - - - - - - | Bb1 - - - - - - - | A1 - - - - - - - |"),
        drums(0.35f, repeatPattern("k . . . h . . . | k . . . s . h . |", 4)),
    };
    return s;
}

// C major, easy-going: the multiplayer lobby and the maker.
Song lobbySong() {
    Song s;
    s.tempo = 140.0f;
    s.echo = 0.25f;
    s.tracks = {
        melody(WavePulse, 0.14f,
               "E5 - G5 - C6 - B5 G5 | A5 - - G5 E5 - C5 - | F5 - A5 - C6 - D6 C6 | B5 - - - G5 - - - | "
               "E5 - G5 - C6 - E6 D6 | C6 - A5 - F5 - A5 - | D6 - C6 - B5 - G5 - | C6 - - - - - . . |"),
        voice(WaveSquare, 0.05f,
              "C4 E4 G4 E4 C4 E4 G4 E4 | A3 C4 E4 C4 A3 C4 E4 C4 | F3 A3 C4 A3 F3 A3 C4 A3 | G3 B3 D4 B3 G3 B3 D4 B3 |"),
        voice(WaveTriangle, 0.36f,
              "C2 . C2 G2 . C2 G2 . | A1 . A1 E2 . A1 E2 . | F1 . F1 C2 . F1 C2 . | G1 . G1 D2 . G1 B1 . |"),
        drums(0.45f, repeatPattern("k . h k s . h . |", 8)),
    };
    return s;
}

}  // namespace

const std::vector<BuiltinSong>& builtinSongs() {
    static const std::vector<BuiltinSong> songs = {
        {"title", titleSong},
        {"echo_meadows", echoMeadowsSong},
        {"crystal_caverns", crystalCavernsSong},
        {"sky_fortress", skyFortressSong},
        {"neon_rush", neonRushSong},
        {"hidden_temple", hiddenTempleSong},
        {"the_unspoken", theUnspokenSong},
        {"mini_boss", miniBossSong},
        {"boss", bossSong},
        {"final_boss", finalBossSong},
        {"special", specialSong},
        {"form", formSong},
        {"temple", templeSong},
        {"lobby", lobbySong},
    };
    return songs;
}

SongFactory builtinSongFactory(const std::string& id) {
    for (const BuiltinSong& song : builtinSongs())
        if (song.id == id) return song.factory;
    return {};
}

std::string zoneMusicId(int zone, bool modSongPresent, bool inMultiplayer) {
    if (modSongPresent && !inMultiplayer) return "mod";
    static const char* const kZoneSongs[6] = {"echo_meadows", "crystal_caverns", "sky_fortress",
                                             "neon_rush", "hidden_temple", "the_unspoken"};
    return kZoneSongs[std::clamp(zone, 0, 5)];
}
