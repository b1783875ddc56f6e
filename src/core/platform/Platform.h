#pragma once
#include <string>
#include <vector>

// Where the game keeps its files and how it talks to the desktop. Each call
// has a Linux implementation and a Windows one.

// The per-user data folder for the given environment values (each may be
// null): APPDATA when set and non-empty, else the XDG data home, else
// HOME/.local/share, each joined with "Mivoland2"; "." when none is set.
// The result ends with the path separator. Nothing is created.
std::string dataFolderFor(const char* appData, const char* xdgDataHome, const char* home);

// The data folder of this process's environment, created (with its parents)
// if missing; a failed creation is ignored.
std::string dataFolder();

// Appends the path separator unless the path already ends with one.
std::string withTrailingSeparator(std::string path);

// The UI font files to try, in order.
std::vector<std::string> uiFontCandidates();

// Opens a folder or web address with the desktop's handler. The path is
// passed as one argument, never through a shell. Returns false when the
// handler could not be started.
bool openPath(const std::string& path);

// Files dropped onto the game window, as UTF-8 paths. The window's drop
// source appends; the game's background step takes the whole list.
void pushDroppedFile(std::string path);
std::vector<std::string> takeDroppedFiles();
