// Feeds arbitrary bytes to the mod package unpacker, unpacking into a
// folder of a private sandbox, then checks that nothing appeared beside the
// target (where an entry climbing out with ".." would land) and that the
// target holds only plain files and folders. The same bytes, read as one
// entry name, must map to a path inside the target.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <string>

#include "mods/Unpack.h"

namespace fs = std::filesystem;

namespace {

const fs::path& sandbox() {
    static const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "mivo-fuzz-package-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return fs::path(pattern);
    }();
    return dir;
}

void fail(const char* why) {
    std::fprintf(stderr, "package fuzzer: %s\n", why);
    std::abort();
}

void checkEntryName(const std::string& name) {
    const std::string rel = safeEntryPath(name);
    if (rel.empty()) return;
    if (rel[0] == '/' || rel.find('\\') != std::string::npos || rel.find(':') != std::string::npos)
        fail("entry path not relative");
    const fs::path target = "/t";
    const fs::path joined = (target / rel).lexically_normal();
    const fs::path back = joined.lexically_relative(target);
    if (back.empty() || *back.begin() == "..") fail("entry path leaves the target");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& root = sandbox();
    const fs::path target = root / "t";
    std::error_code ec;
    fs::create_directory(target, ec);

    UnpackLimits limits;
    limits.maxTotalBytes = 4 << 20;
    limits.maxEntryBytes = 2 << 20;
    limits.maxEntries = 200;
    limits.maxSeconds = 5.0;
    unpackArchiveMemory(data, size, target.string(), limits);

    for (const auto& e : fs::directory_iterator(root))
        if (e.path() != target) fail("something was written beside the target");
    for (const auto& e : fs::recursive_directory_iterator(target)) {
        const fs::file_type t = e.symlink_status().type();
        if (t != fs::file_type::regular && t != fs::file_type::directory) fail("a link or special file was made");
    }
    fs::remove_all(target, ec);

    checkEntryName(std::string(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 1024)));
    return 0;
}
