// What scripts reach of an act: the game's variables with their limits and
// the game's steps, on a flat course with a pit.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "audio/SoundEffects.h"
#include "core/platform/FileSystem.h"
#include "gameplay/ScriptBindings.h"

namespace {

constexpr float kGround = 500.0f;

struct ScriptWorld {
    Level level;
    Player player;
    std::int64_t score = 100;
    PlayerLook look;
    ScriptAct act{player, level, score, look, 12.5f, false};

    ScriptWorld() {
        // Ground up to x 3000, a pit to 3400, ground again.
        level.groundPaths = {{{-1000, kGround}, {3000, kGround}}, {{3400, kGround}, {6000, kGround}}};
        level.lowestGroundY = kGround;
        level.endX = 6000;
        level.zone = 2;
        level.act = 2;
        player = makePlayer(3, {1000, kGround - 18});
        player.grounded = true;
        player.groundSpeed = 300;
    }

    float get(const std::string& name) {
        float v = -1;
        EXPECT_TRUE(getScriptVariable(act, name, v)) << name;
        return v;
    }

    ScriptStepResult step(const std::string& keyword, std::vector<float> args = {}, const std::string& name = "",
                          const std::string& text = "") {
        mivo::Stmt s;
        s.keyword = keyword;
        s.name = name;
        return runScriptStep(act, s, args, text);
    }
};

}  // namespace

TEST(ScriptBindings, ReadsTheAct) {
    ScriptWorld w;
    w.player.gems = 12;
    w.player.hearts = 2;
    const struct {
        const char* name;
        float value;
    } cases[] = {
        {"gems", 12}, {"hearts", 2},    {"maxhearts", 3},  {"x", 1000},      {"y", kGround - 18},
        {"vx", 300},  {"vy", 0},        {"gravity", 1},    {"size", 1},      {"score", 100},
        {"time", 12.5f}, {"zone", 3},   {"act", 2},        {"round", 2},     {"onground", 1},
        {"mysterious", 0}, {"divine", 0}, {"character", 3}, {"air", 30},
    };
    for (const auto& c : cases) EXPECT_FLOAT_EQ(w.get(c.name), c.value) << c.name;
    float v = 0;
    EXPECT_FALSE(getScriptVariable(w.act, "n", v));

    w.player.grounded = false;
    w.player.vx = -50;
    w.player.vy = 70;
    w.player.transformed = true;
    EXPECT_FLOAT_EQ(w.get("vx"), -50);
    EXPECT_FLOAT_EQ(w.get("vy"), 70);
    EXPECT_FLOAT_EQ(w.get("onground"), 0);
    EXPECT_FLOAT_EQ(w.get("mysterious"), 1);
    w.player.divine = true;
    EXPECT_FLOAT_EQ(w.get("mysterious"), 0);
    EXPECT_FLOAT_EQ(w.get("divine"), 1);
}

TEST(ScriptBindings, SettingKeepsToTheLimits) {
    const struct {
        const char* name;
        float value;
        const char* readBack;
        float expected;
    } cases[] = {
        {"hearts", 99, "hearts", 3},     {"hearts", 2.9f, "hearts", 2},   {"hearts", -4, "hearts", 0},
        {"maxhearts", 0, "maxhearts", 1}, {"maxhearts", 0, "hearts", 1},  {"maxhearts", 50, "maxhearts", 10},
        {"gravity", 10, "gravity", 4},   {"gravity", 0, "gravity", 0.1f}, {"size", 0.1f, "size", 0.4f},
        {"size", 9, "size", 1.8f},       {"speed", 0, "speed", 0.2f},     {"jump", 7, "jump", 4},
        {"gems", -5, "gems", 0},         {"gems", 7.9f, "gems", 7},       {"gems", 1e30f, "gems", 1e9f},
        {"score", -1, "score", 0},       {"score", 250.5f, "score", 250}, {"x", 1e30f, "x", kScriptMaxCoord},
        {"vx", 1e30f, "vx", kScriptMaxSpeed}, {"vy", -1e30f, "vy", -kScriptMaxSpeed},
        {"hearts", std::nanf(""), "hearts", 3}, {"x", std::nanf(""), "x", 1000},
    };
    for (const auto& c : cases) {
        ScriptWorld w;
        EXPECT_TRUE(setScriptVariable(w.act, c.name, c.value)) << c.name;
        EXPECT_FLOAT_EQ(w.get(c.readBack), c.expected) << c.name << " " << c.value;
    }
    ScriptWorld w;
    for (const char* readOnly : {"time", "zone", "act", "round", "onground", "mysterious", "divine", "character",
                                 "air", "n"})
        EXPECT_FALSE(setScriptVariable(w.act, readOnly, 5)) << readOnly;
}

