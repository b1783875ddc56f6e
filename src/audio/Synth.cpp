#include "audio/Synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kRate = double(kSampleRate);

// Drum hit lengths in samples: kick 0.16 s, snare 0.13 s, hi-hat 0.04 s, crash 0.6 s.
constexpr std::uint64_t kKickSamples = 7056;
constexpr std::uint64_t kSnareSamples = 5733;
constexpr std::uint64_t kHatSamples = 1764;
constexpr std::uint64_t kCrashSamples = 26460;

struct Noise {
    std::uint32_t state = 12345;
    float next() {
        state = state * 1103515245u + 12345u;
        return float((state >> 16) & 0x7FFF) / 16383.5f - 1.0f;
    }
};

// Adds samples into the mix at position start + i, wrapping at the end.
struct MixWriter {
    float* mix;
    std::uint64_t length;
    void add(std::uint64_t pos, float v) const {
        if (pos >= length) pos %= length;
        mix[pos] += v;
    }
};

// One note of a melodic voice: `count` samples from `start`.
template <int Wave, bool Vibrato>
void renderNote(double freq, double volume, std::uint64_t start, std::uint64_t count, const MixWriter& out) {
    const double dur = double(count) / kRate;
    const double invDur = 1.0 / dur;
    const double step0 = freq / kRate;
    // Vibrato at 5.5 Hz as a rotating phasor: (vc, vs) = (cos, sin) of 2*pi*5.5*t.
    const double rot = kTwoPi * 5.5 / kRate;
    const double rc = std::cos(rot), rs = std::sin(rot);
    double vc = 1.0, vs = 0.0;
    double phase = 0.0;
    // A note never outlasts its own track, so it normally fits without wrapping.
    const bool fits = start + count <= out.length;
    float* dst = out.mix + (fits ? start : 0);
    for (std::uint64_t i = 0; i < count; ++i) {
        const double t = double(i) * (1.0 / kRate);
        double inc = step0;
        if constexpr (Vibrato) {
            if (t > 0.15) inc = step0 * (1.0 + 0.006 * vs);
            const double nc = vc * rc - vs * rs;
            vs = vs * rc + vc * rs;
            vc = nc;
        }
        phase += inc;
        if (phase >= 1.0) phase -= std::floor(phase);
        double w;
        if constexpr (Wave == WavePulse) {
            w = phase < 0.25 ? 1.0 : -1.0;
        } else if constexpr (Wave == WaveSquare) {
            w = phase < 0.5 ? 0.8 : -0.8;
        } else if constexpr (Wave == WaveSaw) {
            w = (2.0 * phase - 1.0) * 0.8;
        } else {
            w = std::fabs(phase - 0.5) * 4.0 - 1.0;
        }
        const double attack = std::min(t * (1.0 / 0.005), 1.0);
        const double release = std::min((dur - t) * (1.0 / 0.03), 1.0);
        const double decay = 1.0 - 0.4 * t * invDur;
        const float v = float(release * attack * decay * w * volume);
        if (fits)
            dst[i] += v;
        else
            out.add(start + i, v);
    }
}

template <int Wave>
void renderNoteOf(bool vibrato, double freq, double volume, std::uint64_t start, std::uint64_t count,
                  const MixWriter& out) {
    if (vibrato)
        renderNote<Wave, true>(freq, volume, start, count, out);
    else
        renderNote<Wave, false>(freq, volume, start, count, out);
}

