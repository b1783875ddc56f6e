#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "AudioTestSupport.h"
#include "audio/AudioSystem.h"
#include "audio/Songs.h"
#include "audio/Synth.h"

namespace fs = std::filesystem;

namespace {

// Runs each test in a fresh working folder (the "music/" folder is looked up
// there) with OpenAL writing to a WAV file instead of a sound card.
class AudioSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        useWaveAudioOutput();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        work_ = fs::path(audioTestFolder()) / (std::string("work-") + info->name());
        std::error_code ec;
        fs::remove_all(work_, ec);
        fs::create_directories(work_ / "music");
        saved_ = fs::current_path();
        fs::current_path(work_);
    }
    void TearDown() override {
        fs::current_path(saved_);
        std::error_code ec;
        fs::remove_all(work_, ec);
        removeWaveAudioOutput();
    }

    static sf::Sound::Status statusOf(const MusicEntry& e) {
        if (e.streaming) return e.music->getStatus();
        return e.sound ? e.sound->getStatus() : sf::Sound::Stopped;
    }

    fs::path work_;
    fs::path saved_;
};

std::vector<std::int16_t> samplesOf(const sf::SoundBuffer& b) {
    return std::vector<std::int16_t>(b.getSamples(), b.getSamples() + b.getSampleCount());
}

// A song's buffer is made when the song is prepared.
std::vector<std::int16_t> samplesOf(const std::optional<sf::SoundBuffer>& b) {
    return b ? samplesOf(*b) : std::vector<std::int16_t>{};
}

void writeOgg(const std::string& path) {
    std::vector<std::int16_t> tone(44100);
    for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = std::int16_t(8000 * std::sin(i * 0.0627));
    sf::OutputSoundFile out;
    ASSERT_TRUE(out.openFromFile(path, 44100, 1));
    out.write(tone.data(), tone.size());
}

}  // namespace

TEST_F(AudioSystemTest, SoundBankHoldsTheRenderedEffects) {
    AudioSystem audio;
    audio.buildSoundBank();
    for (int i = 0; i < kSoundEffectCount; ++i) {
        EXPECT_EQ(audio.effect(i).voices.size(), 3u) << i;
        EXPECT_EQ(samplesOf(audio.effect(i).buffer), renderSoundEffect(soundEffectTones(i))) << i;
    }
    EXPECT_EQ(audio.effect(10).buffer.getSampleCount(), 37927u);
    EXPECT_EQ(audio.effect(10).buffer.getSampleRate(), 44100u);
    EXPECT_EQ(audio.effect(10).buffer.getChannelCount(), 1u);
}

TEST_F(AudioSystemTest, PlaysRotateThroughThreeVoices) {
    AudioSystem audio;
    audio.buildSoundBank();
    std::vector<int> used;
    for (int i = 0; i < 4; ++i) used.push_back(audio.playSound(SoundGem, 1.06f, 70));
    EXPECT_EQ(used, (std::vector<int>{0, 1, 2, 0}));
    for (const sf::Sound& v : audio.effect(SoundGem).voices) {
        EXPECT_EQ(v.getStatus(), sf::Sound::Playing);
        EXPECT_FLOAT_EQ(v.getVolume(), 70.0f);
        EXPECT_FLOAT_EQ(v.getPitch(), 1.06f);
    }
    // Volumes are kept within 0..100; a pitch that is not positive plays at 1.
    audio.playSound(SoundJump, -2.0f, 250);
    EXPECT_FLOAT_EQ(audio.effect(SoundJump).voices[0].getVolume(), 100.0f);
    EXPECT_FLOAT_EQ(audio.effect(SoundJump).voices[0].getPitch(), 1.0f);
}

TEST_F(AudioSystemTest, SoundVolumeZeroPlaysNothing) {
    AudioSystem audio;
    audio.buildSoundBank();
    EXPECT_EQ(audio.playSound(SoundMenu, 1.0f, 0), -1);
    EXPECT_EQ(audio.playSound(24, 1.0f, 70), -1);
    EXPECT_EQ(audio.playSound(-1, 1.0f, 70), -1);
    EXPECT_EQ(audio.effect(SoundMenu).rotation.plays, 0u);
    for (const sf::Sound& v : audio.effect(SoundMenu).voices) EXPECT_EQ(v.getStatus(), sf::Sound::Stopped);
    AudioSystem unbuilt;
    EXPECT_EQ(unbuilt.playSound(SoundMenu, 1.0f, 70), -1);
}

