#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/platform/FileSystem.h"
#include "core/platform/Platform.h"
#include "core/platform/Window.h"
#include "support/FullDisk.h"
#include "support/TempFolder.h"

TEST(DataFolder, ChoosesAppDataThenXdgThenHomeThenWorkingFolder) {
    struct Case { const char* appData; const char* xdg; const char* home; std::string want; };
    const Case cases[] = {
        {"/a", "/x", "/h", "/a/Mivoland2/"},
        {"/a/", nullptr, nullptr, "/a/Mivoland2/"},
        {"", "/x", "/h", "/x/Mivoland2/"},          // an empty APPDATA counts as unset
        {nullptr, "/x", "/h", "/x/Mivoland2/"},
        {nullptr, "", "/h", "/h/.local/share/Mivoland2/"},
        {nullptr, nullptr, "/h", "/h/.local/share/Mivoland2/"},
        {nullptr, nullptr, nullptr, "./"},
        {"", "", "", "./"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataFolderFor(c.appData, c.xdg, c.home), c.want)
            << (c.appData ? c.appData : "null") << " " << (c.xdg ? c.xdg : "null");
}

TEST(DataFolder, IsCreatedWithItsParents) {
    TempFolder tmp;
    const std::string root = tmp.path() + "deep/er";
    setenv("APPDATA", root.c_str(), 1);
    const std::string folder = dataFolder();
    unsetenv("APPDATA");
    EXPECT_EQ(folder, root + "/Mivoland2/");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(FileSystem, OperationsReportErrorsAsCodes) {
    TempFolder tmp;
    std::vector<std::string> names;
    EXPECT_TRUE(listDirectory(tmp.file("missing"), names));
    EXPECT_FALSE(createDirectories(tmp.file("a/b/c")));
    EXPECT_FALSE(createDirectories(tmp.file("a/b/c")));  // already there
    tmp.write("a/b/c/f.txt", "hello");
    tmp.write("plain", "x");
    EXPECT_TRUE(createDirectories(tmp.file("plain")));  // a file stands in the way
    EXPECT_TRUE(copyFile(tmp.file("nothing"), tmp.file("copy")));
    EXPECT_FALSE(copyFile(tmp.file("a/b/c/f.txt"), tmp.file("plain")));
    EXPECT_EQ(tmp.read("plain"), "hello");
    EXPECT_FALSE(renamePath(tmp.file("a"), tmp.file("z")));
    EXPECT_TRUE(pathExists(tmp.file("z/b/c/f.txt")));
    EXPECT_FALSE(pathExists(tmp.file("a")));
    EXPECT_TRUE(renamePath(tmp.file("a"), tmp.file("y")));
    EXPECT_FALSE(listDirectory(tmp.path(), names));
    EXPECT_EQ(names, (std::vector<std::string>{"plain", "z"}));
    EXPECT_FALSE(removeTree(tmp.file("z")));
    EXPECT_FALSE(pathExists(tmp.file("z")));
    EXPECT_FALSE(removeTree(tmp.file("z")));  // already gone
}

TEST(FileSystem, AtomicWriteReplacesWholeFilesAndLeavesNoTemporary) {
    TempFolder tmp;
    EXPECT_FALSE(writeFileAtomically(tmp.file("f.txt"), "first"));
    EXPECT_FALSE(writeFileAtomically(tmp.file("f.txt"), "second"));
    EXPECT_EQ(tmp.read("f.txt"), "second");
    std::vector<std::string> names;
    ASSERT_FALSE(listDirectory(tmp.path(), names));
    EXPECT_EQ(names, std::vector<std::string>{"f.txt"});

    // When the temporary cannot be written (a full disk) the old file is
    // untouched and the temporary is gone.
    {
        FullDisk full;
        EXPECT_TRUE(writeFileAtomically(tmp.file("f.txt"), "third"));
    }
    EXPECT_EQ(tmp.read("f.txt"), "second");
    ASSERT_FALSE(listDirectory(tmp.path(), names));
    EXPECT_EQ(names, std::vector<std::string>{"f.txt"});

    // A folder in the file's place is not replaced.
    ASSERT_FALSE(createDirectories(tmp.file("dir.txt")));
    EXPECT_TRUE(writeFileAtomically(tmp.file("dir.txt"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.file("dir.txt")));
    EXPECT_FALSE(pathExists(tmp.file("dir.txt.tmp")));
}

// Temporaries a crash left behind go once they are old; fresh ones (another
// copy of the game may be writing) and every other file stay.
TEST(FileSystem, StaleWriteTemporariesAreRemovedAndNothingElse) {
    TempFolder tmp;
    namespace fs = std::filesystem;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const std::vector<std::pair<std::string, bool>> files = {
        {"slot1.txt.4242-7-0badf00d.tmp", true},   // what writeFileAtomically leaves
        {"achievements.txt.1-0-ABCDEF01.tmp", true},
        {"slot1.txt", false},
        {"notes.tmp", false},
        {"slot2.txt.42-7.tmp", false},              // not the tag's shape
        {"slot2.txt.4x-7-0badf00d.tmp", false},
        {"slot2.txt.42-7-0badf00.tmp", false},
        {".1-2-0badf00d.tmp", false},
    };
    for (const auto& [name, stale] : files) {
        std::ofstream(tmp.file(name)) << "x";
        fs::last_write_time(tmp.file(name), old);
    }
    fs::create_directory(tmp.file("dir.txt.1-2-0badf00d.tmp"));
    fs::last_write_time(tmp.file("dir.txt.1-2-0badf00d.tmp"), old);
    std::ofstream(tmp.file("slot3.txt.9-9-12345678.tmp")) << "being written";  // fresh

    EXPECT_EQ(removeStaleWriteTemporaries(tmp.path(), std::chrono::minutes(10)), 2);
    for (const auto& [name, stale] : files) EXPECT_EQ(fs::exists(tmp.file(name)), !stale) << name;
    EXPECT_TRUE(fs::exists(tmp.file("dir.txt.1-2-0badf00d.tmp")));
    EXPECT_TRUE(fs::exists(tmp.file("slot3.txt.9-9-12345678.tmp")));
    EXPECT_EQ(removeStaleWriteTemporaries(tmp.file("missing"), std::chrono::minutes(10)), 0);
}

TEST(FileSystem, ReadFileRejectsFoldersAndStopsAtTheLimit) {
    TempFolder tmp;
    std::string text;
    EXPECT_TRUE(readFile(tmp.path(), text));
    EXPECT_TRUE(readFile(tmp.file("missing"), text));
    tmp.write("big", std::string(10000, 'x'));
    EXPECT_FALSE(readFile(tmp.file("big"), text, 100));
    EXPECT_EQ(text.size(), 100u);
    tmp.write("empty", "");
    EXPECT_FALSE(readFile(tmp.file("empty"), text));
    EXPECT_EQ(text, "");
}

TEST(DroppedFiles, AreTakenInOrderOnce) {
    takeDroppedFiles();
    pushDroppedFile("/a/one.mivomod");
    pushDroppedFile("/b/two.zip");
    pushDroppedFile("/c/Ünïcode.txt");
    EXPECT_EQ(takeDroppedFiles(), (std::vector<std::string>{"/a/one.mivomod", "/b/two.zip", "/c/Ünïcode.txt"}));
    EXPECT_TRUE(takeDroppedFiles().empty());
}

TEST(Letterbox, FitsTheSixteenByNineViewIntoAnyWindow) {
    struct Case { unsigned w, h; float left, top, width, height; };
    const Case cases[] = {
        {1920, 1080, 0, 0, 1, 1},
        {960, 540, 0, 0, 1, 1},
        {1920, 1200, 0, 0.05f, 1, 0.9f},
        {2560, 1080, 0.125f, 0, 0.75f, 1},
        {800, 0, 0, 0, 0, 1},  // height 0 counts as 1: a very wide window, checked below
    };
    for (const Case& c : cases) {
        const sf::FloatRect v = letterboxViewport(c.w, c.h);
        if (c.h == 0) {
            EXPECT_NEAR(v.width, (16.0f / 9.0f) / 800.0f, 1e-6f);
            EXPECT_NEAR(v.left, (1 - v.width) / 2, 1e-6f);
            EXPECT_FLOAT_EQ(v.height, 1.0f);
            continue;
        }
        EXPECT_NEAR(v.left, c.left, 1e-5f) << c.w << "x" << c.h;
        EXPECT_NEAR(v.top, c.top, 1e-5f) << c.w << "x" << c.h;
        EXPECT_NEAR(v.width, c.width, 1e-5f) << c.w << "x" << c.h;
        EXPECT_NEAR(v.height, c.height, 1e-5f) << c.w << "x" << c.h;
    }
}

TEST(WindowIcon, IsSixtyFourSquareWithTransparentCornersAndAnOpaqueMiddle) {
    const std::vector<std::uint8_t> px = windowIconPixels();
    ASSERT_EQ(px.size(), 64u * 64u * 4u);
    EXPECT_EQ(px[3], 0);                         // top-left corner
    EXPECT_EQ(px[(64 * 64 - 1) * 4 + 3], 0);     // bottom-right corner
    EXPECT_EQ(px[(32 * 64 + 32) * 4 + 3], 255);  // middle
}
