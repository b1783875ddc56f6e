#pragma once
#include <string>

struct DrawContext;

// The mods' message banner: the line of a script's "say", centred near the
// top of the play screen below the HUD rows, on a dark band so it reads over
// every zone. It fades out over its last moments; nothing when timeLeft is
// 0 or the text is empty.
void drawSayBanner(DrawContext& ctx, const std::string& text, float timeLeft);

constexpr float kSayBannerTop = 128.0f;     // top of the band, logical units
constexpr float kSayBannerHeight = 34.0f;
