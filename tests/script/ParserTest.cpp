// The script parser: the messages of every malformed form, the header and
// indentation rules, the shape of the trees, and the nesting limits.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "script/Script.h"

using mivo::Expr;
using mivo::Script;
using mivo::Stmt;

namespace {

std::string errorOf(const std::string& text) {
    Script s;
    EXPECT_FALSE(parseScript(s, text)) << text;
    EXPECT_TRUE(s.blocks.empty());
    return s.error;
}

Script parsed(const std::string& text) {
    Script s;
    EXPECT_TRUE(parseScript(s, text)) << s.error;
    return s;
}

// Writes a tree as "(op left right)", numbers and names as they are.
std::string tree(const mivo::ExprPtr& e) {
    if (!e) return "?";
    switch (e->kind) {
        case Expr::Number: return mivo::formatScriptNumber(e->number);
        case Expr::Name: return e->text;
        case Expr::Unary: return "(" + e->text + " " + tree(e->left) + ")";
        default: return "(" + e->text + " " + tree(e->left) + " " + tree(e->right) + ")";
    }
}

std::string repeated(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

TEST(ScriptParser, MessagesNameTheLineOfTheFirstFault) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        // Headers.
        {"set gems 5", "line 1: expected \"on <event>:\" or \"every <seconds>:\""},
        {"on jumping:\n  set x 1", "line 1: there's no event called \"jumping\""},
        {"on 5:\n  stop", "line 1: expected \"on <event>:\" or \"every <seconds>:\""},
        {"every x:\n  stop", "line 1: expected \"on <event>:\" or \"every <seconds>:\""},
        {"every 1: stop", "line 1: expected \"on <event>:\" or \"every <seconds>:\""},
        {"\n\non jump:", "line 3: this event needs some steps under it"},
        {"on jump:\n# nothing\non gem:\n  stop", "line 1: this event needs some steps under it"},
        {"on jump:\n  stop\n every 2:", "line 3: this event needs some steps under it"},
        // Lexing.
        {"on jump:\n  say \"hi", "line 2: a text in quotes is missing its closing \""},
        {"on jump:\n  set x = 1 $ 2", "line 2: I don't understand the character '$'"},
        {"on jump:\n  set x 1 !", "line 2: I don't understand the character '!'"},
        {"on jump:\n  say \"a\" \u00e9", "line 2: I don't understand the character '\u00e9'"},
        // Indentation.
        {"on jump:\n  set x 1\n    set y 2", "line 3: this line is indented more than the one above it"},
        {"on jump:\n    set x 1\n  set y 2", "line 3: expected \"on <event>:\" or \"every <seconds>:\""},
        {"  on jump:\n  set x 1\nset y 2", "line 3: this line is indented less than the step above it"},
        {"on jump:\nset x 1\n  set y 2", "line 3: this line is indented more than the one above it"},
        // Steps.
        {"on jump:\n  5", "line 2: a step starts with a word, like set, say or spawn"},
        {"on jump:\n  frobnicate", "line 2: there's no step called \"frobnicate\""},
        {"on jump:\n  set 5 1", "line 2: set needs a name, like \"set gravity 0.5\""},
        {"on jump:\n  add", "line 2: add needs a name, like \"add gravity 0.5\""},
        {"on jump:\n  set x", "line 2: a number or name is missing here"},
        {"on jump:\n  set x to", "line 2: a number or name is missing here"},
        {"on jump:\n  set x 1 2", "line 2: there's something extra at the end of this line"},
        {"on jump:\n  say hello", "line 2: say needs a text in quotes, like say \"Hello!\""},
        {"on jump:\n  say", "line 2: say needs a text in quotes, like say \"Hello!\""},
        {"on jump:\n  say \"a\" \"b\"", "line 2: there's something extra at the end of this line"},
        {"on jump:\n  heal 1 2", "line 2: there's something extra at the end of this line"},
        {"on jump:\n  hurt 1:", "line 2: there's something extra at the end of this line"},
        {"on jump:\n  repeat:\n    stop", "line 2: repeat needs a number, like \"repeat 3:\""},
        {"on jump:\n  repeat", "line 2: repeat needs a number, like \"repeat 3:\""},
        {"on jump:\n  repeat 3\n    stop", "line 2: this line needs a : at the end"},
        {"on jump:\n  repeat 3: stop", "line 2: there's something extra at the end of this line"},
        {"on jump:\n  repeat 3:\n  stop", "line 2: this needs some steps under it (indented)"},
        {"on jump:\n  repeat 3:", "line 2: this needs some steps under it (indented)"},
        {"on jump:\n  boost 1", "line 2: boost needs two numbers: sideways and up/down"},
        {"on jump:\n  boost 1 -2", "line 2: boost needs two numbers: sideways and up/down"},
        {"on jump:\n  boost 1 2 3", "line 2: boost needs two numbers: sideways and up/down"},
        {"on jump:\n  spawn dragon", "line 2: spawn needs one of: gem, crawler, buzzer, spring, hopper, spiker"},
        {"on jump:\n  spawn", "line 2: spawn needs one of: gem, crawler, buzzer, spring, hopper, spiker"},
        {"on jump:\n  spawn gem 1 2 3", "line 2: there's something extra at the end of this line"},
        {"on jump:\n  color red", "line 2: color needs red green blue (0-255), or rainbow, or normal"},
        {"on jump:\n  colour 1 2", "line 2: color needs red green blue (0-255), or rainbow, or normal"},
        {"on jump:\n  color 1 2 3 4", "line 2: color needs red green blue (0-255), or rainbow, or normal"},
        {"on jump:\n  color \"red\"", "line 2: color needs red green blue (0-255), or rainbow, or normal"},
        {"on jump:\n  sound", "line 2: sound needs a name, like \"sound gem\""},
        {"on jump:\n  sound \"gem\"", "line 2: sound needs a name, like \"sound gem\""},
        {"on jump:\n  sound gem now", "line 2: there's something extra at the end of this line"},
        {"on jump:\n  stop now", "line 2: there's something extra at the end of this line"},
        {"on jump:\n  die 1", "line 2: there's something extra at the end of this line"},
        // if and else.
        {"on jump:\n  if x = 1:\n    stop", "line 2: this line needs a : at the end"},
        {"on jump:\n  if:\n    stop", "line 2: a number or name is missing here"},
        {"on jump:\n  else:\n    stop", "line 2: else needs an if right above it"},
        {"on jump:\n  if 1:\n    stop\n  else:", "line 4: else needs some steps under it (indented)"},
        {"on jump:\n  if 1:\n    stop\n  else:\n  stop", "line 4: else needs some steps under it (indented)"},
        {"on jump:\n  if 1:\n    stop\n  else x:\n    stop", "line 4: else needs an if right above it"},
        {"on jump:\n  set a 1\n  else:\n    stop", "line 3: else needs an if right above it"},
        // Expressions.
        {"on jump:\n  set x = (1 + 2", "line 2: a ( is missing its )"},
        {"on jump:\n  set x = random(1)", "line 2: random needs two numbers, like random(1, 10)"},
        {"on jump:\n  set x = random 1, 2", "line 2: random needs two numbers, like random(1, 10)"},
        {"on jump:\n  set x = random(1, )", "line 2: random needs two numbers, like random(1, 10)"},
        {"on jump:\n  set x = random(1, 2", "line 2: random needs two numbers, like random(1, 10)"},
        {"on jump:\n  set x = )", "line 2: I expected a number or a name, not \")\""},
        {"on jump:\n  set x = \"five\"", "line 2: I expected a number or a name, not \"five\""},
        {"on jump:\n  set x = 1 +", "line 2: a number or name is missing here"},
        {"on jump:\n  boost 1,", "line 2: a number or name is missing here"},
        // The first fault is the one kept; every line is read into tokens
        // before the steps are.
        {"on jump:\n  frob\n  frob2", "line 2: there's no step called \"frob\""},
        {"on jump:\n  frob\n  say \"x", "line 3: a text in quotes is missing its closing \""},
    };
    for (const auto& c : cases) EXPECT_EQ(errorOf(c.text), c.error) << c.text;
}

