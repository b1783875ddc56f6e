#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A folder for this test program's files: $MIVO_TEST_OUT/audio or /tmp/mivo-tests/audio.
std::string audioTestFolder();

// Points OpenAL at its "wave" driver writing a file of this process's own
// and returns the file's path. OpenAL reads the setting once, when the first
// sound object of the process is made; every later opening of the device
// (whenever the last sound object had gone) starts the file afresh.
std::string useWaveAudioOutput();

// Deletes the WAV file and its OpenAL setting (call once the sound objects are gone).
void removeWaveAudioOutput();

// Samples of a WAV file as floats in [-1, 1], mixed down to one channel
// (16-bit PCM or 32-bit float). Empty when it cannot be read.
struct WavData {
    int sampleRate = 0;
    std::vector<float> mono;
};
WavData readWavFile(const std::string& path);
