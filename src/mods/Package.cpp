#include "mods/Package.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/platform/PathText.h"

namespace fs = std::filesystem;

namespace {

using namespace pathtext;

constexpr const char* kUnpackPrefix = ".mivo-unpack-";
constexpr const char* kOldPrefix = ".mivo-old-";

bool startsWith(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }

// A new, empty folder inside parent whose name starts with prefix.
fs::path freshFolder(const fs::path& parent, const std::string& prefix, std::error_code& ec) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        char suffix[40];
        std::snprintf(suffix, sizeof suffix, "%llx-%u", static_cast<unsigned long long>(now) & 0xffffffffffull,
                      counter++);
        const fs::path p = parent / u8(prefix + suffix);
        if (fs::create_directory(p, ec)) return p;
        if (ec) return {};
    }
    ec = std::make_error_code(std::errc::file_exists);
    return {};
}

// A name for moving an entry aside: not there yet, not created.
fs::path freshName(const fs::path& parent, const std::string& prefix) {
    static std::atomic<unsigned> counter{0};
    std::error_code ec;
    fs::path p;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        p = parent / u8(prefix + std::to_string(now & 0xffffffffff) + "-" + std::to_string(counter++));
        if (fs::symlink_status(p, ec).type() == fs::file_type::not_found) break;
    }
    return p;  // a clash after all makes the rename fail, which the caller handles
}

InstallError fromUnpack(UnpackError e) {
    switch (e) {
        case UnpackError::None: return InstallError::None;
        case UnpackError::CannotRead: return InstallError::CannotRead;
        case UnpackError::TooLarge: return InstallError::TooLarge;
        case UnpackError::Broken: return InstallError::Broken;
        case UnpackError::UnsafePath: return InstallError::UnsafePath;
        case UnpackError::TooBig: return InstallError::TooBig;
        case UnpackError::TooManyFiles: return InstallError::TooManyFiles;
        case UnpackError::TooSlow: return InstallError::TooSlow;
        case UnpackError::WriteFailed: return InstallError::WriteFailed;
    }
    return InstallError::Broken;
}

InstallResult failure(InstallError e) {
    InstallResult r;
    r.error = e;
    r.message = installMessage(e);
    return r;
}

}  // namespace

bool isPackageName(const std::string& fileName) {
    const std::string name = baseName(fileName);
    return endsWithNoCase(name, ".mivomod") || endsWithNoCase(name, ".zip");
}

std::string packageFolderName(const std::string& fileName) {
    std::string name = baseName(fileName);
    if (endsWithNoCase(name, ".mivomod"))
        name.resize(name.size() - 8);
    else if (endsWithNoCase(name, ".zip"))
        name.resize(name.size() - 4);
    else
        return {};
    if (!name.empty() && name.back() == ')') {
        const std::size_t open = name.rfind(" (");
        if (open != std::string::npos) name.resize(open);
    }
    if (endsWithNoCase(name, ".mivomod")) name.resize(name.size() - 8);
    if (name.empty() || name == "." || name == ".." || isInstallLeftover(name)) return {};
    return name;
}

std::string installMessage(InstallError error) {
    switch (error) {
        case InstallError::None: return {};
        case InstallError::NotAPackage: return "That isn't a mod file (mods are .txt, .mivomod or .zip)";
        case InstallError::CannotRead: return "Couldn't read that package";
        case InstallError::TooLarge: return "That package is too big";
        case InstallError::Broken: return "That package is damaged or cut short";
        case InstallError::UnsafePath: return "That package tries to put files outside its folder";
        case InstallError::TooBig: return "That package is too big when unpacked";
        case InstallError::TooManyFiles: return "That package holds too many files";
        case InstallError::TooSlow: return "That package took too long to unpack";
        case InstallError::NoModFile: return "That package holds no mod file";
        case InstallError::WriteFailed: return "Couldn't write to the mods folder";
    }
    return {};
}

bool isInstallLeftover(const std::string& name) {
    return startsWith(name, kUnpackPrefix) || startsWith(name, kOldPrefix);
}

void removeInstallLeftovers(const std::string& modsFolder) {
    std::error_code ec;
    std::vector<fs::path> leftovers;
    fs::directory_iterator it(u8(modsFolder), ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec))
        if (isInstallLeftover(utf8(it->path().filename()))) leftovers.push_back(it->path());
    for (const fs::path& p : leftovers) fs::remove_all(p, ec);
}

InstallResult installPackage(const std::string& packagePath, const std::string& modsFolder,
                             const HoldsModFile& holdsModFile, const UnpackLimits& limits) {
    const std::string name = isPackageName(packagePath) ? packageFolderName(packagePath) : std::string();
    if (name.empty()) return failure(InstallError::NotAPackage);

    const fs::path mods = u8(modsFolder);
    std::error_code ec;
    fs::create_directories(mods, ec);
    if (ec) return failure(InstallError::WriteFailed);
    const fs::path temp = freshFolder(mods, kUnpackPrefix, ec);
    if (temp.empty()) return failure(InstallError::WriteFailed);

    auto dropTemp = [&](InstallError e) {
        std::error_code ignored;
        fs::remove_all(temp, ignored);
        return failure(e);
    };
    const UnpackResult unpacked = unpackArchive(packagePath, utf8(temp), limits);
    if (!unpacked.ok()) return dropTemp(fromUnpack(unpacked.error));
    if (!holdsModFile || !holdsModFile(utf8(temp))) return dropTemp(InstallError::NoModFile);

    // The new mod is complete: move the old one aside, put the new one in
    // its place, and only then remove the old one.
    const fs::path target = mods / u8(name);
    const bool replacing = fs::symlink_status(target, ec).type() != fs::file_type::not_found;
    fs::path old;
    if (replacing) {
        old = freshName(mods, kOldPrefix);
        fs::rename(target, old, ec);
        if (ec) return dropTemp(InstallError::WriteFailed);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        if (replacing) fs::rename(old, target, ignored);
        return dropTemp(InstallError::WriteFailed);
    }
    if (replacing) fs::remove_all(old, ec);

    InstallResult r;
    r.name = name;
    return r;
}

std::error_code deleteModEntry(const std::string& modsFolder, const std::string& modPath) {
    const auto refused = std::make_error_code(std::errc::invalid_argument);
    std::error_code ec;
    auto normal = [&](const std::string& s) {
        std::string t = s;
        while (t.size() > 1 && (t.back() == '/' || t.back() == '\\')) t.pop_back();
        return fs::absolute(u8(t), ec).lexically_normal();
    };
    const fs::path mods = normal(modsFolder);
    const fs::path path = normal(modPath);
    if (ec || modsFolder.empty() || modPath.empty()) return refused;
    const fs::path rel = path.lexically_relative(mods);
    if (rel.empty() || rel.is_absolute()) return refused;
    const fs::path first = *rel.begin();
    if (first.empty() || first == "." || first == "..") return refused;

    // remove_all removes a link itself and never what it leads to, also
    // for links inside the folder.
    fs::remove_all(mods / first, ec);
    return ec;
}
