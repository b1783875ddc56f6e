#include <gtest/gtest.h>

#include <string>

#include "core/platform/FileSystem.h"
#include "maker/Course.h"
#include "maker/MakerEditor.h"
#include "support/TempFolder.h"

namespace {

std::string heightsLine(int count, int value = 3) {
    std::string s = "heights";
    for (int i = 0; i < count; ++i) s += " " + std::to_string(value);
    return s + "\n";
}

// A course that differs from the default in every field, so that a read
// that leaves it untouched shows.
Course marker() {
    Course c;
    c.name = "Untouched";
    c.theme = 4;
    c.heights.assign(33, 7);
    c.items = {{CourseItemKind::Gem, 1, 2}};
    return c;
}

}  // namespace

TEST(CourseFormat, PaletteNumbersTheEntries) {
    const auto& p = coursePalette();
    ASSERT_EQ(p.size(), 25u);
    EXPECT_EQ(p[0], "Ground");
    EXPECT_EQ(p[4], "Loop");
    EXPECT_EQ(p[11], "Monitor");
    EXPECT_EQ(p[22], "Stone Portal");
    EXPECT_EQ(p[23], "Goal");
    EXPECT_EQ(p[24], "Eraser");
    EXPECT_EQ(paletteName(25), "");
    EXPECT_EQ(paletteName(-1), "");
}

TEST(CourseFormat, DefaultAndClearedCourse) {
    const Course d = makeDefaultCourse();
    EXPECT_EQ(d.name, "My Course");
    EXPECT_EQ(d.theme, 0);
    EXPECT_EQ(d.heights, std::vector<std::int32_t>(120, 3));
    EXPECT_EQ(d.items, (std::vector<CourseItem>{{23, 112, 0}}));

    Course c = marker();
    clearCourse(c);
    EXPECT_EQ(c.name, "Untouched");
    EXPECT_EQ(c.theme, 4);
    EXPECT_EQ(c.heights, d.heights);
    EXPECT_EQ(c.items, d.items);
}

TEST(CourseFormat, WritesTheFullFormat) {
    Course c;
    c.name = "Hill";
    c.theme = 2;
    c.heights = {1, 12, 0};
    c.items = {{5, 1, 7}, {23, 2, 0}};
    EXPECT_EQ(writeCourseText(c), "mivo2-course 1\nname Hill\ntheme 2\nheights 1 12 0\nitem 5 1 7\nitem 23 2 0\n");
    c.items.clear();
    c.name = "two\nlines";
    EXPECT_EQ(writeCourseText(c), "mivo2-course 1\nname two lines\ntheme 2\nheights 1 12 0\n");
}

TEST(CourseFormat, DefaultCourseRoundTrips) {
    const Course d = makeDefaultCourse();
    Course back = marker();
    ASSERT_TRUE(readCourseText(back, writeCourseText(d)));
    EXPECT_EQ(back, d);

    Course odd = d;
    odd.name = "";
    odd.theme = 5;
    odd.heights.assign(400, 12);
    odd.items = {{0, 399, 13}, {22, -4, 50}};
    back = marker();
    ASSERT_TRUE(readCourseText(back, writeCourseText(odd)));
    EXPECT_EQ(back, odd);
}

