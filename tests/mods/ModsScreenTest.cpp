// The mods screen in the real game: pages, toggles, "Play", "Delete",
// the folder buttons, and files dropped or handed over by the inbox.
#include <unistd.h>

#include "mods/ArchiveBuilder.h"
#include "mods/FolderLook.h"
#include "mods/GetModsPage.h"
#include "mods/ModLoader.h"
#include "mods/ModsFixture.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::pair<std::string, std::string>> numberedMods(int count) {
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < count; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        files.push_back({"mods/m" + n + ".txt", "name: Mod " + n + "\n"});
    }
    return files;
}

}  // namespace

TEST(ModsScreen, PagesOfSixWrapAround) {
    struct Case { int mods; int pages; };
    for (const Case c : {Case{0, 1}, Case{1, 1}, Case{6, 1}, Case{7, 2}, Case{12, 2}, Case{13, 3}})
        EXPECT_EQ(modsPageCount(std::size_t(c.mods)), c.pages) << c.mods;
    EXPECT_EQ(modsPageText(0, modsPageCount(0)), "Page 1/1");

    ModsScreen s(numberedMods(13));
    ASSERT_EQ(s.g.mods.size(), 13u);
    EXPECT_EQ(modsPageText(s.g.modsPage, modsPageCount(s.g.mods.size())), "Page 1/3");
    s.d.saveFrame("mods_screen_page1.png");
    const int pages[] = {1, 2, 0};
    for (int want : pages) {
        s.d.click(bottomAt(kNextPage));
        EXPECT_EQ(s.g.modsPage, want);
    }
    s.d.click(bottomAt(kPreviousPage));
    EXPECT_EQ(s.g.modsPage, 2);
    // The last page holds the thirteenth mod alone.
    EXPECT_EQ(s.labelAt(toggleAt(0)), "OFF");
    EXPECT_EQ(s.labelAt(toggleAt(1)), "");
    s.d.saveFrame("mods_screen_page3.png");

    // Keys: Escape and Backspace leave.
    s.d.press(K::Escape);
    EXPECT_EQ(s.d.screen(), GameState::MainMenu);
    s.d.click({480.0f, 200.0f + 44.0f * 3 + 19.0f});
    EXPECT_EQ(s.g.modsPage, 0);
    s.d.press(K::Backspace);
    EXPECT_EQ(s.d.screen(), GameState::MainMenu);
}

TEST(ModsScreen, EmptyListShowsHowToGetMods) {
    ModsScreen s;
    EXPECT_TRUE(s.g.mods.empty());
    EXPECT_EQ(s.labelAt(toggleAt(0)), "");
    EXPECT_EQ(s.g.menu.buttons[std::size_t(s.g.menu.selected)].label, "Get Mods");
    s.d.saveFrame("mods_screen_empty.png");

    // "Get Mods" opens the page shipped with the game, "Folder" the mods folder.
    s.d.click(bottomAt(kGetMods));
    ASSERT_EQ(s.d.opened().size(), 1u);
    const std::string page = s.d.dataFolder() + kModsWebsite;
    EXPECT_EQ(s.d.opened()[0], "file://" + fs::absolute(page).lexically_normal().string());
    const std::string html = readFileText(page);
    EXPECT_NE(html.find("Writing a mod"), std::string::npos);
    EXPECT_NE(html.find(s.g.modsFolder()), std::string::npos);
    s.d.click(bottomAt(kFolder));
    ASSERT_EQ(s.d.opened().size(), 2u);
    EXPECT_EQ(s.d.opened()[1], s.g.modsFolder());
    s.d.click(bottomAt(kBack));
    EXPECT_EQ(s.d.screen(), GameState::MainMenu);
}

TEST(ModsScreen, TogglesApplyAndAreKeptAtOnce) {
    ModsScreen s({{"mods/a.txt", "name: Low\ngravity: 0.5\njump: 2\n"},
                  {"mods/b.txt", "name: High\njump: 2\nsize: 1.5\ncolor: 10 200 30\nnobadniks: 1\n"}});
    EXPECT_EQ(s.labelAt(toggleAt(0)), "OFF");
    s.d.click(toggleAt(0));
    EXPECT_TRUE(s.g.mods[0].enabled);
    EXPECT_EQ(s.labelAt(toggleAt(0)), "ON");
    EXPECT_TRUE(effectPlaying(s.g, SoundGem));
    EXPECT_EQ(readFileText(s.data / "mods_enabled.txt"), "Low\n");
    EXPECT_FLOAT_EQ(s.g.playerMods.gravity, 0.5f);
    EXPECT_FLOAT_EQ(s.g.playerMods.jump, 2.0f);

    s.d.click(toggleAt(1));
    EXPECT_EQ(readFileText(s.data / "mods_enabled.txt"), "Low\nHigh\n");
    EXPECT_FLOAT_EQ(s.g.playerMods.jump, 4.0f);
    EXPECT_FLOAT_EQ(s.g.playerMods.size, 1.5f);
    EXPECT_TRUE(s.g.noBaddies);
    EXPECT_EQ(s.g.playerLook.tintMode, PlayerLook::FixedTint);
    EXPECT_EQ(s.g.playerLook.tintColor, sf::Color(10, 200, 30));
    s.d.saveFrame("mods_screen_toggles.png");

    s.d.click(toggleAt(0));
    EXPECT_EQ(readFileText(s.data / "mods_enabled.txt"), "High\n");
    EXPECT_FLOAT_EQ(s.g.playerMods.gravity, 1.0f);
    EXPECT_FLOAT_EQ(s.g.playerMods.jump, 2.0f);

    // The keyboard reaches the toggles too.
    s.g.menu.selected = 0;
    s.d.press(K::Enter);
    EXPECT_TRUE(s.g.mods[0].enabled);
}