void renderMelodic(const SongTrack& track, const std::vector<std::string_view>& tokens,
                   std::uint64_t step, const MixWriter& out) {
    const double volume = track.volume;
    for (std::size_t n = 0; n < tokens.size(); ++n) {
        const double freq = noteFrequency(tokens[n]);
        if (freq <= 0.0) continue;
        std::size_t len = 1;
        while (n + len < tokens.size() && tokens[n + len] == "-") ++len;
        const std::uint64_t count = len * step;
        const std::uint64_t start = n * step;
        switch (track.wave) {
            case WavePulse: renderNoteOf<WavePulse>(track.vibrato, freq, volume, start, count, out); break;
            case WaveSquare: renderNoteOf<WaveSquare>(track.vibrato, freq, volume, start, count, out); break;
            case WaveSaw: renderNoteOf<WaveSaw>(track.vibrato, freq, volume, start, count, out); break;
            default: renderNoteOf<WaveTriangle>(track.vibrato, freq, volume, start, count, out); break;
        }
    }
}

void renderDrums(const SongTrack& track, const std::vector<std::string_view>& tokens,
                 std::uint64_t step, const MixWriter& out, Noise& noise) {
    const double volume = track.volume;
    for (std::size_t n = 0; n < tokens.size(); ++n) {
        const std::uint64_t start = n * step;
        switch (drumHit(tokens[n])) {
            case DrumHit::None: break;
            case DrumHit::Kick: {
                double phase = 0.0;
                for (std::uint64_t i = 0; i < kKickSamples; ++i) {
                    const double t = double(i) / kRate;
                    phase += (110.0 * std::exp(-32.0 * t) + 45.0) / kRate;
                    out.add(start + i, float(std::sin(kTwoPi * phase) * std::exp(-16.0 * t) * volume));
                }
                break;
            }
            case DrumHit::Snare: {
                double phase = 0.0;
                for (std::uint64_t i = 0; i < kSnareSamples; ++i) {
                    const double t = double(i) / kRate;
                    phase += 0.00430839;
                    const double v = 0.3 * std::sin(kTwoPi * phase) + 0.65 * noise.next();
                    out.add(start + i, float(v * std::exp(-22.0 * t) * volume));
                }
                break;
            }
            case DrumHit::HiHat:
                for (std::uint64_t i = 0; i < kHatSamples; ++i) {
                    const double t = double(i) / kRate;
                    out.add(start + i, float(std::exp(-90.0 * t) * 0.3 * noise.next() * volume));
                }
                break;
            case DrumHit::Crash:
                for (std::uint64_t i = 0; i < kCrashSamples; ++i) {
                    const double t = double(i) / kRate;
                    out.add(start + i, float(std::exp(-5.0 * t) * 0.4 * noise.next() * volume));
                }
                break;
        }
    }
}

std::vector<std::int16_t> render(const Song& song, const std::atomic<bool>* stop) {
    auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    const std::uint64_t step = stepSamples(song.tempo);
    const std::uint64_t length = songLengthSamples(song);
    std::vector<float> mix(length, 0.0f);
    const MixWriter out{mix.data(), length};
    Noise noise;

    for (const SongTrack& track : song.tracks) {
        if (stopped()) return {};
        if (step == 0) break;
        const auto tokens = tokenizeNotes(track.notes);
        if (track.wave == WaveDrums)
            renderDrums(track, tokens, step, out, noise);
        else
            renderMelodic(track, tokens, step, out);
    }
    if (stopped()) return {};

    if (song.echo > 0.0f) {
        const std::vector<float> copy = mix;
        const std::uint64_t delay = ((step * 3) / 2) % length;
        const float echo = song.echo;
        for (std::uint64_t i = 0; i < length; ++i) {
            std::uint64_t j = i + delay;
            if (j >= length) j -= length;
            mix[j] += copy[i] * echo;
        }
    }

    std::vector<std::int16_t> samples(length);
    for (std::uint64_t i = 0; i < length; ++i) {
        const float y = std::tanh(1.1f * mix[i]) * 30000.0f;
        samples[i] = std::isfinite(y) ? std::int16_t(y) : std::int16_t(0);
    }
    return samples;
}

}  // namespace

std::vector<std::int16_t> renderSong(const Song& song) { return render(song, nullptr); }

std::vector<std::int16_t> renderSongUnlessStopped(const Song& song, const std::atomic<bool>& stop) {
    return render(song, &stop);
}
