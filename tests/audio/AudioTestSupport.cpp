#include "AudioTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

std::string audioTestFolder() {
    const char* out = std::getenv("MIVO_TEST_OUT");
    std::filesystem::path base = (out && *out) ? std::filesystem::path(out) : std::filesystem::path("/tmp/mivo-tests");
    std::filesystem::path dir = base / "audio";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir.string();
}

std::string useWaveAudioOutput() {
    static const std::string wavPath = [] {
        const std::string base = audioTestFolder() + "/output-" + std::to_string(getpid());
        std::ofstream(base + ".conf") << "[general]\ndrivers = wave\n[wave]\nfile = " << base << ".wav\n";
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", (base + ".conf").c_str(), 1);
        return base + ".wav";
    }();
    return wavPath;
}

void removeWaveAudioOutput() {
    const std::string wav = useWaveAudioOutput();
    std::error_code ec;
    std::filesystem::remove(wav, ec);
    std::filesystem::remove(wav.substr(0, wav.size() - 4) + ".conf", ec);
}

namespace {
std::uint32_t le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t le16(const unsigned char* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
}  // namespace

WavData readWavFile(const std::string& path) {
    WavData wav;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return wav;
    int format = 0, channels = 0, bits = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + at;
        std::size_t size = le32(chunk + 4);
        const std::size_t body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && body + 16 <= bytes.size()) {
            format = le16(bytes.data() + body);
            channels = le16(bytes.data() + body + 2);
            wav.sampleRate = int(le32(bytes.data() + body + 4));
            bits = le16(bytes.data() + body + 14);
            if (format == 0xFFFE && size >= 26 && body + 26 <= bytes.size()) format = le16(bytes.data() + body + 24);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            // A writer that was not closed cleanly may leave the size unset: read to the end.
            if (size == 0 || body + size > bytes.size()) size = bytes.size() - body;
            if (channels <= 0) return wav;
            const int frameBytes = channels * bits / 8;
            if (frameBytes <= 0) return wav;
            const std::size_t frames = size / std::size_t(frameBytes);
            wav.mono.resize(frames);
            for (std::size_t f = 0; f < frames; ++f) {
                float sum = 0.0f;
                for (int c = 0; c < channels; ++c) {
                    const unsigned char* s = bytes.data() + body + f * frameBytes + c * (bits / 8);
                    if (format == 3 && bits == 32) {
                        float v;
                        std::memcpy(&v, s, 4);
                        sum += v;
                    } else if (format == 1 && bits == 16) {
                        sum += float(std::int16_t(le16(s))) / 32768.0f;
                    } else if (format == 1 && bits == 8) {
                        sum += (float(*s) - 128.0f) / 128.0f;
                    }
                }
                wav.mono[f] = sum / float(channels);
            }
            return wav;
        }
        at = body + size + (size & 1);
    }
    return wav;
}
