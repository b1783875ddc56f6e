// The script runtime: arithmetic, if, repeat, the step bound, the timers,
// variables shared with a host, and the text of say.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "script/Script.h"

using mivo::Script;

namespace {

// A host that owns "gems" (at least 0) and the read-only "time", and
// records the game steps it is asked to run.
struct RecordingHost {
    float gems = 0;
    float time = 42;
    std::vector<std::string> steps;  // keyword, the arguments, then the text
    std::vector<std::string> reads;
    mivo::ScriptHost host;

    RecordingHost() {
        host.getVariable = [this](const std::string& name, float& value) {
            reads.push_back(name);
            if (name == "gems") value = gems;
            else if (name == "time") value = time;
            else return false;
            return true;
        };
        host.setVariable = [this](const std::string& name, float value) {
            if (name != "gems") return false;
            gems = std::max(std::trunc(value), 0.0f);
            return true;
        };
        host.runStep = [this](const mivo::Stmt& step, const std::vector<float>& args, const std::string& text) {
            std::string line = step.keyword;
            if (!step.name.empty()) line += " " + step.name;
            for (float a : args) line += " " + mivo::formatScriptNumber(a);
            if (!text.empty()) line += " \"" + text + "\"";
            steps.push_back(line);
        };
    }
};

Script parsed(const std::string& text) {
    Script s;
    EXPECT_TRUE(parseScript(s, text)) << s.error;
    return s;
}

float local(const Script& s, const std::string& name) {
    const auto it = s.locals.find(name);
    return it == s.locals.end() ? -12345.0f : it->second;
}

// The value of an expression, as "set r" stores it.
float valueOf(const std::string& expression) {
    Script s = parsed("on start:\n  set r = " + expression);
    RecordingHost h;
    mivo::runEvent(s, "start", h.host);
    return local(s, "r");
}

}  // namespace

TEST(ScriptRuntime, Arithmetic) {
    const std::string huge = "99999999999999999999999999999999999999999";  // reads as infinity
    const struct {
        std::string expression;
        float value;
    } cases[] = {
        {"2 + 3 * 4", 14},
        {"10 - 2 - 3", 5},
        {"100 / 10 / 2", 5},
        {"3 > 2 > 1", 0},  // (3 > 2) > 1
        {"1 < 2 < 3", 1},
        {"-2 * 3", -6},
        {"2 - -3", 5},
        {"not 0 + 1", 2},
        {"not not 5", 1},
        {"1 or 0 and 0", 1},
        {"(1 or 0) and 0", 0},
        {"7 % 3", 1},
        {"-7 % 3", -1},
        {"7.5 % 2", 1.5f},
        {"5 / 0", 0},
        {"5 % 0", 0},
        {"0 / 0", 0},
        {"1 == 1.00005", 1},
        {"1 == 1.001", 0},
        {"1 != 1.00005", 0},
        {"1 != 1.001", 1},
        {"0.1 + 0.2 == 0.3", 1},
        {"2 <= 2", 1},
        {"2 >= 3", 0},
        {"1.5.2", 1.5f},
        {"unknown + 1", 1},
        {"time", 42},
        {"random(5, 5)", 5},
        {huge + " - " + huge + " and 1", 1},  // NaN counts as true
        {"not (" + huge + " - " + huge + ")", 0},
    };
    for (const auto& c : cases) EXPECT_FLOAT_EQ(valueOf(c.expression), c.value) << c.expression;
}

TEST(ScriptRuntime, RandomStaysInItsRange) {
    Script s = parsed("on start:\n  repeat 100:\n    set r = random(-2, 3)\n    if r < -2 or r > 3:\n      add bad 1");
    RecordingHost h;
    for (int i = 0; i < 20; ++i) mivo::runEvent(s, "start", h.host);
    EXPECT_EQ(s.locals.count("bad"), 0u);
}

TEST(ScriptRuntime, AndAndOrEvaluateBothSides) {
    Script s = parsed("on start:\n  set r = 0 and gems\n  set q = 1 or time");
    RecordingHost h;
    mivo::runEvent(s, "start", h.host);
    EXPECT_EQ(h.reads, (std::vector<std::string>{"gems", "time"}));
}

