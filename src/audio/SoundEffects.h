#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One line of a sound effect's recipe.
struct SfxTone {
    float start = 0.0f;     // seconds from the start of the effect
    float duration = 0.0f;  // seconds
    float startHz = 0.0f;
    float endHz = 0.0f;     // the frequency glides linearly from startHz
    int wave = 0;           // 0 square, 1 triangle, anything else noise
    float volume = 0.0f;
};

constexpr int kSoundEffectCount = 24;
constexpr int kVoicesPerEffect = 3;

// Effect numbers used by the game (the rest are chosen by number where played).
enum SoundId : int {
    SoundJump = 0,
    SoundGem = 1,
    SoundHurt = 2,
    SoundSpring = 3,
    SoundStomp = 4,
    SoundBossHit = 5,
    SoundCheckpoint = 9,
    SoundClear = 10,
    SoundMenu = 11,
    SoundStone = 12,
    SoundTransform = 13,
    SoundHeart = 19,
    SoundMonitor = 20,
    SoundPortal = 22,
};

// The tones of effect `index` (0..23); empty for any other index.
const std::vector<SfxTone>& soundEffectTones(int index);

// Renders a recipe to mono 16-bit samples at 44100 Hz: floor(end * 44100) + 1
// samples, where end is the latest end of a tone.
std::vector<std::int16_t> renderSoundEffect(const std::vector<SfxTone>& tones);

// The effect a script's "sound" step plays for a name; names are matched
// exactly (case-sensitive) and any other name gives the menu blip, 11.
int soundIndexForName(const std::string& name);

// Which of an effect's voices plays next: plays rotate through the voices,
// so a fourth quick play cuts off the first.
struct VoiceRotation {
    std::uint64_t plays = 0;
    int next(int voiceCount) { return voiceCount > 0 ? int(plays++ % std::uint64_t(voiceCount)) : -1; }
};
