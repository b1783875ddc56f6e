// The script lexer and parser: text to event blocks of steps.
//
// Every physical line is read once and every token once, so the work grows
// with the length of the text. Nesting (brackets, prefixes, chains of
// operators, bodies of if and repeat) is limited to kMaxNesting levels so
// that neither the parser nor the runtime, which both walk the trees
// recursively, can run out of stack.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "script/Script.h"

namespace mivo {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// The whole UTF-8 sequence that starts at i, so a message never shows half
// of a character.
std::string characterAt(const std::string& text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xF0 && lead < 0xF8) length = 4;
    else if (lead >= 0xE0) length = lead < 0xF0 ? 3 : 1;
    else if (lead >= 0xC0) length = 2;
    std::size_t end = i + 1;
    while (end < text.size() && end < i + length && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return text.substr(i, end - i);
}

struct SourceLine {
    int line = 0;    // counted from 1
    int indent = 0;  // blanks and tabs before the first other character
    std::vector<Token> tokens;
};

bool isName(const Token& t, const char* name) { return t.kind == Token::Name && t.text == name; }
bool isSymbol(const Token& t, const char* symbol) { return t.kind == Token::Symbol && t.text == symbol; }

// "on <word> :" or "every <anything> :" - what ends a block.
bool looksLikeHeader(const SourceLine& l) {
    return l.tokens.size() == 3 && (isName(l.tokens[0], "on") || isName(l.tokens[0], "every")) &&
           isSymbol(l.tokens[2], ":");
}

const char* const kTooDeepLine = "this line is too deeply nested (more than 200 levels)";
const char* const kTooDeepSteps = "these steps are too deeply nested (more than 200 levels)";

// An expression and the height of its tree.
struct Parsed {
    ExprPtr expr;
    int height = 0;
    explicit operator bool() const { return expr != nullptr; }
};

// Reads expressions from the tokens of one line.
class ExpressionReader {
public:
    ExpressionReader(Script& script, const std::vector<Token>& tokens, int line)
        : script_(script), tokens_(tokens), line_(line) {}

    // One expression from position pos; pos ends after it.
    Parsed read(std::size_t& pos) {
        pos_ = pos;
        Parsed p = binary(0, 0);
        pos = pos_;
        return p;
    }

private:
    static constexpr int kLevels = 5;  // or, and, comparisons, + -, * / %

    bool atEnd() const { return pos_ >= tokens_.size() || isSymbol(tokens_[pos_], ":"); }

    bool operatorOf(int level, std::string& op) const {
        if (pos_ >= tokens_.size()) return false;
        const Token& t = tokens_[pos_];
        static const char* const kOps[kLevels][6] = {
            {"or"}, {"and"}, {"<", ">", "<=", ">=", "==", "!="}, {"+", "-"}, {"*", "/", "%"}};
        const int wanted = level < 2 ? Token::Name : Token::Symbol;
        if (t.kind != wanted) return false;
        for (const char* candidate : kOps[level]) {
            if (candidate && t.text == candidate) {
                op = candidate;
                return true;
            }
        }
        return false;
    }

    Parsed fail(const std::string& message) {
        reportError(script_, line_, message);
        return {};
    }

    static Parsed node(int kind, std::string op, Parsed left, Parsed right = {}) {
        auto e = std::make_shared<Expr>();
        e->kind = kind;
        e->text = std::move(op);
        e->left = std::move(left.expr);
        e->right = std::move(right.expr);
        return {e, std::max(left.height, right.height) + 1};
    }

    // Left-associative levels, loosest first; nest counts brackets and prefixes.
    Parsed binary(int level, int nest) {
        if (level == kLevels) return unary(nest);
        Parsed left = binary(level + 1, nest);
        std::string op;
        while (left && operatorOf(level, op)) {
            ++pos_;
            Parsed right = binary(level + 1, nest);
            if (!right) return {};
            if (std::max(left.height, right.height) + 1 > kMaxNesting) return fail(kTooDeepLine);
            left = node(Expr::Binary, op, std::move(left), std::move(right));
        }
        return left;
    }

    Parsed unary(int nest) {
        if (pos_ < tokens_.size() && (isName(tokens_[pos_], "not") || isSymbol(tokens_[pos_], "-"))) {
            if (nest + 1 > kMaxNesting) return fail(kTooDeepLine);
            std::string op = tokens_[pos_].text;
            ++pos_;
            Parsed operand = unary(nest + 1);
            if (!operand) return {};
            if (operand.height + 1 > kMaxNesting) return fail(kTooDeepLine);
            return node(Expr::Unary, op, std::move(operand));
        }
        return primary(nest);
    }