TEST(ScriptParser, ReportErrorKeepsTheFirstMessage) {
    Script s;
    EXPECT_FALSE(mivo::reportError(s, 4, "first"));
    EXPECT_FALSE(mivo::reportError(s, 9, "second"));
    EXPECT_EQ(s.error, "line 4: first");
}

TEST(ScriptParser, TokensOfOneLine) {
    Script s;
    std::vector<mivo::Token> t;
    ASSERT_TRUE(mivo::tokenizeLine(s, "  SAY \"Hi There\" x_1<=.5 1.5.2 # != rest <", 1, t));
    ASSERT_EQ(t.size(), 6u);
    EXPECT_EQ(t[0].kind, mivo::Token::Name);
    EXPECT_EQ(t[0].text, "say");
    EXPECT_EQ(t[1].kind, mivo::Token::Text);
    EXPECT_EQ(t[1].text, "Hi There");
    EXPECT_EQ(t[2].text, "x_1");
    EXPECT_EQ(t[3].kind, mivo::Token::Symbol);
    EXPECT_EQ(t[3].text, "<=");
    EXPECT_EQ(t[4].kind, mivo::Token::Number);
    EXPECT_FLOAT_EQ(t[4].number, 0.5f);
    EXPECT_FLOAT_EQ(t[5].number, 1.5f);  // 1.5.2
}

