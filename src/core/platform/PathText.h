#pragma once
// Paths travel through the game as UTF-8 strings; these turn them into
// std::filesystem paths and back, and answer the small questions about
// file names that installing and scanning ask.
#include <filesystem>
#include <string>

namespace pathtext {

inline std::filesystem::path u8(const std::string& s) {
    return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

inline std::string utf8(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

// A-Z lowered; other bytes (UTF-8 included) as they are.
inline std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// tail given in lower case.
inline bool endsWithNoCase(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && lowerAscii(s.substr(s.size() - tail.size())) == tail;
}

// The last component of a path given with either separator.
inline std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace pathtext
