#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "render/Batch.h"
#include "render/Draw.h"
#include "render/Objects.h"

// The batch must give the same picture as the single-shape helpers.
namespace {

sf::Image renderWith(const std::function<void(DrawContext&)>& draw) {
    sf::RenderTexture target;
    EXPECT_TRUE(target.create(320, 200));
    target.setView(sf::View(sf::FloatRect(0, 0, 320, 200)));
    target.clear(sf::Color(10, 20, 30));
    sf::Font font;
    DrawContext ctx{target, font};
    draw(ctx);
    target.display();
    return target.getTexture().copyToImage();
}

// Pixels that differ by more than a rounding step; edges may fall either way
// on a few pixels.
int differing(const sf::Image& a, const sf::Image& b) {
    int n = 0;
    for (unsigned y = 0; y < a.getSize().y; ++y)
        for (unsigned x = 0; x < a.getSize().x; ++x) {
            const sf::Color p = a.getPixel(x, y), q = b.getPixel(x, y);
            n += std::abs(p.r - q.r) > 2 || std::abs(p.g - q.g) > 2 || std::abs(p.b - q.b) > 2;
        }
    return n;
}

void batched(DrawContext& ctx, const std::function<void(ShapeBatch&)>& add) {
    ShapeBatch b;
    add(b);
    b.flush(ctx.target);
}

}  // namespace

TEST(Batch, ShapesMatchTheSingleShapeHelpers) {
    const sf::Color fill(200, 80, 40), edge(30, 200, 90, 180);
    struct Case {
        const char* what;
        std::function<void(DrawContext&)> helper;
        std::function<void(ShapeBatch&)> batch;
        int allowed;  // edge pixels that may round differently
    };
    const Case cases[] = {
        {"rect with outline", [&](DrawContext& c) { drawRect(c, {40.5f, 30}, {120, 60}, fill, 3, edge); },
         [&](ShapeBatch& b) { b.rect({40.5f, 30}, {120, 60}, fill, 3, edge); }, 20},
        {"hexagon with outline", [&](DrawContext& c) { drawCircle(c, {160, 100}, 50, fill, 6, 4, edge); },
         [&](ShapeBatch& b) { b.circle({160, 100}, 50, fill, 6, 4, edge); }, 4},
        {"smooth disc", [&](DrawContext& c) { drawCircle(c, {100, 90}, 40, edge, 30); },
         [&](ShapeBatch& b) { b.circle({100, 90}, 40, edge, 30); }, 4},
        {"ring", [&](DrawContext& c) { drawRing(c, {160, 100}, 60, 6, fill, 40); },
         [&](ShapeBatch& b) { b.ring({160, 100}, 60, 6, fill, 40); }, 4},
        {"thick line", [&](DrawContext& c) { drawThickLine(c, {20, 20}, {290, 170}, 7, fill); },
         [&](ShapeBatch& b) { b.thickLine({20, 20}, {290, 170}, 7, fill); }, 4},
        {"gradient", [&](DrawContext& c) { drawVerticalGradient(c, {0, 0, 320, 200}, fill, edge); },
         [&](ShapeBatch& b) { b.gradient({0, 0}, {320, 200}, fill, edge); }, 0},
        {"gem", [&](DrawContext& c) { drawGem(c, {160, 100}, 0.7f, 0.8f); },
         [&](ShapeBatch& b) { drawGem(b, {160, 100}, 0.7f, 0.8f); }, 4},
    };
    for (const Case& k : cases) {
        const sf::Image a = renderWith(k.helper);
        const sf::Image b = renderWith([&](DrawContext& c) { batched(c, k.batch); });
        EXPECT_LE(differing(a, b), k.allowed) << k.what;
    }
}
