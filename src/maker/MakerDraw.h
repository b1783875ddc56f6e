#pragma once
// Drawing of the course editor: the grid with the ground and the item icons,
// the button bar, the palette bar, the hint line and the message.

#include <SFML/System/Vector2.hpp>
#include <string>

#include "content/Zones.h"
#include "maker/MakerEditor.h"
#include "render/Batch.h"
#include "render/Draw.h"

// The icon of palette entry `kind`, fitting a square of the given side
// around the centre. The ground, ledges and loops take the zone's colours.
void drawCourseItemIcon(ShapeBatch& b, int kind, sf::Vector2f centre, float size, const ZonePalette& zone);

// What the editor screen shows besides the editor itself.
struct MakerSceneInfo {
    std::string heroName;  // the "Hero" button's label
    int hero = 0;          // the test hero: a small figure on that button
    sf::Vector2f mouse;    // the cell under it is outlined
    float time = 0;
};

// The columns the grid shows: from the one under the view's left edge to 35
// further, within the course. Empty (first > last) for an empty course.
struct ColumnRange {
    int first = 0, last = -1;
};
ColumnRange visibleColumns(const MakerEditor& m);

void drawMakerScreen(DrawContext& ctx, const MakerEditor& m, const MakerSceneInfo& info);