TEST(CourseFormat, ReadingRules) {
    const std::string h20 = heightsLine(20);
    std::string accents;  // 30 two-byte characters, of which 24 (48 bytes) stay
    for (int i = 0; i < 30; ++i) accents += "\xC3\xA9";
    struct Case {
        const char* what;
        std::string text;
        bool ok;
        int columns = 20;
        std::string name = "My Course";
        int theme = 0;
    };
    const Case cases[] = {
        {"version 7", "mivo2-course 7\n" + h20, true},
        {"no version", "mivo2-course\n" + h20, true},
        {"19 heights", "mivo2-course 1\n" + heightsLine(19), false},
        {"450 heights", "mivo2-course 1\n" + heightsLine(450), true, 400},
        {"heights lines append", "mivo2-course 1\n" + heightsLine(15) + heightsLine(10), true, 25},
        {"heights lines stop at 400", "mivo2-course 1\n" + heightsLine(300) + heightsLine(300), true, 400},
        {"heights stop at a bad number", "mivo2-course 1\n" + heightsLine(10) + "heights 3 3 x 3\n", false},
        {"theme 9", "mivo2-course 1\ntheme 9\n" + h20, true, 20, "My Course", 5},
        {"theme -1", "mivo2-course 1\ntheme -1\n" + h20, true, 20, "My Course", 0},
        {"theme huge", "mivo2-course 1\ntheme 99999999999999\n" + h20, true, 20, "My Course", 5},
        {"theme not a number", "mivo2-course 1\ntheme 3\ntheme x\n" + h20, true, 20, "My Course", 3},
        {"bare name", "mivo2-course 1\nname\n" + h20, true, 20, "Course"},
        {"name with nothing after the blank", "mivo2-course 1\nname \n" + h20, true, 20, ""},
        {"40-character name", "mivo2-course 1\nname " + std::string(40, 'a') + "\n" + h20, true, 20,
         std::string(24, 'a')},
        {"control characters in a name", "mivo2-course 1\nname a\rb\tc\r\n" + h20, true, 20, "a b c"},
        {"stray UTF-8 bytes count one each", "mivo2-course 1\nname " + std::string(100, '\x80') + "\n" + h20, true, 20,
         std::string(24, '\x80')},
        {"name keeps inner blanks", "mivo2-course 1\nname  Two  Words \n" + h20, true, 20, " Two  Words "},
        {"long UTF-8 name", "mivo2-course 1\nname " + accents + "\n" + h20, true, 20, accents.substr(0, 48)},
        {"other keywords", "mivo2-course 1\n\nauthor me\n# note\nnames x\n" + h20, true},
        {"header word only", "mivo2-course", false},
        {"wrong header", "mivo1-course 1\n" + h20, false},
        {"longer header word", "mivo2-courses 1\n" + h20, false},
        {"empty", "", false},
        {"blank lines before the header", "\n  \nmivo2-course 1\n" + h20, true},
        {"byte order mark", "\xEF\xBB\xBFmivo2-course 1\n" + h20, true},
    };
    for (const Case& c : cases) {
        Course course = marker();
        ASSERT_EQ(readCourseText(course, c.text), c.ok) << c.what;
        if (!c.ok) {
            EXPECT_EQ(course, marker()) << c.what;
            continue;
        }
        EXPECT_EQ(int(course.heights.size()), c.columns) << c.what;
        EXPECT_EQ(course.name, c.name) << c.what;
        EXPECT_EQ(course.theme, c.theme) << c.what;
        EXPECT_TRUE(course.items.empty()) << c.what;
    }
}

TEST(CourseFormat, HeightsAreClampedAndItemsChecked) {
    Course c = marker();
    ASSERT_TRUE(readCourseText(c, "mivo2-course 1\nheights 15 -3 7 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
                                      "item 24 1 1\nitem -1 1 1\nitem 0 2 3\nitem 23 5\nitem a 1 1\n"
                                      "item 9 -7 99\nitem 4 2147483647 -2147483648\nitem 9 99999999999 0\n"));
    ASSERT_EQ(c.heights.size(), 20u);
    EXPECT_EQ(c.heights[0], 12);
    EXPECT_EQ(c.heights[1], 0);
    EXPECT_EQ(c.heights[2], 7);
    EXPECT_EQ(c.items, (std::vector<CourseItem>{
                           {0, 2, 3}, {9, -7, 99}, {4, 2147483647, -2147483647 - 1}, {9, 2147483647, 0}}));
}

TEST(CourseFormat, CrLfAndLfFilesReadTheSame) {
    const std::string lf = "mivo2-course 1\nname Twins\ntheme 3\n" + heightsLine(25, 4) + "item 9 3 4\nitem 23 20 0\n";
    std::string crlf;
    for (char ch : lf) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    Course a = marker(), b = marker();
    ASSERT_TRUE(readCourseText(a, lf));
    ASSERT_TRUE(readCourseText(b, crlf));
    EXPECT_EQ(a, b);
    EXPECT_EQ(b.name, "Twins");
    EXPECT_EQ(b.items.size(), 2u);
    // The last line may end without a line feed, or with a lone CR.
    Course c = marker();
    ASSERT_TRUE(readCourseText(c, "mivo2-course 1\r\n" + heightsLine(20) + "name End\r"));
    EXPECT_EQ(c.name, "End");
}

