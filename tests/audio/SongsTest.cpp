#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "audio/Notation.h"
#include "audio/PitchAnalysis.h"
#include "audio/Songs.h"
#include "audio/Synth.h"

namespace {

struct Voice {
    int wave;
    float volume;
    bool vibrato;
};

// How a drum line is built: `grooveBars`-bar pattern repeated `repeats`
// times, with a fill of `fillBars` before (fillFirst) or after it.
struct DrumPlan {
    int grooveBars;
    int repeats;
    int fillBars;
    bool fillFirst;
};

struct SongRow {
    const char* id;
    float tempo;
    float echo;
    Voice melody;
    Voice chords;  // wave -1: no chord voice
    float bass;
    float drums;
    const char* chordNames[4];  // one a bar, the four played twice
    std::set<int> scale;        // pitch classes of the key, with the chord tones borrowed
    DrumPlan plan;
};

const SongRow kRows[] = {
    {"title", 132, 0.25f, {WavePulse, 0.15f, true}, {WaveSquare, 0.05f, false}, 0.36f, 0.45f,
     {"D", "Bm", "G", "A"}, {2, 4, 6, 7, 9, 11, 1}, {2, 2, 4, true}},
    {"echo_meadows", 144, 0.25f, {WavePulse, 0.15f, true}, {WaveSquare, 0.05f, false}, 0.36f, 0.45f,
     {"G", "Em", "C", "D"}, {7, 9, 11, 0, 2, 4, 6}, {2, 3, 2, false}},
    {"crystal_caverns", 120, 0.40f, {WaveTriangle, 0.30f, false}, {WavePulse, 0.05f, false}, 0.34f, 0.32f,
     {"Em", "C", "D", "B"}, {4, 6, 7, 9, 11, 0, 2, 3}, {2, 4, 0, false}},
    {"sky_fortress", 150, 0.25f, {WavePulse, 0.15f, true}, {WaveSquare, 0.05f, false}, 0.36f, 0.48f,
     {"F", "C", "Dm", "Bb"}, {5, 7, 9, 10, 0, 2, 4}, {2, 3, 2, false}},
    {"neon_rush", 164, 0.25f, {WaveSaw, 0.12f, true}, {WavePulse, 0.05f, false}, 0.38f, 0.50f,
     {"Am", "F", "G", "E"}, {9, 11, 0, 2, 4, 5, 7, 8}, {1, 7, 1, false}},
    {"hidden_temple", 138, 0.35f, {WavePulse, 0.14f, true}, {WaveSquare, 0.05f, false}, 0.36f, 0.45f,
     {"E", "F", "Dm", "E"}, {4, 5, 8, 9, 11, 0, 2}, {2, 4, 0, false}},
    {"the_unspoken", 126, 0.45f, {WaveSquare, 0.11f, true}, {WavePulse, 0.05f, false}, 0.36f, 0.40f,
     {"Cm", "Db", "Ab", "G"}, {0, 2, 3, 5, 7, 8, 10, 1, 11}, {2, 4, 0, false}},
    {"mini_boss", 172, 0.25f, {WavePulse, 0.15f, false}, {-1, 0, false}, 0.36f, 0.50f,
     {"Dm", "Dm", "Bb", "A"}, {2, 4, 5, 7, 9, 10, 0, 1}, {1, 7, 1, false}},
    {"boss", 152, 0.25f, {WaveSaw, 0.12f, true}, {WaveSquare, 0.06f, false}, 0.36f, 0.50f,
     {"Gm", "Eb", "F", "D"}, {7, 9, 10, 0, 2, 3, 5, 6}, {1, 7, 1, false}},
    {"final_boss", 178, 0.25f, {WaveSaw, 0.12f, true}, {WavePulse, 0.06f, false}, 0.38f, 0.52f,
     {"Cm", "Ab", "Fm", "G"}, {0, 2, 3, 5, 7, 8, 10, 11}, {1, 7, 1, false}},
    {"special", 156, 0.25f, {WavePulse, 0.14f, true}, {WaveSquare, 0.05f, false}, 0.34f, 0.45f,
     {"E", "C#m", "A", "B"}, {4, 6, 8, 9, 11, 1, 3}, {1, 7, 1, false}},
    {"form", 168, 0.25f, {WavePulse, 0.15f, true}, {WaveSquare, 0.05f, false}, 0.36f, 0.50f,
     {"A", "F#m", "D", "E"}, {9, 11, 1, 2, 4, 6, 8}, {1, 7, 1, false}},
    {"temple", 96, 0.45f, {WaveSquare, 0.12f, true}, {WaveSquare, 0.05f, false}, 0.35f, 0.35f,
     {"Dm", "C", "Bb", "A"}, {2, 4, 5, 7, 9, 10, 0, 1}, {2, 4, 0, false}},
    {"lobby", 140, 0.25f, {WavePulse, 0.14f, true}, {WaveSquare, 0.05f, false}, 0.36f, 0.45f,
     {"C", "Am", "F", "G"}, {0, 2, 4, 5, 7, 9, 11}, {1, 8, 0, false}},
};

int pitchClassOf(std::string_view token) {
    const double hz = noteFrequency(token);
    if (hz <= 0.0) return -1;
    const int midi = int(std::lround(69.0 + 12.0 * std::log2(hz / 440.0)));
    return ((midi % 12) + 12) % 12;
}

int rootOf(const std::string& chord) {
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};
    int pc = kSemitone[chord[0] - 'A'];
    if (chord.size() > 1 && chord[1] == '#') ++pc;
    if (chord.size() > 1 && chord[1] == 'b') --pc;
    return (pc + 12) % 12;
}

