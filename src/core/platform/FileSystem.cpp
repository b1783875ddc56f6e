#include "core/platform/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "core/platform/PathText.h"

namespace fs = std::filesystem;

namespace {

using pathtext::u8;
using pathtext::utf8;

}  // namespace

std::error_code listDirectory(const std::string& dir, std::vector<std::string>& names) {
    names.clear();
    std::error_code ec;
    fs::directory_iterator it(u8(dir), ec);
    if (ec) return ec;
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) return ec;
        names.push_back(utf8(it->path().filename()));
    }
    std::sort(names.begin(), names.end());
    return {};
}

std::error_code createDirectories(const std::string& dir) {
    std::error_code ec;
    fs::create_directories(u8(dir), ec);
    if (ec) return ec;
    if (!fs::is_directory(u8(dir), ec)) return std::make_error_code(std::errc::not_a_directory);
    return {};
}

std::error_code removeTree(const std::string& path) {
    std::error_code ec;
    fs::remove_all(u8(path), ec);
    return ec;
}

std::error_code copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(u8(from), u8(to), fs::copy_options::overwrite_existing, ec);
    return ec;
}

std::error_code renamePath(const std::string& from, const std::string& to) {
#ifdef _WIN32
    // std::rename on Windows refuses to replace an existing file.
    const std::wstring wfrom = u8(from).wstring(), wto = u8(to).wstring();
    if (MoveFileExW(wfrom.c_str(), wto.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return std::error_code(int(GetLastError()), std::system_category());
#else
    std::error_code ec;
    fs::rename(u8(from), u8(to), ec);
    return ec;
#endif
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(u8(path), ec);
}

namespace {

// A name part no other write uses: this process, a count of this process's
// writes and a random number (two machines may share a network folder).
std::string uniqueTag() {
    static std::atomic<unsigned long> count{0};
    static const unsigned long salt = [] {
        try {
            return (unsigned long)std::random_device{}();
        } catch (...) {
            return 0ul;
        }
    }();
#ifdef _WIN32
    const unsigned long pid = GetCurrentProcessId();
#else
    const unsigned long pid = (unsigned long)getpid();
#endif
    char tag[64];
    std::snprintf(tag, sizeof tag, "%lu-%lu-%08lx", pid, count.fetch_add(1), salt & 0xfffffffful);
    return tag;
}

std::error_code lastError() {
#ifdef _WIN32
    return std::error_code(int(GetLastError()), std::system_category());
#else
    return std::error_code(errno, std::generic_category());
#endif
}

// Writes the bytes into a file that did not exist before (created
// exclusively, so no other writer can be holding it) and flushes them to
// the disk. On failure the file is removed again.
std::error_code writeNewFile(const std::string& tmp, const std::string& contents) {
#ifdef _WIN32
    const std::wstring wtmp = u8(tmp).wstring();
    HANDLE h = CreateFileW(wtmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    std::error_code err;
    std::size_t done = 0;
    while (!err && done < contents.size()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(contents.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, contents.data() + done, chunk, &written, nullptr) || written == 0)
            err = lastError();
        done += written;
    }
    if (!err && !FlushFileBuffers(h)) err = lastError();
    if (!CloseHandle(h) && !err) err = lastError();
    if (err) DeleteFileW(wtmp.c_str());
    return err;
#else
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return lastError();
    std::error_code err;
    std::size_t done = 0;
    while (!err && done < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n > 0)
            done += std::size_t(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            err = n < 0 ? lastError() : std::make_error_code(std::errc::io_error);
    }
    // A crash or power cut right after the rename must not leave an empty file.
    if (!err && ::fsync(fd) != 0) err = lastError();
    if (::close(fd) != 0 && !err) err = lastError();
    if (err) ::unlink(tmp.c_str());
    return err;
#endif
}

}  // namespace

std::error_code writeFileAtomically(const std::string& path, const std::string& contents) {
    std::error_code ec;
    if (fs::is_directory(u8(path), ec)) return std::make_error_code(std::errc::is_a_directory);
    // Each write has a temporary file of its own: two copies of the game
    // saving the same file at once never write into one temporary, and the
    // rename hands readers either the old whole file or a new whole one.
    std::string tmp;
    std::error_code err = std::make_error_code(std::errc::file_exists);
    for (int attempt = 0; attempt < 16 && err == std::errc::file_exists; ++attempt) {
        tmp = path + "." + uniqueTag() + ".tmp";
        err = writeNewFile(tmp, contents);
    }
    if (err) return err;
    if (std::error_code moved = renamePath(tmp, path)) {
        fs::remove(u8(tmp), ec);
        return moved;
    }
    return {};
}

namespace {

// "<name>.<pid>-<count>-<8 hex digits>.tmp", as uniqueTag names them.
bool isWriteTemporaryName(const std::string& name) {
    const std::string end = ".tmp";
    if (name.size() < end.size() || name.compare(name.size() - end.size(), end.size(), end) != 0) return false;
    const std::string rest = name.substr(0, name.size() - end.size());
    const std::size_t dot = rest.rfind('.');
    if (dot == std::string::npos || dot == 0) return false;
    const std::string tag = rest.substr(dot + 1);
    const std::size_t a = tag.find('-');
    const std::size_t b = a == std::string::npos ? a : tag.find('-', a + 1);
    if (b == std::string::npos || a == 0 || b == a + 1 || tag.size() - b - 1 != 8) return false;
    const auto digits = [&](std::size_t from, std::size_t to) {
        return std::all_of(tag.begin() + long(from), tag.begin() + long(to), [](char c) { return c >= '0' && c <= '9'; });
    };
    return digits(0, a) && digits(a + 1, b) &&
           std::all_of(tag.begin() + long(b + 1), tag.end(), [](char c) { return std::isxdigit((unsigned char)c) != 0; });
}

}  // namespace

int removeStaleWriteTemporaries(const std::string& folder, std::chrono::seconds minAge) {
    int removed = 0;
    std::error_code ec;
    fs::directory_iterator it(u8(folder), ec), end;
    const auto now = fs::file_time_type::clock::now();
    for (int looked = 0; !ec && it != end && looked < 10000; it.increment(ec), ++looked) {
        std::error_code e;
        if (!it->is_regular_file(e) || it->is_symlink(e)) continue;
        if (!isWriteTemporaryName(utf8(it->path().filename()))) continue;
        const auto written = it->last_write_time(e);
        if (e || now - written < minAge) continue;
        if (fs::remove(it->path(), e)) ++removed;
    }
    return removed;
}

std::error_code readFile(const std::string& path, std::string& contents, std::size_t maxBytes) {
    contents.clear();
    std::error_code ec;
    if (!fs::is_regular_file(u8(path), ec))
        return ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory);
    std::ifstream in(u8(path), std::ios::binary);
    if (!in) return std::make_error_code(std::errc::io_error);
    char buffer[4096];
    while (contents.size() < maxBytes && in) {
        in.read(buffer, std::streamsize(std::min(sizeof buffer, maxBytes - contents.size())));
        contents.append(buffer, std::size_t(in.gcount()));
    }
    if (in.bad()) return std::make_error_code(std::errc::io_error);
    return {};
}