TEST(ModsScreen, DeleteAsksFirstAndReloadRescans) {
    ModsScreen s({{"mods/a.txt", "name: A\n"}, {"mods/b/mod.txt", "name: B\n"}, {"mods/c.txt", "name: C\n"}});
    s.d.click(deleteAt(0));
    EXPECT_EQ(s.g.modsArmed, 0);
    EXPECT_EQ(s.labelAt(deleteAt(0)), "Sure?");
    s.d.click(deleteAt(1));  // another row: that one is armed, nothing goes
    EXPECT_EQ(s.g.modsArmed, 1);
    EXPECT_EQ(s.labelAt(deleteAt(0)), "Delete");
    EXPECT_EQ(s.labelAt(deleteAt(1)), "Sure?");
    EXPECT_EQ(namesIn(s.mods), (std::vector<std::string>{"a.txt", "b", "c.txt"}));
    s.d.saveFrame("mods_screen_sure.png");

    s.d.click(deleteAt(1));
    EXPECT_EQ(namesIn(s.mods), (std::vector<std::string>{"a.txt", "c.txt"}));
    EXPECT_EQ(s.g.mods.size(), 2u);
    EXPECT_EQ(s.g.modsArmed, -1);
    EXPECT_TRUE(effectPlaying(s.g, SoundHurt));
    s.d.click(deleteAt(0));
    s.d.click(deleteAt(0));
    EXPECT_EQ(namesIn(s.mods), std::vector<std::string>{"c.txt"});

    // A mod copied in by hand shows after "Reload"; the armed row is forgotten.
    writeFile(s.mods / "d.txt", "name: D\n");
    s.d.click(deleteAt(0));
    s.d.click(bottomAt(kReload));
    EXPECT_EQ(s.d.toast(), "Mods reloaded");
    EXPECT_EQ(s.g.mods.size(), 2u);
    EXPECT_EQ(s.g.modsArmed, -1);
    EXPECT_EQ(namesIn(s.mods), (std::vector<std::string>{"c.txt", "d.txt"}));
}

TEST(ModsScreen, PlayRunsTheModsCourseWithTheSavesHero) {
    ModsScreen s({{"mods/a/mod.txt", "name: Course Mod\n"},
                  {"mods/a/course.txt", courseText("Mod Run", 2)},
                  {"mods/b/mod.txt", "name: Old Course\n"},
                  {"mods/b/course.txt", "mivoland course 1\nheights 1 2 3\n"},
                  {"mods/c.txt", "name: No Course\n"}});
    EXPECT_EQ(s.labelAt(playAt(0)), "Play");
    EXPECT_EQ(s.labelAt(playAt(1)), "Play");
    EXPECT_EQ(s.labelAt(playAt(2)), "");

    s.d.click(playAt(1));
    EXPECT_EQ(s.d.screen(), GameState::Mods);
    EXPECT_EQ(s.d.toast(), "That course was made for Mivoland 1");

    s.g.save.hero = 5;
    s.d.click(playAt(0));
    ASSERT_EQ(s.d.screen(), GameState::Playing);
    EXPECT_TRUE(s.g.session.playingCourse);
    EXPECT_EQ(s.g.player.hero, 5);
    EXPECT_EQ(s.g.level.zone, 2);
    EXPECT_EQ(s.g.maker.course.name, "Mod Run");
    EXPECT_FALSE(s.g.savingAllowed());
}

