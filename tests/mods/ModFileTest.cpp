// The mod file reader: keys, clamps, flags, the colour, the "code:" section
// and which files count as mods.
#include <gtest/gtest.h>

#include <cmath>

#include "mods/ModFile.h"

namespace {

struct Read {
    ModInfo mod;
    ModText text;
};

Read read(const std::string& text) {
    Read r;
    r.text = readModText(text, r.mod);
    return r;
}

}  // namespace

TEST(ModFile, KeysClampsAndWhichFilesAreMods) {
    struct Case {
        std::string text;
        bool isMod;
        float gravity = 1, speed = 1, jump = 1, size = 1;
    };
    const Case cases[] = {
        {"Gravity : 5", true, 3.0f},
        {"gravity: 0.01\nspeed: 0.01\njump: 0.01\nsize: 0.01", true, 0.2f, 0.3f, 0.3f, 0.4f},
        {"GRAVITY:2\nSpeed:\t1.5\njump: 2.5x\nsize: 1.25", true, 2.0f, 1.5f, 2.5f, 1.25f},
        {"speed: fast", true, 1.0f, 0.3f},  // not a number reads as 0, then the clamp
        {"jump: nan\nsize: inf\ngravity: -inf", true, 0.2f, 1.0f, 1.0f, 1.6f},
        {"rainbow: 1", false},              // a flag alone is not a mod
        {"description: just words", false},
        {"# name: commented out", false},
        {"name Big (no colon)", false},
        {"  code:", false},                 // a key "code" with no value
        {"name:", true},
        {"color: 1 2", true},               // the key counts even when the value does not
        {"\xEF\xBB\xBFname: Notepad", true},  // a byte order mark
        {"name: Windows\r\ngravity: 2\r\n", true, 2.0f},
        {"code:", true},
        {"code:  \t\r\non jump:\n  heal\n", true},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Read r = read(c.text);
        EXPECT_EQ(r.text.isMod, c.isMod);
        EXPECT_FLOAT_EQ(r.mod.gravity, c.gravity);
        EXPECT_FLOAT_EQ(r.mod.speed, c.speed);
        EXPECT_FLOAT_EQ(r.mod.jump, c.jump);
        EXPECT_FLOAT_EQ(r.mod.size, c.size);
    }
}

TEST(ModFile, NamesFlagsAndColour) {
    const Read r = read(
        "name:  Moon Jump  \n"
        "DESCRIPTION: Low: gravity\n"
        "rainbow: yes\n"
        "onehit: 1\n"
        "infiniteair: 0.5\n"
        "nobadniks: 0\n"
        "doublegems: -2\n"
        "color: 300 -5 128\n"
        "unknown: 7\n");
    EXPECT_EQ(r.mod.name, "Moon Jump");
    EXPECT_EQ(r.mod.description, "Low: gravity");
    EXPECT_FALSE(r.mod.rainbow);  // "yes" is not a number
    EXPECT_TRUE(r.mod.onehit);
    EXPECT_TRUE(r.mod.infiniteair);
    EXPECT_FALSE(r.mod.nobadniks);
    EXPECT_TRUE(r.mod.doublegems);
    EXPECT_TRUE(r.mod.hasColor);
    EXPECT_EQ(r.mod.color, sf::Color(255, 0, 128, 255));
    EXPECT_FALSE(r.text.hasCode);

    struct Colour { std::string line; bool has; sf::Color color; };
    const Colour colours[] = {
        {"color: 10 20 30", true, {10, 20, 30}},
        {"color: 10 20 30 40", true, {10, 20, 30}},
        {"color: 10, 20, 30", false, sf::Color::White},
        {"color: 10 20", false, sf::Color::White},
        {"color: 12.7 3 4", false, sf::Color::White},
        {"color: 99999999999999999999 0 0", false, sf::Color::White},
    };
    for (const Colour& c : colours) {
        const Read cr = read(c.line);
        EXPECT_EQ(cr.mod.hasColor, c.has) << c.line;
        EXPECT_EQ(cr.mod.color, c.color) << c.line;
    }

    // Long names and descriptions are cut, never inside a character.
    const Read longName = read("name: " + std::string(63, 'a') + "\xC3\xBC" + "tail\ndescription: " +
                               std::string(300, 'd'));
    EXPECT_EQ(longName.mod.name, std::string(63, 'a'));
    EXPECT_EQ(longName.mod.description.size(), kMaxModDescriptionBytes);
}

TEST(ModFile, LinesAfterCodeAreTheScriptWithTheFilesLineNumbers) {
    const Read r = read("name: Scripted\ncode:\nname: Not A Key\nspeed: 3\non jump:\n  wiggle\n");
    EXPECT_TRUE(r.text.hasCode);
    EXPECT_EQ(r.mod.name, "Scripted");
    EXPECT_FLOAT_EQ(r.mod.speed, 1.0f);
    EXPECT_EQ(r.text.code, "\n\nname: Not A Key\nspeed: 3\non jump:\n  wiggle\n");
    const auto script = parseModScript(r.text.code);
    EXPECT_EQ(script->error, "line 3: expected \"on <event>:\" or \"every <seconds>:\"");

    const Read good = read("name: S\r\ncode:\r\non jump:\r\n  say \"hi\"\r\n  wiggle\r\n");
    EXPECT_EQ(parseModScript(good.text.code)->error, "line 5: there's no step called \"wiggle\"");
    EXPECT_TRUE(parseModScript(read("code:\non jump:\n  heal\n").text.code)->error.empty());

    const auto tooLong = parseModScript("on jump:\n  heal\n", true);
    EXPECT_EQ(tooLong->error, scriptTooLongMessage());
    EXPECT_TRUE(tooLong->blocks.empty());
}

TEST(ModFile, TextsAreShortenedByCharacters) {
    struct Case { std::string text; std::size_t max; std::string out; };
    const Case cases[] = {
        {std::string(70, 'x'), 70, std::string(70, 'x')},
        {std::string(71, 'x'), 70, std::string(67, 'x') + "..."},
        {std::string(70, 'x') + "\xC3\xBC", 70, std::string(67, 'x') + "..."},
        {"\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC", 4, "\xC3\xBC..."},
        {"\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC", 4, "\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC"},
        {"", 70, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(shortenText(c.text, c.max), c.out) << c.text;
    EXPECT_EQ(cutUtf8("ab\xC3\xBC", 3), "ab");
    EXPECT_EQ(cutUtf8("ab\xC3\xBC", 4), "ab\xC3\xBC");
}
