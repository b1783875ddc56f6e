#include "mods/ModLoader.h"

#include <algorithm>
#include <filesystem>

#include "core/platform/FileSystem.h"
#include "mods/Package.h"

#include "core/platform/PathText.h"

namespace fs = std::filesystem;

namespace {

using namespace pathtext;

std::string join(const std::string& folder, const std::string& name) { return utf8(u8(folder) / u8(name)); }

// A ".txt" name with something before the extension.
bool isTextName(const std::string& name) { return name.size() > 4 && endsWithNoCase(name, ".txt"); }

bool isFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(u8(path), ec);
}

bool isFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(u8(path), ec);
}

// The names of a folder's entries, sorted, at most kMaxModEntries of them.
std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    listDirectory(folder, names);
    if (names.size() > kMaxModEntries) names.resize(kMaxModEntries);
    return names;
}

// A mod file that reads as one: its settings and script filled in.
bool loadMod(const std::string& path, ModInfo& mod) {
    ModText text;
    bool tooLong = false;
    if (!readModFile(path, mod, text, tooLong)) return false;
    if (text.hasCode) {
        mod.script = parseModScript(text.code, tooLong);
        mod.scriptError = mod.script->error;
    }
    return true;
}

// The lines of a text that are not blank (a CR before the LF dropped), at most
// maxLines of them; longer lines than maxLineBytes are left out.
void lineList(const std::string& text, std::size_t maxLines, std::size_t maxLineBytes,
              std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < text.size() && lines.size() < maxLines) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string::npos) stop = text.size();
        std::string line = text.substr(start, stop - start);
        start = stop + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t\r") == std::string::npos || line.size() > maxLineBytes) continue;
        lines.push_back(std::move(line));
    }
}

}  // namespace

std::string modsFolderIn(const std::string& dataDir) { return dataDir + "mods"; }

bool readModFile(const std::string& path, ModInfo& mod, ModText& text, bool& tooLong) {
    std::string contents;
    if (readFile(path, contents, kMaxModFileBytes + 1)) return false;
    tooLong = contents.size() > kMaxModFileBytes;
    if (tooLong) contents.resize(kMaxModFileBytes);
    text = readModText(contents, mod);
    return text.isMod;
}

std::string findModFile(const std::string& folder, int depth) {
    const std::string modTxt = join(folder, "mod.txt");
    if (isFile(modTxt)) return modTxt;
    const std::vector<std::string> names = entriesOf(folder);
    for (const std::string& name : names) {
        if (!isTextName(name) || lowerAscii(name) == "course.txt") continue;
        const std::string path = join(folder, name);
        if (!isFile(path)) continue;
        ModInfo probe;
        ModText text;
        bool tooLong = false;
        if (readModFile(path, probe, text, tooLong)) return path;
    }
    if (depth != 0) return {};
    std::string only;
    int folders = 0;
    for (const std::string& name : names) {
        const std::string path = join(folder, name);
        if (isFolder(path)) {
            ++folders;
            only = path;
        }
    }
    return folders == 1 ? findModFile(only, 1) : std::string();
}

bool folderHoldsMod(const std::string& folder) {
    const std::string file = findModFile(folder, 0);
    ModInfo probe;
    ModText text;
    bool tooLong = false;
    return !file.empty() && readModFile(file, probe, text, tooLong);
}

std::vector<ModInfo> scanMods(const std::string& dataDir) {
    const std::string modsFolder = modsFolderIn(dataDir);
    createDirectories(modsFolder);
    std::vector<ModInfo> mods;
    for (const std::string& name : entriesOf(modsFolder)) {
        if (isInstallLeftover(name)) continue;
        const std::string path = join(modsFolder, name);
        ModInfo mod;
        mod.entry = name;
        if (isFile(path)) {
            if (!isTextName(name)) continue;
            mod.description = "From " + name;
            if (!loadMod(path, mod)) continue;
            if (mod.name.empty()) mod.name = cutUtf8(name.substr(0, name.size() - 4), kMaxModNameBytes);
            mod.folder = u8(modsFolder);
        } else if (isFolder(path)) {
            const std::string file = findModFile(path, 0);
            mod.description = "A mod pack";
            if (file.empty() || !loadMod(file, mod)) continue;
            if (mod.name.empty()) mod.name = cutUtf8(name, kMaxModNameBytes);
            mod.folder = u8(file).parent_path();
            const std::string folder = utf8(mod.folder);
            auto optional = [&](const char* file) {
                const std::string p = join(folder, file);
                return isFile(p) ? u8(p) : fs::path();
            };
            mod.picturePath = optional("player.png");
            mod.musicPath = optional("music.ogg");
            mod.coursePath = optional("course.txt");
            const std::string scriptPath = join(folder, "script.mivo");
            std::string text;
            if (!mod.script && !readFile(scriptPath, text, kMaxModScriptBytes + 1)) {
                mod.script = parseModScript(text, text.size() > kMaxModScriptBytes);
                mod.scriptError = mod.script->error;
            }
        } else {
            continue;
        }
        mods.push_back(std::move(mod));
    }

    std::string enabled;
    readFile(dataDir + "mods_enabled.txt", enabled, kMaxEnabledFileBytes);
    std::vector<std::string> names;
    lineList(enabled, kMaxModEntries, kMaxModNameBytes + 1, names);
    for (ModInfo& mod : mods)
        mod.enabled = std::find(names.begin(), names.end(), mod.name) != names.end();
    return mods;
}

