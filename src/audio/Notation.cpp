#include "audio/Notation.h"

#include <cctype>
#include <cmath>
#include <limits>

std::string repeatPattern(const std::string& text, int count) {
    std::string out;
    if (count < 1) return out;
    out.reserve((text.size() + 1) * std::size_t(count));
    for (int i = 0; i < count; ++i) {
        out += text;
        out += ' ';
    }
    return out;
}

std::vector<std::string_view> tokenizeNotes(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        std::size_t start = i;
        while (i < n && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i > start) {
            std::string_view tok = line.substr(start, i - start);
            if (tok != "|") tokens.push_back(tok);
        }
    }
    return tokens;
}

namespace {

// Reads an integer the way atoi does (leading blanks, an optional sign, then
// digits up to the first non-digit), but saturates instead of overflowing.
int readOctave(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > 100000) value = 100000;
    }
    return int(negative ? -value : value);
}

}  // namespace

double noteFrequency(std::string_view token) {
    if (token.empty()) return 0.0;
    static constexpr int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    char letter = token[0];
    if (letter < 'A' || letter > 'G') return 0.0;
    int semitone = kSemitone[letter - 'A'];
    std::size_t pos = 1;
    if (pos < token.size()) {
        if (token[pos] == '#') {
            ++semitone;
            ++pos;
        } else if (token[pos] == 'b') {
            --semitone;
            ++pos;
        }
    }
    if (pos >= token.size()) return 0.0;  // no octave to read
    int octave = readOctave(token.substr(pos));
    double freq = 440.0 * std::pow(2.0, double(12 * octave - 57 + semitone) / 12.0);
    if (!std::isfinite(freq) || freq <= 0.0) return 0.0;
    return freq;
}

DrumHit drumHit(std::string_view token) {
    if (token.size() != 1) return DrumHit::None;
    switch (token[0]) {
        case 'k': return DrumHit::Kick;
        case 's': return DrumHit::Snare;
        case 'h': return DrumHit::HiHat;
        case 'c': return DrumHit::Crash;
        default: return DrumHit::None;
    }
}

std::uint64_t stepSamples(float tempo) {
    if (!(tempo > 0.0f) || !std::isfinite(tempo)) return 0;
    float samples = 60.0f / tempo * 0.5f * float(kSampleRate);
    // A tempo so slow that one step would outlast ten minutes is not music;
    // keep the buffer within reason.
    const float kMaxStep = float(kSampleRate) * 600.0f;
    if (!(samples < kMaxStep)) samples = kMaxStep;
    return std::uint64_t(samples);
}

std::uint64_t songLengthSamples(const Song& song) {
    std::uint64_t longest = 0;
    for (const SongTrack& track : song.tracks) {
        std::uint64_t steps = tokenizeNotes(track.notes).size();
        if (steps > longest) longest = steps;
    }
    std::uint64_t length = stepSamples(song.tempo) * longest;
    const std::uint64_t kMaxLength = std::uint64_t(kSampleRate) * 600;
    if (length > kMaxLength) length = kMaxLength;
    return length == 0 ? 1 : length;
}
