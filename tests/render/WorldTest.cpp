#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

#include <cmath>

#include "content/Bosses.h"
#include "content/Zones.h"
#include "gameplay/Player.h"
#include "render/Background.h"
#include "render/Hero.h"
#include "render/Hud.h"
#include "render/Objects.h"
#include "render/World.h"

namespace {

// A 960 x 540 off-screen target in logical units and a context without a
// font (text draws nothing).
struct Canvas {
    sf::RenderTexture target;
    sf::Font font;
    DrawContext ctx{target, font};

    Canvas() {
        EXPECT_TRUE(target.create(960, 540));
        target.setView(sf::View(sf::FloatRect(0, 0, 960, 540)));
        target.clear(sf::Color::Black);
    }
    sf::Image image() {
        target.display();
        return target.getTexture().copyToImage();
    }
};

// A flat level of one zone: ground at y 400 from x -2000 to 8000.
Level flatLevel(int zone) {
    Level level;
    level.zone = zone;
    GroundPath path;
    for (float x = -2000; x <= 8000; x += 48) path.push_back({x, 400});
    level.groundPaths.push_back(path);
    level.arenaY = 400;
    level.endX = 8000;
    return level;
}

int differingPixels(const sf::Image& a, const sf::Image& b, int tolerance = 0) {
    int n = 0;
    for (unsigned y = 0; y < a.getSize().y; ++y)
        for (unsigned x = 0; x < a.getSize().x; ++x) {
            const sf::Color p = a.getPixel(x, y), q = b.getPixel(x, y);
            if (std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance || std::abs(p.b - q.b) > tolerance)
                ++n;
        }
    return n;
}

}  // namespace

TEST(WorldView, NoShakeCentresTheViewOnTheCamera) {
    for (float t : {0.0f, 0.37f, 12.5f}) {
        const sf::FloatRect v = worldViewRect({1234.5f, -80.25f}, 0.0f, t);
        EXPECT_FLOAT_EQ(v.left + v.width / 2, 1234.5f);
        EXPECT_FLOAT_EQ(v.top + v.height / 2, -80.25f);
        EXPECT_FLOAT_EQ(v.width, 960.0f);
        EXPECT_FLOAT_EQ(v.height, 540.0f);
    }
    // A running shake moves the view by at most 6 and 5 units at 0.3 s.
    const sf::Vector2f s = shakeOffset(0.3f, 0.01f);
    EXPECT_GT(std::fabs(s.x) + std::fabs(s.y), 0.0f);
    EXPECT_LE(std::fabs(s.x), 6.0f + 1e-4f);
    EXPECT_LE(std::fabs(s.y), 5.0f + 1e-4f);
}

TEST(WorldView, ObjectsExactlyHundredUnitsOutsideAreCulled) {
    const sf::FloatRect v{1000, 0, 960, 540};
    EXPECT_FALSE(insideCull(900.0f, v));
    EXPECT_TRUE(insideCull(900.01f, v));
    EXPECT_TRUE(insideCull(2059.99f, v));
    EXPECT_FALSE(insideCull(2060.0f, v));
}

TEST(Background, SceneryIsAnchoredToTheViewVertically) {
    // The same view moved up and down shows the same picture in every zone.
    for (int zone = 0; zone < kZoneCount; ++zone) {
        const ZoneDef& def = zoneTable()[std::size_t(zone)];
        sf::Image shots[2];
        const float tops[2] = {-300.0f, 450.0f};
        for (int i = 0; i < 2; ++i) {
            Canvas c;
            const sf::FloatRect v{3000, tops[i], 960, 540};
            c.target.setView(sf::View(v));
            drawBackground(c.ctx, def, zone, v, 2.5f);
            shots[i] = c.image();
        }
        EXPECT_LT(differingPixels(shots[0], shots[1], 2), 200) << def.name;
    }
}

TEST(Background, StarsKeepTheirPlacesAndOnlyTwinkle) {
    const sf::FloatRect v{500, 100, 960, 540};
    const std::vector<Star> a = starField(v, 0.0f), b = starField(v, 3.3f);
    ASSERT_EQ(a.size(), 70u);
    ASSERT_EQ(b.size(), 70u);
    int brightnessChanges = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].pos, b[i].pos);
        EXPECT_EQ(a[i].radius, b[i].radius);
        EXPECT_GE(a[i].pos.y, v.top);
        EXPECT_LE(a[i].pos.y, v.top + 0.6f * v.height);
        brightnessChanges += a[i].alpha != b[i].alpha;
    }
    EXPECT_GT(brightnessChanges, 50);
}

