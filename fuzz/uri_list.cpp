// Feeds arbitrary bytes to the reader of dropped-file lists ("text/uri-list"
// handed over by whatever program drags onto the window): every path it
// gives is absolute, NUL-free and within the caps, and writing the paths
// back as a list reads them again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/platform/UriList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view list(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> paths = filePathsFromUriList(list, "here", 16, 256);
    if (paths.size() > 16) std::abort();
    for (const std::string& p : paths)
        if (p.empty() || p[0] != '/' || p.size() > 256 || p.find('\0') != std::string::npos) std::abort();
    if (filePathsFromUriList(uriListFromPaths(paths), "here", 16, 256) != paths) std::abort();
    return 0;
}
