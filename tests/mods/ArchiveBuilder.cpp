#include "mods/ArchiveBuilder.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/sysmacros.h>
#include <zlib.h>

#include <stdexcept>

namespace {

la_ssize_t append(struct archive*, void* client, const void* buffer, size_t length) {
    static_cast<std::string*>(client)->append(static_cast<const char*>(buffer), length);
    return la_ssize_t(length);
}

void put16(std::string& s, unsigned v) {
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}

void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}

}  // namespace

std::string buildArchive(const std::vector<ArchiveEntry>& entries, ArchiveFormat format) {
    std::string out;
    struct archive* a = archive_write_new();
    if (format == ArchiveFormat::Zip) {
        archive_write_set_format_zip(a);
        archive_write_set_options(a, "zip:compression=store");  // fast; the bomb is deflated by hand
    } else {
        archive_write_set_format_pax_restricted(a);
        if (format == ArchiveFormat::TarGz) archive_write_add_filter_gzip(a);
    }
    archive_write_set_bytes_in_last_block(a, 1);
    if (archive_write_open(a, &out, nullptr, append, nullptr) != ARCHIVE_OK)
        throw std::runtime_error(archive_error_string(a));
    for (const ArchiveEntry& e : entries) {
        struct archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.name.c_str());
        archive_entry_set_perm(entry, 0644);
        switch (e.kind) {
            case ArchiveEntry::File:
                archive_entry_set_filetype(entry, AE_IFREG);
                archive_entry_set_size(entry, la_int64_t(e.data.size()));
                break;
            case ArchiveEntry::Folder: archive_entry_set_filetype(entry, AE_IFDIR); break;
            case ArchiveEntry::Symlink:
                archive_entry_set_filetype(entry, AE_IFLNK);
                archive_entry_set_symlink(entry, e.link.c_str());
                break;
            case ArchiveEntry::Hardlink:
                archive_entry_set_filetype(entry, AE_IFREG);
                archive_entry_set_hardlink(entry, e.link.c_str());
                archive_entry_set_size(entry, 0);
                break;
            case ArchiveEntry::Fifo: archive_entry_set_filetype(entry, AE_IFIFO); break;
            case ArchiveEntry::Device:
                archive_entry_set_filetype(entry, AE_IFCHR);
                archive_entry_set_rdev(entry, makedev(1, 3));
                break;
        }
        if (archive_write_header(a, entry) < ARCHIVE_WARN) throw std::runtime_error(archive_error_string(a));
        if (!e.data.empty()) archive_write_data(a, e.data.data(), e.data.size());
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
    return out;
}

std::string buildZipBomb(std::uint64_t bytes) {
    constexpr std::size_t kChunk = 1 << 20;
    const std::string zeros(kChunk, '\0');

    // One fully flushed run of non-final deflate blocks for 1 MiB of zeros;
    // a full flush leaves no back references, so copies of it chain.
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string chunk(deflateBound(&z, kChunk) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    z.avail_in = kChunk;
    z.next_out = reinterpret_cast<Bytef*>(chunk.data());
    z.avail_out = uInt(chunk.size());
    deflate(&z, Z_FULL_FLUSH);
    chunk.resize(chunk.size() - z.avail_out);
    deflateEnd(&z);

    const std::uint64_t chunks = (bytes + kChunk - 1) / kChunk;
    std::string data;
    data.reserve(chunk.size() * chunks + 2);
    for (std::uint64_t i = 0; i < chunks; ++i) data += chunk;
    data += '\x03';  // a final, empty block with fixed codes
    data += '\x00';

    const uLong oneCrc = crc32(0, reinterpret_cast<const Bytef*>(zeros.data()), kChunk);
    uLong crc = 0;
    for (std::uint64_t i = 0; i < chunks; ++i) crc = crc32_combine(crc, oneCrc, kChunk);

    const std::string name = "bomb.bin";
    const std::uint32_t claimed = kChunk;  // the lie
    std::string zip;
    put32(zip, 0x04034b50);
    put16(zip, 20);
    put16(zip, 0x0008);  // sizes in a descriptor after the data
    put16(zip, 8);
    put16(zip, 0);
    put16(zip, 0x21);
    put32(zip, 0);
    put32(zip, 0);
    put32(zip, 0);
    put16(zip, unsigned(name.size()));
    put16(zip, 0);
    zip += name;
    zip += data;
    put32(zip, 0x08074b50);
    put32(zip, std::uint32_t(crc));
    put32(zip, std::uint32_t(data.size()));
    put32(zip, claimed);

    const std::size_t central = zip.size();
    put32(zip, 0x02014b50);
    put16(zip, 20);
    put16(zip, 20);
    put16(zip, 0x0008);
    put16(zip, 8);
    put16(zip, 0);
    put16(zip, 0x21);
    put32(zip, std::uint32_t(crc));
    put32(zip, std::uint32_t(data.size()));
    put32(zip, claimed);
    put16(zip, unsigned(name.size()));
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, 0);
    put32(zip, 0);
    put32(zip, 0);
    zip += name;
    const std::size_t centralSize = zip.size() - central;

    put32(zip, 0x06054b50);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, 1);
    put16(zip, 1);
    put32(zip, std::uint32_t(centralSize));
    put32(zip, std::uint32_t(central));
    put16(zip, 0);
    return zip;
}

std::string buildZipOfEmptyFiles(std::size_t count) {
    std::string zip, central;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = "e" + std::to_string(i);
        const std::uint32_t offset = std::uint32_t(zip.size());
        put32(zip, 0x04034b50);
        put16(zip, 10);
        for (int k = 0; k < 5; ++k) put16(zip, 0);  // flags, method, time, date, and the crc's low half
        put16(zip, 0);                              // the crc's high half
        put32(zip, 0);
        put32(zip, 0);
        put16(zip, unsigned(name.size()));
        put16(zip, 0);
        zip += name;

        put32(central, 0x02014b50);
        put16(central, 10);
        put16(central, 10);
        for (int k = 0; k < 4; ++k) put16(central, 0);  // flags, method, time, date
        put32(central, 0);
        put32(central, 0);
        put32(central, 0);
        put16(central, unsigned(name.size()));
        for (int k = 0; k < 4; ++k) put16(central, 0);  // extra, comment, disk, internal attributes
        put32(central, 0);
        put32(central, offset);
        central += name;
    }
    const std::uint32_t centralOffset = std::uint32_t(zip.size());
    zip += central;
    put32(zip, 0x06054b50);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, unsigned(count > 0xffff ? 0xffff : count));
    put16(zip, unsigned(count > 0xffff ? 0xffff : count));
    put32(zip, std::uint32_t(central.size()));
    put32(zip, centralOffset);
    put16(zip, 0);
    return zip;
}