std::set<int> triadOf(const std::string& chord) {
    const int root = rootOf(chord);
    const bool minor = chord.back() == 'm';
    return {root, (root + (minor ? 3 : 4)) % 12, (root + 7) % 12};
}

std::vector<std::string> tokensOf(const SongTrack& track) {
    std::vector<std::string> out;
    for (std::string_view t : tokenizeNotes(track.notes)) out.emplace_back(t);
    return out;
}

std::vector<std::string> slice(const std::vector<std::string>& v, std::size_t from, std::size_t count) {
    return std::vector<std::string>(v.begin() + long(from), v.begin() + long(from + count));
}

}  // namespace

TEST(Songs, CatalogueHoldsTheFourteenIdsInOrder) {
    const auto& songs = builtinSongs();
    ASSERT_EQ(songs.size(), std::size(kRows));
    for (std::size_t i = 0; i < songs.size(); ++i) EXPECT_EQ(songs[i].id, kRows[i].id);
    EXPECT_FALSE(builtinSongFactory("mod"));
    EXPECT_FALSE(builtinSongFactory(""));
    EXPECT_TRUE(builtinSongFactory("boss"));
}

TEST(Songs, LobbyIsWrittenAsGiven) {
    const Song s = builtinSongFactory("lobby")();
    EXPECT_EQ(s.tempo, 140.0f);
    EXPECT_EQ(s.echo, 0.25f);
    ASSERT_EQ(s.tracks.size(), 4u);
    EXPECT_EQ(s.tracks[0].notes,
              "E5 - G5 - C6 - B5 G5 | A5 - - G5 E5 - C5 - | F5 - A5 - C6 - D6 C6 | B5 - - - G5 - - - | "
              "E5 - G5 - C6 - E6 D6 | C6 - A5 - F5 - A5 - | D6 - C6 - B5 - G5 - | C6 - - - - - . . |");
    EXPECT_EQ(s.tracks[1].notes, repeatPattern("C4 E4 G4 E4 C4 E4 G4 E4 | A3 C4 E4 C4 A3 C4 E4 C4 | F3 A3 C4 A3 F3 A3 C4 "
                                               "A3 | G3 B3 D4 B3 G3 B3 D4 B3 |",
                                               2));
    EXPECT_EQ(s.tracks[2].notes, repeatPattern("C2 . C2 G2 . C2 G2 . | A1 . A1 E2 . A1 E2 . | F1 . F1 C2 . F1 C2 . | "
                                               "G1 . G1 D2 . G1 B1 . |",
                                               2));
    EXPECT_EQ(s.tracks[3].notes, repeatPattern("k . h k s . h . |", 8));
    EXPECT_EQ(songLengthSamples(s), 604800u);
}

TEST(Songs, EachSongHasItsTempoVoicesAndVolumes) {
    for (const SongRow& row : kRows) {
        SCOPED_TRACE(row.id);
        const Song s = builtinSongFactory(row.id)();
        EXPECT_EQ(s.tempo, row.tempo);
        EXPECT_EQ(s.echo, row.echo);
        std::vector<Voice> voices = {row.melody};
        if (row.chords.wave >= 0) voices.push_back(row.chords);
        voices.push_back({WaveTriangle, row.bass, false});
        voices.push_back({WaveDrums, row.drums, false});
        ASSERT_EQ(s.tracks.size(), voices.size());
        for (std::size_t t = 0; t < voices.size(); ++t) {
            EXPECT_EQ(s.tracks[t].wave, voices[t].wave) << "track " << t;
            EXPECT_EQ(s.tracks[t].volume, voices[t].volume) << "track " << t;
            EXPECT_EQ(s.tracks[t].vibrato, voices[t].vibrato) << "track " << t;
            EXPECT_EQ(tokenizeNotes(s.tracks[t].notes).size(), 64u) << "track " << t;
        }
    }
}