TEST(ModsScreen, DroppedFilesAreInstalledAndTurnedOn) {
    ModsScreen s(std::vector<std::pair<std::string, std::string>>{{"mods/old.txt", "name: Old\n"}});
    TempFolder in;
    in.write("picture.png", pictureBytes());
    in.write("one.zip", buildArchive({{"One/mod.txt", "name: First\n"}}));
    in.write("two (3).mivomod", buildArchive({{"mod.txt", "name: Second\nspeed: 2\n"}}));

    // A ".png" is not a mod: nothing changes.
    s.g.handleDroppedFiles({in.file("picture.png")});
    EXPECT_EQ(s.d.toast(), "That isn't a mod file (mods are .txt, .mivomod or .zip)");
    EXPECT_EQ(namesIn(s.mods), std::vector<std::string>{"old.txt"});
    EXPECT_FALSE(fs::exists(s.data / "mods_enabled.txt"));
    EXPECT_EQ(s.g.mods.size(), 1u);

    // Two packages at once: both on, both named in one toast.
    s.g.handleDroppedFiles({in.file("two (3).mivomod"), in.file("one.zip")});
    EXPECT_EQ(s.d.toast(), "Mod installed and turned on: First, Second");
    EXPECT_TRUE(effectPlaying(s.g, SoundStone));
    EXPECT_EQ(namesIn(s.mods), (std::vector<std::string>{"old.txt", "one", "two"}));
    ASSERT_EQ(s.g.mods.size(), 3u);
    EXPECT_FALSE(s.g.mods[0].enabled);
    EXPECT_TRUE(s.g.mods[1].enabled);
    EXPECT_TRUE(s.g.mods[2].enabled);
    EXPECT_EQ(readFileText(s.data / "mods_enabled.txt"), "First\nSecond\n");
    EXPECT_FLOAT_EQ(s.g.playerMods.speed, 2.0f);
    s.d.step();
    EXPECT_EQ(s.labelAt(toggleAt(1)), "ON");
    s.d.saveFrame("mods_screen_installed.png");

    // A good file among bad ones is installed; the bad ones say nothing.
    s.g.handleDroppedFiles({in.file("picture.png"), in.file("one.zip")});
    EXPECT_EQ(s.d.toast(), "Mod installed and turned on: First");
}

TEST(ModsScreen, HostilePackagesLeaveTheInstalledModAlone) {
    const std::string escape = "mivo-escape-" + std::to_string(getpid());
    const std::string notAMod = kNotAModFileText;
    const std::string good = buildArchive({{"mod.txt", "name: Evil\n"}, {"big.bin", std::string(100000, 'x')}});
    struct Case {
        std::string what;
        std::string bytes;
        std::string toast;
    };
    const Case cases[] = {
        {"dot-dot", buildArchive({{"mod.txt", "name: Evil\n"}, {"../x", "pwned"}}),
         "That package tries to put files outside its folder"},
        {"absolute", buildArchive({{"mod.txt", "name: Evil\n"}, {"/tmp/" + escape, "pwned"}}),
         "That package tries to put files outside its folder"},
        {"symlink to root",
         buildArchive({{"root", "", ArchiveEntry::Symlink, "/"}, {"root/" + escape, "pwned"}}, ArchiveFormat::Tar),
         notAMod},
        {"hard link", buildArchive({{"hard", "", ArchiveEntry::Hardlink, "/etc/passwd"}, {"hard", "pwned"}},
                                   ArchiveFormat::Tar),
         notAMod},
        {"bomb of 10 GB", buildZipBomb(10ull << 30), "That package is too big when unpacked"},
        {"100000 empty entries", buildZipOfEmptyFiles(100000), "That package holds too many files"},
        {"truncated", good.substr(0, good.size() / 2), "That package is damaged or cut short"},
    };
    ModsScreen s({{"mods/mymod/mod.txt", "name: Mine\n"}, {"mods_enabled.txt", "Mine\n"}});
    writeFile(s.data / "outside.txt", "untouched");
    const std::vector<std::string> dataNames = namesIn(s.data);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder in;
        in.write("mymod.zip", c.bytes);
        s.g.handleDroppedFiles({in.file("mymod.zip")});
        EXPECT_EQ(s.d.toast(), c.toast);
        EXPECT_EQ(namesIn(s.mods), std::vector<std::string>{"mymod"});
        EXPECT_EQ(namesIn(s.mods / "mymod"), std::vector<std::string>{"mod.txt"});
        EXPECT_EQ(readFileText(s.mods / "mymod" / "mod.txt"), "name: Mine\n");
        ASSERT_EQ(s.g.mods.size(), 1u);
        EXPECT_TRUE(s.g.mods[0].enabled);
        EXPECT_EQ(namesIn(s.data), dataNames);
        EXPECT_EQ(readFileText(s.data / "outside.txt"), "untouched");
        EXPECT_FALSE(fs::exists("/tmp/" + escape));
        EXPECT_FALSE(fs::exists("/" + escape));
    }
}

TEST(ModsScreen, TheDownloadInboxIsReadEveryHalfSecond) {
    ModsScreen s;
    TempFolder in;
    in.write("inbox.zip", buildArchive({{"mod.txt", "name: Downloaded\n"}}));
    s.d.step(40);  // the inbox was looked at a moment ago
    writeFile(s.data / "mods_installed.txt", in.file("inbox.zip") + "\r\n\r\n");
    s.d.step(31);
    EXPECT_EQ(s.d.toast(), "Mod installed and turned on: Downloaded");
    EXPECT_FALSE(fs::exists(s.data / "mods_installed.txt"));
    EXPECT_FALSE(fs::exists(s.data / "mods_installed.reading"));
    ASSERT_EQ(s.g.mods.size(), 1u);
    EXPECT_TRUE(s.g.mods[0].enabled);
    EXPECT_EQ(s.g.mods[0].entry, "inbox");
}
