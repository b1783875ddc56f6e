#include <gtest/gtest.h>

#include <cmath>

#include "audio/Notation.h"
#include "audio/Synth.h"

TEST(RepeatPattern, CopiesEachFollowedByABlank) {
    EXPECT_EQ(repeatPattern("k . h", 3), "k . h k . h k . h ");
    EXPECT_EQ(repeatPattern("k", 1), "k ");
    EXPECT_EQ(repeatPattern("k", 0), "");
    EXPECT_EQ(repeatPattern("k", -4), "");
}

TEST(Tokenizer, SplitsOnAnyWhiteSpaceAndDropsBarLines) {
    const auto tokens = tokenizeNotes("  A4 -\t- |\n| B4  |C5 D5|  ");
    const std::vector<std::string_view> expected = {"A4", "-", "-", "B4", "|C5", "D5|"};
    EXPECT_EQ(tokens, expected);
    EXPECT_TRUE(tokenizeNotes("").empty());
    EXPECT_TRUE(tokenizeNotes(" | | ").empty());
}

TEST(NoteFrequency, ReadsLetterAccidentalAndOctave) {
    struct Case {
        const char* token;
        double hz;
    };
    const Case cases[] = {
        {"A4", 440.0},       {"C4", 261.6256},   {"A5", 880.0},  {"C#4", 277.1826}, {"Db4", 277.1826},
        {"Cb4", 246.9417},   {"B#3", 261.6256},  {"A4|", 440.0}, {"A4-", 440.0},    {"G10", 25087.71},
        {"E2", 82.40689},    {"Bb1", 58.27047},  {"A0", 27.5},
        // Silent steps: no octave left to read, not a capital A..G, or nothing at all.
        {"B", 0.0},          {"C#", 0.0},        {"Eb", 0.0},    {"H4", 0.0},       {"a4", 0.0},
        {".", 0.0},          {"-", 0.0},         {"|A4", 0.0},   {"", 0.0},         {"k", 0.0},
    };
    for (const Case& c : cases) EXPECT_NEAR(noteFrequency(c.token), c.hz, 0.01) << c.token;
}

TEST(NoteFrequency, OctaveIsReadLikeAtoi) {
    EXPECT_NEAR(noteFrequency("A4x7"), 440.0, 1e-9);         // digits stop at the first other character
    EXPECT_NEAR(noteFrequency("Ax"), 27.5, 1e-9);            // no digits: octave 0
    EXPECT_NEAR(noteFrequency("A-1"), 440.0 / 32.0, 1e-9);   // a sign is read
    EXPECT_EQ(noteFrequency("A99999999999999999999"), 0.0);  // absurd octaves are silent, not infinite
    EXPECT_EQ(noteFrequency("A-99999999999"), 0.0);          // so low it rounds to 0 Hz: silent
}

TEST(DrumLetters, OnlySingleKnownLettersHit) {
    EXPECT_EQ(drumHit("k"), DrumHit::Kick);
    EXPECT_EQ(drumHit("s"), DrumHit::Snare);
    EXPECT_EQ(drumHit("h"), DrumHit::HiHat);
    EXPECT_EQ(drumHit("c"), DrumHit::Crash);
    for (const char* t : {"kk", "K", "k-", ".", "-", "A4", "", "x"}) EXPECT_EQ(drumHit(t), DrumHit::None) << t;
}

TEST(StepLength, IsAnEighthOfABeat) {
    EXPECT_EQ(stepSamples(120.0f), 11025u);
    EXPECT_EQ(stepSamples(132.0f), 10022u);
    EXPECT_EQ(stepSamples(140.0f), 9450u);
    EXPECT_EQ(stepSamples(0.0f), 0u);
    EXPECT_EQ(stepSamples(-5.0f), 0u);
    EXPECT_EQ(stepSamples(std::nanf("")), 0u);
}

