#pragma once
#include <SFML/Graphics/Rect.hpp>

#include "content/Zones.h"
#include "level/Level.h"
#include "render/Batch.h"

// The checkered ground of a level: body bands, the surface strip and the
// zone's surface ornaments, for every segment within 60 units of the view.
void drawTerrain(ShapeBatch& batch, const Level& level, const ZoneDef& zone, int zoneIndex, sf::FloatRect view,
                 float t);

// The checker cell colour of band `band` in the column of segment x.
sf::Color terrainCellColor(const ZonePalette& palette, int band, float segmentX);