    Parsed primary(int nest) {
        if (atEnd()) return fail("a number or name is missing here");
        const Token& t = tokens_[pos_];
        if (t.kind == Token::Number) {
            ++pos_;
            auto e = std::make_shared<Expr>();
            e->kind = Expr::Number;
            e->number = t.number;
            return {e, 1};
        }
        if (isName(t, "random")) return random(nest);
        if (t.kind == Token::Name) {
            ++pos_;
            auto e = std::make_shared<Expr>();
            e->kind = Expr::Name;
            e->text = t.text;
            return {e, 1};
        }
        if (isSymbol(t, "(")) {
            if (nest + 1 > kMaxNesting) return fail(kTooDeepLine);
            ++pos_;
            Parsed inner = binary(0, nest + 1);
            if (!inner) return {};
            if (pos_ >= tokens_.size() || !isSymbol(tokens_[pos_], ")")) return fail("a ( is missing its )");
            ++pos_;
            return inner;
        }
        return fail("I expected a number or a name, not \"" + t.text + "\"");
    }

    // random ( low , high )
    Parsed random(int nest) {
        static const char* const kMessage = "random needs two numbers, like random(1, 10)";
        if (nest + 1 > kMaxNesting) return fail(kTooDeepLine);
        ++pos_;
        auto expect = [&](const char* symbol) {
            if (pos_ >= tokens_.size() || !isSymbol(tokens_[pos_], symbol)) return false;
            ++pos_;
            return true;
        };
        auto startsOperand = [&] {
            return pos_ < tokens_.size() && !isSymbol(tokens_[pos_], ",") && !isSymbol(tokens_[pos_], ")") &&
                   !isSymbol(tokens_[pos_], ":");
        };
        if (!expect("(") || !startsOperand()) return fail(kMessage);
        Parsed low = binary(0, nest + 1);
        if (!low) return {};
        if (!expect(",") || !startsOperand()) return fail(kMessage);
        Parsed high = binary(0, nest + 1);
        if (!high) return {};
        if (!expect(")")) return fail(kMessage);
        if (std::max(low.height, high.height) + 1 > kMaxNesting) return fail(kTooDeepLine);
        return node(Expr::Random, "random", std::move(low), std::move(high));
    }

    Script& script_;
    const std::vector<Token>& tokens_;
    int line_;
    std::size_t pos_ = 0;
};

const std::vector<std::string> kSpawnKinds = {"gem", "crawler", "buzzer", "spring", "hopper", "spiker"};

// Reads the steps of the blocks.
class StepReader {
public:
    StepReader(Script& script, const std::vector<SourceLine>& lines) : script_(script), lines_(lines) {}

    // The steps at indentation d from lines[pos] up to (not including) end;
    // stops without an error at a line indented less. depth counts bodies.
    bool run(std::size_t& pos, std::size_t end, int d, int depth, std::vector<Stmt>& out) {
        if (depth > kMaxNesting) return reportError(script_, lines_[pos].line, kTooDeepSteps);
        while (pos < end) {
            const SourceLine& l = lines_[pos];
            if (l.indent < d) return true;
            if (l.indent > d) return reportError(script_, l.line, "this line is indented more than the one above it");
            Stmt step;
            if (!this->step(pos, end, depth, step)) return false;
            out.push_back(std::move(step));
        }
        return true;
    }

private:
    bool fail(int line, const std::string& message) { return reportError(script_, line, message); }

