// Mod scripts inside the real game: a mod plays along with an act, the
// events fire where they happen, and nothing runs outside play.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

ModInfo scriptedMod(const std::string& name, const std::string& text, bool enabled = true) {
    ModInfo m;
    m.name = name;
    m.enabled = enabled;
    m.script = std::make_shared<mivo::Script>();
    mivo::parseScript(*m.script, text);
    m.scriptError = m.script->error;
    return m;
}

float local(const ModInfo& mod, const std::string& name) {
    const auto it = mod.script->locals.find(name);
    return it == mod.script->locals.end() ? 0.0f : it->second;
}

template <class Done>
bool stepUntil(GameDriver& d, int frames, Done done) {
    for (int i = 0; i < frames; ++i) {
        if (done()) return true;
        d.step();
    }
    return done();
}

struct ScriptedAct {
    GameDriver d;
    Mivoland2& g = d.game();

    ScriptedAct() {
        EXPECT_TRUE(d.start());
        d.step(3);
    }
    // A "No Save" story act of zone 0 with the hero, standing on the ground.
    void play(int hero = 0) {
        g.currentSlot = -1;
        g.save = SaveSlot{};
        g.save.hero = hero;
        g.startAct(0, 1);
        ASSERT_TRUE(stepUntil(d, 180, [&] { return g.player.grounded; }));
    }
    // Nothing of the act's own near the player to touch by chance.
    void clearObjects() {
        g.level.gems.clear();
        g.level.enemies.clear();
        g.level.monitors.clear();
        g.level.checkpoints.clear();
        g.level.springs.clear();
        g.level.hazards.clear();
        g.level.stonePortals.clear();
    }
};

}  // namespace

TEST(ScriptGame, AModPlaysAlongWithAnAct) {
    ScriptedAct a;
    Mivoland2& g = a.g;
    g.mods.push_back(scriptedMod("Counter",
                                 "on jump:\n"
                                 "  add gems 1\n"
                                 "on gem:\n"
                                 "  say \"Nice! {gems} gems, {score} points\"\n"
                                 "  spawn spring 120\n"
                                 "  color 255 80 80\n"));
    g.mods.push_back(scriptedMod("Broken", "on jump:\n  add gems 100\n  wiggle\n"));
    g.mods.push_back(scriptedMod("Off", "on jump:\n  add gems 1000\n", false));
    EXPECT_EQ(g.mods[1].scriptError, "line 3: there's no step called \"wiggle\"");

    a.play();
    a.clearObjects();
    EXPECT_EQ(g.player.gems, 0);

    // A jump: one gem from the script, none from the broken or the disabled mod.
    a.d.hold(K::Space);
    a.d.step();
    a.d.release(K::Space);
    ASSERT_TRUE(stepUntil(a.d, 10, [&] { return g.player.gems > 0; }));
    EXPECT_EQ(g.player.gems, 1);
    ASSERT_TRUE(stepUntil(a.d, 180, [&] { return g.player.grounded; }));

    // A gem to collect: the banner, a spring and a new colour.
    g.level.gems.push_back({g.player.x, g.player.y, false});
    a.d.step();
    EXPECT_EQ(g.player.gems, 2);
    // The gem's own points are counted before the script sees the score.
    ASSERT_GT(g.session.score, 0);
    EXPECT_EQ(g.session.speech, "Nice! 2 gems, " + std::to_string(g.session.score) + " points");
    EXPECT_NEAR(g.session.speechTime, 3.0f, 1e-4f);
    ASSERT_EQ(g.level.springs.size(), 1u);
    EXPECT_NEAR(g.level.springs[0].x, g.player.x + 120.0f, 20.0f);
    EXPECT_EQ(g.level.springs[0].power, 1200.0f);
    EXPECT_EQ(g.playerLook.tintMode, PlayerLook::FixedTint);
    a.d.step(20);
    a.d.saveFrame("script_banner.png");

    // The banner goes after 3 s; a newer line replaces an older one.
    a.d.step(170);
    EXPECT_EQ(g.session.speechTime, 0.0f);
    g.session.speech = "older";
    g.fireEvent("gem");
    EXPECT_NE(g.session.speech, "older");
    EXPECT_NEAR(g.session.speechTime, 3.0f, 1e-4f);
    g.fireEvent("gem");
    EXPECT_EQ(g.level.springs.size(), 3u);
}

