#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "mods/ArchiveBuilder.h"
#include "mods/FolderLook.h"
#include "mods/Package.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

TEST(PackageName, FolderNameDropsRepeatNumberAndInnerExtension) {
    struct Case { std::string file; bool package; std::string folder; };
    const Case cases[] = {
        {"mymod (2).mivomod", true, "mymod"},
        {"pack.mivomod.zip", true, "pack"},
        {"pack.mivomod (3).zip", true, "pack"},
        {"Cool.ZIP", true, "Cool"},
        {"x.MivoMod", true, "x"},
        {"my (cool) mod (2).zip", true, "my (cool) mod"},
        {"my (cool) mod.zip", true, "my (cool) mod"},
        {"(2).zip", true, "(2)"},
        {"/home/me/Downloads/Über Mod.zip", true, "Über Mod"},
        {"mod.txt", false, ""},
        {"archive.tar.gz", false, ""},
        {"zip", false, ""},
        {"picture.png", false, ""},
        {".zip", true, ""},           // nothing left to name the folder
        {" (2).zip", true, ""},
        {"..zip", true, ""},
        {"...mivomod", true, ""},
        {".mivo-unpack-1.zip", true, ""},  // the installer's own names
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isPackageName(c.file), c.package) << c.file;
        EXPECT_EQ(packageFolderName(c.file), c.folder) << c.file;
    }
}

TEST(PackageName, EntryPathsStayInsideTheFolder) {
    struct Case { std::string name; std::string path; };
    const Case cases[] = {
        {"mod.txt", "mod.txt"},
        {"./pack//mod.txt", "pack/mod.txt"},
        {"pack\\sub\\mod.txt", "pack/sub/mod.txt"},
        {"pack/", "pack"},
        {"./", "."},
        {"../x", ""},
        {"a/../../x", ""},
        {"a\\..\\..\\x", ""},
        {"/tmp/x", ""},
        {"\\x", ""},
        {"C:/x", ""},
        {"C:x", ""},
        {"mod.txt:stream", ""},
        {"", ""},
        {std::string(600, 'a'), ""},
        {"a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p/q", ""},  // 17 deep
    };
    for (const Case& c : cases) EXPECT_EQ(safeEntryPath(c.name), c.path) << c.name;
}

namespace {

// Every entry under dir is a plain file or folder.
bool onlyFilesAndFolders(const fs::path& dir) {
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const fs::file_type t = e.symlink_status().type();
        if (t != fs::file_type::regular && t != fs::file_type::directory) return false;
    }
    return true;
}

// A sandbox with "mods" holding an installed mod "mymod", and "in" for the
// package; "outside.txt" beside them is what hostile packages aim at.
struct Sandbox {
    TempFolder tmp;
    fs::path root{tmp.path()};
    fs::path mods{root / "mods"};
    fs::path installed{mods / "mymod"};
    fs::path victim{root / "outside.txt"};

    Sandbox() {
        fs::create_directories(installed);
        fs::create_directories(root / "in");
        std::ofstream(installed / "mod.txt") << "name: Old\n";
        std::ofstream(victim) << "untouched";
    }

    InstallResult install(const std::string& bytes, const std::string& file = "mymod.zip",
                          const UnpackLimits& limits = {}) {
        const fs::path package = root / "in" / file;
        std::ofstream(package, std::ios::binary) << bytes;
        return installPackage(package.string(), mods.string(), holdsModFile, limits);
    }

    static bool holdsModFile(const std::string& folder) { return fs::exists(fs::path(folder) / "mod.txt"); }
};

const ArchiveEntry kNewMod{"mod.txt", "name: New\n"};

}  // namespace

