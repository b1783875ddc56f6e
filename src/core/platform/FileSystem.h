#pragma once
#include <cstddef>
#include <chrono>
#include <string>
#include <system_error>
#include <vector>

// File system operations used by settings, saves, mods and courses. None of
// them throws: every failure comes back as an error code, and the caller
// falls back to its defaults.

// The names (not paths) of the entries of a folder, sorted.
std::error_code listDirectory(const std::string& dir, std::vector<std::string>& names);

// Creates a folder and any missing parents; an existing folder is not an error.
std::error_code createDirectories(const std::string& dir);

// Removes a file or a whole folder tree; a missing path is not an error.
std::error_code removeTree(const std::string& path);

// Copies one file, replacing the target if it exists.
std::error_code copyFile(const std::string& from, const std::string& to);

// Renames (moves) a file or folder; a file target is replaced.
std::error_code renamePath(const std::string& from, const std::string& to);

bool pathExists(const std::string& path);

// Writes a whole file so that readers only ever see the old or the new
// contents: the bytes go to a temporary file of this write's own next to it
// (path + "." + a unique tag + ".tmp", created exclusively and flushed to the
// disk), which is then renamed over path. Safe with several writers, also
// in other processes. On failure the temporary file is removed and the old
// file is untouched.
std::error_code writeFileAtomically(const std::string& path, const std::string& contents);

// Removes the temporary files of writeFileAtomically that a crash or a power
// cut left in folder (not its sub-folders), when they are at least minAge
// old: a younger one may belong to another copy of the game writing right
// now. Other files are never touched. Gives the number removed.
int removeStaleWriteTemporaries(const std::string& folder, std::chrono::seconds minAge);

// Reads a regular file, at most maxBytes of it; a missing file or a folder
// gives an error.
std::error_code readFile(const std::string& path, std::string& contents,
                         std::size_t maxBytes = std::size_t(-1));
