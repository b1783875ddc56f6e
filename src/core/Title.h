#pragma once

// The hero parade along the bottom of the title screen: hero i runs right
// and wraps round after 1160 units, hopping as it goes.
float paradeX(int hero, float time);
float paradeHop(int hero, float time);

// The rainbow hue of title letter i at a time.
float titleLetterHue(int letter, float time);
