#include "audio/Songs.h"
#include "core/Mivoland2.h"

// The game's side of sound: effects and songs played at the volumes of the
// settings record.

void Mivoland2::playSound(int pool, float pitch) { audio.playSound(pool, pitch, settings.soundVolume); }

void Mivoland2::playMusic(const std::string& id) { audio.playMusic(id, settings.musicVolume); }

void Mivoland2::applyMusicVolume() { audio.setMusicVolume(settings.musicVolume); }

std::string Mivoland2::zoneMusicId(int zone) const {
    // A multiplayer game (hosting, or joined and connected) always plays the
    // zone's own song; the lobby reports that state once it exists.
    return ::zoneMusicId(zone, audio.hasMusic("mod"), inMultiplayerGame());
}
