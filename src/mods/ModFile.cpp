#include "mods/ModFile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trimEnd(std::string_view s) {
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

// A factor from its value; a value that is not a number leaves it as it was.
void setFactor(float& factor, float value, float lo, float hi) {
    if (!std::isnan(value)) factor = std::clamp(value, lo, hi);
}

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string scriptTooLongMessage() {
    return "the script is too long (at most " + std::to_string(kMaxModFileBytes >> 10) + " KB)";
}

ModText readModText(std::string_view text, ModInfo& mod) {
    ModText out;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte order mark from Notepad
    std::size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string_view::npos) stop = text.size();
        const std::string_view line = text.substr(start, stop - start);
        start = stop + 1;
        ++lineNumber;

        if (trimEnd(line) == "code:") {
            out.isMod = true;
            out.hasCode = true;
            out.code.assign(std::size_t(lineNumber), '\n');
            if (start < text.size()) out.code.append(text.substr(start));
            break;
        }
        if (line.empty() || line[0] == '#') continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string key = lower(trim(line.substr(0, colon)));
        const std::string value(trim(line.substr(colon + 1)));
        const float number = std::strtof(value.c_str(), nullptr);

        if (key == "name") {
            mod.name = cutUtf8(value, kMaxModNameBytes);
        } else if (key == "description") {
            mod.description = cutUtf8(value, kMaxModDescriptionBytes);
        } else if (key == "gravity") {
            setFactor(mod.gravity, number, 0.2f, 3.0f);
        } else if (key == "speed") {
            setFactor(mod.speed, number, 0.3f, 3.0f);
        } else if (key == "jump") {
            setFactor(mod.jump, number, 0.3f, 3.0f);
        } else if (key == "size") {
            setFactor(mod.size, number, 0.4f, 1.6f);
        } else if (key == "rainbow") {
            mod.rainbow = number != 0.0f;
        } else if (key == "onehit") {
            mod.onehit = number != 0.0f;
        } else if (key == "infiniteair") {
            mod.infiniteair = number != 0.0f;
        } else if (key == "nobadniks") {
            mod.nobadniks = number != 0.0f;
        } else if (key == "doublegems") {
            mod.doublegems = number != 0.0f;
        } else if (key == "color") {
            std::istringstream in(value);
            long r = 0, g = 0, b = 0;
            if (in >> r >> g >> b) {
                mod.hasColor = true;
                auto byte = [](long v) { return sf::Uint8(std::clamp(v, 0L, 255L)); };
                mod.color = sf::Color(byte(r), byte(g), byte(b), 255);
            }
        } else {
            continue;  // unknown keys are ignored
        }
        if (key == "name" || key == "gravity" || key == "speed" || key == "jump" || key == "size" || key == "color")
            out.isMod = true;
    }
    return out;
}

std::shared_ptr<mivo::Script> parseModScript(const std::string& text, bool tooLong) {
    auto script = std::make_shared<mivo::Script>();
    if (tooLong)
        script->error = scriptTooLongMessage();
    else
        mivo::parseScript(*script, text);
    return script;
}

std::string cutUtf8(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    while (end > 0 && isUtf8Continuation(text[end])) --end;
    return text.substr(0, end);
}

std::string shortenText(const std::string& text, std::size_t maxChars) {
    // Counts characters by their first bytes; stray continuation bytes count
    // with the character before them.
    std::size_t chars = 0, keepEnd = text.size();
    const std::size_t keep = maxChars >= 3 ? maxChars - 3 : 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isUtf8Continuation(text[i])) continue;
        if (chars == keep) keepEnd = i;
        ++chars;
    }
    if (chars <= maxChars) return text;
    return text.substr(0, keepEnd) + "...";
}
