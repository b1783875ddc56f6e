// The game's mods: scanning the folder, applying the enabled mods, and
// installing the files dropped on the window or handed over by the
// download inbox.
#include <SFML/Graphics/Image.hpp>
#include <algorithm>

#include "audio/SoundEffects.h"
#include "audio/Songs.h"
#include "core/Mivoland2.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Platform.h"
#include "mods/ModLoader.h"
#include "mods/ModsLayout.h"

namespace {

// A mod's "player.png": a PNG of at most kMaxPictureFileBytes and
// kMaxPictureSide pixels a side, checked before it is decoded.
bool loadModPicture(const std::string& path, sf::Texture& texture) {
    std::string bytes;
    if (readFile(path, bytes, kMaxPictureFileBytes + 1) || bytes.size() > kMaxPictureFileBytes) return false;
    unsigned w = 0, h = 0;
    if (!pngSize(bytes, w, h) || w == 0 || h == 0 || w > kMaxPictureSide || h > kMaxPictureSide) return false;
    sf::Image image;
    if (!image.loadFromMemory(bytes.data(), bytes.size())) return false;
    if (!texture.loadFromImage(image)) return false;
    texture.setSmooth(true);
    return true;
}

}  // namespace

std::string Mivoland2::modsFolder() const { return modsFolderIn(dataDir); }

void Mivoland2::reloadMods() {
    mods = scanMods(dataDir);
    modsArmed = -1;
    modsPage = std::clamp(modsPage, 0, modsPageCount(mods.size()) - 1);
}

void Mivoland2::applyMods() {
    const ModEffects fx = combineMods(mods);

    // In an act, the act's own song (the zone's, or a mod's in its place)
    // follows the mods; a boss or form song plays on.
    const std::string playing = audio.playingId();
    const bool actSong = state == GameState::Playing &&
                         (playing == "mod" || playing == ::zoneMusicId(level.zone, false, false));
    audio.setModMusic(fx.music);

    playerMods = fx.player;
    noBaddies = fx.noBaddies;
    playerLook = PlayerLook{};
    if (fx.rainbow) {
        playerLook.tintMode = PlayerLook::Rainbow;
    } else if (fx.hasTint) {
        playerLook.tintMode = PlayerLook::FixedTint;
        playerLook.tintColor = fx.tint;
    }
    modPicture = sf::Texture();
    for (const std::string& path : fx.pictures) {
        if (loadModPicture(path, modPicture)) {
            playerLook.picture = &modPicture;
            break;
        }
    }

    // The player of an act in progress keeps its scales through respawns,
    // so it takes the new ones now rather than at the next act.
    if (inLevel()) {
        player.gravityScale = playerMods.gravity;
        player.speedScale = playerMods.speed;
        player.jumpScale = playerMods.jump;
        player.sizeScale = playerMods.size;
        player.oneHit = playerMods.oneHit;
        player.doubleGems = playerMods.doubleGems;
    }
    if (actSong) playMusic(zoneMusicId(level.zone));
}

bool Mivoland2::openExternal(const std::string& address) {
    if (address.empty()) return false;
    return options.openExternal ? options.openExternal(address) : openPath(address);
}

void Mivoland2::updateModFiles() {
    std::vector<std::string> paths = takeDroppedFiles();
    if (totalTime - modsInboxCheckedAt >= 0.5f) {
        modsInboxCheckedAt = totalTime;
        for (std::string& p : takeModsInbox(dataDir)) paths.push_back(std::move(p));
    }
    handleDroppedFiles(paths);
}

void Mivoland2::handleDroppedFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const std::string folder = modsFolder();
    std::vector<std::string> installed;
    std::string failure;
    for (const std::string& path : paths) {
        const ModInstall r = installModFile(path, folder);
        if (r.ok())
            installed.push_back(r.name);
        else if (failure.empty())
            failure = r.message;
    }
    if (installed.empty()) {
        showToast(failure);
        return;
    }
    reloadMods();
    std::string names;
    for (ModInfo& mod : mods) {
        if (std::find(installed.begin(), installed.end(), mod.entry) == installed.end()) continue;
        mod.enabled = true;
        names += (names.empty() ? "" : ", ") + mod.name;
    }
    saveEnabledMods(dataDir, mods);
    applyMods();
    showToast(kModInstalledText + names);
    playSound(SoundStone);
}
