#include "core/Toast.h"

#include <algorithm>

#include "core/Mivoland2.h"
#include "render/Draw.h"

float toastBoxTop(float t) {
    const float a = std::clamp(4.0f * std::min(Toast::kDuration - t, t), 0.0f, 1.0f);
    return 540.0f - 56.0f * a;
}

void Mivoland2::showToast(std::string message) { toast.show(std::move(message)); }

void Mivoland2::drawToast(DrawContext& ctx) {
    if (!toast.visible()) return;
    sf::Text text;
    text.setFont(ctx.font);
    text.setString(sf::String::fromUtf8(toast.message.begin(), toast.message.end()));
    text.setCharacterSize(18);
    const float w = text.getLocalBounds().width + 40.0f;
    const float top = toastBoxTop(toast.timer);
    drawRect(ctx, {480.0f - w * 0.5f, top}, {w, 40.0f}, sf::Color(20, 20, 50, 235), 2.0f,
             sf::Color(255, 220, 90));
    drawText(ctx, text, toast.message, {480.0f, top + 9.0f}, 18, sf::Color::White, 0.0f, kAlignCenter);
}