    // One step at lines[pos], with its bodies; pos ends after them.
    bool step(std::size_t& pos, std::size_t end, int depth, Stmt& s) {
        const SourceLine& l = lines_[pos];
        const std::vector<Token>& t = l.tokens;
        const std::size_t n = t.size();
        s.line = l.line;
        if (t[0].kind != Token::Name) return fail(l.line, "a step starts with a word, like set, say or spawn");
        s.keyword = t[0].text == "colour" ? "color" : t[0].text;
        const std::string& k = s.keyword;
        ExpressionReader expressions(script_, t, l.line);
        std::size_t i = 1;

        // Expressions one after another until the tokens end or a ":" comes;
        // a comma may stand between two of them.
        auto readArgs = [&]() {
            while (i < n && !isSymbol(t[i], ":")) {
                if (!s.args.empty() && isSymbol(t[i], ",")) ++i;
                Parsed p = expressions.read(i);
                if (!p) return false;
                s.args.push_back(std::move(p.expr));
            }
            return true;
        };
        auto readOne = [&]() {
            Parsed p = expressions.read(i);
            if (!p) return false;
            s.args.push_back(std::move(p.expr));
            return true;
        };
        auto nothingLeft = [&]() { return i >= n || fail(l.line, "there's something extra at the end of this line"); };
        auto colonThenNothing = [&]() {
            if (i >= n || !isSymbol(t[i], ":")) return fail(l.line, "this line needs a : at the end");
            ++i;
            return nothingLeft();
        };

        if (k == "set" || k == "add") {
            if (n < 2 || t[1].kind != Token::Name)
                return fail(l.line, k + " needs a name, like \"" + k + " gravity 0.5\"");
            s.name = t[1].text;
            i = 2;
            if (i < n && (isSymbol(t[i], "=") || isName(t[i], "to"))) ++i;
            if (!readOne()) return false;
            if (!nothingLeft()) return false;
        } else if (k == "say") {
            if (n < 2 || t[1].kind != Token::Text) return fail(l.line, "say needs a text in quotes, like say \"Hello!\"");
            s.text = t[1].text;
            i = 2;
            if (!nothingLeft()) return false;
        } else if (k == "heal" || k == "hurt") {
            if (!readArgs()) return false;
            if (s.args.size() > 1) return fail(l.line, "there's something extra at the end of this line");
            if (!nothingLeft()) return false;
        } else if (k == "repeat" || k == "if") {
            if (k == "repeat" && (i >= n || isSymbol(t[i], ":")))
                return fail(l.line, "repeat needs a number, like \"repeat 3:\"");
            if (!readOne()) return false;
            if (!colonThenNothing()) return false;
            return bodies(pos, end, depth, s);
        } else if (k == "boost") {
            if (!readArgs()) return false;
            if (s.args.size() != 2) return fail(l.line, "boost needs two numbers: sideways and up/down");
            if (!nothingLeft()) return false;
        } else if (k == "spawn") {
            if (n < 2 || t[1].kind != Token::Name ||
                std::find(kSpawnKinds.begin(), kSpawnKinds.end(), t[1].text) == kSpawnKinds.end())
                return fail(l.line, "spawn needs one of: gem, crawler, buzzer, spring, hopper, spiker");
            s.name = t[1].text;
            i = 2;
            if (!readArgs()) return false;
            if (s.args.size() > 2) return fail(l.line, "there's something extra at the end of this line");
            if (!nothingLeft()) return false;
        } else if (k == "color") {
            static const char* const kMessage = "color needs red green blue (0-255), or rainbow, or normal";
            if (n == 2 && (isName(t[1], "rainbow") || isName(t[1], "normal"))) {
                s.name = t[1].text;
            } else {
                if (n >= 2 && t[1].kind == Token::Text) return fail(l.line, kMessage);
                if (!readArgs()) return false;
                if (s.args.size() != 3) return fail(l.line, kMessage);
                if (!nothingLeft()) return false;
            }
        } else if (k == "sound") {
            if (n < 2 || t[1].kind != Token::Name) return fail(l.line, "sound needs a name, like \"sound gem\"");
            s.name = t[1].text;
            i = 2;
            if (!nothingLeft()) return false;
        } else if (k == "stop" || k == "die") {
            if (!nothingLeft()) return false;
        } else if (k == "else") {
            return fail(l.line, "else needs an if right above it");
        } else {
            return fail(l.line, "there's no step called \"" + k + "\"");
        }
        ++pos;
        return true;
    }

    // The body of repeat or if at lines[pos], and the else part of an if.
    bool bodies(std::size_t& pos, std::size_t end, int depth, Stmt& s) {
        const SourceLine& head = lines_[pos];
        ++pos;
        if (pos >= end || lines_[pos].indent <= head.indent)
            return fail(head.line, "this needs some steps under it (indented)");
        if (!run(pos, end, lines_[pos].indent, depth + 1, s.body)) return false;
        if (s.keyword != "if" || pos >= end) return true;
        const SourceLine& e = lines_[pos];
        if (e.indent != head.indent || e.tokens.size() != 2 || !isName(e.tokens[0], "else") ||
            !isSymbol(e.tokens[1], ":"))
            return true;
        ++pos;
        if (pos >= end || lines_[pos].indent <= head.indent)
            return fail(e.line, "else needs some steps under it (indented)");
        return run(pos, end, lines_[pos].indent, depth + 1, s.elseBody);
    }

    Script& script_;
    const std::vector<SourceLine>& lines_;
};

}  // namespace

const std::vector<std::string>& eventNames() {
    static const std::vector<std::string> names = {"start", "jump",    "gem",     "hurt",       "stomp",    "bosshit",
                                                   "finish", "every", "ability", "checkpoint", "transform"};
    return names;
}