TEST(Terrain, MovesWithTheCameraVertically) {
    Level level = flatLevel(0);
    WorldScene scene;
    scene.level = &level;
    scene.time = 1;
    sf::Image shots[2];
    const float camY[2] = {300, 360};
    for (int i = 0; i < 2; ++i) {
        Canvas c;
        scene.camera = {1000, camY[i]};
        drawWorld(c.ctx, scene);
        shots[i] = c.image();
    }
    // The surface strip starts 2 above the ground line, which is at
    // y 400 - (camera y - 270): 370 and 310 on the screen.
    const sf::Color grass = zoneTable()[0].palette.groundTop;
    auto near = [](sf::Color a, sf::Color b) {
        return std::abs(a.r - b.r) < 8 && std::abs(a.g - b.g) < 8 && std::abs(a.b - b.b) < 8;
    };
    EXPECT_TRUE(near(shots[0].getPixel(100, 369), grass));
    EXPECT_TRUE(near(shots[1].getPixel(100, 309), grass));
    EXPECT_FALSE(near(shots[0].getPixel(100, 309), grass));
}

TEST(World, CaveShadeCoversThePlayerButNotTheHud) {
    for (int zone : {1, 0}) {
        const bool underground = zoneTable()[std::size_t(zone)].underground;
        Level level = flatLevel(zone);
        PlayerFigure fig;
        fig.pose.hero = 6;  // an eight-sided body in (255, 140, 0)
        fig.pose.x = 1000;
        fig.pose.y = 30 + 14;  // the view's top is at y 30: 14 units down
        WorldScene scene;
        scene.level = &level;
        scene.camera = {1000, 300};
        scene.player = &fig;
        Canvas c;
        drawWorld(c.ctx, scene);
        HudInfo hud;
        hud.secretStones = 1;  // the first stone is drawn at (800, 24) in hueColor(0)
        drawHud(c.ctx, hud);
        const sf::Image img = c.image();
        const sf::Color body = img.getPixel(480, 14 + 4);
        const sf::Color stone = img.getPixel(800, 24);
        EXPECT_EQ(stone, hueColor(0.0f)) << zone;
        if (underground) {
            // About 150 * (1 - 18 / 120) of shade on top of the body colour.
            EXPECT_LT(body.r, 140);
            EXPECT_GT(body.r, 90);
        } else {
            EXPECT_EQ(body, sf::Color(255, 140, 0));
        }
    }
}

TEST(World, DrawingRestoresTheCallersView) {
    Level level = flatLevel(2);
    WorldScene scene;
    scene.level = &level;
    scene.camera = {4000, -200};
    scene.shakeTime = 0.2f;
    Canvas c;
    sf::View logical(sf::FloatRect(0, 0, 960, 540));
    logical.setViewport({0.1f, 0.0f, 0.8f, 1.0f});
    c.target.setView(logical);
    drawWorld(c.ctx, scene);
    EXPECT_EQ(c.target.getView().getCenter(), logical.getCenter());
    EXPECT_EQ(c.target.getView().getViewport(), logical.getViewport());
}

TEST(Portal, DivineLookNeedsAllFourConditions) {
    struct Case {
        int secret, divine, hero;
        bool divineLook;
    };
    const Case cases[] = {
        {0x7F, 0, 1, true},     {0x7F, 0x3F, 2, true}, {0x7F, 0, 3, true},  {0x7F, 0, 4, true},
        {0x3F, 0, 1, false},    // a Secret Stone missing
        {0x7F, 0x7F, 1, false}, // all Divine Stones held
        {0x7F, 0, 0, false},    {0x7F, 0, 5, false},   {0x7F, 0, 8, false},  // heroes who cannot awaken them
    };
    for (const Case& k : cases)
        EXPECT_EQ(divinePortalLook(k.secret, k.divine, k.hero), k.divineLook) << k.secret << " " << k.divine << " " << k.hero;
}

TEST(Portal, DivineLookIsDrawnOnlyThenAndTheOrdinaryOneOtherwise) {
    auto render = [](int secret, int divine, int hero, bool withPortal) {
        Level level = flatLevel(0);
        if (withPortal) level.stonePortals.push_back({1000, 250, false});
        WorldScene scene;
        scene.level = &level;
        scene.camera = {1000, 300};
        scene.time = 0.5f;
        scene.secretStones = secret;
        scene.divineStones = divine;
        scene.hero = hero;
        Canvas c;
        drawWorld(c.ctx, scene);
        return c.image();
    };
    const sf::Image plain = render(0x7F, 0, 1, false);
    const sf::Image divine = render(0x7F, 0, 1, true);
    const sf::Image ordinary = render(0x7F, 0x7F, 1, true);
    // 62 units from the centre: inside the divine glow, outside the ordinary ring.
    const unsigned px = 480 + 62, py = 270 - 20;
    EXPECT_NE(divine.getPixel(px, py), plain.getPixel(px, py));
    EXPECT_EQ(ordinary.getPixel(px, py), plain.getPixel(px, py));
    EXPECT_EQ(differingPixels(ordinary, render(0x7F, 0, 0, true)), 0);
}

