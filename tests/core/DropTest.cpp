#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/Platform.h"
#include "core/platform/UriList.h"
#include "core/platform/XdndSource.h"
#include "support/GameDriver.h"

TEST(UriList, FileUrisBecomeDecodedPaths) {
    struct Case { std::string list; std::vector<std::string> paths; };
    const Case cases[] = {
        {"file:///home/me/a.zip\r\n", {"/home/me/a.zip"}},
        {"file:///a%20b/M%C3%BCsli%20mod.mivomod\r\nfile:///c.txt", {"/a b/Müsli mod.mivomod", "/c.txt"}},
        {"# a comment\r\nfile:///x\n\nFILE:///y\r\n", {"/x", "/y"}},
        {"file://localhost/x\r\nfile://here/y\r\nfile://elsewhere/z\r\n", {"/x", "/y"}},
        {"file:/plain/form\r\n", {"/plain/form"}},
        {"http://example.invalid/mod.zip\r\nsmb://share/x\r\nfile:///ok\r\n", {"/ok"}},
        {"file:///bad%2\r\nfile:///bad%zz\r\nfile:///nul%00x\r\nfile:///fine%2F\r\n", {"/fine/"}},
        {"file://\r\nfile:relative\r\nfile://localhost\r\n", {}},
        {"  file:///spaced  \r\n", {"/spaced"}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(filePathsFromUriList(c.list, "here"), c.paths) << c.list;

    std::string many;
    for (int i = 0; i < 300; ++i) many += "file:///f" + std::to_string(i) + "\r\n";
    EXPECT_EQ(filePathsFromUriList(many).size(), 256u);
    EXPECT_TRUE(filePathsFromUriList("file:///" + std::string(5000, 'a')).empty());

    const std::vector<std::string> odd = {"/tmp/a b/Ünïcode mod (2).zip", "/x/%41#?&+;=\\'\"\t", "/"};
    EXPECT_EQ(filePathsFromUriList(uriListFromPaths(odd)), odd);
    EXPECT_EQ(fileUriFromPath("/a b/ü"), "file:///a%20b/%C3%BC");
}

namespace {

// Drops the paths onto the game window, one game frame between the steps.
XdndSource::State dropOnGame(GameDriver& d, const std::vector<std::string>& paths) {
    XdndSource source;
    return dropFiles(source, d.game().window.getSystemHandle(), paths, [&] { d.step(); });
}

}  // namespace

TEST(FileDrop, FilesDroppedOnTheGameWindowAreInstalledOnEveryScreen) {
    GameDriver d;
    ASSERT_TRUE(d.start());
    d.game().window.setVisible(true);
    d.step(2);
    takeDroppedFiles();

    TempFolder tmp;
    const std::string from = tmp.path() + "Mods to try/";
    std::filesystem::create_directories(from);
    const std::vector<std::string> one = {from + "Ünïcode mod (2).txt"};
    const std::vector<std::string> two = {from + "b.txt", from + "a space ä.txt"};
    tmp.write("Mods to try/Ünïcode mod (2).txt", "name: Ünï\n");
    tmp.write("Mods to try/b.txt", "name: Bee\n");
    tmp.write("Mods to try/a space ä.txt", "name: Ay\n");
    const std::string mods = d.dataFolder() + "mods/";

    EXPECT_EQ(dropOnGame(d, one), XdndSource::State::Done);
    d.step();
    EXPECT_EQ(d.toast(), "Mod installed and turned on: Ünï");
    EXPECT_TRUE(std::filesystem::exists(mods + "Ünïcode mod (2).txt"));

    // Any screen takes drops; both files of one drop are installed.
    d.game().openOptions();
    EXPECT_EQ(dropOnGame(d, two), XdndSource::State::Done);
    d.step();
    EXPECT_EQ(d.screen(), GameState::Options);
    EXPECT_EQ(d.toast(), "Mod installed and turned on: Ay, Bee");
    EXPECT_EQ(d.game().mods.size(), 3u);

    // The window made anew (full screen switched) takes drops too.
    std::filesystem::remove(mods + "Ünïcode mod (2).txt");
    d.game().createWindow();
    d.game().window.setVisible(true);
    d.step();
    d.game().showToast("");
    EXPECT_EQ(dropOnGame(d, one), XdndSource::State::Done);
    d.step();
    EXPECT_EQ(d.toast(), "Mod installed and turned on: Ünï");
    EXPECT_TRUE(std::filesystem::exists(mods + "Ünïcode mod (2).txt"));
}
