#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/SoundEffects.h"

TEST(SoundEffects, TwentyFourRecipes) {
    for (int i = 0; i < kSoundEffectCount; ++i) EXPECT_FALSE(soundEffectTones(i).empty()) << i;
    EXPECT_TRUE(soundEffectTones(-1).empty());
    EXPECT_TRUE(soundEffectTones(24).empty());
    EXPECT_EQ(soundEffectTones(10).size(), 5u);
    EXPECT_EQ(soundEffectTones(12).size(), 4u);
}

TEST(SoundEffects, LengthRunsToTheLastToneEnd) {
    EXPECT_EQ(renderSoundEffect(soundEffectTones(10)).size(), 37927u);  // the clear jingle ends at 0.86 s
    EXPECT_EQ(renderSoundEffect({}).size(), 1u);
    EXPECT_EQ(renderSoundEffect({SfxTone{0.5f, 0.5f, 440, 440, 0, 0.5f}}).size(), 44101u);
}

TEST(SoundEffects, EveryEffectStartsSilentAndIsHeard) {
    for (int i = 0; i < kSoundEffectCount; ++i) {
        const auto s = renderSoundEffect(soundEffectTones(i));
        EXPECT_EQ(s[0], 0) << i;  // 4 ms attack
        int peak = 0;
        for (std::int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_GT(peak, 1500) << i;
        EXPECT_EQ(s, renderSoundEffect(soundEffectTones(i))) << i;  // the noise restarts every render
    }
}

TEST(SoundEffects, LoudSumsClampInsteadOfWrapping) {
    const SfxTone loud{0.0f, 0.2f, 1000, 1000, 0, 3.0f};
    const auto s = renderSoundEffect({loud, loud});
    int top = 0, bottom = 0;
    for (std::int16_t v : s) {
        top = std::max(top, int(v));
        bottom = std::min(bottom, int(v));
    }
    EXPECT_EQ(top, 32767);
    EXPECT_EQ(bottom, -32767);
    // Early in the tone, while the first half-period is high, both tones push up.
    for (std::size_t i = 180; i < 195; ++i) EXPECT_EQ(s[i], 32767) << i;
}

TEST(SoundEffects, GlideRisesFromStartToEnd) {
    const auto s = renderSoundEffect(soundEffectTones(0));  // 280 Hz up to 720 Hz
    auto crossings = [&](std::size_t from, std::size_t to) {
        int n = 0;
        for (std::size_t i = from + 1; i < to; ++i) n += s[i - 1] < 0 && s[i] >= 0;
        return n;
    };
    const std::size_t quarter = s.size() / 4;
    EXPECT_LT(crossings(0, quarter), crossings(3 * quarter, s.size()));
}

TEST(SoundEffects, ScriptNamesAreMatchedExactly) {
    struct Case {
        const char* name;
        int index;
    };
    const Case cases[] = {
        {"jump", 0},  {"gem", 1},         {"hurt", 2},       {"spring", 3},       {"stomp", 4},  {"pop", 4},
        {"boss", 5},  {"bosshit", 5},     {"checkpoint", 9}, {"clear", 10},       {"stone", 12}, {"transform", 13},
        {"blink", 14}, {"flame", 15},     {"bounce", 16},    {"Jump", 11},        {"JUMP", 11},  {"jump ", 11},
        {"", 11},     {"menu", 11},       {"heart", 11},
    };
    for (const Case& c : cases) EXPECT_EQ(soundIndexForName(c.name), c.index) << '"' << c.name << '"';
}

TEST(SoundEffects, VoicesTakeTurns) {
    VoiceRotation r;
    std::vector<int> used;
    for (int i = 0; i < 7; ++i) used.push_back(r.next(3));
    EXPECT_EQ(used, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
    VoiceRotation none;
    EXPECT_EQ(none.next(0), -1);
    EXPECT_EQ(none.plays, 0u);
}
