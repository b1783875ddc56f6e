#include "core/platform/Platform.h"

#include <cstdlib>
#include <mutex>

#include "core/platform/FileSystem.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool nonEmpty(const char* s) { return s && *s; }

std::string joinPath(std::string base, const std::string& name) {
    return withTrailingSeparator(std::move(base)) + name;
}

}  // namespace

std::string withTrailingSeparator(std::string path) {
    if (path.empty()) return std::string(".") + kSeparator;
    if (path.back() != '/' && path.back() != '\\') path += kSeparator;
    return path;
}

std::string dataFolderFor(const char* appData, const char* xdgDataHome, const char* home) {
    std::string folder = ".";
    if (nonEmpty(appData))
        folder = joinPath(appData, "Mivoland2");
    else if (nonEmpty(xdgDataHome))
        folder = joinPath(xdgDataHome, "Mivoland2");
    else if (nonEmpty(home))
        folder = joinPath(joinPath(joinPath(home, ".local"), "share"), "Mivoland2");
    return withTrailingSeparator(folder);
}

std::string dataFolder() {
    std::string folder = dataFolderFor(std::getenv("APPDATA"), std::getenv("XDG_DATA_HOME"),
                                       std::getenv("HOME"));
    createDirectories(folder);
    return folder;
}

std::vector<std::string> uiFontCandidates() {
    return {
        "C:/Windows/Fonts/arialbd.ttf",
        "C:/Windows/Fonts/arial.ttf",
        "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    };
}

bool openPath(const std::string& path) {
    if (path.empty()) return false;
#ifdef _WIN32
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
#else
    // Fork twice so the opener is adopted by init and never left as a zombie.
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        pid_t grandchild = fork();
        if (grandchild == 0) {
            execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}

namespace {
std::mutex& droppedMutex() {
    static std::mutex m;
    return m;
}
std::vector<std::string>& droppedList() {
    static std::vector<std::string> list;
    return list;
}
}  // namespace

void pushDroppedFile(std::string path) {
    std::lock_guard<std::mutex> lock(droppedMutex());
    droppedList().push_back(std::move(path));
}

std::vector<std::string> takeDroppedFiles() {
    std::lock_guard<std::mutex> lock(droppedMutex());
    std::vector<std::string> out;
    out.swap(droppedList());
    return out;
}