TEST(ScriptBindings, SettingMovesThePlayer) {
    {
        ScriptWorld w;  // hearts 0 kills
        setScriptVariable(w.act, "hearts", 0);
        EXPECT_TRUE(w.player.dead);
    }
    {
        ScriptWorld w;  // y puts the player in the air, keeping its run
        setScriptVariable(w.act, "y", 100);
        EXPECT_FALSE(w.player.grounded);
        EXPECT_FLOAT_EQ(w.player.y, 100);
        EXPECT_FLOAT_EQ(w.player.vx, 300);
    }
    {
        ScriptWorld w;  // vx on the ground is the ground speed
        setScriptVariable(w.act, "vx", -200);
        EXPECT_TRUE(w.player.grounded);
        EXPECT_FLOAT_EQ(w.player.groundSpeed, -200);
    }
    {
        ScriptWorld w;  // vy on the ground: into the air with the ground speed
        setScriptVariable(w.act, "vy", -600);
        EXPECT_FALSE(w.player.grounded);
        EXPECT_FLOAT_EQ(w.player.vx, 300);
        EXPECT_FLOAT_EQ(w.player.vy, -600);
        setScriptVariable(w.act, "vx", 50);
        EXPECT_FLOAT_EQ(w.player.vx, 50);
    }
}

TEST(ScriptBindings, HealHurtAndDie) {
    const struct {
        const char* step;
        std::vector<float> args;
        int heartsBefore;
        bool transformed;
        int heartsAfter;
        bool dead;
        int sound;
    } cases[] = {
        {"heal", {}, 1, false, 2, false, -1},
        {"heal", {0.5f}, 1, false, 2, false, -1},
        {"heal", {-4}, 1, false, 2, false, -1},
        {"heal", {2.9f}, 0 + 1, false, 3, false, -1},
        {"heal", {50}, 1, false, 3, false, -1},
        {"hurt", {}, 3, false, 2, false, SoundHurt},
        {"hurt", {0}, 3, false, 2, false, SoundHurt},
        {"hurt", {2.9f}, 3, false, 1, false, SoundHurt},
        {"hurt", {5}, 3, false, 0, true, SoundHurt},
        {"hurt", {5}, 3, true, 3, false, -1},  // the form shrugs it off
        {"die", {}, 3, true, 0, true, -1},
    };
    for (const auto& c : cases) {
        ScriptWorld w;
        w.player.hearts = c.heartsBefore;
        w.player.transformed = c.transformed;
        const ScriptStepResult r = w.step(c.step, c.args);
        EXPECT_TRUE(r.known);
        EXPECT_EQ(w.player.hearts, c.heartsAfter) << c.step;
        EXPECT_EQ(w.player.dead, c.dead) << c.step;
        EXPECT_EQ(r.sound, c.sound) << c.step;
        if (std::string(c.step) == "hurt" && c.sound >= 0) {
            EXPECT_FLOAT_EQ(w.player.hurtTime, 1.5f);
            EXPECT_TRUE(w.player.grounded);  // no knock-back
        }
        if (std::string(c.step) == "die") {
            EXPECT_TRUE(r.formEnded);
            EXPECT_FALSE(w.player.transformed);
        }
    }
    ScriptWorld dead;
    dead.player.hearts = 0;
    dead.player.dead = true;
    dead.step("heal", {2});
    dead.step("hurt", {1});
    EXPECT_EQ(dead.player.hearts, 0);
}

TEST(ScriptBindings, Boost) {
    ScriptWorld w;
    w.step("boost", {100, 0});
    EXPECT_TRUE(w.player.grounded);
    EXPECT_FLOAT_EQ(w.player.groundSpeed, 400);
    w.step("boost", {50, -700});
    EXPECT_FALSE(w.player.grounded);
    EXPECT_FLOAT_EQ(w.player.vx, 450);
    EXPECT_FLOAT_EQ(w.player.vy, -700);
    w.step("boost", {0, 0});
    w.step("boost", {1e30f, std::nanf("")});
    EXPECT_FLOAT_EQ(w.player.vx, kScriptMaxSpeed);
    EXPECT_FLOAT_EQ(w.player.vy, -700);
}