// Each event fires once from where it happens in play.
TEST(ScriptGame, EventsFireWhereTheyHappen) {
    std::string text;
    for (const std::string& e : mivo::eventNames())
        if (e != "every") text += "on " + e + ":\n  add n_" + e + " 1\n";  // "jump" is the game's own

    const struct {
        const char* event;
        int hero;
        std::function<void(ScriptedAct&)> cause;
    } cases[] = {
        {"start", 0, [](ScriptedAct& a) { a.g.startAct(0, 1); }},
        {"jump", 0, [](ScriptedAct& a) { a.d.hold(K::Space); }},
        {"ability", 8, [](ScriptedAct& a) { a.d.hold(K::K); }},
        {"gem", 0, [](ScriptedAct& a) { a.g.level.gems.push_back({a.g.player.x, a.g.player.y, false}); }},
        {"hurt", 0,
         [](ScriptedAct& a) {
             Baddie b;
             b.x = b.homeX = a.g.player.x + 10;
             b.y = b.homeY = a.g.player.y;
             a.g.level.enemies.push_back(b);
         }},
        {"stomp", 0,
         [](ScriptedAct& a) {
             Player& p = a.g.player;
             Baddie b;
             b.x = b.homeX = p.x;
             b.y = b.homeY = p.y;
             a.g.level.enemies.push_back(b);
             p.y -= 30;
             p.grounded = false;
             p.vy = 300;
         }},
        {"checkpoint", 0, [](ScriptedAct& a) { a.g.level.checkpoints.push_back({a.g.player.x, a.g.player.y + 30}); }},
        {"finish", 0,
         [](ScriptedAct& a) {
             a.g.session.goalPresent = true;
             a.g.session.goalX = a.g.player.x;
             a.g.session.goalY = a.g.player.y - 40;
         }},
        {"transform", 0,
         [](ScriptedAct& a) {
             a.g.save.secretStones = 0x7F;
             a.g.player.gems = 60;
             a.g.player.grounded = false;
             a.g.player.y -= 80;
             a.d.hold(K::F);
         }},
        {"bosshit", 0,
         [](ScriptedAct& a) {
             a.g.player = makePlayer(0, {a.g.level.arenaX + 150.0f, a.g.level.arenaY - 18.0f});
             a.g.startBossFight();
         }},
    };
    ScriptedAct a;
    a.g.mods.push_back(scriptedMod("Counter", text));
    const ModInfo& mod = a.g.mods[0];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event);
        const std::string counter = std::string("n_") + c.event;
        a.play(c.hero);
        a.clearObjects();
        const float before = local(mod, counter);
        c.cause(a);
        const bool boss = std::string(c.event) == "bosshit";
        const bool fired = stepUntil(a.d, boss ? 60 * 40 : 30, [&] {
            if (boss) {
                // Safe by star power; the hero drops onto the boss whenever it is open.
                Mivoland2& g = a.g;
                g.player.invincibleTime = 10.0f;
                if (g.boss.vulnerable && g.boss.hitFlash <= 0.0f && !g.player.dead) {
                    g.player.x = g.boss.weakX;
                    g.player.y = g.boss.weakY - g.boss.weakRadius - 8.0f;
                    g.player.grounded = false;
                    g.player.vx = 0;
                    g.player.vy = 300;
                }
            }
            return local(mod, counter) > before;
        });
        EXPECT_TRUE(fired);
        a.d.release(K::Space);
        a.d.release(K::K);
        a.d.release(K::F);
        a.d.step(5);
        EXPECT_EQ(local(mod, counter), before + 1);
    }
}

TEST(ScriptGame, ScriptsRunOnlyWhilePlaying) {
    ScriptedAct a;
    Mivoland2& g = a.g;
    g.mods.push_back(scriptedMod("Counter", "on jump:\n  add jumps 1\nevery 0.1:\n  add ticks 1\n"));
    const ModInfo& mod = g.mods[0];

    // On the main menu.
    ASSERT_EQ(a.d.screen(), GameState::MainMenu);
    g.fireEvent("jump");
    g.runScriptTimers(1.0f);
    a.d.step(30);
    EXPECT_TRUE(mod.script->locals.empty());

    // In play the timers tick; paused they do not.
    a.play();
    EXPECT_GT(local(mod, "ticks"), 0.0f);
    g.fireEvent("jump");
    EXPECT_EQ(local(mod, "jumps"), 1.0f);
    a.d.press(K::P);
    ASSERT_TRUE(g.paused);
    const float ticks = local(mod, "ticks");
    a.d.step(60);
    EXPECT_EQ(local(mod, "ticks"), ticks);
}
