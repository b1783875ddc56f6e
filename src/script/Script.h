#pragma once
// The mods' scripting language: an indented text of event blocks ("on jump:",
// "every 2:") holding steps such as set, say, spawn, if and repeat.
//
// parseScript turns the text into blocks of steps whose arguments are
// expression trees, or into one message naming the line of the first fault.
// runBlock and friends run the steps. The runtime knows only variables,
// arithmetic, if, repeat, set, add and stop; everything that touches the game
// goes through a ScriptHost of three callbacks. Nothing here knows the game.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mivo {

// One lexeme of a line.
struct Token {
    enum : int { Number = 0, Name = 1, Text = 2, Symbol = 3 };
    int kind = Number;
    std::string text;  // a name lower-cased, a text without its quotes, or the symbol
    float number = 0;  // value of a number token
};

struct Expr;
using ExprPtr = std::shared_ptr<Expr>;

// A node of an argument's expression tree.
struct Expr {
    enum : int { Number = 0, Name = 1, Binary = 2, Unary = 3, Random = 4 };
    int kind = Number;
    float number = 0;  // Number
    std::string text;  // Name: the variable; Binary and Unary: the operator
    ExprPtr left;      // operands; Unary uses left; Random: left low, right high
    ExprPtr right;
};

// One step of a block.
struct Stmt {
    std::string keyword;  // lower-cased; "colour" is stored as "color"
    std::string name;     // set/add: variable; sound: sound name; spawn: kind; color: "rainbow"/"normal"
    std::string text;     // say: the quoted text
    std::vector<ExprPtr> args;
    std::vector<Stmt> body;      // repeat and if
    std::vector<Stmt> elseBody;  // if ... else
    int line = 0;
};

// The steps under one "on <event>:" or "every <seconds>:" header.
struct EventBlock {
    std::string event;   // one of eventNames(); "every" for timed blocks
    float interval = 0;  // seconds, "every" blocks only; never below kMinInterval
    float timer = 0;     // seconds gathered toward the interval
    std::vector<Stmt> steps;
};

struct Script {
    std::string error;  // empty when the script parsed; else "line N: message"
    std::vector<EventBlock> blocks;

    // Runtime state. The script's own variables live as long as the script.
    std::map<std::string, float> locals;
    int stepCount = 0;     // steps started in the current run
    bool stopped = false;  // "stop" ran in the current run
};

// ---- Parsing ------------------------------------------------------------------

constexpr float kMinInterval = 0.1f;  // "every" blocks run at most ten times a second
constexpr int kMaxNesting = 200;      // levels of brackets and prefixes in a line, or of step bodies

// The event names accepted after "on".
const std::vector<std::string>& eventNames();

// Sets error to "line " + line + ": " + message unless an error is already
// recorded (the first one found is kept). Always false.
bool reportError(Script& script, int line, const std::string& message);

// Splits one line into tokens. False after recording an error.
bool tokenizeLine(Script& script, const std::string& text, int line, std::vector<Token>& tokens);

// Fills the script from the whole text; false on failure, with error set.
// Takes time in proportion to the length of the text.
bool parseScript(Script& script, const std::string& text);

// ---- Running ---------------------------------------------------------------------

// What the game lends the scripts: its own variables and its steps.
struct ScriptHost {
    // True with the value when the game owns the variable.
    std::function<bool(const std::string& name, float& value)> getVariable;
    // True when the game owns the variable and took the value.
    std::function<bool(const std::string& name, float value)> setVariable;
    // Carries out a game step (say, heal, spawn, ...) with its evaluated
    // arguments; text is the built text of say, else empty.
    std::function<void(const Stmt& step, const std::vector<float>& args, const std::string& text)> runStep;
};

constexpr int kMaxStepsPerRun = 5000;  // a run that passes this ends quietly
constexpr int kMaxRepeat = 100;

// Runs steps from a fresh start: no steps counted, not stopped.
void runBlock(Script& script, const std::vector<Stmt>& steps, const ScriptHost& host);

// Runs every block of the event, in order. Does nothing for a script that
// did not parse.
void runEvent(Script& script, const std::string& event, const ScriptHost& host);

// Adds dt to every "every" block's timer; a block whose timer reaches its
// interval has the timer set back to 0 and runs.
void runTimers(Script& script, float dt, const ScriptHost& host);

// A variable as steps see it: the host's, else the script's own, else 0.
float lookUpVariable(const Script& script, const std::string& name, const ScriptHost& host);

// The value of an expression; a missing expression is 0.
float evaluate(const Script& script, const Expr* expr, const ScriptHost& host);

// The text of say: every "{name}" replaced by the value of that variable.
std::string buildSayText(const Script& script, const std::string& text, const ScriptHost& host);

// A whole number below 10^9 in size as an integer ("7"), anything else with
// two decimals ("2.50").
std::string formatScriptNumber(float value);

}  // namespace mivo