TEST(ScriptBindings, Spawn) {
    using Count = std::function<std::size_t(const Level&)>;
    const Count gems = [](const Level& l) { return l.gems.size(); };
    const Count springs = [](const Level& l) { return l.springs.size(); };
    const Count enemies = [](const Level& l) { return l.enemies.size(); };
    const struct {
        const char* kind;
        std::vector<float> args;
        Count count;
        bool made;
        float x, y;  // where it stands
    } cases[] = {
        {"gem", {}, gems, true, 1200, kGround - 58},
        {"gem", {-30}, gems, true, 970, kGround - 58},
        {"gem", {10, 20}, gems, true, 1010, kGround + 2},
        {"spring", {}, springs, true, 1200, kGround},
        {"spring", {2200}, springs, false, 0, 0},  // over the pit
        {"crawler", {50, -300}, enemies, true, 1050, kGround - 16},
        {"hopper", {}, enemies, true, 1200, kGround - 16},
        {"spiker", {-100}, enemies, true, 900, kGround - 16},
        {"buzzer", {0, -150}, enemies, true, 1000, kGround - 168},
        {"crawler", {2200}, enemies, true, 3200, kGround - 58},  // no ground: at the point
        {"gem", {std::nanf("")}, gems, false, 0, 0},
        {"gem", {1e30f}, gems, false, 0, 0},
    };
    for (const auto& c : cases) {
        ScriptWorld w;
        const ScriptStepResult r = w.step("spawn", c.args, c.kind);
        EXPECT_TRUE(r.known);
        ASSERT_EQ(c.count(w.level), c.made ? 1u : 0u) << c.kind << " " << r.summary;
        if (!c.made) continue;
        sf::Vector2f at;
        if (!w.level.gems.empty()) at = {w.level.gems[0].x, w.level.gems[0].y};
        if (!w.level.springs.empty()) {
            at = {w.level.springs[0].x, w.level.springs[0].y};
            EXPECT_FLOAT_EQ(w.level.springs[0].power, 1200);
            EXPECT_EQ(w.level.springs[0].sideways, 0);
            EXPECT_FLOAT_EQ(w.level.springs[0].lifetime, -1);
        }
        if (!w.level.enemies.empty()) {
            const Baddie& b = w.level.enemies[0];
            at = {b.x, b.y};
            EXPECT_EQ(b.homeX, b.x);
            EXPECT_EQ(b.homeY, b.y);
            EXPECT_TRUE(b.alive);
        }
        EXPECT_FLOAT_EQ(at.x, c.x) << c.kind;
        EXPECT_FLOAT_EQ(at.y, c.y) << c.kind;
    }

    // "nobadniks" keeps enemies out; gems still come. The lists are capped.
    ScriptWorld w;
    w.act.noBaddies = true;
    w.step("spawn", {}, "crawler");
    EXPECT_TRUE(w.level.enemies.empty());
    w.act.noBaddies = false;
    for (std::size_t i = 0; i < kScriptMaxEnemies + 5; ++i) w.step("spawn", {}, "buzzer");
    EXPECT_EQ(w.level.enemies.size(), kScriptMaxEnemies);
}

TEST(ScriptBindings, ColorSoundAndSay) {
    ScriptWorld w;
    w.step("color", {}, "rainbow");
    EXPECT_EQ(w.look.tintMode, PlayerLook::Rainbow);
    w.step("color", {300, -5, 7.9f});
    EXPECT_EQ(w.look.tintMode, PlayerLook::FixedTint);
    EXPECT_EQ(w.look.tintColor, sf::Color(255, 0, 7, 255));
    w.step("color", {10});
    EXPECT_EQ(w.look.tintColor, sf::Color(10, 255, 255, 255));
    w.step("color", {}, "normal");
    EXPECT_EQ(w.look.tintMode, PlayerLook::NoTint);

    EXPECT_EQ(w.step("sound", {}, "gem").sound, 1);
    EXPECT_EQ(w.step("sound", {}, "bosshit").sound, 5);
    EXPECT_EQ(w.step("sound", {}, "trumpet").sound, 11);

    const ScriptStepResult say = w.step("say", {}, "", std::string(70, 'a'));
    EXPECT_TRUE(say.say);
    EXPECT_EQ(say.sayText, std::string(60, 'a'));
    EXPECT_FALSE(w.step("fly").known);
}

// Sixty characters, not sixty bytes; broken UTF-8 counts byte by byte.
TEST(ScriptBindings, SayIsCutToSixtyCharacters) {
    auto times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    };
    const struct {
        std::string text;
        std::size_t bytes;
    } cases[] = {
        {"short", 5},
        {times("a", 70), 60},
        {times("\u00e9", 65), 120},
        {times("\U0001F600", 70), 240},
        {times("\x99", 200), 60},          // continuation bytes with no lead
        {times("\xff", 200), 60},
        {times("\xe2" "a", 100), 60},      // leads whose sequence breaks off
        {"\xf0\x9f\x98", 3},             // a sequence cut short at the end
    };
    for (const auto& c : cases) EXPECT_EQ(cutSayText(c.text).size(), c.bytes) << c.text.size();
}

// An input the fuzzer found: stray bytes inside a say text made a banner
// line of any length.
TEST(ScriptBindings, FuzzFindingsStayBounded) {
    std::string text;
    ASSERT_FALSE(readFile(std::string(MIVO_SOURCE_DIR) + "/fuzz/seeds/script/say_stray_bytes", text));
    mivo::Script script;
    ASSERT_TRUE(mivo::parseScript(script, text)) << script.error;
    ScriptWorld w;
    std::size_t says = 0;
    mivo::ScriptHost host;
    host.getVariable = [&](const std::string& name, float& value) { return getScriptVariable(w.act, name, value); };
    host.setVariable = [&](const std::string& name, float value) { return setScriptVariable(w.act, name, value); };
    host.runStep = [&](const mivo::Stmt& step, const std::vector<float>& args, const std::string& said) {
        const ScriptStepResult r = runScriptStep(w.act, step, args, said);
        if (!r.say) return;
        ++says;
        EXPECT_LE(r.sayText.size(), 4 * kSayLength);
    };
    mivo::runEvent(script, "start", host);
    EXPECT_EQ(says, 1u);
}