TEST(ScriptParser, HeadersAndTheEveryFloor) {
    const Script s = parsed(
        "On JUMP:\n  stop\n"
        "every 0.01:\n  stop\n"
        "every 2.5:\n  stop\n"
        "on every:\n  stop\n"
        "every 0:\n  stop\n");
    ASSERT_EQ(s.blocks.size(), 5u);
    EXPECT_EQ(s.blocks[0].event, "jump");
    EXPECT_EQ(s.blocks[1].event, "every");
    EXPECT_FLOAT_EQ(s.blocks[1].interval, 0.1f);
    EXPECT_FLOAT_EQ(s.blocks[2].interval, 2.5f);
    // "on every:" gets the same floor as any other every-block.
    EXPECT_EQ(s.blocks[3].event, "every");
    EXPECT_FLOAT_EQ(s.blocks[3].interval, 0.1f);
    EXPECT_FLOAT_EQ(s.blocks[4].interval, 0.1f);
    for (const auto& b : s.blocks) EXPECT_EQ(b.timer, 0.0f);
}

TEST(ScriptParser, EveryEventNameIsAccepted) {
    for (const std::string& name : mivo::eventNames()) {
        const Script s = parsed("on " + name + ":\n  stop");
        ASSERT_EQ(s.blocks.size(), 1u);
        EXPECT_EQ(s.blocks[0].event, name);
    }
}

TEST(ScriptParser, TreesFollowPrecedenceAndLeftAssociativity) {
    const struct {
        const char* expression;
        const char* tree;
    } cases[] = {
        {"2 + 3 * 4", "(+ 2 (* 3 4))"},
        {"1 < 2 < 3", "(< (< 1 2) 3)"},
        {"10 - 2 - 3", "(- (- 10 2) 3)"},
        {"8 / 4 % 3 * 2", "(* (% (/ 8 4) 3) 2)"},
        {"a or b and c", "(or a (and b c))"},
        {"a AND b == c + 1", "(and a (== b (+ c 1)))"},
        {"not a == -b", "(== (not a) (- b))"},
        {"- - 2", "(- (- 2))"},
        {"(1 + 2) * 3", "(* (+ 1 2) 3)"},
        {"random(1, x + 1)", "(random 1 (+ x 1))"},
        {"1.5.2", "1.50"},
        {"GEMS", "gems"},
    };
    for (const auto& c : cases) {
        const Script s = parsed(std::string("on start:\n  set r = ") + c.expression);
        ASSERT_EQ(s.blocks.size(), 1u) << c.expression;
        ASSERT_EQ(s.blocks[0].steps.size(), 1u);
        EXPECT_EQ(tree(s.blocks[0].steps[0].args.at(0)), c.tree) << c.expression;
    }
}

