#include <gtest/gtest.h>

#include <SFML/System/Clock.hpp>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "AudioTestSupport.h"
#include "audio/PitchAnalysis.h"
#include "audio/Songs.h"
#include "audio/Synth.h"
#include "core/Mivoland2.h"

namespace fs = std::filesystem;

namespace {

// Loudness of the signal over 10 ms windows, one value every `hop` samples.
std::vector<double> envelope(const std::vector<float>& s, int rate, std::size_t hop) {
    const std::size_t window = std::size_t(rate / 100);
    std::vector<double> env;
    for (std::size_t at = 0; at + window <= s.size(); at += hop) {
        double sum = 0.0;
        for (std::size_t i = at; i < at + window; ++i) sum += double(s[i]) * s[i];
        env.push_back(std::sqrt(sum / double(window)));
    }
    return env;
}

// Best correlation of the first two seconds of `song` (10 ms steps) with
// `heard` (1 ms steps), over start delays of up to 1.5 s.
double bestMatch(const std::vector<double>& heard, const std::vector<double>& song) {
    double best = -1.0;
    const std::size_t len = std::min<std::size_t>(200, song.size());
    for (std::size_t lag = 0; lag <= 1500 && lag + 10 * len <= heard.size(); ++lag) {
        double ma = 0, mb = 0;
        for (std::size_t i = 0; i < len; ++i) {
            ma += heard[lag + 10 * i];
            mb += song[i];
        }
        ma /= double(len);
        mb /= double(len);
        double ab = 0, aa = 0, bb = 0;
        for (std::size_t i = 0; i < len; ++i) {
            const double a = heard[lag + 10 * i] - ma, b = song[i] - mb;
            ab += a * b;
            aa += a * a;
            bb += b * b;
        }
        if (aa > 0 && bb > 0) best = std::max(best, ab / std::sqrt(aa * bb));
    }
    return best;
}

// The real game with a data folder of its own, scripted keys and a hidden window.
struct TestGame {
    explicit TestGame(const fs::path& data) : game(optionsFor(data)) {}
    Mivoland2Options optionsFor(const fs::path& data) {
        Mivoland2Options options;
        options.dataFolder = data.string();
        options.keys = &keys;
        options.visibleWindow = false;
        return options;
    }
    ScriptedKeySource keys;
    Mivoland2 game;
};

std::vector<float> rendered(const std::string& id) {
    const auto s = renderSong(builtinSongFactory(id)());
    std::vector<float> f(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) f[i] = float(s[i]) / 32768.0f;
    return f;
}

}  // namespace

// The game started on the main menu plays the title song: OpenAL's wave
// driver records what the game sends to the sound card.
TEST(GameMusic, MainMenuPlaysTheTitleSong) {
    const std::string wavPath = useWaveAudioOutput();
    std::error_code ec;
    const fs::path data = fs::path(audioTestFolder()) / "main-menu-data";
    fs::remove_all(data, ec);

    int menuSounds = 0;
    {
        TestGame run(data);
        Mivoland2& game = run.game;
        ASSERT_TRUE(game.startUp());
        EXPECT_EQ(game.audio.playingId(), "title");
        sf::Clock clock, frameClock;
        bool moved = false;
        // The device opens and the song starts after the first frame, later
        // still on a busy machine: give it time and listen from where it starts.
        while (clock.getElapsedTime().asSeconds() < 8.0f) {
            if (!moved && clock.getElapsedTime().asSeconds() > 7.5f) {
                game.injectEvent(InputEvent::keyPressed(sf::Keyboard::Down));  // a menu move: the menu blip
                moved = true;
            }
            game.frame(frameClock.restart().asSeconds());
        }
        menuSounds = int(game.audio.effect(SoundMenu).rotation.plays);
        EXPECT_EQ(game.audio.playingId(), "title");
    }  // the last sound object goes: the device closes and the file is complete
    EXPECT_EQ(menuSounds, 1);

    const WavData wav = readWavFile(wavPath);
    ASSERT_GT(wav.sampleRate, 0);
    std::size_t onset = 0;
    while (onset < wav.mono.size() && std::fabs(wav.mono[onset]) < 0.01f) ++onset;
    ASSERT_GT(wav.mono.size(), onset + std::size_t(wav.sampleRate) * 3) << "the music started too late to be heard";
    const std::vector<float> fromOnset(wav.mono.begin() + std::ptrdiff_t(onset), wav.mono.end());
    const std::vector<float> heard(fromOnset.begin(), fromOnset.begin() + 3 * wav.sampleRate);

    double energy = 0.0;
    for (float v : heard) energy += double(v) * v;
    EXPECT_GT(std::sqrt(energy / double(heard.size())), 0.02);  // not silence

    // Its loudest pitches belong to D major.
    const PitchProfile p = measurePitches(heard, wav.sampleRate, 57, 100);
    const auto order = p.ranking();
    const std::set<int> dMajor = {2, 4, 6, 7, 9, 11, 1};
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(dMajor.count(order[i])) << pitchClassName(order[i]);

    // Its loudness follows the title song's notes and drums, not another song's.
    const auto heardEnv = envelope(fromOnset, wav.sampleRate, std::size_t(wav.sampleRate / 1000));
    const double title = bestMatch(heardEnv, envelope(rendered("title"), kSampleRate, kSampleRate / 100));
    const double lobby = bestMatch(heardEnv, envelope(rendered("lobby"), kSampleRate, kSampleRate / 100));
    std::printf("wave %d Hz, title match %.3f, lobby match %.3f\n", wav.sampleRate, title, lobby);
    EXPECT_GT(title, 0.85);
    EXPECT_LT(lobby, title - 0.2);
    if (!HasFailure()) {
        removeWaveAudioOutput();
        fs::remove_all(data, ec);
    }
}

