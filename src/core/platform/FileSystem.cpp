#include "core/platform/FileSystem.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

// Paths travel through the game as UTF-8 strings.
fs::path u8(const std::string& s) { return fs::path(std::u8string(s.begin(), s.end())); }

std::string utf8(const fs::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

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

std::error_code writeFileAtomically(const std::string& path, const std::string& contents) {
    const std::string tmp = path + ".tmp";
    std::error_code ec;
    if (fs::is_directory(u8(path), ec)) return std::make_error_code(std::errc::is_a_directory);
    {
        std::ofstream out(u8(tmp), std::ios::binary | std::ios::trunc);
        if (!out) return std::make_error_code(std::errc::io_error);
        out.write(contents.data(), std::streamsize(contents.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(u8(tmp), ec);
            return std::make_error_code(std::errc::io_error);
        }
    }
    if (std::error_code err = renamePath(tmp, path)) {
        fs::remove(u8(tmp), ec);
        return err;
    }
    return {};
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