// At start-up the bank is built (and the device opened) in the background: a
// song asked for meanwhile is picked at once and started by update() once the
// bank and its samples are in; an effect asked for meanwhile waits for the bank.
TEST_F(AudioSystemTest, BankBuiltInTheBackgroundStartsThePickedSongLater) {
    AudioSystem audio;
    audio.startSoundBank();
    audio.buildMusicCatalogue(true);
    audio.playMusic("title", 60);
    EXPECT_EQ(audio.playingId(), "title");
    MusicEntry& title = *audio.findMusic("title");
    EXPECT_FALSE(title.sound);
    for (int i = 0; i < 3000 && !title.sound; ++i) {
        audio.update();
        sf::sleep(sf::milliseconds(10));
    }
    ASSERT_TRUE(title.sound);
    EXPECT_TRUE(audio.soundBankReady());
    EXPECT_EQ(title.sound->getStatus(), sf::Sound::Playing);
    EXPECT_FLOAT_EQ(title.sound->getVolume(), 60.0f);
    EXPECT_EQ(samplesOf(title.buffer), renderSong(builtinSongFactory("title")()));

    AudioSystem early;
    early.startSoundBank();
    EXPECT_EQ(early.playSound(SoundMenu, 1.0f, 70), 0);
    EXPECT_EQ(early.effect(SoundMenu).voices.size(), 3u);
    EXPECT_TRUE(early.soundBankReady());
}

TEST_F(AudioSystemTest, CatalogueRegistersWithoutRendering) {
    AudioSystem audio;
    audio.buildMusicCatalogue(false);
    for (const BuiltinSong& s : builtinSongs()) {
        MusicEntry* e = audio.findMusic(s.id);
        ASSERT_NE(e, nullptr) << s.id;
        EXPECT_EQ(e->path, "music/" + s.id + ".ogg");
        EXPECT_FALSE(e->prepared);
        EXPECT_FALSE(e->sound);
    }
    EXPECT_FALSE(audio.hasMusic("mod"));
    EXPECT_EQ(audio.playingId(), "");
}

TEST_F(AudioSystemTest, SameSongGoesOnAndAnotherStartsFromTheTop) {
    AudioSystem audio;
    audio.buildMusicCatalogue(false);
    audio.playMusic("boss", 70);
    MusicEntry& boss = *audio.findMusic("boss");
    ASSERT_TRUE(boss.sound);
    EXPECT_EQ(boss.sound->getStatus(), sf::Sound::Playing);
    EXPECT_TRUE(boss.sound->getLoop());
    EXPECT_FLOAT_EQ(boss.sound->getVolume(), 70.0f);
    EXPECT_EQ(samplesOf(boss.buffer), renderSong(builtinSongFactory("boss")()));

    boss.sound->setPlayingOffset(sf::seconds(3.0f));
    audio.playMusic("boss", 70);  // asked again: not restarted
    EXPECT_GE(boss.sound->getPlayingOffset().asSeconds(), 3.0f);

    audio.playMusic("title", 40);
    EXPECT_EQ(boss.sound->getStatus(), sf::Sound::Stopped);
    EXPECT_EQ(audio.playingId(), "title");
    EXPECT_FLOAT_EQ(audio.findMusic("title")->sound->getVolume(), 40.0f);
    audio.setMusicVolume(90);
    EXPECT_FLOAT_EQ(audio.findMusic("title")->sound->getVolume(), 90.0f);

    audio.playMusic("boss", 70);  // back again: from the beginning, buffer kept
    EXPECT_LT(boss.sound->getPlayingOffset().asSeconds(), 1.0f);
    EXPECT_EQ(boss.sound->getStatus(), sf::Sound::Playing);
}

TEST_F(AudioSystemTest, UnknownIdLeavesSilence) {
    AudioSystem audio;
    audio.buildMusicCatalogue(false);
    audio.playMusic("lobby", 70);
    MusicEntry& lobby = *audio.findMusic("lobby");
    for (const char* id : {"no_such_song", "", "Lobby"}) {
        audio.playMusic("lobby", 70);
        audio.playMusic(id, 70);
        EXPECT_EQ(audio.playingId(), "") << id;
        EXPECT_EQ(statusOf(lobby), sf::Sound::Stopped) << id;
    }
}