// Closing the game while the songs are still being rendered in the
// background neither hangs nor crashes, and the menu keeps its music.
TEST(GameMusic, ClosingRightAfterStartUpIsClean) {
    useWaveAudioOutput();
    const fs::path data = fs::path(audioTestFolder()) / "quick-close-data";
    for (int round = 0; round < 3; ++round) {
        TestGame run(data);
        Mivoland2& game = run.game;
        ASSERT_TRUE(game.startUp());
        EXPECT_EQ(game.audio.playingId(), "title");
        game.frame(0.016f);
        game.goToMainMenu();  // back on the menu: the title song goes on
        EXPECT_EQ(game.audio.playingId(), "title");
    }
    std::error_code ec;
    fs::remove_all(data, ec);
    removeWaveAudioOutput();
}

// The music and sound volumes come from "settings.txt"; at sound volume 0 a
// menu move is silent.
TEST(GameMusic, VolumesComeFromTheSettings) {
    useWaveAudioOutput();
    const fs::path data = fs::path(audioTestFolder()) / "volume-data";
    std::error_code ec;
    fs::remove_all(data, ec);
    fs::create_directories(data);
    std::ofstream((data / "settings.txt").string()) << "0 30 0 0 0";
    {
        TestGame run(data);
        Mivoland2& game = run.game;
        ASSERT_TRUE(game.startUp());
        const MusicEntry* title = game.audio.findMusic("title");
        ASSERT_TRUE(title);
        // The song starts a few frames in, once the sound device is open.
        for (int i = 0; i < 3000 && !title->sound; ++i) {
            game.frame(0.016f);
            sf::sleep(sf::milliseconds(10));
        }
        ASSERT_TRUE(title->sound);
        EXPECT_FLOAT_EQ(title->sound->getVolume(), 30.0f);
        game.injectEvent(InputEvent::keyPressed(sf::Keyboard::Down));
        game.frame(0.016f);
        EXPECT_EQ(game.menu.selected, 1);
        EXPECT_EQ(game.audio.effect(SoundMenu).rotation.plays, 0u);

        game.settings.soundVolume = 50;
        game.settings.musicVolume = 80;
        game.applyMusicVolume();
        EXPECT_FLOAT_EQ(title->sound->getVolume(), 80.0f);
        game.injectEvent(InputEvent::keyPressed(sf::Keyboard::Up));
        game.frame(0.016f);
        EXPECT_EQ(game.audio.effect(SoundMenu).rotation.plays, 1u);
        EXPECT_FLOAT_EQ(game.audio.effect(SoundMenu).voices[0].getVolume(), 50.0f);
    }
    fs::remove_all(data, ec);
    removeWaveAudioOutput();
}
