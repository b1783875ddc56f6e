#include "audio/PitchAnalysis.h"

#include <algorithm>
#include <cmath>
#include <numeric>

std::array<int, 12> PitchProfile::ranking() const {
    std::array<int, 12> order;
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return pitchClass[a] > pitchClass[b]; });
    return order;
}

PitchProfile measurePitches(const std::vector<float>& samples, int sampleRate, int lowNote, int highNote) {
    PitchProfile profile;
    profile.firstNote = lowNote;
    if (highNote < lowNote || sampleRate <= 0) return profile;
    profile.note.assign(std::size_t(highNote - lowNote + 1), 0.0);
    constexpr std::size_t kBlock = 8192;
    std::vector<double> window(kBlock);
    for (std::size_t i = 0; i < kBlock; ++i) window[i] = 0.5 - 0.5 * std::cos(6.283185307179586 * double(i) / kBlock);
    std::vector<double> block(kBlock);
    for (std::size_t at = 0; at + kBlock <= samples.size(); at += kBlock) {
        for (std::size_t i = 0; i < kBlock; ++i) block[i] = double(samples[at + i]) * window[i];
        for (int m = lowNote; m <= highNote; ++m) {
            const double freq = 440.0 * std::pow(2.0, (m - 69) / 12.0);
            const double coeff = 2.0 * std::cos(6.283185307179586 * freq / sampleRate);
            double s1 = 0.0, s2 = 0.0;
            for (std::size_t i = 0; i < kBlock; ++i) {
                const double s0 = block[i] + coeff * s1 - s2;
                s2 = s1;
                s1 = s0;
            }
            const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
            profile.note[std::size_t(m - lowNote)] += power;
            profile.pitchClass[std::size_t(m % 12)] += power;
        }
    }
    return profile;
}

PitchProfile measurePitches(const std::vector<std::int16_t>& samples, int sampleRate, int lowNote, int highNote) {
    std::vector<float> f(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) f[i] = float(samples[i]) / 32768.0f;
    return measurePitches(f, sampleRate, lowNote, highNote);
}

const char* pitchClassName(int pc) {
    static const char* const kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    return kNames[((pc % 12) + 12) % 12];
}