TEST(Hazards, CrusherIsDrawnAtItsDropProfile) {
    // A crusher 90 wide with 230 of travel over the ground at y 400; the view
    // puts world y 400 at row 370. Its block is 70 high above its bottom.
    struct Case {
        float phase;
        float drop;
    };
    const Case cases[] = {{1.99f, 0}, {2.12f, 1}, {3.0f, 0}, {2.75f, 0.5f}};
    for (const Case& k : cases) {
        Level level = flatLevel(0);
        Hazard h;
        h.kind = HazardKind::Crusher;
        h.x = 1000;
        h.y = 400;
        h.w = 90;
        h.h = 230;
        h.timer = k.phase;
        level.hazards.push_back(h);
        WorldScene scene;
        scene.level = &level;
        scene.camera = {1000, 300};
        scene.time = 0.0f;  // no tremble: sin(0) = 0
        Canvas c;
        drawWorld(c.ctx, scene);
        const sf::Image img = c.image();
        const float bottomRow = 370 - (1 - k.drop) * 230;
        const unsigned x = 480 - 30;  // inside the block, clear of the eye and column
        const sf::Color block(120, 110, 130);
        EXPECT_EQ(img.getPixel(x, unsigned(bottomRow - 20)), block) << k.phase;
        EXPECT_NE(img.getPixel(x, unsigned(bottomRow - 80)), block) << k.phase;
        if (k.drop < 1) {
            EXPECT_NE(img.getPixel(x, unsigned(bottomRow + 3)), block) << k.phase;
        }
    }
}

TEST(RemotePlayers, SilentOrHiddenOrElsewherePeersAreNotDrawn) {
    RemotePeer heard;
    heard.name = "Pia";
    heard.hero = 3;
    heard.x = 480;
    heard.y = 270;
    heard.zone = 2;
    heard.act = 1;
    heard.secondsSinceHeard = 1.9f;
    struct Case {
        const char* what;
        void (*change)(RemotePeer&);
        bool shown;
    };
    const Case cases[] = {
        {"heard recently", [](RemotePeer&) {}, true},
        {"heard exactly 2 s ago", [](RemotePeer& p) { p.secondsSinceHeard = 2.0f; }, true},
        {"silent for more than 2 s", [](RemotePeer& p) { p.secondsSinceHeard = 2.01f; }, false},
        {"not visible", [](RemotePeer& p) { p.visible = false; }, false},
        {"another act", [](RemotePeer& p) { p.act = 2; }, false},
        {"another zone", [](RemotePeer& p) { p.zone = 3; }, false},
        {"this machine", [](RemotePeer& p) { p.local = true; }, false},
    };
    for (const Case& k : cases) {
        RemotePeer peer = heard;
        k.change(peer);
        std::vector<RemotePeer> peers{peer};
        RemoteScene scene{&peers, true, 2, 1};
        Canvas c;
        drawRemotePlayers(c.ctx, scene, 0.03f);  // int(14 t) is 0: the hurt flicker would hide it
        const sf::Image img = c.image();
        EXPECT_EQ(img.getPixel(480, 270) != sf::Color::Black, k.shown) << k.what;
    }
}

TEST(LocalPlayer, ModPictureIsNotUsedWhileTransformed) {
    sf::Image magenta;
    magenta.create(8, 8, sf::Color(255, 0, 255));
    sf::Texture picture;
    ASSERT_TRUE(picture.loadFromImage(magenta));
    PlayerLook look;
    look.picture = &picture;
    for (bool transformed : {false, true}) {
        PlayerFigure fig;
        fig.pose.x = 480;
        fig.pose.y = 270;
        fig.pose.transformed = transformed;
        Canvas c;
        drawLocalPlayer(c.ctx, fig, look, 1.0f);
        EXPECT_EQ(c.image().getPixel(480, 270) == sf::Color(255, 0, 255), !transformed);
    }
}

TEST(LocalPlayer, MercyTimeFlickersExceptWhenDead) {
    EXPECT_TRUE(playerFlickerVisible(0.0f, false));
    EXPECT_FALSE(playerFlickerVisible(0.05f, false));  // 14 x 0.05 = 0.7: even, skipped
    EXPECT_TRUE(playerFlickerVisible(0.1f, false));    // 1.4: odd, drawn
    EXPECT_FALSE(playerFlickerVisible(0.2f, false));   // 2.8: even
    EXPECT_TRUE(playerFlickerVisible(0.05f, true));
}

