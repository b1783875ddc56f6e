#include "mods/Unpack.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "core/platform/PathText.h"

namespace fs = std::filesystem;

namespace {

using pathtext::u8;

struct ArchiveCloser {
    void operator()(struct archive* a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<struct archive, ArchiveCloser>;

// Zip (stored or deflated) and tar, plain or gzipped. Zips are read from
// front to back, entry by entry, like a stream: the reader that starts
// from the zip's directory loads the whole directory before the first
// entry, which lets a package of tiny entries take memory and time beyond
// the caps before they can act.
ArchivePtr newReader() {
    ArchivePtr a(archive_read_new());
    if (!a) return a;
    archive_read_support_format_zip_streamable(a.get());
    archive_read_support_format_tar(a.get());
    archive_read_support_filter_gzip(a.get());
    return a;
}

// Finder's "__MACOSX" folder of resource forks means nothing to the game,
// and a second top-level folder would hide the mod in the first.
bool macMetadata(const std::string& rel) { return rel == "__MACOSX" || rel.rfind("__MACOSX/", 0) == 0; }

class Unpacker {
public:
    Unpacker(struct archive* a, const std::string& target, const UnpackLimits& limits)
        : a_(a), target_(u8(target)), limits_(limits), start_(std::chrono::steady_clock::now()) {}

    UnpackResult run() {
        result_.error = unpackAll();
        return result_;
    }

private:
    bool late() const {
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start_;
        return spent.count() > limits_.maxSeconds;
    }

    // A file system error at p: the package clashes with itself when p is
    // already there (a file where a folder should be, or the other way
    // round); otherwise the folder could not be written.
    static UnpackError placeError(const fs::path& p) {
        std::error_code ec;
        return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec ? UnpackError::Broken
                                                                                   : UnpackError::WriteFailed;
    }

    UnpackError unpackAll() {
        std::size_t entries = 0;
        for (;;) {
            if (late()) return UnpackError::TooSlow;
            struct archive_entry* entry = nullptr;
            const int r = archive_read_next_header(a_, &entry);
            if (r == ARCHIVE_EOF) return UnpackError::None;
            if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return UnpackError::Broken;
            if (++entries > limits_.maxEntries) return UnpackError::TooManyFiles;
            if (UnpackError e = unpackEntry(entry); e != UnpackError::None) return e;
        }
    }

    UnpackError unpackEntry(struct archive_entry* entry) {
        const char* name = archive_entry_pathname_utf8(entry);
        if (!name) name = archive_entry_pathname(entry);
        if (!name) return UnpackError::Broken;
        const std::string rel = safeEntryPath(name, limits_);
        if (rel.empty()) return UnpackError::UnsafePath;

        // Links and special files are never made: a link could lead a
        // later entry out of the folder. Skipped entries' data is passed
        // over by the next header read.
        const auto type = archive_entry_filetype(entry);
        if (archive_entry_hardlink(entry) || archive_entry_symlink(entry) ||
            (type != AE_IFREG && type != AE_IFDIR) || macMetadata(rel)) {
            ++result_.skipped;
            return UnpackError::None;
        }
        const fs::path path = rel == "." ? target_ : target_ / u8(rel);
        std::error_code ec;
        if (type == AE_IFDIR) {
            fs::create_directories(path, ec);
            return ec ? placeError(path) : UnpackError::None;
        }
        if (rel == ".") return UnpackError::Broken;  // a file named like the folder itself

        if (archive_entry_size_is_set(entry)) {
            const std::uint64_t declared = std::uint64_t(std::max<la_int64_t>(archive_entry_size(entry), 0));
            if (declared > limits_.maxEntryBytes || declared > limits_.maxTotalBytes - result_.bytes)
                return UnpackError::TooBig;
        }
        fs::create_directories(path.parent_path(), ec);
        if (ec) return placeError(path.parent_path());
        if (fs::is_directory(fs::symlink_status(path, ec))) return UnpackError::Broken;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out) return placeError(path);
        ++result_.files;

        std::vector<char> buffer(64 * 1024);
        std::uint64_t written = 0;
        for (;;) {
            if (late()) return UnpackError::TooSlow;
            const la_ssize_t n = archive_read_data(a_, buffer.data(), buffer.size());
            if (n == 0) break;
            if (n < 0) return UnpackError::Broken;
            const std::uint64_t count = std::uint64_t(n);
            if (count > limits_.maxEntryBytes - written || count > limits_.maxTotalBytes - result_.bytes)
                return UnpackError::TooBig;
            out.write(buffer.data(), std::streamsize(n));
            if (!out) return UnpackError::WriteFailed;
            written += count;
            result_.bytes += count;
        }
        out.close();
        return out ? UnpackError::None : UnpackError::WriteFailed;
    }

    struct archive* a_;
    fs::path target_;
    UnpackLimits limits_;
    std::chrono::steady_clock::time_point start_;
    UnpackResult result_;
};

UnpackResult failed(UnpackError e) {
    UnpackResult r;
    r.error = e;
    return r;
}

}  // namespace

std::string safeEntryPath(const std::string& name, const UnpackLimits& limits) {
    if (name.empty() || name.size() > limits.maxPathBytes) return {};
    if (name.find('\0') != std::string::npos || name.find(':') != std::string::npos) return {};
    if (name[0] == '/' || name[0] == '\\') return {};
    std::string out;
    std::size_t depth = 0;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") return {};
        if (++depth > limits.maxDepth) return {};
        if (!out.empty()) out += '/';
        out += part;
    }
    return out.empty() ? "." : out;
}

UnpackResult unpackArchive(const std::string& packagePath, const std::string& targetFolder,
                           const UnpackLimits& limits) {
    std::error_code ec;
    const fs::path package = u8(packagePath);
    if (!fs::is_regular_file(package, ec)) return failed(UnpackError::CannotRead);
    const std::uintmax_t size = fs::file_size(package, ec);
    if (ec) return failed(UnpackError::CannotRead);
    if (size > limits.maxPackageBytes) return failed(UnpackError::TooLarge);

    ArchivePtr a = newReader();
    if (!a) return failed(UnpackError::CannotRead);
#ifdef _WIN32
    const int r = archive_read_open_filename_w(a.get(), package.wstring().c_str(), 64 * 1024);
#else
    const int r = archive_read_open_filename(a.get(), package.c_str(), 64 * 1024);
#endif
    if (r != ARCHIVE_OK) return failed(fs::exists(package, ec) ? UnpackError::Broken : UnpackError::CannotRead);
    return Unpacker(a.get(), targetFolder, limits).run();
}

UnpackResult unpackArchiveMemory(const void* data, std::size_t size, const std::string& targetFolder,
                                 const UnpackLimits& limits) {
    if (size > limits.maxPackageBytes) return failed(UnpackError::TooLarge);
    ArchivePtr a = newReader();
    if (!a) return failed(UnpackError::CannotRead);
    if (archive_read_open_memory(a.get(), data, size) != ARCHIVE_OK) return failed(UnpackError::Broken);
    return Unpacker(a.get(), targetFolder, limits).run();
}