TEST(ScriptRuntime, RepeatCountsAndIfBranches) {
    const struct {
        const char* head;
        float n;
    } cases[] = {
        {"repeat 1000:", 100}, {"repeat -3:", 0}, {"repeat 0.9:", 0}, {"repeat 2.9:", 2},
        {"repeat 0 / 0:", 0},  {"if 0.5:", 1},   {"if 0:", -1},       {"if -0.0001:", 1},
        {"if 1 == 2:", -1},
    };
    for (const auto& c : cases) {
        Script s = parsed(std::string("on start:\n  set n 0\n  ") + c.head + "\n    add n 1\n" +
                          (std::string(c.head).rfind("if", 0) == 0 ? "  else:\n    set n -1\n" : ""));
        RecordingHost h;
        mivo::runEvent(s, "start", h.host);
        EXPECT_EQ(local(s, "n"), c.n) << c.head;
    }
}

// Two nested loops of 100 would be 10,000 steps; the run ends quietly after
// 5000, the repeat steps counted too.
TEST(ScriptRuntime, TheStepBoundEndsARun) {
    Script s = parsed("on start:\n  repeat 100:\n    repeat 100:\n      add n 1\n  say \"never\"");
    RecordingHost h;
    mivo::runEvent(s, "start", h.host);
    // 1 outer repeat; 49 passes of 1 inner repeat + 100 adds; then 1 + 49.
    EXPECT_EQ(local(s, "n"), 4949);
    EXPECT_TRUE(h.steps.empty());
    EXPECT_GT(s.stepCount, mivo::kMaxStepsPerRun);

    // Each run starts afresh.
    mivo::runEvent(s, "start", h.host);
    EXPECT_EQ(local(s, "n"), 2 * 4949);

    // Deeply nested loops end as quickly.
    std::string deep = "on start:\n";
    for (int i = 0; i < 150; ++i) deep += std::string(std::size_t(i) + 1, ' ') + "repeat 100:\n";
    deep += std::string(151, ' ') + "add n 1\n";
    Script d = parsed(deep);
    mivo::runEvent(d, "start", h.host);
    EXPECT_LE(d.stepCount, mivo::kMaxStepsPerRun + 1 + 150);
}

TEST(ScriptRuntime, StopEndsOnlyItsRun) {
    Script s = parsed(
        "on start:\n  add n 1\n  repeat 5:\n    add m 1\n    if m >= 2:\n      stop\n  add n 100\n"
        "on start:\n  add k 1\n");
    RecordingHost h;
    mivo::runEvent(s, "start", h.host);
    EXPECT_EQ(local(s, "n"), 1);
    EXPECT_EQ(local(s, "m"), 2);
    EXPECT_EQ(local(s, "k"), 1);  // the next block runs
    EXPECT_FALSE(s.stopped);      // reset by that block's run
    mivo::runEvent(s, "start", h.host);
    EXPECT_EQ(local(s, "n"), 2);
    EXPECT_EQ(local(s, "m"), 3);
}

TEST(ScriptRuntime, VariablesOfTheScriptAndOfTheHost) {
    Script s = parsed(
        "on start:\n"
        "  set x 10\n"
        "  add x 5\n"
        "  say \"x is {x}\"\n"
        "  add gems 2.7\n"
        "  set time 7\n"
        "  say \"{gems} {time} {TIME} {nope} {} {\"\n");
    RecordingHost h;
    h.gems = 1;
    mivo::runEvent(s, "start", h.host);
    EXPECT_EQ(local(s, "x"), 15);
    EXPECT_EQ(h.gems, 3);                 // the host took it, truncated
    EXPECT_EQ(s.locals.count("gems"), 0u);
    EXPECT_EQ(local(s, "time"), 7);       // read-only: the script keeps its copy ...
    ASSERT_EQ(h.steps.size(), 2u);
    EXPECT_EQ(h.steps[0], "say \"x is 15\"");
    // ... but reads the game's value; names in braces are taken as written.
    EXPECT_EQ(h.steps[1], "say \"3 42 0 0 0 {\"");
}

