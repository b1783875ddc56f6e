// The mods folder: finding mod files, scanning, the enabled list, installing
// files, the download inbox and folding the enabled mods together.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "mods/ArchiveBuilder.h"
#include "mods/FolderLook.h"
#include "mods/ModLoader.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

void put(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string relative(const std::string& path, const fs::path& base) {
    return path.empty() ? "" : fs::path(path).lexically_relative(base).generic_string();
}

ModInfo modWith(float jump, float size, bool enabled = true) {
    ModInfo m;
    m.jump = jump;
    m.size = size;
    m.enabled = enabled;
    return m;
}

}  // namespace

TEST(ModFolder, FindModFileLooksOneFolderDeepOnly) {
    TempFolder tmp;
    const fs::path root = tmp.path();
    put(root / "plain/mod.txt", "rainbow: 1\n");  // "mod.txt" is the mod file whatever it says
    put(root / "plain/other.txt", "name: Other\n");
    put(root / "named/course.txt", "name: course\n");
    put(root / "named/a readme.txt", "just words\n");
    put(root / "named/z.txt", "name: Zed\n");
    put(root / "named/y.TXT", "name: Why\n");
    put(root / "onefolder/Pack/mod.txt", "name: Packed\n");
    put(root / "onefolder/notes.md", "hello\n");
    put(root / "twofolders/A/mod.txt", "name: A\n");
    put(root / "twofolders/B/mod.txt", "name: B\n");
    put(root / "deep/one/two/mod.txt", "name: Deep\n");
    put(root / "courseonly/course.txt", "name: course\n");
    fs::create_directories(root / "empty");

    struct Case { std::string folder; int depth; std::string found; };
    const Case cases[] = {
        {"plain", 0, "plain/mod.txt"},
        {"named", 0, "named/y.TXT"},  // sorted by name: "Y" before "z"
        {"onefolder", 0, "onefolder/Pack/mod.txt"},
        {"onefolder", 1, ""},
        {"twofolders", 0, ""},
        {"deep", 0, ""},
        {"courseonly", 0, ""},
        {"empty", 0, ""},
        {"missing", 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(relative(findModFile((root / c.folder).string(), c.depth), root), c.found) << c.folder;

    EXPECT_FALSE(folderHoldsMod((root / "plain").string()));  // its mod.txt is not a mod
    EXPECT_TRUE(folderHoldsMod((root / "onefolder").string()));
}

TEST(ModFolder, ScanFindsFilesAndFoldersInNameOrder) {
    TempFolder tmp;
    const fs::path data = tmp.path();
    const fs::path mods = data / "mods";
    put(mods / "b-single.txt", "gravity: 0.5\ncode:\non jump:\n  heal\n");
    put(mods / "a-notamod.txt", "rainbow: 1\n");
    put(mods / "picture.png", "png");
    put(mods / "c-folder/mod.txt", "name: Folder Mod\ndescription: Has it all\n");
    put(mods / "c-folder/player.png", "png");
    put(mods / "c-folder/music.ogg", "ogg");
    put(mods / "c-folder/course.txt", "mivo2-course 1\n");
    put(mods / "c-folder/script.mivo", "on gem:\n  wiggle\n");
    put(mods / "d-package/Inner/mod.txt", "size: 1.5\ncode:\non start:\n  say \"hi\"\n");
    put(mods / "d-package/Inner/script.mivo", "this is not used");
    put(mods / "e-nomod/readme.txt", "hello\n");
    put(mods / ".mivo-unpack-1-0/mod.txt", "name: Leftover\n");
    put(data / "mods_enabled.txt", "Folder Mod\r\nb-single\nnobody\nInner\n");

    const std::vector<ModInfo> found = scanMods(tmp.path());
    ASSERT_EQ(found.size(), 3u);

    const ModInfo& single = found[0];
    EXPECT_EQ(single.name, "b-single");
    EXPECT_EQ(single.entry, "b-single.txt");
    EXPECT_EQ(single.description, "From b-single.txt");
    EXPECT_FLOAT_EQ(single.gravity, 0.5f);
    ASSERT_TRUE(single.script);
    EXPECT_TRUE(single.scriptError.empty());
    EXPECT_TRUE(single.picturePath.empty());
    EXPECT_TRUE(single.enabled);

    const ModInfo& folder = found[1];
    EXPECT_EQ(folder.name, "Folder Mod");
    EXPECT_EQ(folder.entry, "c-folder");
    EXPECT_EQ(folder.description, "Has it all");
    EXPECT_EQ(folder.folder, mods / "c-folder");
    EXPECT_EQ(folder.picturePath, mods / "c-folder" / "player.png");
    EXPECT_EQ(folder.musicPath, mods / "c-folder" / "music.ogg");
    EXPECT_EQ(folder.coursePath, mods / "c-folder" / "course.txt");
    ASSERT_TRUE(folder.script);
    EXPECT_EQ(folder.scriptError, "line 2: there's no step called \"wiggle\"");
    EXPECT_TRUE(folder.enabled);

    const ModInfo& packed = found[2];
    EXPECT_EQ(packed.name, "d-package");  // no "name": the folder's
    EXPECT_EQ(packed.entry, "d-package");
    EXPECT_EQ(packed.description, "A mod pack");
    EXPECT_EQ(packed.folder, mods / "d-package" / "Inner");
    EXPECT_FLOAT_EQ(packed.size, 1.5f);
    ASSERT_TRUE(packed.script);
    EXPECT_TRUE(packed.scriptError.empty());  // the "code:" section, not script.mivo
    EXPECT_EQ(packed.script->blocks.size(), 1u);
    EXPECT_FALSE(packed.enabled);  // "Inner" is not its name

    // The enabled list round trip; without the file every mod is off.
    std::vector<ModInfo> changed = found;
    changed[2].enabled = true;
    changed[0].enabled = false;
    ASSERT_FALSE(saveEnabledMods(tmp.path(), changed));
    EXPECT_EQ(readAll(data / "mods_enabled.txt"), "Folder Mod\nd-package\n");
    const std::vector<ModInfo> again = scanMods(tmp.path());
    EXPECT_FALSE(again[0].enabled);
    EXPECT_TRUE(again[1].enabled);
    EXPECT_TRUE(again[2].enabled);
    fs::remove(data / "mods_enabled.txt");
    for (const ModInfo& m : scanMods(tmp.path())) EXPECT_FALSE(m.enabled) << m.name;
}

TEST(ModFolder, ScanCreatesTheFolderAndCapsLongScripts) {
    TempFolder tmp;
    EXPECT_TRUE(scanMods(tmp.path()).empty());
    EXPECT_TRUE(fs::is_directory(fs::path(tmp.path()) / "mods"));

    const fs::path mods = fs::path(tmp.path()) / "mods";
    std::string huge = "name: Huge\ncode:\non jump:\n";
    while (huge.size() <= kMaxModFileBytes) huge += "  heal\n";
    put(mods / "huge.txt", huge);
    put(mods / "big/mod.txt", "name: Big\n");
    put(mods / "big/script.mivo", "on jump:\n" + std::string(kMaxModScriptBytes, '#'));
    const std::vector<ModInfo> found = scanMods(tmp.path());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "Big");
    EXPECT_EQ(found[0].scriptError, scriptTooLongMessage());
    EXPECT_EQ(found[1].name, "Huge");
    EXPECT_EQ(found[1].scriptError, scriptTooLongMessage());
}

TEST(ModInstall, TextFilesAndPackages) {
    struct Case {
        std::string file;
        std::string bytes;
        std::string name;     // installed as, or empty
        std::string message;  // when not installed
    };
    const std::string notAMod = kNotAModFileText;
    const std::string modTxt = "name: New\n";
    const Case cases[] = {
        {"single.txt", "name: Single\n", "single.txt", ""},
        {"Shout.TXT", "gravity: 2\n", "Shout.TXT", ""},
        {"readme.txt", "just some words\n", "", notAMod},
        {"flag.txt", "rainbow: 1\n", "", notAMod},
        {"huge.txt", "name: Huge\n" + std::string(kMaxModFileBytes, '#'), "",
         "That mod file is too big (at most 256 KB)"},
        {"picture.png", "\x89PNG", "", notAMod},
        {".txt", "name: Hidden\n", "", notAMod},
        {"mymod (2).mivomod", buildArchive({{"mod.txt", modTxt}}), "mymod", ""},
        {"pack.mivomod.zip", buildArchive({{"pack/mod.txt", modTxt}, {"pack/player.png", "png"}}), "pack", ""},
        {"LOUD.ZIP", buildArchive({{"mod.txt", modTxt}}, ArchiveFormat::TarGz), "LOUD", ""},
        {"two.zip", buildArchive({{"a/mod.txt", modTxt}, {"b/mod.txt", modTxt}}), "", notAMod},
        {"flagonly.zip", buildArchive({{"mod.txt", "rainbow: 1\n"}}), "", notAMod},
        {"readme.zip", buildArchive({{"readme.md", "hi"}}), "", notAMod},
        {"broken.zip", "PK\x03\x04 not really", "", "That package is damaged or cut short"},
        {"escape.zip", buildArchive({{"mod.txt", modTxt}, {"../x", "pwned"}}), "",
         "That package tries to put files outside its folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempFolder tmp;
        const fs::path in = fs::path(tmp.path()) / "in" / c.file;
        put(in, c.bytes);
        const fs::path mods = fs::path(tmp.path()) / "mods";
        const ModInstall r = installModFile(in.string(), mods.string());
        EXPECT_EQ(r.name, c.name);
        EXPECT_EQ(r.ok(), !c.name.empty());
        EXPECT_EQ(r.message, c.name.empty() ? c.message : "");
        if (r.ok()) {
            EXPECT_EQ(namesIn(mods), std::vector<std::string>{c.name});
            EXPECT_EQ(scanMods(tmp.path()).size(), 1u);
        } else if (fs::exists(mods)) {
            EXPECT_TRUE(namesIn(mods).empty());
        }
        for (const std::string& n : namesIn(tmp.path())) EXPECT_TRUE(n == "in" || n == "mods") << n;
    }

    // A text mod dropped again replaces the installed one.
    TempFolder tmp;
    const fs::path mods = fs::path(tmp.path()) / "mods";
    put(mods / "same.txt", "name: Old\n");
    put(fs::path(tmp.path()) / "in" / "same.txt", "name: New\n");
    EXPECT_TRUE(installModFile(tmp.path() + "in/same.txt", mods.string()).ok());
    EXPECT_EQ(readAll(mods / "same.txt"), "name: New\n");
    EXPECT_EQ(installModFile(tmp.path() + "in/missing.zip", mods.string()).message, "Couldn't read that package");
    EXPECT_EQ(installModFile(tmp.path() + "in/missing.txt", mods.string()).message, kNotAModFileText);
}

TEST(ModInstall, TheInboxIsTakenOnce) {
    TempFolder tmp;
    EXPECT_TRUE(takeModsInbox(tmp.path()).empty());
    tmp.write("mods_installed.txt", "/home/me/a.zip\r\n\n   \n/home/me/b c.mivomod\n" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(takeModsInbox(tmp.path()), (std::vector<std::string>{"/home/me/a.zip", "/home/me/b c.mivomod"}));
    EXPECT_FALSE(fs::exists(tmp.file("mods_installed.txt")));
    EXPECT_FALSE(fs::exists(tmp.file("mods_installed.reading")));
    EXPECT_TRUE(takeModsInbox(tmp.path()).empty());

    std::string many;
    for (int i = 0; i < 100; ++i) many += "/p" + std::to_string(i) + ".zip\n";
    tmp.write("mods_installed.txt", many);
    EXPECT_EQ(takeModsInbox(tmp.path()).size(), kMaxInboxPaths);
}

TEST(ModEffects, EnabledModsMultiplyAndCombine) {
    EXPECT_FLOAT_EQ(combineMods({modWith(2, 1), modWith(2, 1)}).player.jump, 4.0f);
    EXPECT_FLOAT_EQ(combineMods({modWith(1, 1.5f), modWith(1, 1.5f)}).player.size, 1.8f);
    EXPECT_FLOAT_EQ(combineMods({modWith(1, 0.4f), modWith(1, 0.4f)}).player.size, 0.4f);
    EXPECT_FLOAT_EQ(combineMods({modWith(3, 1), modWith(3, 1), modWith(3, 1)}).player.jump, 27.0f);
    EXPECT_FLOAT_EQ(combineMods({modWith(2, 1), modWith(2, 1, false)}).player.jump, 2.0f);

    ModInfo red, blue, flags, off;
    red.hasColor = true;
    red.color = sf::Color(255, 0, 0);
    red.picturePath = "/red/player.png";
    red.musicPath = "/red/music.ogg";
    blue.hasColor = true;
    blue.color = sf::Color(0, 0, 255);
    blue.picturePath = "/blue/player.png";
    blue.musicPath = "/blue/music.ogg";
    flags.onehit = flags.nobadniks = flags.doublegems = flags.infiniteair = true;
    off.rainbow = true;
    for (ModInfo* m : {&red, &blue, &flags}) m->enabled = true;

    const ModEffects none = combineMods({});
    EXPECT_FALSE(none.hasTint || none.rainbow || none.noBaddies || none.player.oneHit || none.player.doubleGems);
    EXPECT_TRUE(none.pictures.empty());
    EXPECT_FALSE(none.music);

    const ModEffects fx = combineMods({red, off, blue, flags});
    EXPECT_TRUE(fx.hasTint);
    EXPECT_EQ(fx.tint, sf::Color(0, 0, 255));  // the later mod's colour
    EXPECT_FALSE(fx.rainbow);                  // its mod is off
    EXPECT_TRUE(fx.player.oneHit);
    EXPECT_TRUE(fx.noBaddies);
    EXPECT_TRUE(fx.player.doubleGems);
    EXPECT_EQ(fx.pictures, (std::vector<std::string>{"/red/player.png", "/blue/player.png"}));
    EXPECT_EQ(fx.music, std::optional<std::string>("/red/music.ogg"));
}

TEST(ModPicture, PngHeadersGiveTheirSize) {
    const std::string header = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) + std::string("\0\0\x01\x00\0\0\x00\x80", 8);
    unsigned w = 0, h = 0;
    ASSERT_TRUE(pngSize(header, w, h));
    EXPECT_EQ(w, 256u);
    EXPECT_EQ(h, 128u);
    EXPECT_FALSE(pngSize(header.substr(0, 23), w, h));
    EXPECT_FALSE(pngSize("GIF89a" + header, w, h));
}
