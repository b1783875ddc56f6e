// Running script steps: variables, arithmetic in 32-bit floats, if, repeat,
// set, add and stop here; every other step is handed to the host.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "script/Script.h"

namespace mivo {

namespace {

constexpr float kEqualTolerance = 0.0001f;

bool truthy(float v) { return v != 0.0f; }  // NaN counts as true

float binary(const std::string& op, float a, float b) {
    if (op == "+") return a + b;
    if (op == "-") return a - b;
    if (op == "*") return a * b;
    if (op == "/") return b == 0.0f ? 0.0f : a / b;
    if (op == "%") return b == 0.0f ? 0.0f : std::fmod(a, b);
    if (op == "<") return a < b ? 1.0f : 0.0f;
    if (op == ">") return a > b ? 1.0f : 0.0f;
    if (op == "<=") return a <= b ? 1.0f : 0.0f;
    if (op == ">=") return a >= b ? 1.0f : 0.0f;
    if (op == "==") return std::fabs(a - b) < kEqualTolerance ? 1.0f : 0.0f;
    if (op == "!=") return std::fabs(a - b) < kEqualTolerance ? 0.0f : 1.0f;
    if (op == "and") return truthy(a) && truthy(b) ? 1.0f : 0.0f;
    if (op == "or") return truthy(a) || truthy(b) ? 1.0f : 0.0f;
    return 0.0f;
}

// The number of passes of repeat: truncated toward zero, 0..100.
int repeatCount(float v) {
    if (!(v >= 1.0f)) return 0;  // NaN too
    return v >= float(kMaxRepeat) ? kMaxRepeat : int(v);
}

bool overBudget(const Script& s) { return s.stopped || s.stepCount > kMaxStepsPerRun; }

void execute(Script& s, const std::vector<Stmt>& steps, const ScriptHost& host) {
    for (const Stmt& step : steps) {
        if (s.stopped) return;
        if (++s.stepCount > kMaxStepsPerRun) return;
        const std::string& k = step.keyword;
        const Expr* first = step.args.empty() ? nullptr : step.args.front().get();
        if (k == "stop") {
            s.stopped = true;
            return;
        }
        if (k == "if") {
            execute(s, truthy(evaluate(s, first, host)) ? step.body : step.elseBody, host);
        } else if (k == "repeat") {
            const int passes = repeatCount(evaluate(s, first, host));
            for (int i = 0; i < passes && !overBudget(s); ++i) execute(s, step.body, host);
        } else if (k == "set" || k == "add") {
            float value = evaluate(s, first, host);
            if (k == "add") value += lookUpVariable(s, step.name, host);
            if (!host.setVariable || !host.setVariable(step.name, value)) s.locals[step.name] = value;
        } else {
            std::vector<float> args;
            args.reserve(step.args.size());
            for (const ExprPtr& a : step.args) args.push_back(evaluate(s, a.get(), host));
            const std::string text = k == "say" ? buildSayText(s, step.text, host) : std::string();
            if (host.runStep) host.runStep(step, args, text);
        }
    }
}

}  // namespace

float lookUpVariable(const Script& script, const std::string& name, const ScriptHost& host) {
    float value = 0.0f;
    if (host.getVariable && host.getVariable(name, value)) return value;
    const auto it = script.locals.find(name);
    return it == script.locals.end() ? 0.0f : it->second;
}

float evaluate(const Script& script, const Expr* e, const ScriptHost& host) {
    if (!e) return 0.0f;
    switch (e->kind) {
        case Expr::Number: return e->number;
        case Expr::Name: return lookUpVariable(script, e->text, host);
        case Expr::Binary: {
            // Both sides always run, "and" and "or" included.
            const float a = evaluate(script, e->left.get(), host);
            const float b = evaluate(script, e->right.get(), host);
            return binary(e->text, a, b);
        }
        case Expr::Unary: {
            const float v = evaluate(script, e->left.get(), host);
            if (e->text == "not") return v == 0.0f ? 1.0f : 0.0f;
            return -v;
        }
        case Expr::Random: {
            const float low = evaluate(script, e->left.get(), host);
            const float high = evaluate(script, e->right.get(), host);
            const float r = float(std::rand() % 10001);
            return low + r * (high - low) / 10000.0f;
        }
        default: return 0.0f;
    }
}

std::string formatScriptNumber(float v) {
    char buffer[64];
    if (std::fabs(v) < 1e9f && v == std::trunc(v)) {
        std::snprintf(buffer, sizeof buffer, "%d", int(v));
        return buffer;
    }
    // Fixed notation of the largest float is 39 digits, so this never cuts.
    std::snprintf(buffer, sizeof buffer, "%.2f", double(v));
    return buffer;
}

std::string buildSayText(const Script& script, const std::string& text, const ScriptHost& host) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('{', i);
        if (open == std::string::npos) break;
        const std::size_t close = text.find('}', open + 1);
        if (close == std::string::npos) break;  // no later "{" has a "}" either
        out.append(text, i, open - i);
        out += formatScriptNumber(lookUpVariable(script, text.substr(open + 1, close - open - 1), host));
        i = close + 1;
    }
    out.append(text, i, std::string::npos);
    return out;
}

void runBlock(Script& script, const std::vector<Stmt>& steps, const ScriptHost& host) {
    script.stepCount = 0;
    script.stopped = false;
    execute(script, steps, host);
}

void runEvent(Script& script, const std::string& event, const ScriptHost& host) {
    if (!script.error.empty()) return;
    for (const EventBlock& block : script.blocks)
        if (block.event == event) runBlock(script, block.steps, host);
}

void runTimers(Script& script, float dt, const ScriptHost& host) {
    if (!script.error.empty()) return;
    for (EventBlock& block : script.blocks) {
        if (block.event != "every") continue;
        block.timer += dt;
        if (block.timer >= block.interval) {
            block.timer = 0.0f;  // the remainder is dropped
            runBlock(script, block.steps, host);
        }
    }
}

}  // namespace mivo
