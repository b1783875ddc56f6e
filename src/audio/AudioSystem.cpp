#include "audio/AudioSystem.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <ostream>

#include "audio/Songs.h"
#include "audio/Synth.h"

namespace {

float volumeOf(int v) { return float(std::clamp(v, 0, 100)); }

// SFML reports a file it cannot read on its error stream; a broken song file
// quietly falls back to the built-in song, so that report is held back.
class QuietSfmlErrors {
public:
    QuietSfmlErrors() : saved_(sf::err().rdbuf(nullptr)) {}
    ~QuietSfmlErrors() {
        sf::err().rdbuf(saved_);
        sf::err().clear();
    }

private:
    std::streambuf* saved_;
};

bool isFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void MusicEntry::stop() {
    if (streaming && music) music->stop();
    if (sound) sound->stop();
}

AudioSystem::~AudioSystem() {
    // A bank still being built is waited for, then goes with the rest.
    if (bankJob_.valid()) bankJob_.wait();
}

std::unique_ptr<AudioSystem::SoundBank> AudioSystem::renderSoundBank() {
    auto bank = std::make_unique<SoundBank>();
    for (int i = 0; i < kSoundEffectCount; ++i) {
        SoundEffect& fx = bank->effects[std::size_t(i)];
        const std::vector<std::int16_t> samples = renderSoundEffect(soundEffectTones(i));
        if (!fx.buffer.loadFromSamples(samples.data(), samples.size(), 1, kSampleRate)) continue;
        for (int v = 0; v < kVoicesPerEffect; ++v) fx.voices.emplace_back(fx.buffer);
    }
    return bank;
}

void AudioSystem::buildSoundBank() {
    if (bankJob_.valid()) bankJob_.wait();
    bankJob_ = {};
    deferred_ = false;
    bank_ = renderSoundBank();
}

void AudioSystem::startSoundBankLater() { deferred_ = !bank_ && !bankJob_.valid(); }

void AudioSystem::startSoundBank() {
    deferred_ = false;
    if (bankJob_.valid() || bank_) return;
    try {
        bankJob_ = std::async(std::launch::async, &AudioSystem::renderSoundBank);
    } catch (...) {
        bank_ = renderSoundBank();  // no thread to be had: here and now
    }
}

AudioSystem::SoundBank& AudioSystem::bank() const {
    if (deferred_) {
        deferred_ = false;
        bank_ = renderSoundBank();  // wanted before it was started
    }
    if (bankJob_.valid()) {
        try {
            bank_ = bankJob_.get();
        } catch (...) {
            bank_.reset();
        }
    }
    if (!bank_) bank_ = std::make_unique<SoundBank>();
    return *bank_;
}

void AudioSystem::update() {
    using namespace std::chrono_literals;
    if (bankJob_.valid() && bankJob_.wait_for(0s) == std::future_status::ready) bank();
    if (!playingPending_ || !playing_ || !soundBankReady()) return;
    MusicEntry& entry = *playing_;
    // The samples are waited for here, a frame at a time, never in a frame.
    if (!entry.prepared && prerenderer_ && !entry.prerenderedId.empty() && !isFile(entry.path) &&
        prerenderer_->isComing(entry.prerenderedId))
        return;
    playingPending_ = false;
    prepareMusic(entry);
    startPlaying(entry);
}

void AudioSystem::buildMusicCatalogue(bool renderAhead) {
    prerenderer_.reset();
    if (playing_) playing_->stop();
    playing_ = nullptr;
    playingPending_ = false;
    music_.clear();
    for (const BuiltinSong& song : builtinSongs()) {
        auto entry = std::make_unique<MusicEntry>();
        entry->path = "music/" + song.id + ".ogg";
        entry->factory = song.factory;
        entry->prerenderedId = song.id;
        music_.emplace(song.id, std::move(entry));
    }
    if (renderAhead) renderSongsAhead();
}

void AudioSystem::renderSongsAhead() {
    if (prerenderer_) return;
    std::vector<SongPrerenderer::Job> jobs;
    for (const BuiltinSong& song : builtinSongs()) jobs.push_back({song.id, song.factory});
    prerenderer_ = std::make_unique<SongPrerenderer>(std::move(jobs));
}

int AudioSystem::playSound(int effect, float pitch, int soundVolume) {
    if (effect < 0 || effect >= kSoundEffectCount || soundVolume <= 0) return -1;
    SoundEffect& fx = bank().effects[std::size_t(effect)];
    if (fx.voices.empty()) return -1;
    const int v = fx.rotation.next(int(fx.voices.size()));
    sf::Sound& voice = fx.voices[std::size_t(v)];
    voice.setVolume(volumeOf(soundVolume));
    voice.setPitch(std::isfinite(pitch) && pitch > 0.0f ? pitch : 1.0f);
    voice.play();
    return v;
}

MusicEntry* AudioSystem::findMusic(const std::string& id) {
    auto it = music_.find(id);
    return it == music_.end() ? nullptr : it->second.get();
}

std::string AudioSystem::playingId() const {
    for (const auto& [id, entry] : music_)
        if (entry.get() == playing_) return id;
    return {};
}

void AudioSystem::prepareMusic(MusicEntry& entry) {
    if (entry.prepared) return;
    entry.prepared = true;
    if (isFile(entry.path)) {
        QuietSfmlErrors quiet;
        entry.music = std::make_unique<sf::Music>();
        if (entry.music->openFromFile(entry.path)) {
            entry.streaming = true;
            entry.music->setLoop(true);
            return;
        }
        entry.music.reset();
    }
    std::vector<std::int16_t> samples;
    std::optional<std::vector<std::int16_t>> ahead;
    if (prerenderer_ && !entry.prerenderedId.empty()) ahead = prerenderer_->take(entry.prerenderedId);
    if (ahead)
        samples = std::move(*ahead);
    else if (entry.factory)
        samples = renderSong(entry.factory());
    if (samples.empty()) return;
    entry.buffer.emplace();
    if (entry.buffer->loadFromSamples(samples.data(), samples.size(), 1, kSampleRate)) {
        entry.sound.emplace(*entry.buffer);
        entry.sound->setLoop(true);
    }
}

void AudioSystem::startPlaying(MusicEntry& entry) {
    if (entry.streaming) {
        entry.music->setVolume(volumeOf(musicVolume_));
        entry.music->play();
    } else if (entry.sound) {
        entry.sound->setVolume(volumeOf(musicVolume_));
        entry.sound->play();
    }
}

void AudioSystem::playMusic(const std::string& id, int musicVolume) {
    MusicEntry* found = findMusic(id);
    musicVolume_ = musicVolume;
    if (found && found == playing_) return;
    if (playing_) playing_->stop();
    playing_ = found;
    playingPending_ = false;
    if (!found) return;
    if (!soundBankReady()) {
        // The sound device is still being opened in the background: making a
        // sound object now would wait for it. update() starts the song.
        playingPending_ = true;
        return;
    }
    prepareMusic(*found);
    startPlaying(*found);
}

void AudioSystem::setMusicVolume(int musicVolume) {
    musicVolume_ = musicVolume;
    if (!playing_) return;
    if (playing_->streaming) playing_->music->setVolume(volumeOf(musicVolume));
    if (playing_->sound) playing_->sound->setVolume(volumeOf(musicVolume));
}

void AudioSystem::setModMusic(const std::optional<std::string>& path) {
    auto it = music_.find("mod");
    if (it != music_.end()) {
        if (it->second.get() == playing_) {
            playing_ = nullptr;
            playingPending_ = false;
        }
        it->second->stop();
        music_.erase(it);
    }
    if (!path) return;
    auto entry = std::make_unique<MusicEntry>();
    entry->path = *path;
    entry->factory = builtinSongFactory("echo_meadows");
    entry->prerenderedId = "echo_meadows";
    music_.emplace("mod", std::move(entry));
}