TEST(PackageInstall, ReplacesTheOldModOnlyWithOneThatHoldsAModFile) {
    {
        Sandbox box;
        const InstallResult r = box.install(buildArchive({kNewMod, {"player.png", "png"}}), "mymod (2).mivomod");
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(r.name, "mymod");
        EXPECT_EQ(r.message, "");
        EXPECT_EQ(readAll(box.installed / "mod.txt"), "name: New\n");
        EXPECT_EQ(readAll(box.installed / "player.png"), "png");
        EXPECT_EQ(namesIn(box.mods), std::vector<std::string>{"mymod"});
    }
    {
        Sandbox box;  // a tar.gz under a .zip name unpacks too; a fresh name makes a new folder
        const InstallResult r = box.install(buildArchive({kNewMod}, ArchiveFormat::TarGz), "other.zip");
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(namesIn(box.mods), (std::vector<std::string>{"mymod", "other"}));
        EXPECT_EQ(readAll(box.installed / "mod.txt"), "name: Old\n");
    }
    {
        Sandbox box;
        const InstallResult r = box.install(buildArchive({{"readme.md", "hello"}}));
        EXPECT_EQ(r.error, InstallError::NoModFile);
        EXPECT_EQ(r.message, "That package holds no mod file");
        EXPECT_EQ(readAll(box.installed / "mod.txt"), "name: Old\n");
        EXPECT_EQ(namesIn(box.mods), std::vector<std::string>{"mymod"});
    }
    {
        Sandbox box;
        const InstallResult r = box.install(buildArchive({kNewMod}), "mymod.png");
        EXPECT_EQ(r.error, InstallError::NotAPackage);
        EXPECT_EQ(r.message, "That isn't a mod file (mods are .txt, .mivomod or .zip)");
    }
}

TEST(PackageInstall, HostilePackagesWriteNothingOutsideAndKeepTheOldMod) {
    const std::string escape = "mivo-escape-" + std::to_string(getpid());
    const std::string good = buildArchive({kNewMod, {"big.bin", std::string(200000, 'x')}});
    const std::string goodTarGz = buildArchive({kNewMod, {"big.bin", std::string(200000, 'x')}}, ArchiveFormat::TarGz);

    struct Case {
        std::string what;
        std::string bytes;
        InstallError want;
        UnpackLimits limits = {};
    };
    UnpackLimits noTime;
    noTime.maxSeconds = -1.0;
    const Case cases[] = {
        {"dot-dot", buildArchive({kNewMod, {"../outside.txt", "pwned"}}), InstallError::UnsafePath},
        {"dot-dot deep", buildArchive({kNewMod, {"a/../../../outside.txt", "pwned"}}), InstallError::UnsafePath},
        {"backslashes", buildArchive({kNewMod, {"a\\..\\..\\outside.txt", "pwned"}}), InstallError::UnsafePath},
        {"absolute", buildArchive({kNewMod, {"/tmp/" + escape, "pwned"}}), InstallError::UnsafePath},
        {"absolute tar", buildArchive({kNewMod, {"/tmp/" + escape, "pwned"}}, ArchiveFormat::Tar),
         InstallError::UnsafePath},
        {"bomb 10 GB", buildZipBomb(10ull << 30), InstallError::TooBig},
        {"100000 empty entries", buildZipOfEmptyFiles(100000), InstallError::TooManyFiles},
        {"truncated zip", good.substr(0, good.size() / 2), InstallError::Broken},
        {"truncated tar.gz", goodTarGz.substr(0, goodTarGz.size() / 2), InstallError::Broken},
        {"not an archive", "name: New\nthis is text", InstallError::Broken},
        {"empty file", "", InstallError::Broken},
        {"out of time", good, InstallError::TooSlow, noTime},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox box;
        const InstallResult r = box.install(c.bytes, "mymod.zip", c.limits);
        EXPECT_EQ(r.error, c.want) << r.message;
        EXPECT_EQ(r.message, installMessage(c.want));
        EXPECT_EQ(readAll(box.installed / "mod.txt"), "name: Old\n");
        EXPECT_EQ(namesIn(box.mods), std::vector<std::string>{"mymod"});
        EXPECT_EQ(namesIn(box.root), (std::vector<std::string>{"in", "mods", "outside.txt"}));
        EXPECT_EQ(readAll(box.victim), "untouched");
        EXPECT_FALSE(fs::exists("/tmp/" + escape));
    }
}