TEST(ScriptParser, SetAndAddForms) {
    for (const char* form : {"set x = 1", "set x to 1", "set x 1", "SET X 1"}) {
        const Script s = parsed(std::string("on start:\n  ") + form);
        const Stmt& step = s.blocks.at(0).steps.at(0);
        EXPECT_EQ(step.keyword, "set") << form;
        EXPECT_EQ(step.name, "x") << form;
        ASSERT_EQ(step.args.size(), 1u) << form;
        EXPECT_EQ(tree(step.args[0]), "1") << form;
        EXPECT_EQ(step.line, 2);
    }
}

TEST(ScriptParser, StepsKeepTheirParts) {
    const Script s = parsed(
        "on gem:\n"
        "  say \"You have {gems}!\"\n"
        "  COLOUR Rainbow\n"
        "  color 255, 0, 128\n"
        "  spawn buzzer\n"
        "  spawn crawler 100, -40\n"
        "  sound Gem\n"
        "  heal\n"
        "  hurt 2\n"
        "  boost 300 (0 - 200)\n"
        "  die\n");
    const std::vector<Stmt>& st = s.blocks.at(0).steps;
    ASSERT_EQ(st.size(), 10u);
    EXPECT_EQ(st[0].text, "You have {gems}!");
    EXPECT_EQ(st[1].keyword, "color");
    EXPECT_EQ(st[1].name, "rainbow");
    EXPECT_EQ(st[2].args.size(), 3u);
    EXPECT_EQ(st[3].name, "buzzer");
    EXPECT_TRUE(st[3].args.empty());
    EXPECT_EQ(tree(st[4].args.at(1)), "(- 40)");
    EXPECT_EQ(st[5].name, "gem");
    EXPECT_TRUE(st[6].args.empty());
    EXPECT_EQ(st[7].args.size(), 1u);
    EXPECT_EQ(st[8].args.size(), 2u);
    EXPECT_EQ(st[9].keyword, "die");
    EXPECT_EQ(st[9].line, 11);
}

TEST(ScriptParser, BlankAndCommentLinesDoNotEndABlock) {
    const Script s = parsed(
        "# a mod\n"
        "on jump:\n"
        "  set a 1\n"
        "\n"
        "      # an aside, indented anyhow\n"
        "  set b 2\r\n"
        "  if a:\n"
        "\n"
        "    set c 3\n"
        "  # between if and else\n"
        "  else:\n"
        "    set d 4\n"
        "on gem:\n"
        "set e 5\n"
        "set f 6\n"
        "on stomp:\n"
        "  stop\n");
    ASSERT_EQ(s.blocks.size(), 3u);
    const std::vector<Stmt>& jump = s.blocks[0].steps;
    ASSERT_EQ(jump.size(), 3u);
    EXPECT_EQ(jump[1].line, 6);
    EXPECT_EQ(jump[2].keyword, "if");
    ASSERT_EQ(jump[2].body.size(), 1u);
    EXPECT_EQ(jump[2].body[0].name, "c");
    ASSERT_EQ(jump[2].elseBody.size(), 1u);
    EXPECT_EQ(jump[2].elseBody[0].name, "d");
    // Steps written at the header's own indentation.
    ASSERT_EQ(s.blocks[1].steps.size(), 2u);
    EXPECT_EQ(s.blocks[1].steps[1].name, "f");
    EXPECT_EQ(s.blocks[2].event, "stomp");
}