TEST(Songs, HarmonyFollowsTheChordsBarByBar) {
    for (const SongRow& row : kRows) {
        SCOPED_TRACE(row.id);
        const Song s = builtinSongFactory(row.id)();
        const std::size_t bassTrack = s.tracks.size() - 2;
        for (std::size_t t = 1; t <= bassTrack; ++t) {
            const auto tokens = tokensOf(s.tracks[t]);
            // Four bars written once and played twice.
            EXPECT_EQ(slice(tokens, 0, 32), slice(tokens, 32, 32)) << "track " << t;
            for (int bar = 0; bar < 8; ++bar) {
                const std::string chord = row.chordNames[bar % 4];
                const int first = pitchClassOf(tokens[std::size_t(bar * 8)]);
                if (t == bassTrack) {
                    EXPECT_EQ(first, rootOf(chord)) << "bass, bar " << bar + 1;
                } else {
                    EXPECT_TRUE(triadOf(chord).count(first)) << "chords, bar " << bar + 1;
                }
            }
        }
    }
}

TEST(Songs, MelodiesStayInTheirKeyAndLandOnTheChord) {
    for (const SongRow& row : kRows) {
        SCOPED_TRACE(row.id);
        const Song s = builtinSongFactory(row.id)();
        for (std::size_t t = 0; t + 1 < s.tracks.size(); ++t) {
            for (std::string_view token : tokenizeNotes(s.tracks[t].notes)) {
                const int pc = pitchClassOf(token);
                if (pc >= 0) {
                    EXPECT_TRUE(row.scale.count(pc)) << "track " << t << ": " << token;
                }
            }
        }
        if (std::string(row.id) == "lobby") continue;  // its sixth bar leans on the sixth of F
        const auto melody = tokensOf(s.tracks[0]);
        for (int bar = 0; bar < 8; ++bar) {
            const int first = pitchClassOf(melody[std::size_t(bar * 8)]);
            EXPECT_TRUE(triadOf(row.chordNames[bar % 4]).count(first)) << "melody, bar " << bar + 1;
        }
    }
}

TEST(Songs, DrumLinesAreBuiltFromRepeatedBars) {
    for (const SongRow& row : kRows) {
        SCOPED_TRACE(row.id);
        const Song s = builtinSongFactory(row.id)();
        const auto drums = tokensOf(s.tracks.back());
        const DrumPlan& p = row.plan;
        ASSERT_EQ(std::size_t((p.grooveBars * p.repeats + p.fillBars) * 8), drums.size());
        const std::size_t grooveStart = p.fillFirst ? std::size_t(p.fillBars * 8) : 0;
        const std::size_t grooveLen = std::size_t(p.grooveBars * 8);
        const auto groove = slice(drums, grooveStart, grooveLen);
        for (int r = 1; r < p.repeats; ++r) EXPECT_EQ(slice(drums, grooveStart + r * grooveLen, grooveLen), groove);
        if (p.fillBars > 0) {
            const std::size_t fillStart = p.fillFirst ? 0 : std::size_t(p.grooveBars * p.repeats * 8);
            const auto fill = slice(drums, fillStart, std::size_t(p.fillBars * 8));
            EXPECT_NE(slice(fill, 0, std::min(fill.size(), groove.size())),
                      slice(groove, 0, std::min(fill.size(), groove.size())));
        }
        int hits = 0;
        for (const auto& d : drums) hits += drumHit(d) != DrumHit::None;
        EXPECT_GE(hits, 16);
    }
    EXPECT_EQ(tokensOf(builtinSongFactory("title")().tracks.back())[0], "c");  // the opening crash
    const auto finalDrums = tokensOf(builtinSongFactory("final_boss")().tracks.back());
    EXPECT_NE(std::find(finalDrums.begin() + 56, finalDrums.end(), "c"), finalDrums.end());
}

TEST(Songs, TheLoudestPitchesOfEachSongBelongToItsKey) {
    for (const SongRow& row : kRows) {
        SCOPED_TRACE(row.id);
        // From A3 up: above the kick's sweep and the snare's body.
        const PitchProfile p = measurePitches(renderSong(builtinSongFactory(row.id)()), kSampleRate, 57, 100);
        const auto order = p.ranking();
        for (int i = 0; i < 5; ++i) EXPECT_TRUE(row.scale.count(order[i])) << pitchClassName(order[i]);
        // The tonic chord's root is among the strongest.
        const int tonic = rootOf(row.chordNames[0]);
        EXPECT_NE(std::find(order.begin(), order.begin() + 5, tonic), order.begin() + 5);
    }
}

TEST(ZoneMusic, ZonesClampAndModSongsStayOutOfMultiplayer) {
    struct Case {
        int zone;
        bool mod;
        bool multiplayer;
        const char* id;
    };
    const Case cases[] = {
        {0, false, false, "echo_meadows"}, {1, false, false, "crystal_caverns"}, {2, false, false, "sky_fortress"},
        {3, false, false, "neon_rush"},    {4, false, false, "hidden_temple"},   {5, false, false, "the_unspoken"},
        {-1, false, false, "echo_meadows"}, {7, false, false, "the_unspoken"},   {3, true, false, "mod"},
        {3, true, true, "neon_rush"},      {-1, true, true, "echo_meadows"},
    };
    for (const Case& c : cases) EXPECT_EQ(zoneMusicId(c.zone, c.mod, c.multiplayer), c.id) << c.zone;
}
