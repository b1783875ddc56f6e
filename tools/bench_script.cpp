// Times the script parser on texts of growing size, to show that the time
// grows in step with the size whatever the shape of the text.
//
//   bench_script [MEGABYTES]     (default 4: the largest size tried)
//
// For each shape the text doubles from 1/8 of the largest size up to it; the
// last column is the time per megabyte, which should stay about the same.
// Times are processor time, best of three, so a busy machine disturbs them less.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <functional>
#include <string>

#include "script/Script.h"

namespace {

// Repeats the unit after the head until the text holds about `bytes`.
std::string grow(const std::string& head, const std::string& unit, const std::string& tail, std::size_t bytes) {
    std::string s = head;
    while (s.size() + tail.size() < bytes) s += unit;
    return s + tail;
}

}  // namespace

int main(int argc, char** argv) {
    const double largest = argc > 1 ? std::atof(argv[1]) : 4.0;
    const std::size_t top = std::size_t(std::max(largest, 0.125) * 1024 * 1024);
    const struct {
        const char* name;
        std::function<std::string(std::size_t)> make;
    } shapes[] = {
        {"many blocks", [](std::size_t n) { return grow("", "on jump:\n  add n 1\n  say \"{n}\"\n", "", n); }},
        {"one long sum", [](std::size_t n) { return grow("on jump:\n  set n = 1", " * 2 + (3 - n)", "\n", n); }},
        {"long sum, fails", [](std::size_t n) { return grow("on jump:\n  set n = 1", " + 1", " + \n", n); }},
        {"long number", [](std::size_t n) { return grow("on jump:\n  set n = 0.", "1234567890", "\n", n); }},
        {"steps of one block", [](std::size_t n) { return grow("every 1:\n", "  if n > 2:\n    add n 1\n  else:\n    stop\n", "", n); }},
        {"comments, blanks", [](std::size_t n) { return grow("on jump:\n  stop\n", "   # note\n\n", "", n); }},
        {"unindented steps", [](std::size_t n) { return grow("on jump:\n", "set n 1\n", "", n); }},
        {"brackets, fails", [](std::size_t n) { return grow("on jump:\n  set n = ", "(", "\n", n); }},
    };
    std::printf("%-20s %10s %10s %12s\n", "shape", "bytes", "ms", "ms per MB");
    for (const auto& shape : shapes) {
        for (std::size_t size = top / 8; size <= top; size *= 2) {
            const std::string text = shape.make(size);
            double ms = 1e300;
            for (int round = 0; round < 3; ++round) {
                mivo::Script script;
                const std::clock_t start = std::clock();
                mivo::parseScript(script, text);
                ms = std::min(ms, 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC);
            }
            std::printf("%-20s %10zu %10.1f %12.1f\n", shape.name, text.size(), ms,
                        ms / (double(text.size()) / (1024.0 * 1024.0)));
        }
    }
    return 0;
}