std::error_code saveEnabledMods(const std::string& dataDir, const std::vector<ModInfo>& mods) {
    std::string text;
    for (const ModInfo& mod : mods)
        if (mod.enabled) text += mod.name + "\n";
    return writeFileAtomically(dataDir + "mods_enabled.txt", text);
}

ModInstall installModFile(const std::string& path, const std::string& modsFolder, const UnpackLimits& limits) {
    ModInstall result;
    const std::string name = baseName(path);
    if (isTextName(name) && !isInstallLeftover(name)) {
        std::string text;
        ModInfo probe;
        if (readFile(path, text, kMaxModFileBytes + 1) || !readModText(text, probe).isMod) {
            result.message = kNotAModFileText;
        } else if (text.size() > kMaxModFileBytes) {
            result.message = "That mod file is too big (at most " + std::to_string(kMaxModFileBytes >> 10) + " KB)";
        } else if (createDirectories(modsFolder) || writeFileAtomically(join(modsFolder, name), text)) {
            result.message = installMessage(InstallError::WriteFailed);
        } else {
            result.name = name;
        }
        return result;
    }
    if (!isPackageName(name)) {
        result.message = kNotAModFileText;
        return result;
    }
    const InstallResult r = installPackage(path, modsFolder, folderHoldsMod, limits);
    if (r.ok()) {
        result.name = r.name;
    } else if (r.error == InstallError::NotAPackage || r.error == InstallError::NoModFile) {
        // Unpacked fine (or never was a package) but there is no mod in it.
        result.message = kNotAModFileText;
    } else {
        // A package refused for a reason of its own: damaged, too big,
        // unsafe, too slow, unreadable. Saying that it isn't a mod file
        // would send the player looking at the file's name.
        result.message = r.message;
    }
    return result;
}

std::vector<std::string> takeModsInbox(const std::string& dataDir) {
    const std::string inbox = dataDir + "mods_installed.txt";
    const std::string reading = dataDir + "mods_installed.reading";
    std::vector<std::string> paths;
    if (!isFile(inbox) || renamePath(inbox, reading)) return paths;
    std::string text;
    readFile(reading, text, kMaxInboxBytes);
    removeTree(reading);
    lineList(text, kMaxInboxPaths, kMaxInboxPathBytes, paths);
    return paths;
}

ModEffects combineMods(const std::vector<ModInfo>& mods) {
    ModEffects fx;
    for (const ModInfo& mod : mods) {
        if (!mod.enabled) continue;
        fx.player.gravity *= mod.gravity;
        fx.player.speed *= mod.speed;
        fx.player.jump *= mod.jump;
        fx.player.size *= mod.size;
        fx.rainbow = fx.rainbow || mod.rainbow;
        fx.player.oneHit = fx.player.oneHit || mod.onehit;
        fx.noBaddies = fx.noBaddies || mod.nobadniks;
        fx.player.doubleGems = fx.player.doubleGems || mod.doublegems;
        if (mod.hasColor) {
            fx.hasTint = true;
            fx.tint = mod.color;
            fx.tint.a = 255;
        }
        if (!mod.picturePath.empty()) fx.pictures.push_back(utf8(mod.picturePath));
        if (!fx.music && !mod.musicPath.empty()) fx.music = utf8(mod.musicPath);
    }
    fx.player.size = std::clamp(fx.player.size, 0.4f, 1.8f);
    return fx;
}

bool pngSize(std::string_view bytes, unsigned& width, unsigned& height) {
    // The signature, then the IHDR chunk: length 13, "IHDR", width, height.
    static constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
    if (bytes.size() < 24 || bytes.substr(0, 8) != kSignature || bytes.substr(12, 4) != "IHDR") return false;
    auto be32 = [&](std::size_t at) {
        unsigned v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    width = be32(16);
    height = be32(20);
    return true;
}
