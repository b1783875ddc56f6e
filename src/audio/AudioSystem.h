#pragma once
#include <SFML/Audio.hpp>

#include <array>
#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/Notation.h"
#include "audio/SongPrerenderer.h"
#include "audio/SoundEffects.h"

// One synthesized sound effect: its buffer and three voices playing it, so an
// effect can overlap itself.
struct SoundEffect {
    sf::SoundBuffer buffer;
    std::vector<sf::Sound> voices;
    VoiceRotation rotation;
};

// One song of the music catalogue: a file to stream when it opens, otherwise
// the built-in song rendered into a sound buffer.
struct MusicEntry {
    std::string path;                  // "music/<id>.ogg", or a mod's music file
    SongFactory factory;               // the built-in song
    std::string prerenderedId;         // song of the background renderer standing for `factory`
    std::unique_ptr<sf::Music> music;  // made only when `path` names a file
    bool streaming = false;            // `music` opened `path`
    bool prepared = false;             // prepared at most once
    // Made only when the song is prepared: an entry holds no sound object
    // before that, so the catalogue can be built before the sound device is open.
    std::optional<sf::SoundBuffer> buffer;
    std::optional<sf::Sound> sound;    // present only when `buffer` loaded

    void stop();
};

// The game's sound: the 24 effects, the music catalogue and the song now
// playing. Everything here runs on the game thread, except two background
// jobs: the song samples (the background renderer) and, at start-up, the
// sound bank with the opening of the sound device (startSoundBank).
class AudioSystem {
public:
    AudioSystem() = default;
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // Renders the effects and gives each three voices.
    void buildSoundBank();

    // The same on a background thread, which also opens the sound device
    // (the first sound object of the process does), so the game thread goes
    // on drawing meanwhile. update() takes the bank in when it is done;
    // playing an effect before that waits for it. Until the bank is in,
    // playMusic only picks the song: update() starts it once the device is
    // open and its samples are rendered.
    void startSoundBank();

    // Start-up: no sound object is made (the device stays shut) until
    // startSoundBank(); songs asked for until then are picked and wait as
    // above. An effect asked for before that builds the bank there and then.
    void startSoundBankLater();

    // Once a frame: takes in a finished sound bank and starts a song picked
    // while it was being built. Never waits.
    void update();

    // False while the sound bank is still to come (started later or being
    // built in the background).
    bool soundBankReady() const { return !deferred_ && !bankJob_.valid(); }

    // Registers the built-in songs under their ids with their "music/<id>.ogg"
    // paths (the "mod" entry, if any, is dropped). Nothing is opened or
    // rendered here; with `renderAhead` the songs are rendered on a
    // background thread from now on, the title first (renderSongsAhead).
    void buildMusicCatalogue(bool renderAhead = true);

    // Starts rendering the built-in songs on a background thread, the title
    // first, unless that is already under way.
    void renderSongsAhead();

    // Plays effect `effect` (0..23) at `pitch` on its next voice and returns
    // that voice's number; -1 (and silence) at sound volume 0, for an
    // effect without voices or a number out of range.
    int playSound(int effect, float pitch, int soundVolume);

    // Switches to song `id`, looped, at `musicVolume` (0..100). The song
    // playing goes on untouched when it is asked for again; an unknown or
    // empty id stops the music.
    void playMusic(const std::string& id, int musicVolume);

    // Sets the volume of the song playing now.
    void setMusicVolume(int musicVolume);

    // Replaces the "mod" entry: removed, then added again with `path` as its
    // file when there is one (falling back to the "echo_meadows" song).
    void setModMusic(const std::optional<std::string>& path);

    bool hasMusic(const std::string& id) const { return music_.count(id) != 0; }
    // The id of the song playing now; empty when silent.
    std::string playingId() const;
    MusicEntry* findMusic(const std::string& id);
    // Waits for a sound bank still being built in the background.
    const SoundEffect& effect(int index) const { return bank().effects[std::size_t(index)]; }

    // Makes `entry` ready to play: streams its file, else renders its song
    // (taking the background renderer's samples when it has them).
    void prepareMusic(MusicEntry& entry);

private:
    struct SoundBank {
        std::array<SoundEffect, kSoundEffectCount> effects;
    };
    static std::unique_ptr<SoundBank> renderSoundBank();
    // The bank, taking in (and so waiting for) the background one first; an
    // empty bank when none was ever built.
    SoundBank& bank() const;
    void startPlaying(MusicEntry& entry);

    mutable bool deferred_ = false;  // startSoundBankLater: the bank is still to be started
    mutable std::unique_ptr<SoundBank> bank_;
    mutable std::future<std::unique_ptr<SoundBank>> bankJob_;  // valid while not taken in
    std::map<std::string, std::unique_ptr<MusicEntry>> music_;
    MusicEntry* playing_ = nullptr;
    bool playingPending_ = false;  // playing_ is picked but waits for the sound bank
    int musicVolume_ = 70;
    // Declared last: stopped and joined before the entries go.
    std::unique_ptr<SongPrerenderer> prerenderer_;
};
