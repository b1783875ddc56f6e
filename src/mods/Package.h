#pragma once
#include <functional>
#include <string>
#include <system_error>

#include "mods/Unpack.h"

// Mod packages: which files are packages, the folder a package installs
// into, installing one into the "mods" folder and deleting a mod from it.

// A package is a file whose name ends with ".mivomod" or ".zip", in any case.
// Takes a file name or a whole path.
bool isPackageName(const std::string& fileName);

// The folder a package installs into: the file's stem without a trailing
// parenthesised number (" (2)", as browsers name repeated downloads), then
// without a trailing ".mivomod":
//   "mymod (2).mivomod" -> "mymod", "pack.mivomod.zip" -> "pack".
// Empty when no usable name is left ("", ".", "..", or a name the
// installer keeps for its own temporary folders).
std::string packageFolderName(const std::string& fileName);

enum class InstallError {
    None,
    NotAPackage,  // not a ".mivomod" or ".zip" name, or no usable folder name
    CannotRead,
    TooLarge,      // the package file is over the cap
    Broken,
    UnsafePath,
    TooBig,        // unpacks over the size caps
    TooManyFiles,
    TooSlow,
    NoModFile,     // unpacked fine but holds no mod file
    WriteFailed,
};

struct InstallResult {
    InstallError error = InstallError::None;
    std::string name;     // the installed folder's name inside "mods"
    std::string message;  // why it failed, one short line for the toast; empty on success
    bool ok() const { return error == InstallError::None; }
};

// One short line a toast can show for each failure; empty for None.
std::string installMessage(InstallError error);

// Tells whether an unpacked folder holds a mod file.
using HoldsModFile = std::function<bool(const std::string& folder)>;

// Installs a package into modsFolder (created if missing): unpacks it into a
// fresh temporary folder inside modsFolder and, only when that folder holds
// a mod file, puts it in place of modsFolder/packageFolderName, replacing a
// mod of that name. On any failure the temporary folder is removed and an
// installed mod of that name is left exactly as it was.
InstallResult installPackage(const std::string& packagePath, const std::string& modsFolder,
                             const HoldsModFile& holdsModFile, const UnpackLimits& limits = {});

// The installer's temporary folders ("." names of its own). Scanning skips
// them; removeInstallLeftovers deletes any that a crash left behind.
bool isInstallLeftover(const std::string& name);
void removeInstallLeftovers(const std::string& modsFolder);

// Deletes the entry of modsFolder that holds modPath (a mod's file, its
// folder, or a folder inside an installed package's folder: the whole
// top-level entry goes), with all its contents. Links are removed, never
// followed. A path that is not inside modsFolder, or is modsFolder itself,
// is refused with std::errc::invalid_argument and nothing is touched.
std::error_code deleteModEntry(const std::string& modsFolder, const std::string& modPath);
