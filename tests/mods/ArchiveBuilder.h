#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Builds packages for the tests: any entries, in zip or tar, with
// libarchive's writer; and a zip bomb made by hand.

struct ArchiveEntry {
    enum Kind { File, Folder, Symlink, Hardlink, Fifo, Device };
    ArchiveEntry(std::string name_, std::string data_ = "", Kind kind_ = File, std::string link_ = "")
        : name(std::move(name_)), data(std::move(data_)), kind(kind_), link(std::move(link_)) {}
    std::string name;
    std::string data;  // a file's bytes
    Kind kind = File;
    std::string link;  // what a link points to
};

enum class ArchiveFormat { Zip, Tar, TarGz };

std::string buildArchive(const std::vector<ArchiveEntry>& entries, ArchiveFormat format = ArchiveFormat::Zip);

// A zip holding one file that inflates to `bytes` zero bytes while its
// headers claim 1 MiB: the deflate stream repeats one fully flushed block
// of 1 MiB of zeros, so building it costs no compression time.
std::string buildZipBomb(std::uint64_t bytes);

// A zip of `count` empty files named "e0", "e1", ..., written by hand:
// libarchive's writer takes seconds for so many entries.
std::string buildZipOfEmptyFiles(std::size_t count);
