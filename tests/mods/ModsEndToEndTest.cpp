// A mod package dropped onto the real game window from the desktop side of
// X11 drag-and-drop: installed, listed, its course played with its picture
// and script, and still on after the game starts again.
#include "core/platform/XdndSource.h"
#include "mods/ArchiveBuilder.h"
#include "mods/ModsFixture.h"

namespace fs = std::filesystem;

TEST(ModsEndToEnd, ADroppedPackagePlaysAndStaysOn) {
    TempFolder data;
    TempFolder in;
    in.write("Moon Pack (2).zip",
             buildArchive({{"Moon Pack/mod.txt",
                            "name: Moon Pack\ndescription: Low gravity on the moon\ngravity: 0.6\n"},
                           {"Moon Pack/script.mivo", "on start:\n  say \"Welcome to the Moon!\"\nevery 0.5:\n  add ticks 1\n"},
                           {"Moon Pack/player.png", pictureBytes()},
                           {"Moon Pack/course.txt", courseText("Moon Course", 4)}}));
    {
        GameDriver d(data.path());
        Mivoland2& g = d.game();
        ASSERT_TRUE(d.start());
        g.window.setVisible(true);
        d.step(2);

        XdndSource source;
        const auto state = dropFiles(source, g.window.getSystemHandle(), {in.file("Moon Pack (2).zip")},
                                     [&] { d.step(); });
        ASSERT_EQ(state, XdndSource::State::Done);
        d.step();
        EXPECT_EQ(d.toast(), "Mod installed and turned on: Moon Pack");
        EXPECT_TRUE(fs::is_regular_file(fs::path(data.path()) / "mods" / "Moon Pack" / "Moon Pack" / "mod.txt"));

        d.click({480.0f, 200.0f + 44.0f * 3 + 19.0f});  // "Mods"
        ASSERT_EQ(d.screen(), GameState::Mods);
        ASSERT_EQ(g.mods.size(), 1u);
        EXPECT_EQ(g.mods[0].name, "Moon Pack");
        EXPECT_TRUE(g.mods[0].enabled);
        EXPECT_EQ(modSecondLine(g.mods[0]), "Low gravity on the moon  [code]  [picture]");
        d.saveFrame("mods_e2e_screen.png");

        g.save.hero = 2;
        d.click(playAt(0));
        ASSERT_EQ(d.screen(), GameState::Playing);
        EXPECT_TRUE(g.session.playingCourse);
        EXPECT_EQ(g.maker.course.name, "Moon Course");
        EXPECT_EQ(g.player.hero, 2);
        EXPECT_FLOAT_EQ(g.player.gravityScale, 0.6f);
        ASSERT_NE(g.playerLook.picture, nullptr);
        d.step(40);
        EXPECT_EQ(g.session.speech, "Welcome to the Moon!");
        EXPECT_GT(g.mods[0].script->locals["ticks"], 0.0f);
        d.saveFrame("mods_e2e_act_standing.png");
        d.hold(K::Right);
        d.step(40);
        d.hold(K::Space);
        d.step(8);
        d.saveFrame("mods_e2e_act_jump.png");
        d.release(K::Space);
        d.release(K::Right);
        d.hold(K::Left);
        d.step(30);
        d.release(K::Left);
        EXPECT_EQ(g.player.facing, -1);
        d.saveFrame("mods_e2e_act_left.png");
    }
    {
        GameDriver d(data.path());
        ASSERT_TRUE(d.start());
        d.step();
        ASSERT_EQ(d.game().mods.size(), 1u);
        EXPECT_TRUE(d.game().mods[0].enabled);
        EXPECT_FLOAT_EQ(d.game().playerMods.gravity, 0.6f);
        EXPECT_NE(d.game().playerLook.picture, nullptr);
    }
}