TEST_F(AudioSystemTest, MusicFileReplacesTheBuiltInSong) {
    writeOgg("music/title.ogg");
    AudioSystem audio;
    audio.buildMusicCatalogue(false);
    audio.playMusic("title", 70);
    MusicEntry& title = *audio.findMusic("title");
    EXPECT_TRUE(title.streaming);
    EXPECT_FALSE(title.sound);
    EXPECT_EQ(title.music->getStatus(), sf::Music::Playing);
    EXPECT_TRUE(title.music->getLoop());
    // Deleting the file after the first play changes nothing for this run.
    fs::remove("music/title.ogg");
    audio.playMusic("lobby", 70);
    audio.playMusic("title", 70);
    EXPECT_TRUE(title.streaming);
    EXPECT_EQ(title.music->getStatus(), sf::Music::Playing);
}

TEST_F(AudioSystemTest, BrokenMusicFileFallsBackQuietly) {
    std::ofstream("music/title.ogg") << "this is not an ogg file";
    fs::create_directories("music/boss.ogg");  // a folder where a file is expected
    AudioSystem audio;
    audio.buildMusicCatalogue(false);
    ::testing::internal::CaptureStderr();
    audio.playMusic("title", 70);
    audio.playMusic("boss", 70);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    for (const char* id : {"title", "boss"}) {
        MusicEntry& e = *audio.findMusic(id);
        EXPECT_TRUE(e.prepared) << id;
        EXPECT_FALSE(e.streaming) << id;
        ASSERT_TRUE(e.sound) << id;
        EXPECT_EQ(samplesOf(e.buffer), renderSong(builtinSongFactory(id)())) << id;
    }
    EXPECT_EQ(audio.findMusic("boss")->sound->getStatus(), sf::Sound::Playing);
}

TEST_F(AudioSystemTest, ModSongFallsBackToEchoMeadowsAndCanBeRemoved) {
    AudioSystem audio;
    audio.buildMusicCatalogue(false);
    audio.setModMusic(std::string("mods/missing/song.ogg"));
    ASSERT_TRUE(audio.hasMusic("mod"));
    EXPECT_EQ(audio.findMusic("mod")->path, "mods/missing/song.ogg");
    audio.playMusic("mod", 70);
    MusicEntry& mod = *audio.findMusic("mod");
    EXPECT_FALSE(mod.streaming);
    ASSERT_TRUE(mod.sound);
    EXPECT_EQ(samplesOf(mod.buffer), renderSong(builtinSongFactory("echo_meadows")()));

    audio.setModMusic(std::nullopt);  // removed while playing: silence
    EXPECT_FALSE(audio.hasMusic("mod"));
    EXPECT_EQ(audio.playingId(), "");
    audio.playMusic("boss", 70);
    EXPECT_EQ(audio.playingId(), "boss");

    writeOgg("music/mine.ogg");
    audio.setModMusic(std::string("music/mine.ogg"));
    audio.playMusic("mod", 70);
    EXPECT_TRUE(audio.findMusic("mod")->streaming);
    EXPECT_EQ(statusOf(*audio.findMusic("boss")), sf::Sound::Stopped);
}

TEST_F(AudioSystemTest, SongsRenderedAheadMatchTheSynthesizer) {
    AudioSystem audio;
    audio.buildMusicCatalogue(true);
    audio.playMusic("title", 70);
    audio.playMusic("final_boss", 70);
    EXPECT_EQ(samplesOf(audio.findMusic("title")->buffer), renderSong(builtinSongFactory("title")()));
    EXPECT_EQ(samplesOf(audio.findMusic("final_boss")->buffer), renderSong(builtinSongFactory("final_boss")()));
    // A mod song that does not open and the first zone share one song: both get it.
    audio.setModMusic(std::string("no/such/file.ogg"));
    audio.playMusic("mod", 70);
    audio.playMusic("echo_meadows", 70);
    const auto meadows = renderSong(builtinSongFactory("echo_meadows")());
    EXPECT_EQ(samplesOf(audio.findMusic("mod")->buffer), meadows);
    EXPECT_EQ(samplesOf(audio.findMusic("echo_meadows")->buffer), meadows);
    // The game closes while the rest are still being rendered.
}
