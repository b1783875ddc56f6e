#include "core/platform/UriList.h"

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// Percent-decodes s; false for a broken escape or an escaped NUL.
bool percentDecode(std::string_view s, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size()) return false;
        const int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return false;
        out += char(hi * 16 + lo);
        i += 2;
    }
    return true;
}

// The path of one file URI, or empty.
std::string pathOfUri(std::string_view uri, const std::string& localHost, std::size_t maxPathBytes) {
    if (uri.size() < 5 || !sameNoCase(uri.substr(0, 5), "file:")) return {};
    std::string_view rest = uri.substr(5);
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return {};
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && !sameNoCase(host, "localhost") && (localHost.empty() || !sameNoCase(host, localHost)))
            return {};
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest[0] != '/' || rest.size() > maxPathBytes * 3) return {};
    std::string path;
    if (!percentDecode(rest, path) || path.size() > maxPathBytes) return {};
    return path;
}

}  // namespace

std::vector<std::string> filePathsFromUriList(std::string_view list, const std::string& localHost,
                                              std::size_t maxPaths, std::size_t maxPathBytes) {
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start < list.size() && paths.size() < maxPaths) {
        std::size_t end = list.find('\n', start);
        if (end == std::string_view::npos) end = list.size();
        std::string_view line = list.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (line.empty() || line[0] == '#') continue;
        std::string path = pathOfUri(line, localHost, maxPathBytes);
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

std::string fileUriFromPath(const std::string& absolutePath) {
    static const char* hex = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char ch : absolutePath) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~' || c == '/') {
            uri += char(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri;
}

std::string uriListFromPaths(const std::vector<std::string>& absolutePaths) {
    std::string list;
    for (const std::string& p : absolutePaths) list += fileUriFromPath(p) + "\r\n";
    return list;
}
