// Boss looks checked by pixels in a render texture.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <cstdlib>
#include <functional>
#include <memory>

#include "content/BossLooks.h"
#include "core/platform/Platform.h"

namespace {

struct Canvas {
    std::unique_ptr<sf::RenderTexture> holder;  // made only when there is a display
    sf::Font font;
    bool ok = false;

    // A 200 x 200 window onto the world around (cx, cy).
    Canvas(float cx, float cy) {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) return;  // the test runner provides a virtual one
        for (const std::string& p : uiFontCandidates())
            if (font.loadFromFile(p)) {
                ok = true;
                break;
            }
        if (!ok) return;
        holder = std::make_unique<sf::RenderTexture>();
        ok = holder->create(200, 200);
        if (ok) holder->setView(sf::View({cx, cy}, {200, 200}));
    }
    sf::Image paint(const std::function<void(DrawContext&)>& draw) {
        sf::RenderTexture& tex = *holder;
        tex.clear(sf::Color(10, 20, 30));
        DrawContext ctx{tex, font};
        draw(ctx);
        tex.display();
        return tex.getTexture().copyToImage();
    }
    // The pixel under world point (x, y).
    static sf::Color at(const sf::Image& img, float cx, float cy, float x, float y) {
        return img.getPixel(unsigned(x - cx + 100), unsigned(y - cy + 100));
    }
};

BossState beetleAt(float x, float y) {
    BossState b;
    spawnBoss(b, BrambleBeetle, 1000, 2100, 600);
    b.x = x;
    b.y = y;
    return b;
}

}  // namespace

TEST(BossLooks, AGoneBossDrawsNothing) {
    Canvas c(1500, 500);
    if (!c.ok) GTEST_SKIP() << "no display or font";
    BossArena a;
    BossState b = beetleAt(1500, 500);
    b.zones.push_back(BossZone{1450, 450, 100, 100, 0, 1, 2, 0});
    b.defeated = b.gone = true;
    sf::Image img = c.paint([&](DrawContext& ctx) { drawBoss(ctx, b, a, 1.0f, 0); });
    for (unsigned y = 0; y < 200; y += 5)
        for (unsigned x = 0; x < 200; x += 5) ASSERT_EQ(img.getPixel(x, y), sf::Color(10, 20, 30));
}

TEST(BossLooks, TheHitFlashBlinksTheBodyWhite) {
    Canvas c(1500, 500);
    if (!c.ok) GTEST_SKIP() << "no display or font";
    BossArena a;
    a.player = {1200, 500};
    // A point on the shell away from its markings.
    const float px = 1500 + 20, py = 500 + 30;
    struct Case {
        float flash;
        bool white;
    } cases[] = {{0, false}, {0.92f, true}, {0.97f, false}, {0.42f, true}};
    for (const Case& k : cases) {
        BossState b = beetleAt(1500, 500);
        b.facing = -1;
        b.hitFlash = k.flash;
        EXPECT_EQ(bossFlashWhite(b), k.white) << k.flash;
        sf::Image img = c.paint([&](DrawContext& ctx) { drawBossBody(ctx, b, a, 1.0f, 0); });
        sf::Color p = Canvas::at(img, 1500, 500, px, py);
        if (k.white)
            EXPECT_EQ(p, sf::Color::White) << k.flash;
        else
            EXPECT_EQ(p, sf::Color(60, 140, 70)) << k.flash;
    }
}

TEST(BossLooks, AWarningZoneIsOnlyAStripAlongItsBottom) {
    Canvas c(1500, 500);
    if (!c.ok) GTEST_SKIP() << "no display or font";
    BossZone z{1450, 450, 100, 100, 0.5f, 1, 2, 0};
    sf::Image warn = c.paint([&](DrawContext& ctx) { drawBossZone(ctx, z, 0.3f, 0.3f); });
    EXPECT_EQ(Canvas::at(warn, 1500, 500, 1500, 500), sf::Color(10, 20, 30));
    EXPECT_NE(Canvas::at(warn, 1500, 500, 1500, 547), sf::Color(10, 20, 30));
    z.warn = 0;
    sf::Image live = c.paint([&](DrawContext& ctx) { drawBossZone(ctx, z, 0.3f, 0.3f); });
    EXPECT_NE(Canvas::at(live, 1500, 500, 1500, 500), sf::Color(10, 20, 30));
}
