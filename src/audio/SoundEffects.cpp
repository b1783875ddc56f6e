#include "audio/SoundEffects.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Sq = 0;
constexpr int Tri = 1;
constexpr int Noise = 2;

SfxTone tone(float start, float duration, float startHz, float endHz, int wave, float volume) {
    return SfxTone{start, duration, startHz, endHz, wave, volume};
}
SfxTone tone(float start, float duration, float hz, int wave, float volume) {
    return SfxTone{start, duration, hz, hz, wave, volume};
}
SfxTone noise(float start, float duration, float volume) { return SfxTone{start, duration, 0, 0, Noise, volume}; }

const std::vector<std::vector<SfxTone>>& recipes() {
    static const std::vector<std::vector<SfxTone>> all = {
        /* 0 jump */ {tone(0, 0.14f, 280, 720, Sq, 0.5f)},
        /* 1 gem */ {tone(0, 0.06f, 1320, Sq, 0.45f), tone(0.05f, 0.12f, 1760, Sq, 0.45f)},
        /* 2 hurt */ {tone(0, 0.32f, 620, 120, Sq, 0.6f), noise(0, 0.2f, 0.4f)},
        /* 3 spring */ {tone(0, 0.22f, 200, 1100, Tri, 0.9f)},
        /* 4 stomp */ {noise(0, 0.18f, 0.7f), tone(0, 0.1f, 500, 160, Sq, 0.4f)},
        /* 5 boss hit */ {noise(0, 0.25f, 0.9f), tone(0, 0.25f, 260, 60, Sq, 0.6f)},
        /* 6 */ {tone(0, 0.16f, 300, 900, Sq, 0.35f), noise(0, 0.16f, 0.15f)},
        /* 7 */ {tone(0, 0.3f, 900, 200, Sq, 0.4f), noise(0, 0.3f, 0.35f)},
        /* 8 */ {noise(0, 0.25f, 0.45f)},
        /* 9 checkpoint */
        {tone(0, 0.08f, 880, Sq, 0.4f), tone(0.08f, 0.08f, 1175, Sq, 0.4f), tone(0.16f, 0.2f, 1760, Sq, 0.4f)},
        /* 10 clear */
        {tone(0, 0.12f, 523, Sq, 0.45f), tone(0.12f, 0.12f, 659, Sq, 0.45f), tone(0.24f, 0.12f, 784, Sq, 0.45f),
         tone(0.36f, 0.5f, 1047, Sq, 0.45f), tone(0.36f, 0.5f, 523, Tri, 0.6f)},
        /* 11 menu */ {tone(0, 0.06f, 990, 1320, Sq, 0.35f)},
        /* 12 stone */
        {tone(0, 0.15f, 784, Tri, 0.8f), tone(0.15f, 0.15f, 988, Tri, 0.8f), tone(0.3f, 0.15f, 1175, Tri, 0.8f),
         tone(0.45f, 0.6f, 1568, Tri, 0.8f)},
        /* 13 transform */ {tone(0, 0.9f, 200, 1600, Sq, 0.4f), noise(0, 0.9f, 0.25f)},
        /* 14 blink */ {tone(0, 0.12f, 2000, 400, Tri, 0.7f), tone(0.06f, 0.12f, 400, 2400, Tri, 0.6f)},
        /* 15 flame */ {noise(0, 0.35f, 0.6f), tone(0, 0.35f, 160, 90, Sq, 0.35f)},
        /* 16 bounce */ {tone(0, 0.18f, 150, 600, Tri, 0.9f)},
        /* 17 */ {tone(0, 0.15f, 600, 1500, Sq, 0.35f)},
        /* 18 */ {noise(0, 0.08f, 0.3f), tone(0, 0.08f, 300, 500, Tri, 0.4f)},
        /* 19 heart */ {tone(0, 0.3f, 400, 800, Tri, 0.7f), tone(0.1f, 0.3f, 600, 1200, Tri, 0.5f)},
        /* 20 monitor */ {noise(0, 0.12f, 0.7f), tone(0, 0.12f, 700, 300, Sq, 0.3f)},
        /* 21 */ {noise(0, 0.6f, 0.9f), tone(0, 0.5f, 120, 40, Sq, 0.5f)},
        /* 22 portal */ {tone(0, 0.6f, 300, 2400, Tri, 0.8f), tone(0, 0.6f, 600, 4800, Sq, 0.2f)},
        /* 23 */ {tone(0, 0.15f, 220, 180, Sq, 0.4f)},
    };
    return all;
}

}  // namespace

const std::vector<SfxTone>& soundEffectTones(int index) {
    static const std::vector<SfxTone> none;
    const auto& all = recipes();
    if (index < 0 || index >= int(all.size())) return none;
    return all[std::size_t(index)];
}

std::vector<std::int16_t> renderSoundEffect(const std::vector<SfxTone>& tones) {
    constexpr double kRate = 44100.0;
    // The recipes are short; anything claiming to last longer than a minute is cut there.
    constexpr float kMaxSeconds = 60.0f;
    float maxEnd = 0.0f;
    for (const SfxTone& t : tones) {
        const float end = t.start + t.duration;
        if (end > maxEnd) maxEnd = end;
    }
    if (!(maxEnd <= kMaxSeconds)) maxEnd = kMaxSeconds;
    const std::size_t length = std::size_t(std::floor(maxEnd * 44100.0f)) + 1;
    std::vector<int> mix(length, 0);

    std::uint32_t state = 12345;
    for (const SfxTone& t : tones) {
        if (!(t.start >= 0.0f) || !(t.duration > 0.0f) || !(t.start < kMaxSeconds)) continue;
        const std::size_t begin = std::size_t(std::floor(t.start * 44100.0f));
        const std::size_t count = std::size_t(std::floor(std::min(t.duration, kMaxSeconds) * 44100.0f));
        double phase = 0.0;
        for (std::size_t i = 0; i < count && begin + i < length; ++i) {
            const double time = double(i) / kRate;
            const double p = time / double(t.duration);
            const double freq = double(t.startHz) + double(t.endHz - t.startHz) * p;
            phase += freq / kRate;
            phase -= std::floor(phase);
            double w;
            if (t.wave == Sq) {
                w = phase < 0.5 ? 1.0 : -1.0;
            } else if (t.wave == Tri) {
                w = std::fabs(phase - 0.5) * 4.0 - 1.0;
            } else {
                state = state * 1664525u + 1013904223u;
                w = double((state >> 9) & 0xFFFF) / 32768.0 - 1.0;
            }
            const double v = std::min(time / 0.004, 1.0) * (1.0 - p) * w * double(t.volume) * 9000.0;
            if (!std::isfinite(v)) continue;
            const double sum = std::clamp(double(mix[begin + i]) + std::trunc(v), -32767.0, 32767.0);
            mix[begin + i] = int(sum);
        }
    }
    return std::vector<std::int16_t>(mix.begin(), mix.end());
}

int soundIndexForName(const std::string& name) {
    static const struct { const char* name; int index; } kNames[] = {
        {"jump", 0},  {"gem", 1},         {"hurt", 2},      {"spring", 3}, {"stomp", 4},
        {"pop", 4},   {"boss", 5},        {"bosshit", 5},   {"checkpoint", 9},
        {"clear", 10}, {"stone", 12},     {"transform", 13}, {"blink", 14}, {"flame", 15},
        {"bounce", 16},
    };
    for (const auto& entry : kNames)
        if (name == entry.name) return entry.index;
    return SoundMenu;
}
