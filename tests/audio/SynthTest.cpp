#include <gtest/gtest.h>

#include <cmath>

#include "audio/Notation.h"
#include "audio/Songs.h"
#include "audio/Synth.h"

namespace {
int clipOf(double mixValue) { return int(std::tanh(1.1f * float(mixValue)) * 30000.0f); }
}  // namespace

TEST(Synth, EnvelopeRisesFromZeroAndFallsToNearZero) {
    Song s;
    s.tempo = 120.0f;
    s.tracks = {SongTrack{WavePulse, 1.0f, "A4", false}};
    const auto out = renderSong(s);
    ASSERT_EQ(out.size(), 11025u);
    EXPECT_EQ(out[0], 0);  // attack starts at exactly 0
    // 5 ms in, the attack is complete: full level apart from the slow decay.
    const double dur = 11025.0 / 44100.0;
    const double t = 221.0 / 44100.0;
    EXPECT_NEAR(std::abs(out[221]), clipOf(1.0 - 0.4 * t / dur), 1.0);
    EXPECT_LT(std::abs(out[110]), std::abs(out[221]));  // still rising at 2.5 ms
    EXPECT_LT(std::abs(out.back()), 100);                // the release has run out
    for (std::int16_t v : out) ASSERT_LE(std::abs(v), 30000);
}

TEST(Synth, TracksSumBeforeTheSoftClip) {
    // Two pulse tracks of 1.5 each sum to 3.0: a soft clip to trunc(tanh(3.3) * 30000), not a hard one.
    Song s;
    s.tempo = 120.0f;
    const std::string longNote = "A4 " + repeatPattern("-", 63);
    s.tracks = {SongTrack{WavePulse, 1.5f, longNote, false}, SongTrack{WavePulse, 1.5f, longNote, false}};
    const auto out = renderSong(s);
    EXPECT_EQ(int(std::tanh(3.3f) * 30000.0f), 29918);
    EXPECT_EQ(std::abs(out[221]), 29918);
    int peak = 0;
    for (std::int16_t v : out) peak = std::max(peak, std::abs(int(v)));
    EXPECT_LE(peak, 29918);
}

TEST(Synth, NoteHeldToTheEndClosesTheLoopQuietly) {
    Song s;
    s.tempo = 132.0f;
    s.tracks = {SongTrack{WaveSaw, 0.5f, repeatPattern(".", 60) + "A4 - - -", false}};
    const auto out = renderSong(s);
    ASSERT_EQ(out.size(), 64u * 10022u);
    EXPECT_EQ(out[0], 0);
    EXPECT_LT(std::abs(out.back()), 50);
    EXPECT_GT(std::abs(out[out.size() - 4000]), 1000);
}

TEST(Synth, CrashOnTheLastStepRingsIntoTheFirstSteps) {
    Song s;
    s.tempo = 132.0f;
    s.tracks = {SongTrack{WaveDrums, 0.5f, repeatPattern(".", 63) + "c", false}};
    const auto out = renderSong(s);
    const std::size_t step = 10022, total = 64 * step;
    ASSERT_EQ(out.size(), total);
    // 26460 samples of crash from the last step: 10022 before the loop point, the rest after it.
    const std::size_t wrapped = 26460 - step;
    int early = 0;
    for (std::size_t i = 0; i < 2000; ++i) early += out[i] != 0;
    EXPECT_GT(early, 1500);
    int late = 0;
    for (std::size_t i = wrapped - 2000; i < wrapped; ++i) late += out[i] != 0;
    EXPECT_GT(late, 0);
    for (std::size_t i = wrapped; i < 63 * step; ++i) ASSERT_EQ(out[i], 0) << i;
}

TEST(Synth, EchoRepeatsADottedEighthLater) {
    Song s;
    s.tempo = 132.0f;
    s.echo = 0.25f;
    s.tracks = {SongTrack{WaveDrums, 0.5f, "k " + repeatPattern(".", 63), false}};
    const auto out = renderSong(s);
    const std::size_t delay = 15033;  // a step and a half of 10022
    ASSERT_EQ(out.size(), 64u * 10022u);
    for (std::size_t i = 7056; i < delay; ++i) ASSERT_EQ(out[i], 0) << i;
    for (std::size_t i = delay + 7056; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
    // The tap is a quarter as loud as the hit (both well inside the soft clip's straight part).
    double hit = 0.0, tap = 0.0;
    for (std::size_t i = 0; i < 7056; ++i) {
        hit = std::max(hit, std::fabs(std::atanh(out[i] / 30000.0)));
        tap = std::max(tap, std::fabs(std::atanh(out[delay + i] / 30000.0)));
    }
    EXPECT_NEAR(tap / hit, 0.25, 0.01);
}

TEST(Synth, EchoWrapsRoundTheLoop) {
    Song s;
    s.tempo = 132.0f;
    s.echo = 0.25f;
    s.tracks = {SongTrack{WaveDrums, 0.5f, repeatPattern(".", 63) + "h", false}};
    const auto out = renderSong(s);
    // The hi-hat on the last step echoes 15033 samples later: past the end, so near the start.
    const std::size_t at = 63 * 10022 + 15033 - 64 * 10022;
    int heard = 0;
    for (std::size_t i = at; i < at + 1764; ++i) heard += out[i] != 0;
    EXPECT_GT(heard, 1000);
    EXPECT_EQ(out[at - 1], 0);
}

TEST(Synth, RendersAreIdentical) {
    const Song song = builtinSongFactory("title")();
    const auto a = renderSong(song);
    const auto b = renderSong(song);
    EXPECT_EQ(a, b);
    // The noise generator starts afresh for every render, whatever came before.
    Song hats;
    hats.tracks = {SongTrack{WaveDrums, 0.5f, "h s c", false}};
    EXPECT_EQ(renderSong(hats), renderSong(hats));
}

TEST(Synth, StoppedRenderGivesNothing) {
    std::atomic<bool> stop{true};
    EXPECT_TRUE(renderSongUnlessStopped(builtinSongFactory("lobby")(), stop).empty());
    std::atomic<bool> go{false};
    const Song lobby = builtinSongFactory("lobby")();
    EXPECT_EQ(renderSongUnlessStopped(lobby, go), renderSong(lobby));
}

TEST(Synth, NonsenseValuesStaySilentOrBounded) {
    Song s;
    s.tempo = 120.0f;
    s.tracks = {SongTrack{WaveSquare, std::nanf(""), "A4 B4", false},
                SongTrack{7, 1e30f, "C4", true},
                SongTrack{WaveSaw, 0.3f, "A99999999 G-3", false}};
    const auto out = renderSong(s);
    ASSERT_EQ(out.size(), 22050u);
    for (std::int16_t v : out) ASSERT_LE(std::abs(v), 30000);
    Song noTempo = s;
    noTempo.tempo = 0.0f;
    EXPECT_EQ(renderSong(noTempo), std::vector<std::int16_t>{0});
}
