#pragma once
// Turns a course into a playable level: ground polylines from the column
// heights, the start, the items as level records, and the goal.

#include "level/Level.h"
#include "maker/Course.h"

// No boss arena is ever reached in a course: arenaX lies this far right.
constexpr float kCourseNoArenaX = 1.0e9f;

// Empties the level and fills it from the course: zone = theme, act 1,
// one ground polyline per run of columns with ground (flat over each
// column, sloping through the mid-height at a border between two heights),
// the start over the first column with ground, the items, and the goal at
// the last Goal item (bossX = its x + 160), or near the right end without
// one. Columns beyond the course and heights out of range are clamped.
Level& buildLevelFromCourse(const Course& course, Level& level);
