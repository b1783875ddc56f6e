// Writes a built-in song or a sound effect to a 16-bit mono WAV file.
//   song_wav <song id> <out.wav>     e.g. song_wav title title.wav
//   song_wav <effect 0..23> <out.wav>
//   song_wav all <folder>            every song and effect into the folder
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "audio/Songs.h"
#include "audio/SoundEffects.h"
#include "audio/Synth.h"

namespace {

void put32(std::ofstream& out, std::uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
}
void put16(std::ofstream& out, std::uint16_t v) {
    const char b[2] = {char(v), char(v >> 8)};
    out.write(b, 2);
}

bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples) {
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    const std::uint32_t bytes = std::uint32_t(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kSampleRate);
    put32(out, kSampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, bytes);
    for (std::int16_t s : samples) put16(out, std::uint16_t(s));
    return bool(out);
}

bool isNumber(const std::string& s) {
    if (s.empty() || s.size() > 3) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool writeOne(const std::string& what, const std::string& path) {
    std::vector<std::int16_t> samples;
    if (isNumber(what)) {
        const int index = std::stoi(what);
        if (index >= kSoundEffectCount) {
            std::cerr << "no effect " << index << "\n";
            return false;
        }
        samples = renderSoundEffect(soundEffectTones(index));
    } else {
        SongFactory factory = builtinSongFactory(what);
        if (!factory) {
            std::cerr << "no song \"" << what << "\"\n";
            return false;
        }
        samples = renderSong(factory());
    }
    if (!writeWav(path, samples)) {
        std::cerr << "cannot write " << path << "\n";
        return false;
    }
    std::cout << path << ": " << samples.size() << " samples, " << double(samples.size()) / kSampleRate
              << " s\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: song_wav <song id | effect 0..23 | all> <out.wav | folder>\n";
        return 2;
    }
    const std::string what = argv[1];
    const std::string where = argv[2];
    if (what != "all") return writeOne(what, where) ? 0 : 1;
    bool ok = true;
    for (const BuiltinSong& song : builtinSongs()) ok = writeOne(song.id, where + "/" + song.id + ".wav") && ok;
    for (int i = 0; i < kSoundEffectCount; ++i)
        ok = writeOne(std::to_string(i), where + "/effect" + std::to_string(i) + ".wav") && ok;
    return ok ? 0 : 1;
}
