#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Unpacks mod packages (zip, or tar, plain or gzipped) in-process.
// Packages come from strangers: every entry must land inside the target
// folder, links and special files (and a Mac's "__MACOSX" folder) are
// skipped, and sizes, counts and time are capped so that a bomb stops early.

struct UnpackLimits {
    std::uint64_t maxPackageBytes = 64ull << 20;  // the package file itself
    std::uint64_t maxTotalBytes = 128ull << 20;   // all unpacked files together
    std::uint64_t maxEntryBytes = 64ull << 20;    // one unpacked file
    std::size_t maxEntries = 500;                 // entries of any kind, skipped ones too
    std::size_t maxPathBytes = 512;               // one entry's path inside the package
    std::size_t maxDepth = 16;                    // folders in one entry's path
    double maxSeconds = 20.0;                     // wall-clock time for the whole unpack
};

enum class UnpackError {
    None,
    CannotRead,    // missing, not a regular file, or unreadable
    TooLarge,      // the package file is over the cap
    Broken,        // not an archive we read, damaged or cut short
    UnsafePath,    // an entry would land outside the target folder
    TooBig,        // unpacked files over the size caps
    TooManyFiles,  // over the entry cap
    TooSlow,       // over the time cap
    WriteFailed,   // the target folder could not be written
};

struct UnpackResult {
    UnpackError error = UnpackError::None;
    std::size_t files = 0;         // regular files written
    std::size_t skipped = 0;       // links, devices, fifos, Mac metadata: not written
    std::uint64_t bytes = 0;       // bytes written
    bool ok() const { return error == UnpackError::None; }
};

// Unpacks a package file into an existing, empty folder. On failure the
// folder may hold part of the package; the caller removes it.
UnpackResult unpackArchive(const std::string& packagePath, const std::string& targetFolder,
                           const UnpackLimits& limits = {});

// The same for a package held in memory.
UnpackResult unpackArchiveMemory(const void* data, std::size_t size, const std::string& targetFolder,
                                 const UnpackLimits& limits = {});

// The path an entry's name stands for inside the target folder, as
// '/'-separated components ("a/b/c.txt"), or empty when the name is unsafe:
// absolute ("/x", "\\x", "C:x"), holding a ".." component or a ':' (a drive
// or a Windows stream), a NUL, or over the length or depth caps. Backslashes
// count as separators; "." and empty components are dropped. A name that
// comes down to nothing (".", "./") gives ".".
std::string safeEntryPath(const std::string& name, const UnpackLimits& limits = {});