TEST(LocalPlayer, PoseFollowsThePlayer) {
    struct Case {
        const char* what;
        void (*set)(Player&);
        bool ball;
    };
    const Case cases[] = {
        {"standing", [](Player&) {}, false},
        {"rolling", [](Player& p) { p.rolling = true; }, true},
        {"spin jump", [](Player& p) { p.spinning = true; }, true},
        {"revving", [](Player& p) { p.charging = true; }, true},
        {"slamming", [](Player& p) { p.slamming = true; }, true},
        {"homing", [](Player& p) { p.homing = true; }, true},
        {"in a loop", [](Player& p) { p.loopIndex = 0; }, true},
        {"Bolim", [](Player& p) { p.hero = 4; }, true},
    };
    for (const Case& k : cases) {
        Player p = makePlayer(1, {100, 200});
        k.set(p);
        EXPECT_EQ(playerFigure(p, 0).pose.rolling, k.ball) << k.what;
    }
    Player p = makePlayer(6, {100, 200});
    p.flameTime = 0.3f;
    p.shield = true;
    p.rotation = 12;
    p.facing = -1;
    PlayerLook look;
    look.tintMode = PlayerLook::FixedTint;
    look.tintColor = sf::Color(10, 20, 30);
    const HeroPose pose = playerFigure(p, 2, look).pose;
    EXPECT_TRUE(pose.flameTrail);
    EXPECT_TRUE(pose.shielded);
    EXPECT_FLOAT_EQ(pose.tilt, 12);
    EXPECT_EQ(pose.facing, -1);
    EXPECT_EQ(pose.tint, sf::Color(10, 20, 30, 229));
    EXPECT_EQ(playerFigure(p, 2).pose.tint.a, 0);
}

TEST(SpeechBubble, BossAnchorStaysInsideTheView) {
    const sf::FloatRect v{1000, 100, 960, 540};
    EXPECT_EQ(bossSpeechAnchor({1500, 400}, v), sf::Vector2f(1500, 330));
    EXPECT_EQ(bossSpeechAnchor({2400, 400}, v), sf::Vector2f(1760, 330));  // off to the right
    EXPECT_EQ(bossSpeechAnchor({900, 100}, v), sf::Vector2f(1200, 180));   // left and high above
    EXPECT_EQ(bossSpeechAnchor({1500, 900}, v), sf::Vector2f(1500, 600));  // sunk below
}

TEST(Heroes, BolimIsAlwaysABallWithItsSmileAndOthersHideTheirFaceWhileRolling) {
    auto render = [](int hero, bool rolling) {
        HeroPose p;
        p.hero = hero;
        p.x = 480;
        p.y = 270;
        p.rolling = rolling;
        p.spin = 0.4f;
        p.scale = 3;  // large enough to find the features by colour
        Canvas c;
        drawHero(c.ctx, p);
        return c.image();
    };
    auto count = [](const sf::Image& img, sf::Color colour) {
        int n = 0;
        for (unsigned y = 200; y < 340; ++y)
            for (unsigned x = 410; x < 550; ++x) n += img.getPixel(x, y) == colour;
        return n;
    };
    const sf::Color pupil(20, 20, 40), bolimEye(60, 40, 10);
    EXPECT_EQ(differingPixels(render(4, true), render(4, false)), 0);
    EXPECT_GT(count(render(4, true), bolimEye), 40);  // two eyes and nine smile dots
    EXPECT_EQ(count(render(4, true), sf::Color::White), 0);  // no rolling dots
    EXPECT_GT(count(render(1, false), pupil), 10);
    EXPECT_EQ(count(render(1, true), pupil), 0);
    EXPECT_GT(count(render(1, true), sf::Color::White), 10);  // the three rolling dots
}

TEST(World, BossIsDrawnDuringTheFightAndWhileSinkingButNotOnceGone) {
    Level level = flatLevel(0);
    level.arenaX = 520;
    level.bossX = 1480;
    level.arenaY = 400;
    BossState boss;
    spawnBoss(boss, 0, level.arenaX, level.bossX, level.arenaY);
    boss.x = 1000;
    boss.y = 340;
    boss.speechTimer = 0;
    auto render = [&](bool fight) {
        WorldScene scene;
        scene.level = &level;
        scene.camera = {1000, 300};
        scene.boss = &boss;
        scene.bossFight = fight;
        Canvas c;
        drawWorld(c.ctx, scene);
        return c.image();
    };
    WorldScene none;
    none.level = &level;
    none.camera = {1000, 300};
    Canvas empty;
    drawWorld(empty.ctx, none);
    const sf::Image without = empty.image();

    EXPECT_GT(differingPixels(render(true), without), 100);
    boss.defeated = true;
    EXPECT_GT(differingPixels(render(false), without), 100);  // sinking
    boss.gone = true;
    EXPECT_EQ(differingPixels(render(false), without), 0);
}