namespace {
Song oneTrack(const std::string& notes, int wave = WavePulse, float tempo = 120.0f) {
    Song s;
    s.tempo = tempo;
    s.tracks = {SongTrack{wave, 0.5f, notes, false}};
    return s;
}

// Counts upward zero crossings in [from, to).
int risingCrossings(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    int n = 0;
    for (std::size_t i = from + 1; i < to; ++i)
        if (s[i - 1] < 0 && s[i] >= 0) ++n;
    return n;
}
}  // namespace

TEST(SongLength, CountsStepsOfTheLongestTrack) {
    struct Case {
        const char* notes;
        std::uint64_t samples;
    };
    const Case cases[] = {
        {"A4", 11025},         {"A4 - - -", 44100}, {"| A4 |", 11025},   {"|A4", 11025},
        {"A4| B4", 22050},     {"- A4", 22050},     {"", 1},             {"| |", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(songLengthSamples(oneTrack(c.notes)), c.samples) << c.notes;
        EXPECT_EQ(renderSong(oneTrack(c.notes)).size(), c.samples) << c.notes;
    }
    Song two = oneTrack("A4");
    two.tracks.push_back(SongTrack{WaveDrums, 0.5f, "k . . . . .", false});
    EXPECT_EQ(songLengthSamples(two), 6u * 11025u);
}

TEST(SongLength, ASongWithNoNotesIsOneSilentSample) {
    Song empty;
    EXPECT_EQ(renderSong(empty), std::vector<std::int16_t>{0});
    Song blank = oneTrack("  ");
    blank.tracks.push_back(SongTrack{WaveDrums, 0.4f, "", false});
    blank.echo = 0.5f;
    EXPECT_EQ(renderSong(blank), std::vector<std::int16_t>{0});
}

TEST(MelodicSteps, A4AtTempo120Is440HzForOneStep) {
    const auto s = renderSong(oneTrack("A4"));
    ASSERT_EQ(s.size(), 11025u);
    // 0.25 s of 440 Hz: 110 periods.
    EXPECT_NEAR(risingCrossings(s, 0, s.size()), 110, 1);
    const auto held = renderSong(oneTrack("A4 - - -"));
    ASSERT_EQ(held.size(), 44100u);
    EXPECT_NEAR(risingCrossings(held, 0, held.size()), 440, 1);
    // The hold keeps one note going: no release dip where the second step begins.
    EXPECT_GT(std::abs(held[11025 + 40]), 10000);
}

TEST(MelodicSteps, BarLinesGluedToNotes) {
    // Glued before: the token is silent. Glued after: the octave digits still read.
    const auto before = renderSong(oneTrack("|A4"));
    for (std::int16_t v : before) ASSERT_EQ(v, 0);
    const auto after = renderSong(oneTrack("A4|"));
    EXPECT_NEAR(risingCrossings(after, 0, after.size()), 110, 1);
}

TEST(MelodicSteps, SilentTokensWriteNothing) {
    for (const char* notes : {"B", "C#", "H4", ". . .", "- - -", "k s h"}) {
        const auto s = renderSong(oneTrack(notes));
        for (std::int16_t v : s) ASSERT_EQ(v, 0) << notes;
    }
}

TEST(MelodicSteps, ALeadingHoldBelongsToNoNote) {
    const auto s = renderSong(oneTrack("- A4"));
    ASSERT_EQ(s.size(), 22050u);
    for (std::size_t i = 0; i < 11025; ++i) ASSERT_EQ(s[i], 0) << i;
    EXPECT_NEAR(risingCrossings(s, 11025, 22050), 110, 1);
}

TEST(DrumSteps, MalformedDrumTokensAreSilent) {
    for (const char* notes : {"kk", "K", "k-", "A4", "- -"}) {
        const auto s = renderSong(oneTrack(notes, WaveDrums));
        for (std::int16_t v : s) ASSERT_EQ(v, 0) << notes;
    }
    const auto kick = renderSong(oneTrack("k .", WaveDrums));
    int loud = 0;
    for (std::int16_t v : kick) loud += std::abs(v) > 1000;
    EXPECT_GT(loud, 1000);
}
