#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A folder for this test program's files: $MIVO_TEST_OUT/audio or /tmp/mivo-tests/audio.
std::string audioTestFolder();

// Points OpenAL at its "wave" driver writing `wavPath` (created if missing
// folders allow), unless `onlyIfUnset` and a driver was chosen already. Must
// run before the first sound object of the process is made.
void useWaveAudioOutput(const std::string& wavPath, bool onlyIfUnset = true);

// Samples of a WAV file as floats in [-1, 1], mixed down to one channel
// (16-bit PCM or 32-bit float). Empty when it cannot be read.
struct WavData {
    int sampleRate = 0;
    std::vector<float> mono;
};
WavData readWavFile(const std::string& path);
