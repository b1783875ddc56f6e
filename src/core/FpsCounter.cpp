#include "core/FpsCounter.h"

#include "core/Mivoland2.h"
#include "render/Draw.h"

void Mivoland2::drawFps(DrawContext& ctx) {
    if (!settings.showFps) return;
    drawText(ctx, "FPS " + std::to_string(fps.fps), {8.0f, 516.0f}, 14, sf::Color::White, 1.0f);
}
