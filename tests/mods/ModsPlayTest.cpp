// The enabled mods in play: the modifiers reach the act, the picture is
// drawn instead of the hero, the act's song follows the mods, and a file
// dropped in the middle of an act is installed and applied there.
#include "mods/ArchiveBuilder.h"
#include "mods/ModsFixture.h"

namespace fs = std::filesystem;

namespace {

// A started game on the main menu with these files in its data folder.
struct Game {
    GameDriver d;
    Mivoland2& g = d.game();

    explicit Game(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& [name, text] : files) writeFile(fs::path(d.dataFolder()) / name, text);
        EXPECT_TRUE(d.start());
        d.step();
    }
    // A "No Save" act of zone 0 with the hero, standing.
    void play(int hero = 0) {
        g.currentSlot = -1;
        g.save = SaveSlot{};
        g.save.hero = hero;
        g.startAct(0, 1);
        for (int i = 0; i < 200 && !g.player.grounded; ++i) d.step();
    }
};

std::string pngHeader(unsigned w, unsigned h) {
    std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (unsigned v : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8) s += char((v >> shift) & 0xff);
    return s + std::string(64, '\0');
}

}  // namespace

TEST(ModsPlay, TheEnabledModsChangeTheAct) {
    Game t({{"mods/a/mod.txt", "name: A\ngravity: 0.5\nspeed: 1.5\njump: 2\nsize: 1.2\nnobadniks: 1\n"},
            {"mods/a/player.png", pictureBytes()},
            {"mods/b.txt", "name: B\njump: 2\nonehit: 1\ndoublegems: 1\nrainbow: 1\n"},
            {"mods/c.txt", "name: C\ngravity: 3\n"},
            {"mods_enabled.txt", "A\nB\n"}});
    Mivoland2& g = t.g;
    ASSERT_EQ(g.mods.size(), 3u);
    EXPECT_FLOAT_EQ(g.playerMods.jump, 4.0f);
    ASSERT_NE(g.playerLook.picture, nullptr);
    EXPECT_EQ(g.playerLook.picture->getSize(), sf::Vector2u(40, 56));
    EXPECT_EQ(g.playerLook.tintMode, PlayerLook::Rainbow);

    t.play(3);
    EXPECT_FLOAT_EQ(g.player.gravityScale, 0.5f);
    EXPECT_FLOAT_EQ(g.player.speedScale, 1.5f);
    EXPECT_FLOAT_EQ(g.player.jumpScale, 4.0f);
    EXPECT_FLOAT_EQ(g.player.sizeScale, 1.2f);
    EXPECT_TRUE(g.player.oneHit);
    EXPECT_TRUE(g.player.doubleGems);
    EXPECT_TRUE(g.level.enemies.empty());
    t.d.saveFrame("mods_play_picture_right.png");
    t.d.hold(K::Left);
    t.d.step(20);
    t.d.release(K::Left);
    EXPECT_EQ(g.player.facing, -1);
    t.d.saveFrame("mods_play_picture_left.png");

    // A gem counts twice.
    const int gems = g.player.gems;
    g.level.gems.push_back({g.player.x, g.player.y, false});
    t.d.step();
    EXPECT_EQ(g.player.gems, gems + 2);
}

TEST(ModsPlay, PicturesAreCheckedBeforeTheyAreUsed) {
    struct Case { std::string first; bool loads; };
    const Case cases[] = {
        {pngHeader(4000, 10), false},     // too wide: never decoded
        {pngHeader(0, 10), false},
        {"GIF89a not a png", false},
        {std::string(kMaxPictureFileBytes + 1, 'x'), false},
        {pictureBytes(24, 24), true},
    };
    for (const Case& c : cases) {
        Game t({{"mods/a/mod.txt", "name: A\n"},
                {"mods/a/player.png", c.first},
                {"mods/b/mod.txt", "name: B\n"},
                {"mods/b/player.png", pictureBytes(30, 60)},
                {"mods_enabled.txt", "A\nB\n"}});
        // The first picture that loads is the player's.
        ASSERT_NE(t.g.playerLook.picture, nullptr);
        EXPECT_EQ(t.g.playerLook.picture->getSize(), c.loads ? sf::Vector2u(24, 24) : sf::Vector2u(30, 60));
    }
}

TEST(ModsPlay, TheActsSongFollowsTheMods) {
    Game t({{"mods/tune/mod.txt", "name: Tune\n"},
            {"mods/tune/music.ogg", "not really an ogg file"},
            {"mods/plain.txt", "name: Plain\n"},
            {"mods_enabled.txt", "Tune\n"}});
    Mivoland2& g = t.g;
    EXPECT_EQ(g.audio.playingId(), "title");  // the menus keep their song
    t.play();
    EXPECT_EQ(g.audio.playingId(), "mod");

    // Turned off in the middle of the act: the zone's song takes over.
    g.mods[1].enabled = false;
    g.applyMods();
    EXPECT_EQ(g.audio.playingId(), "echo_meadows");
    // Turned on again: the act plays the mod's song.
    g.mods[1].enabled = true;
    g.applyMods();
    EXPECT_EQ(g.audio.playingId(), "mod");
    // Applied again while it plays: the new entry goes on playing, no silence.
    g.applyMods();
    EXPECT_EQ(g.audio.playingId(), "mod");

    // A boss's song plays on.
    g.playMusic("boss");
    g.mods[1].enabled = false;
    g.applyMods();
    EXPECT_EQ(g.audio.playingId(), "boss");
}

TEST(ModsPlay, AModDroppedDuringAnActAppliesAtOnce) {
    Game t({});
    t.play(1);
    EXPECT_FLOAT_EQ(t.g.player.gravityScale, 1.0f);
    TempFolder in;
    in.write("floaty.txt", "name: Floaty\ngravity: 0.4\nsize: 1.5\ncolor: 255 60 60\n");
    t.g.handleDroppedFiles({in.file("floaty.txt")});
    EXPECT_EQ(t.d.toast(), "Mod installed and turned on: Floaty");
    EXPECT_EQ(t.d.screen(), GameState::Playing);
    EXPECT_FLOAT_EQ(t.g.player.gravityScale, 0.4f);
    EXPECT_FLOAT_EQ(t.g.player.sizeScale, 1.5f);
    EXPECT_EQ(t.g.playerLook.tintMode, PlayerLook::FixedTint);
    t.d.step(2);
    t.d.saveFrame("mods_play_dropped_tint.png");
}