TEST(ScriptRuntime, GameStepsGetTheirArguments) {
    Script s = parsed(
        "on gem:\n  spawn crawler 100 / 4, -40\n  color 300, -5, 7.9\n  heal\n  sound gem\n  die\n  boost 1, 2\n"
        "on jump:\n  say \"no\"\n");
    RecordingHost h;
    mivo::runEvent(s, "gem", h.host);
    EXPECT_EQ(h.steps, (std::vector<std::string>{"spawn crawler 25 -40", "color 300 -5 7.90", "heal", "sound gem",
                                                 "die", "boost 1 2"}));
}

TEST(ScriptRuntime, SayText) {
    const struct {
        const char* text;
        float v;
        const char* shown;
    } cases[] = {
        {"{v}", 7, "7"},
        {"{v}", -7, "-7"},
        {"{v}", 2.5f, "2.50"},
        {"{v}", -0.125f, "-0.12"},
        {"{v}", 123456792.0f, "123456792"},
        {"{v}", -999999936.0f, "-999999936"},
        {"{v}", 1e9f, "1000000000.00"},
        {"a{v}b{v}c", 1, "a1b1c"},
        {"{v", 1, "{v"},
        {"}{v}{", 3, "}3{"},
        {"{{v}", 1, "0"},  // the name is "{v"
        {"no braces", 1, "no braces"},
    };
    for (const auto& c : cases) {
        Script s;
        s.locals["v"] = c.v;
        RecordingHost h;
        EXPECT_EQ(mivo::buildSayText(s, c.text, h.host), c.shown) << c.text << " " << c.v;
    }
    EXPECT_EQ(mivo::formatScriptNumber(std::nanf("")).find("nan") != std::string::npos, true);
}

// An every-block adds each frame's time; reaching the interval runs it and
// sets the timer back to 0, dropping the remainder.
TEST(ScriptRuntime, EveryBlocksByFrameTime) {
    Script s = parsed("every 1:\n  add runs 1\n  set at = t\non every:\n  add fast 1");
    RecordingHost h;
    std::vector<float> runTimes;
    float t = 0;
    for (int frame = 0; frame < 10; ++frame) {
        t += 0.4f;
        s.locals["t"] = t;
        const float before = s.locals.count("runs") ? s.locals["runs"] : 0.0f;
        mivo::runTimers(s, 0.4f, h.host);
        if (local(s, "runs") > before) runTimes.push_back(t);
    }
    ASSERT_EQ(runTimes.size(), 3u);
    EXPECT_NEAR(runTimes[0], 1.2f, 1e-4);
    EXPECT_NEAR(runTimes[1], 2.4f, 1e-4);
    EXPECT_NEAR(runTimes[2], 3.6f, 1e-4);
    EXPECT_NEAR(s.blocks[0].timer, 0.4f, 1e-4);  // frame 10 after the run at frame 9
    // "on every:" keeps to the 0.1 s floor: every frame of 0.4 s, not more.
    EXPECT_EQ(local(s, "fast"), 10);

    Script fast = parsed("on every:\n  add n 1");
    for (int frame = 0; frame < 60; ++frame) mivo::runTimers(fast, 0.05f, h.host);
    EXPECT_EQ(local(fast, "n"), 30);  // 3 s in frames of 0.05 s: every other frame
    mivo::runEvent(fast, "jump", h.host);
    EXPECT_EQ(local(fast, "n"), 30);
}

TEST(ScriptRuntime, AScriptThatDidNotParseRunsNothing) {
    Script s;
    EXPECT_FALSE(parseScript(s, "on jump:\n  add n 1\n  nonsense"));
    RecordingHost h;
    mivo::runEvent(s, "jump", h.host);
    mivo::runTimers(s, 5.0f, h.host);
    EXPECT_TRUE(s.locals.empty());

    // Even blocks put in by hand do not run while the error stands.
    s.blocks.push_back({"jump", 0, 0, {mivo::Stmt{"add", "n", "", {}, {}, {}, 1}}});
    mivo::runEvent(s, "jump", h.host);
    EXPECT_TRUE(s.locals.empty());
}

TEST(ScriptRuntime, AnEmptyHostIsSafe) {
    Script s = parsed("on start:\n  set gems 4\n  say \"{gems}\"\n  spawn gem");
    mivo::runEvent(s, "start", mivo::ScriptHost{});
    EXPECT_EQ(local(s, "gems"), 4);
}