TEST(CourseFormat, SlotFilesAndTheReadCap) {
    TempFolder dir;
    EXPECT_EQ(courseSlotPath(dir.path(), 0), dir.path() + "maker2_1.txt");
    EXPECT_EQ(courseSlotPath(dir.path(), 2), dir.path() + "maker2_3.txt");

    Course c = marker();
    EXPECT_FALSE(readCourseFile(dir.file("missing.txt"), c));
    dir.write("empty.txt", "");
    EXPECT_FALSE(readCourseFile(dir.file("empty.txt"), c));
    EXPECT_FALSE(readCourseFile(dir.path(), c));  // a folder
    EXPECT_EQ(c, marker());

    // A file far beyond the cap: only the whole lines of its first part count.
    const std::string head = "mivo2-course 1\n" + heightsLine(20);
    const std::string line = "item 9 1 2\n";
    std::string big = head;
    while (big.size() < kMaxCourseFileBytes + 5 * line.size()) big += line;
    dir.write("big.txt", big);
    ASSERT_TRUE(readCourseFile(dir.file("big.txt"), c));
    EXPECT_EQ(c.items.size(), (kMaxCourseFileBytes - head.size()) / line.size());
    for (const CourseItem& it : c.items) ASSERT_EQ(it, (CourseItem{9, 1, 2}));
}

TEST(CourseSlots, AnUnreadableSlotGivesTheDefaultCourse) {
    const std::string h19 = heightsLine(19), h25 = heightsLine(25, 6);
    struct Case {
        const char* what;
        const char* file;  // null: no file
        std::string text;
        bool read;
    };
    const Case cases[] = {
        {"no file", nullptr, "", false},
        {"empty file", "maker2_2.txt", "", false},
        {"bad header", "maker2_2.txt", "mivo1-course 1\ntheme 3\n" + h25, false},
        {"19 columns", "maker2_2.txt", "mivo2-course 1\ntheme 3\n" + h19, false},
        {"a course", "maker2_2.txt", "mivo2-course 1\nname Slot\ntheme 3\n" + h25, true},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        if (c.file) folder.write(c.file, c.text);
        MakerEditor m;
        m.course = marker();
        m.scroll = 300;
        loadCourseSlot(m, folder.path(), 1);
        EXPECT_EQ(m.slot, 1) << c.what;
        EXPECT_EQ(m.scroll, 0.0f) << c.what;
        if (c.read) {
            EXPECT_EQ(m.course.name, "Slot") << c.what;
            EXPECT_EQ(m.course.theme, 3) << c.what;
            EXPECT_EQ(m.course.heights.size(), 25u) << c.what;
        } else {
            EXPECT_EQ(m.course, makeDefaultCourse()) << c.what;
        }
    }
}

TEST(CourseSlots, SavingReplacesTheFileWhole) {
    TempFolder dir;
    MakerEditor m;
    m.slot = 2;
    dir.write("maker2_3.txt", "old contents");
    ASSERT_TRUE(saveCourseSlot(m, dir.path()));
    EXPECT_EQ(m.message, "Saved to slot 3");
    EXPECT_EQ(dir.read("maker2_3.txt"), writeCourseText(m.course));
    std::vector<std::string> names;
    ASSERT_FALSE(listDirectory(dir.path(), names));
    EXPECT_EQ(names, std::vector<std::string>{"maker2_3.txt"});  // no temporary file left behind

    // A slot that cannot be written shows nothing and keeps what was there.
    MakerEditor blocked;
    createDirectories(dir.file("maker2_1.txt"));
    EXPECT_FALSE(saveCourseSlot(blocked, dir.path()));
    EXPECT_EQ(blocked.messageTime, 0.0f);
    EXPECT_TRUE(blocked.message.empty());
}
