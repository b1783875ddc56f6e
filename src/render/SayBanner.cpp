#include "render/SayBanner.h"

#include <SFML/Graphics/Text.hpp>
#include <algorithm>

#include "render/Draw.h"

namespace {

constexpr unsigned kTextSize = 20;
constexpr float kFadeTime = 0.4f;
constexpr float kPadX = 18.0f;

sf::Color faded(sf::Color c, float a) { return sf::Color(c.r, c.g, c.b, sf::Uint8(float(c.a) * a)); }

}  // namespace

void drawSayBanner(DrawContext& ctx, const std::string& text, float timeLeft) {
    if (!(timeLeft > 0.0f) || text.empty()) return;
    const float a = std::clamp(timeLeft / kFadeTime, 0.0f, 1.0f);

    sf::Text measure;
    measure.setFont(ctx.font);
    measure.setCharacterSize(kTextSize);
    measure.setString(sf::String::fromUtf8(text.begin(), text.end()));
    const float width = std::max(measure.getLocalBounds().width, 40.0f) + 2.0f * kPadX;

    drawRect(ctx, {480.0f - width * 0.5f, kSayBannerTop}, {width, kSayBannerHeight},
             faded(sf::Color(14, 14, 34, 205), a), 2.0f, faded(sf::Color(255, 226, 120, 210), a));
    drawText(ctx, text, {480.0f, kSayBannerTop + 5.0f}, kTextSize, faded(sf::Color(255, 246, 210), a), 2.0f,
             kAlignCenter);
}
