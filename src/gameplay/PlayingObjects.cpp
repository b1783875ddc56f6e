// The object passes of an act in play: items, baddies, hazards.
#include "core/Mivoland2.h"

void Mivoland2::runObjectPasses(float) {}