TEST(PackageInstall, LinksAndSpecialFilesAreNeverMade) {
    const std::string escape = "mivo-escape-" + std::to_string(getpid());
    struct Case {
        std::string what;
        std::vector<ArchiveEntry> entries;
        ArchiveFormat format;
        InstallError want = InstallError::None;
    };
    const Case cases[] = {
        // Writing through a link to "/" would put the file at the top of the disk.
        {"symlink to root", {kNewMod, {"root", "", ArchiveEntry::Symlink, "/"}, {"root/" + escape, "pwned"}},
         ArchiveFormat::Tar},
        // Read front to back, a zip's link is a small file holding its target,
        // so a file beneath it cannot be placed.
        {"symlink in zip", {kNewMod, {"root", "", ArchiveEntry::Symlink, "/"}, {"root/" + escape, "pwned"}},
         ArchiveFormat::Zip, InstallError::Broken},
        {"symlink out", {kNewMod, {"up", "", ArchiveEntry::Symlink, "../../outside.txt"}, {"up", "pwned"}},
         ArchiveFormat::Tar},
        // A hard link to a file outside, then a file of the same name over it.
        {"hard link", {kNewMod, {"hard", "", ArchiveEntry::Hardlink, "VICTIM"}, {"hard", "pwned"}},
         ArchiveFormat::Tar},
        {"fifo and device", {kNewMod, {"pipe", "", ArchiveEntry::Fifo}, {"null", "", ArchiveEntry::Device}},
         ArchiveFormat::Tar},
        {"mac metadata", {kNewMod, {"__MACOSX/._mod.txt", "junk"}}, ArchiveFormat::Zip},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox box;
        for (ArchiveEntry& e : c.entries)
            if (e.link == "VICTIM") e.link = box.victim.string();
        const InstallResult r = box.install(buildArchive(c.entries, c.format));
        EXPECT_EQ(r.error, c.want) << r.message;
        EXPECT_EQ(readAll(box.installed / "mod.txt"), r.ok() ? "name: New\n" : "name: Old\n");
        EXPECT_TRUE(onlyFilesAndFolders(box.installed));
        EXPECT_FALSE(fs::exists(box.installed / "__MACOSX"));
        EXPECT_EQ(namesIn(box.root), (std::vector<std::string>{"in", "mods", "outside.txt"}));
        EXPECT_EQ(readAll(box.victim), "untouched");
        EXPECT_FALSE(fs::exists("/" + escape));
        fs::remove("/" + escape);
    }
}

TEST(PackageDelete, RemovesTheWholeEntryAndNeverFollowsLinksOut) {
    Sandbox box;
    const fs::path outsideDir = box.root / "keep";
    fs::create_directories(outsideDir);
    std::ofstream(outsideDir / "file.txt") << "keep";
    fs::create_directories(box.mods / "pack" / "inner");
    std::ofstream(box.mods / "pack" / "inner" / "mod.txt") << "name: P\n";
    std::ofstream(box.mods / "single.txt") << "name: S\n";
    fs::create_directory_symlink(outsideDir, box.mods / "linked");
    fs::create_directories(box.mods / "holder");
    fs::create_directory_symlink(outsideDir, box.mods / "holder" / "link");
    const std::string mods = box.mods.string() + "/";

    struct Case { std::string path; bool ok; std::vector<std::string> left; };
    const Case cases[] = {
        {mods + "../keep", false, {"holder", "linked", "mymod", "pack", "single.txt"}},
        {mods, false, {"holder", "linked", "mymod", "pack", "single.txt"}},
        {mods + ".", false, {"holder", "linked", "mymod", "pack", "single.txt"}},
        {"/etc", false, {"holder", "linked", "mymod", "pack", "single.txt"}},
        {"", false, {"holder", "linked", "mymod", "pack", "single.txt"}},
        {mods + "pack/inner", true, {"holder", "linked", "mymod", "single.txt"}},
        {mods + "single.txt", true, {"holder", "linked", "mymod"}},
        {mods + "linked", true, {"holder", "mymod"}},
        {mods + "linked/file.txt", false, {"holder", "mymod"}},  // gone already: nothing to do
        {mods + "holder", true, {"mymod"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::error_code ec = deleteModEntry(mods, c.path);
        if (c.ok) {
            EXPECT_FALSE(ec) << ec.message();
        }
        if (c.path.empty() || c.path == mods || c.path == "/etc" || c.path.find("..") != std::string::npos) {
            EXPECT_EQ(ec, std::errc::invalid_argument);
        }
        EXPECT_EQ(namesIn(box.mods), c.left);
        EXPECT_EQ(readAll(outsideDir / "file.txt"), "keep");
    }
}

TEST(PackageInstall, LeftoversOfACrashAreRecognisedAndRemoved) {
    Sandbox box;
    fs::create_directories(box.mods / ".mivo-unpack-1a-0" / "x");
    fs::create_directories(box.mods / ".mivo-old-2b-1");
    EXPECT_TRUE(isInstallLeftover(".mivo-unpack-1a-0"));
    EXPECT_FALSE(isInstallLeftover("mymod"));
    removeInstallLeftovers(box.mods.string());
    EXPECT_EQ(namesIn(box.mods), std::vector<std::string>{"mymod"});
}
