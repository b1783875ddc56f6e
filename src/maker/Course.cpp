#include "maker/Course.h"

#include <algorithm>
#include <limits>

#include "core/platform/FileSystem.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

void skipBlanks(std::string_view s, std::size_t& pos) {
    while (pos < s.size() && isBlank(s[pos])) ++pos;
}

std::string_view nextWord(std::string_view s, std::size_t& pos) {
    skipBlanks(s, pos);
    const std::size_t start = pos;
    while (pos < s.size() && !isBlank(s[pos])) ++pos;
    return s.substr(start, pos - start);
}

// A decimal integer as stream extraction reads one: blanks, an optional
// sign, at least one digit. Values past the 32-bit range saturate.
bool readInt(std::string_view s, std::size_t& pos, std::int32_t& out) {
    std::size_t p = pos;
    skipBlanks(s, p);
    bool negative = false;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) negative = s[p++] == '-';
    if (p >= s.size() || s[p] < '0' || s[p] > '9') return false;
    constexpr long long kLimit = 1LL << 40;  // far past the 32-bit range
    long long v = 0;
    while (p < s.size() && s[p] >= '0' && s[p] <= '9') {
        if (v < kLimit) v = v * 10 + (s[p] - '0');
        ++p;
    }
    if (negative) v = -v;
    out = std::int32_t(std::clamp<long long>(v, std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max()));
    pos = p;
    return true;
}

// The first `chars` characters of UTF-8 text: a lead byte with the
// continuation bytes it announces is one character, and so is any other
// byte, so a character is never more than four bytes.
std::string_view firstChars(std::string_view s, std::size_t chars) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < chars && i < s.size(); ++n) {
        const auto lead = static_cast<unsigned char>(s[i++]);
        int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        while (more-- > 0 && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    return s.substr(0, i);
}

// A course name shows on one line: control characters become blanks.
std::string printableName(std::string_view s) {
    std::string name(s);
    for (char& ch : name)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = ' ';
    return name;
}

}  // namespace

const std::vector<std::string>& coursePalette() {
    static const std::vector<std::string> names = {
        "Ground",  "Spring",   "Big Spring", "Dash Panel", "Loop",      "Ledge",      "Mover",
        "Crumbler", "Rail",    "Gem",        "Gem Row",    "Monitor",   "Spikes",     "Crawler",
        "Buzzer",  "Hopper",   "Spiker",     "Turret",     "Stalactite", "Updraft",   "Laser",
        "Checkpoint", "Stone Portal", "Goal", "Eraser",
    };
    return names;
}

const std::string& paletteName(int kind) {
    static const std::string none;
    const auto& names = coursePalette();
    return kind >= 0 && kind < int(names.size()) ? names[std::size_t(kind)] : none;
}

float columnGroundY(int height) { return float(kCourseRows - height) * kCellSize; }

Course makeDefaultCourse() {
    Course c;
    c.name = "My Course";
    c.theme = 0;
    clearCourse(c);
    return c;
}

void clearCourse(Course& course) {
    course.heights.assign(kDefaultCourseColumns, kDefaultColumnHeight);
    course.items = {CourseItem{CourseItemKind::Goal, kDefaultGoalColumn, 0}};
}

std::string writeCourseText(const Course& course) {
    std::string name = course.name;
    std::replace(name.begin(), name.end(), '\n', ' ');  // one line, whatever the caller put in
    std::replace(name.begin(), name.end(), '\r', ' ');
    std::string out = "mivo2-course 1\n";
    out += "name " + name + "\n";
    out += "theme " + std::to_string(course.theme) + "\n";
    out += "heights";
    for (std::int32_t h : course.heights) {
        out += ' ';
        out += std::to_string(h);
    }
    out += "\n";
    for (const CourseItem& it : course.items)
        out += "item " + std::to_string(it.kind) + " " + std::to_string(it.column) + " " + std::to_string(it.row) + "\n";
    return out;
}

bool readCourseText(Course& course, std::string_view text) {
    std::size_t pos = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // a byte order mark from a text editor
    if (nextWord(text, pos) != "mivo2-course") return false;
    // The rest of the header line (the version) is not looked at.
    pos = text.find('\n', pos);
    pos = pos == std::string_view::npos ? text.size() : pos + 1;

    Course read = makeDefaultCourse();
    read.heights.clear();
    read.items.clear();
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::size_t p = 0;
        const std::string_view keyword = nextWord(line, p);
        if (keyword == "name") {
            const std::string_view rest = line.substr(p);
            read.name = rest.empty() ? "Course" : printableName(firstChars(rest.substr(1), kMaxCourseNameChars));
        } else if (keyword == "theme") {
            std::int32_t theme = 0;
            if (readInt(line, p, theme)) read.theme = std::clamp(theme, 0, 5);
        } else if (keyword == "heights") {
            std::int32_t h = 0;
            while (read.heights.size() < std::size_t(kMaxCourseColumns) && readInt(line, p, h))
                read.heights.push_back(std::clamp(h, 0, kMaxColumnHeight));
        } else if (keyword == "item") {
            CourseItem it;
            if (readInt(line, p, it.kind) && readInt(line, p, it.column) && readInt(line, p, it.row) &&
                std::uint32_t(it.kind) <= std::uint32_t(kLastFileKind))
                read.items.push_back(it);
        }
    }
    if (read.heights.size() < std::size_t(kMinCourseColumns)) return false;
    course.theme = read.theme;
    course.heights = std::move(read.heights);
    course.items = std::move(read.items);
    course.name = std::move(read.name);
    return true;
}

bool readCourseFile(const std::string& path, Course& course) {
    std::string text;
    if (readFile(path, text, kMaxCourseFileBytes + 1)) return false;
    if (text.size() > kMaxCourseFileBytes) {
        // Longer than any course needs: only the whole lines of the first part count.
        text.resize(kMaxCourseFileBytes);
        const std::size_t lastLine = text.rfind('\n');
        text.resize(lastLine == std::string::npos ? 0 : lastLine + 1);
    }
    return !text.empty() && readCourseText(course, text);
}

std::string courseSlotPath(const std::string& dataFolder, int slot) {
    return dataFolder + "maker2_" + std::to_string(slot + 1) + ".txt";
}
