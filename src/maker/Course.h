#pragma once
// A hand-built course: a row of ground columns of chosen heights and items
// placed on a grid of 48-unit cells, the palette that numbers the items, and
// the "mivo2-course" text format shared by the maker's slots and by mods.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The palette entries; an entry's number is its kind. 0 and 24 are editor
// tools; only 0..23 may stand in a file.
struct CourseItemKind {
    enum : std::int32_t {
        Ground = 0,
        Spring = 1,
        BigSpring = 2,
        DashPanel = 3,
        Loop = 4,
        Ledge = 5,
        Mover = 6,
        Crumbler = 7,
        Rail = 8,
        Gem = 9,
        GemRow = 10,
        Monitor = 11,
        Spikes = 12,
        Crawler = 13,
        Buzzer = 14,
        Hopper = 15,
        Spiker = 16,
        Turret = 17,
        Stalactite = 18,
        Updraft = 19,
        Laser = 20,
        Checkpoint = 21,
        StonePortal = 22,
        Goal = 23,
        Eraser = 24,
    };
};

constexpr int kPaletteSize = 25;
constexpr int kLastFileKind = CourseItemKind::Goal;  // kinds 0..23 may stand in a file

constexpr float kCellSize = 48.0f;      // a cell is 48 x 48 units
constexpr int kCourseRows = 14;         // rows 0 (top) to 13
constexpr int kMaxColumnHeight = 12;    // ground heights 0 (a pit) to 12
constexpr int kMinCourseColumns = 20;   // fewer and a file is rejected
constexpr int kMaxCourseColumns = 400;  // heights beyond these are dropped
constexpr int kDefaultCourseColumns = 120;
constexpr int kDefaultColumnHeight = 3;
constexpr int kDefaultGoalColumn = 112;
constexpr std::size_t kMaxCourseNameChars = 24;

// A course file is read only up to this size; the rest is never looked at,
// so a huge file costs neither memory nor a long frame.
constexpr std::size_t kMaxCourseFileBytes = 2u << 20;

// The 25 palette names, index = kind ("Ground" ... "Goal", "Eraser").
const std::vector<std::string>& coursePalette();
// The palette name of a kind, or "" outside 0..24.
const std::string& paletteName(int kind);

struct CourseItem {
    std::int32_t kind = 0;
    std::int32_t column = 0;
    std::int32_t row = 0;
    bool operator==(const CourseItem&) const = default;
};

struct Course {
    std::int32_t theme = 0;             // zone 0..5: the level's look and music
    std::vector<std::int32_t> heights;  // one per column, 0..12
    std::vector<CourseItem> items;      // in placement order
    std::string name;
    bool operator==(const Course&) const = default;
};

// The ground surface y of a column of height h: (14 - h) * 48.
float columnGroundY(int height);

// "My Course", theme 0, 120 columns of height 3 and a Goal at column 112, row 0.
Course makeDefaultCourse();
// Back to 120 columns of height 3 and the single Goal; name and theme stay.
void clearCourse(Course& course);

// The file text: the header "mivo2-course 1", "name ...", "theme N",
// "heights h h ...", then one "item kind column row" line per item.
std::string writeCourseText(const Course& course);

// Reads a course file's text. True: the course's theme, heights, items and
// name are replaced by what was read. False (no "mivo2-course" header word,
// or fewer than 20 heights): the course is untouched. Numbers out of range
// are clamped (theme 0..5, heights 0..12), heights past the 400th and items
// of unknown kinds are dropped, lines with other keywords are ignored, and a
// CR before a line feed does not count. A name keeps its first 24
// characters, with control characters turned into blanks.
bool readCourseText(Course& course, std::string_view text);

// Reads the first kMaxCourseFileBytes of a file (cut back to its last whole
// line when the file is longer) and hands them to readCourseText. False when
// the file cannot be read, is empty or is not a course.
bool readCourseFile(const std::string& path, Course& course);

constexpr int kCourseSlotCount = 3;
// The maker's slot file: "maker2_" + (slot + 1) + ".txt" in the data folder.
std::string courseSlotPath(const std::string& dataFolder, int slot);
