// Feeds arbitrary bytes to the course reader, builds a level from every
// course it accepts, and checks that what it read is within the format's
// limits and writes back and reads again the same.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "maker/Course.h"
#include "maker/CourseLevel.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool finite(sf::Vector2f p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxCourseFileBytes) return 0;  // the file reader never hands over more
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Course course;
    course.name = "before";
    if (!readCourseText(course, text)) {
        check(course.name == "before" && course.heights.empty());
        return 0;
    }
    check(course.heights.size() >= std::size_t(kMinCourseColumns) &&
          course.heights.size() <= std::size_t(kMaxCourseColumns));
    for (std::int32_t h : course.heights) check(h >= 0 && h <= kMaxColumnHeight);
    check(course.theme >= 0 && course.theme <= 5);
    for (const CourseItem& it : course.items) check(it.kind >= 0 && it.kind <= kLastFileKind);
    check(course.name.size() <= 4 * kMaxCourseNameChars);
    for (char ch : course.name) check(static_cast<unsigned char>(ch) >= 0x20 && ch != 0x7F);

    Course again;
    check(readCourseText(again, writeCourseText(course)));
    check(again == course);

    Level level;
    buildLevelFromCourse(course, level);
    check(!level.groundPaths.empty());
    for (const GroundPath& path : level.groundPaths) {
        check(path.size() >= 2);
        for (std::size_t i = 0; i < path.size(); ++i) {
            check(finite(path[i]));
            if (i > 0) check(path[i - 1].x < path[i].x);
        }
    }
    check(finite(level.startPos) && std::isfinite(level.bossX) && std::isfinite(level.arenaY));
    check(level.endX == float(course.heights.size()) * kCellSize);
    return 0;
}