bool reportError(Script& script, int line, const std::string& message) {
    if (script.error.empty()) script.error = "line " + std::to_string(line) + ": " + message;
    return false;
}

bool tokenizeLine(Script& script, const std::string& text, int line, std::vector<Token>& tokens) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (c == '#') break;
        Token t;
        if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(text[i + 1]))) {
            std::size_t j = i;
            while (j < n && (isDigit(text[j]) || text[j] == '.')) ++j;
            t.kind = Token::Number;
            t.text = text.substr(i, j - i);
            t.number = std::strtof(t.text.c_str(), nullptr);  // "1.5.2" reads as 1.5
            i = j;
        } else if (isLetter(c) || c == '_') {
            std::size_t j = i;
            while (j < n && (isLetter(text[j]) || isDigit(text[j]) || text[j] == '_')) ++j;
            t.kind = Token::Name;
            t.text = text.substr(i, j - i);
            for (char& ch : t.text) ch = lower(ch);
            i = j;
        } else if (c == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string::npos) return reportError(script, line, "a text in quotes is missing its closing \"");
            t.kind = Token::Text;
            t.text = text.substr(i + 1, close - i - 1);
            i = close + 1;
        } else if (i + 1 < n && text[i + 1] == '=' && (c == '<' || c == '>' || c == '=' || c == '!')) {
            t.kind = Token::Symbol;
            t.text = text.substr(i, 2);
            i += 2;
        } else if (std::strchr("+-*/%()<>,:=", c) != nullptr && c != '\0') {
            t.kind = Token::Symbol;
            t.text = std::string(1, c);
            ++i;
        } else {
            return reportError(script, line, "I don't understand the character '" + characterAt(text, i) + "'");
        }
        tokens.push_back(std::move(t));
    }
    return true;
}

namespace {

bool parseLines(Script& script, const std::string& text) {
    // The lines that hold tokens, each with its number and indentation.
    std::vector<SourceLine> lines;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string::npos) stop = text.size();
        if (number < std::numeric_limits<int>::max()) ++number;
        std::string line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        SourceLine l;
        l.line = number;
        std::size_t indent = 0;
        while (indent < line.size() && (line[indent] == ' ' || line[indent] == '\t')) ++indent;
        l.indent = int(std::min<std::size_t>(indent, std::numeric_limits<int>::max()));
        if (!tokenizeLine(script, line, number, l.tokens)) return false;
        if (!l.tokens.empty()) lines.push_back(std::move(l));
        start = stop + 1;
    }

    StepReader steps(script, lines);
    std::size_t i = 0;
    while (i < lines.size()) {
        const SourceLine& h = lines[i];
        const bool on = looksLikeHeader(h) && isName(h.tokens[0], "on") && h.tokens[1].kind == Token::Name;
        const bool every = looksLikeHeader(h) && isName(h.tokens[0], "every") && h.tokens[1].kind == Token::Number;
        if (!on && !every) return reportError(script, h.line, "expected \"on <event>:\" or \"every <seconds>:\"");

        EventBlock block;
        if (on) {
            const std::string& name = h.tokens[1].text;
            const auto& names = eventNames();
            if (std::find(names.begin(), names.end(), name) == names.end())
                return reportError(script, h.line, "there's no event called \"" + name + "\"");
            block.event = name;
            // "on every:" is an every-block; it keeps to the same floor.
            if (name == "every") block.interval = kMinInterval;
        } else {
            block.event = "every";
            block.interval = std::max(h.tokens[1].number, kMinInterval);
        }
        if (i + 1 >= lines.size() || looksLikeHeader(lines[i + 1]))
            return reportError(script, h.line, "this event needs some steps under it");

        std::size_t pos = i + 1;
        if (lines[pos].indent > h.indent) {
            if (!steps.run(pos, lines.size(), lines[pos].indent, 1, block.steps)) return false;
        } else {
            // Steps not indented past the header run up to the next header
            // that is not indented past it either.
            std::size_t end = pos;
            while (end < lines.size() && !(looksLikeHeader(lines[end]) && lines[end].indent <= h.indent)) ++end;
            if (!steps.run(pos, end, lines[pos].indent, 1, block.steps)) return false;
            if (pos < end) return reportError(script, lines[pos].line, "this line is indented less than the step above it");
        }
        script.blocks.push_back(std::move(block));
        i = pos;
    }
    return true;
}

}  // namespace

bool parseScript(Script& script, const std::string& text) {
    script = Script{};
    if (parseLines(script, text)) return true;
    script.blocks.clear();  // a script that did not parse runs nothing
    return false;
}

}  // namespace mivo