TEST(ScriptParser, NestedBodies) {
    const Script s = parsed(
        "every 1:\n"
        "  repeat 2:\n"
        "    if x > 1:\n"
        "      add x 1\n"
        "    else:\n"
        "      repeat 3:\n"
        "        add y 1\n"
        "    set z 0\n"
        "  stop\n");
    const std::vector<Stmt>& st = s.blocks.at(0).steps;
    ASSERT_EQ(st.size(), 2u);
    ASSERT_EQ(st[0].body.size(), 2u);
    EXPECT_EQ(st[0].body[0].elseBody.at(0).keyword, "repeat");
    EXPECT_EQ(st[0].body[0].elseBody.at(0).body.at(0).name, "y");
    EXPECT_EQ(st[0].body[1].name, "z");
    EXPECT_EQ(st[1].keyword, "stop");
}

// Deep nesting gives a message instead of running out of stack.
TEST(ScriptParser, NestingIsLimited) {
    const std::string tooDeep = "line 2: this line is too deeply nested (more than 200 levels)";
    const struct {
        std::string expression;
        bool ok;
    } cases[] = {
        {repeated("(", 199) + "1" + repeated(")", 199), true},
        {repeated("(", 201) + "1" + repeated(")", 201), false},
        {repeated("(", 20000), false},
        {repeated("not ", 199) + "1", true},
        {repeated("not ", 5000) + "1", false},
        {repeated("-", 5000) + "1", false},
        {"1" + repeated(" + 1", 199), true},
        {"1" + repeated(" + 1", 5000), false},
        {"1" + repeated(" * 2 - 1", 5000), false},
        {repeated("random(1, ", 300) + "1" + repeated(")", 300), false},
    };
    for (const auto& c : cases) {
        Script s;
        const bool ok = parseScript(s, "on start:\n  set r = " + c.expression);
        EXPECT_EQ(ok, c.ok) << c.expression.substr(0, 40);
        if (!c.ok) {
            EXPECT_EQ(s.error, tooDeep) << c.expression.substr(0, 40);
        }
    }

    // Bodies: each "if 1:" one level deeper than the one above.
    auto nested = [](int levels) {
        std::string text = "on start:\n";
        for (int i = 0; i < levels; ++i) text += std::string(std::size_t(i) + 1, ' ') + "if 1:\n";
        return text + std::string(std::size_t(levels) + 1, ' ') + "add n 1\n";
    };
    Script ok;
    EXPECT_TRUE(parseScript(ok, nested(199))) << ok.error;
    Script deep;
    EXPECT_FALSE(parseScript(deep, nested(400)));
    EXPECT_EQ(deep.error, "line 202: these steps are too deeply nested (more than 200 levels)");
}

// A large script is read in one pass: long lines, many lines, many blocks.
TEST(ScriptParser, LargeTextsParse) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "on gem:\n  add n 1\n  say \"" + std::string(50, '{') + "\"\n";
    text += "every 1:\n  set x = " + std::string(50000, '7') + "\n";
    text += "  set y = 0." + std::string(50000, '0') + "1\n";
    Script s;
    ASSERT_TRUE(parseScript(s, text)) << s.error;
    EXPECT_EQ(s.blocks.size(), 3001u);
    EXPECT_TRUE(std::isinf(s.blocks.back().steps[0].args[0]->number));
    EXPECT_EQ(s.blocks.back().steps[1].args[0]->number, 0.0f);

    Script spaces;
    EXPECT_FALSE(parseScript(spaces, std::string(1000000, ' ') + "x"));
    EXPECT_EQ(spaces.error, "line 1: expected \"on <event>:\" or \"every <seconds>:\"");
}
