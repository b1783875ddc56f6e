// Renders one frame of a generated act to a PNG picture.
//
//   screenshot [options]
//     --zone Z --act A     the act (default 0 1)
//     --x X                camera x (default: the start)
//     --at start|loop|arena|portal|platform|hazard   place the camera at the first such spot
//     --nth N              the N-th spot of that kind (0 first)
//     --y Y                camera y (default: 40 above the ground under x)
//     --hero H             hero 0..8 (default 0), drawn standing on the ground
//     --pose roll|stand|shield|transformed|divine|star|charge
//     --hud                draw the HUD too (title card with --card SECONDS)
//     --stones SECRET DIVINE   save masks (e.g. 127 0 for the divine portal look)
//     --time T             total time (default 1.0)
//     --shake K            shake timer
//     --boss SECONDS       at the arena: the boss fought for that long (default 3)
//     --bossid N           another boss in the arena
//     --gallery            the nine heroes (standing, rolling, transformed, divine),
//                          the six baddies and five hazards on flat ground
//     --menu               the menu backdrop of the zone instead of the act
//     --results R          the results panel R seconds in (over the act)
//     --pause              the pause overlay
//     --crop X Y W H S     write only that part of the frame, S times enlarged
//     -o FILE              output (default $MIVO_TEST_OUT/shot.png or /tmp/shot.png)
#include <SFML/Graphics/RenderTexture.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "content/Zones.h"
#include "core/MenuList.h"
#include "core/platform/FileSystem.h"
#include "core/platform/Platform.h"
#include "level/ActGenerator.h"
#include "render/Background.h"
#include "render/Hud.h"
#include "render/World.h"
#include "content/BossFight.h"

namespace {

struct Args {
    int zone = 0, act = 1, hero = 0, nth = 0;
    float x = NAN, y = NAN, time = 1.0f, shake = 0, card = 0, results = -1;
    std::string at = "start", pose = "stand", out;
    bool hud = false, menu = false, pause = false, gallery = false;
    int cropX = 0, cropY = 0, cropW = 0, cropH = 0, cropScale = 1;
    int secret = 0, divine = 0, bossId = -1;
    float bossTime = 3.0f;
};

float spotX(const Level& level, const std::string& at, int nth) {
    auto pick = [&](const auto& list, auto getX) -> float {
        if (list.empty()) return level.startPos.x;
        return getX(list[std::size_t(std::clamp(nth, 0, int(list.size()) - 1))]);
    };
    if (at == "loop") return pick(level.loops, [](const Loop& l) { return l.x; });
    if (at == "portal") return pick(level.stonePortals, [](const StonePortal& p) { return p.x; });
    if (at == "platform") return pick(level.platforms, [](const Platform& p) { return (p.x1 + p.x2) / 2; });
    if (at == "hazard") return pick(level.hazards, [](const Hazard& h) { return h.x; });
    if (at == "arena") return (level.arenaX + level.bossX) / 2;
    return level.startPos.x + 300;
}

}  // namespace

int main(int argc, char** argv) {
    Args a;
    for (int i = 1; i < argc; ++i) {
        const std::string k = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : "0"; };
        if (k == "--zone") a.zone = std::atoi(next());
        else if (k == "--act") a.act = std::atoi(next());
        else if (k == "--x") a.x = float(std::atof(next()));
        else if (k == "--y") a.y = float(std::atof(next()));
        else if (k == "--at") a.at = next();
        else if (k == "--nth") a.nth = std::atoi(next());
        else if (k == "--hero") a.hero = std::atoi(next());
        else if (k == "--pose") a.pose = next();
        else if (k == "--hud") a.hud = true;
        else if (k == "--card") a.card = float(std::atof(next()));
        else if (k == "--stones") { a.secret = std::atoi(next()); a.divine = std::atoi(next()); }
        else if (k == "--time") a.time = float(std::atof(next()));
        else if (k == "--shake") a.shake = float(std::atof(next()));
        else if (k == "--menu") a.menu = true;
        else if (k == "--gallery") a.gallery = true;
        else if (k == "--boss") a.bossTime = float(std::atof(next()));
        else if (k == "--bossid") a.bossId = std::atoi(next());
        else if (k == "--results") a.results = float(std::atof(next()));
        else if (k == "--pause") a.pause = true;
        else if (k == "--crop") {
            a.cropX = std::atoi(next());
            a.cropY = std::atoi(next());
            a.cropW = std::atoi(next());
            a.cropH = std::atoi(next());
            a.cropScale = std::max(1, std::atoi(next()));
        } else if (k == "-o") a.out = next();
        else {
            std::fprintf(stderr, "unknown option %s\n", k.c_str());
            return 2;
        }
    }
    if (a.out.empty()) {
        const char* dir = std::getenv("MIVO_TEST_OUT");
        a.out = std::string(dir && *dir ? dir : "/tmp") + "/shot.png";
    }
    sf::Font font;
    bool fontOk = false;
    for (const std::string& path : uiFontCandidates())
        if (pathExists(path) && font.loadFromFile(path)) { fontOk = true; break; }
    if (!fontOk) std::fprintf(stderr, "no UI font found; text is left out\n");

    sf::RenderTexture target;
    if (!target.create(960, 540)) {
        std::fprintf(stderr, "cannot create a render target\n");
        return 1;
    }
    target.setView(sf::View(sf::FloatRect(0, 0, 960, 540)));
    target.clear(sf::Color::Black);
    DrawContext ctx{target, font};

    Level level;
    generateAct(level, a.zone, a.act);
    const int zone = level.zone;

    if (a.gallery) {
        Level flat;
        flat.zone = a.zone;
        GroundPath path;
        for (float x = -200; x <= 1200; x += 48) path.push_back({x, 500});
        flat.groundPaths.push_back(path);
        for (int k = 0; k < 6; ++k) {
            Baddie e;
            e.kind = k;
            e.x = 90 + 150.0f * float(k);
            e.y = k == 1 || k == 4 ? 330 : (k == 5 ? 480 : 484);
            e.dir = k % 2 ? 1 : -1;
            flat.enemies.push_back(e);
        }
        const float hx[5] = {80, 260, 450, 640, 840};
        for (int k = 0; k < 5; ++k) {
            Hazard h;
            h.kind = k;
            h.x = hx[k];
            h.y = k == 0 ? 400 : (k == 3 ? 410 : 500);
            h.w = k == 1 ? 110 : (k == 4 ? 90 : 10);
            h.h = k == 1 ? 120 : (k == 2 ? 110 : 60);
            h.timer = k == 4 ? 2.3f : 0.5f;
            flat.hazards.push_back(h);
        }
        WorldScene scene;
        scene.level = &flat;
        scene.time = a.time;
        scene.camera = {480, 270};
        drawWorld(ctx, scene);
        for (int h = 0; h < 9; ++h) {
            for (int row = 0; row < 4; ++row) {
                HeroPose p;
                p.hero = h;
                p.x = 60 + 105.0f * float(h);
                p.y = 40 + 62.0f * float(row);
                p.time = a.time;
                p.rolling = row == 1;
                p.spin = a.time * 6;
                p.transformed = row >= 2;
                p.divine = row == 3;
                p.shielded = row == 0 && h % 3 == 0;
                p.flameTrail = h == 6 && row == 0;
                p.facing = h % 2 ? -1 : 1;
                drawHero(ctx, p);
            }
        }
    } else if (a.menu) {
        drawBackground(ctx, zoneTable()[std::size_t(zone)], zone, {0, 0, 960, 540}, a.time);
    } else {
        const float x = std::isnan(a.x) ? spotX(level, a.at, a.nth) : a.x;
        const GroundHeight g = level.groundHeightAt(x);
        const float groundY = g ? g.y : level.arenaY;
        const float y = std::isnan(a.y) ? groundY - 40 - 60 : a.y;

        PlayerFigure fig;
        fig.pose.hero = a.hero;
        fig.pose.x = x;
        fig.pose.y = groundY - 18;
        fig.pose.time = a.time;
        fig.pose.rolling = a.pose == "roll" || a.hero == 4;
        fig.pose.spin = a.time * 8;
        fig.pose.shielded = a.pose == "shield";
        fig.pose.transformed = a.pose == "transformed" || a.pose == "divine";
        fig.pose.divine = a.pose == "divine";
        fig.invincibleTime = a.pose == "star" ? 10 : 0;
        fig.charging = a.pose == "charge";
        fig.charge = 0.7f;

        Effects fx;
        XorShift32 rng(kEffectsSeed);
        spawnParticles(fx.particles, rng, {x + 60, groundY - 40}, 10, sf::Color(255, 220, 90), 200, 0.4f, 4, 1);
        for (auto& p : fx.particles) { p.x += p.vx * 0.1f; p.y += p.vy * 0.1f; p.life *= 0.6f; }

        // At the arena the boss is spawned and fought for a while, the player
        // standing still at the arena's left.
        BossState boss;
        const bool arena = a.at == "arena";
        if (arena) {
            spawnBoss(boss, a.bossId >= 0 ? a.bossId : level.bossId, level.arenaX, level.bossX, level.arenaY);
            BossArena ba = bossArenaOf(level, {fig.pose.x, fig.pose.y});
            for (float s = 0; s < a.bossTime; s += 1.0f / 60.0f) updateBoss(boss, ba, 1.0f / 60.0f);
        }
        WorldScene scene;
        scene.level = &level;
        scene.time = a.time;
        scene.camera = {x, y};
        if (arena) {
            scene.boss = &boss;
            scene.bossFight = true;
            scene.goalPresent = false;
        }
        scene.shakeTime = a.shake;
        scene.effects = &fx;
        scene.player = &fig;
        scene.hero = a.hero;
        scene.secretStones = a.secret;
        scene.divineStones = a.divine;
        scene.goalPresent = !arena;
        scene.goal = {level.bossX - 160, level.arenaY - 70};
        scene.goalSpin = a.time * 2;
        drawWorld(ctx, scene);

        if (a.hud) {
            HudInfo hud;
            hud.time = a.time;
            hud.score = 12340;
            hud.actTime = 83.4f;
            hud.gems = 42;
            hud.hearts = 2;
            hud.shield = a.pose == "shield";
            hud.secretStones = a.secret;
            hud.divineStones = a.divine;
            hud.hero = a.hero;
            hud.transformed = fig.pose.transformed;
            hud.abilityCooldown = 0.5f;
            hud.invincibleTime = fig.invincibleTime;
            hud.speedShoesTime = 7.5f;
            hud.titleCardTime = a.card;
            hud.zone = zone;
            hud.act = level.act;
            if (arena) hudFromBoss(hud, boss, true);
            drawHud(ctx, hud);
        }
        if (a.pause) {
            MenuList list;
            const char* labels[] = {"Resume", "Restart", "Act Select", "Quit to Title"};
            std::vector<MenuButton> buttons;
            for (int i = 0; i < 4; ++i) buttons.push_back({labels[i], 350, 190 + 54.0f * float(i), 260, 44, true});
            list.reset(buttons, 0);
            drawPause(ctx, list, a.hero, a.time);
        }
        if (a.results >= 0) {
            ResultsInfo res;
            res.r = a.results;
            res.time = a.time;
            res.hero = a.hero;
            res.zone = zone;
            res.act = level.act;
            res.bossId = level.bossId;
            res.actTime = 83.4f;
            res.timeBonus = 5000;
            res.gemBonus = 4200;
            res.score = 12340;
            drawResults(ctx, res);
        }
    }
    target.display();
    sf::Image frame = target.getTexture().copyToImage();
    if (a.cropW > 0 && a.cropH > 0) {
        sf::Image part;
        part.create(unsigned(a.cropW * a.cropScale), unsigned(a.cropH * a.cropScale));
        for (int py = 0; py < a.cropH * a.cropScale; ++py)
            for (int px = 0; px < a.cropW * a.cropScale; ++px) {
                const int sx = std::clamp(a.cropX + px / a.cropScale, 0, 959);
                const int sy = std::clamp(a.cropY + py / a.cropScale, 0, 539);
                part.setPixel(unsigned(px), unsigned(py), frame.getPixel(unsigned(sx), unsigned(sy)));
            }
        frame = part;
    }
    if (!frame.saveToFile(a.out)) {
        std::fprintf(stderr, "cannot write %s\n", a.out.c_str());
        return 1;
    }
    std::printf("%s\n", a.out.c_str());
    return 0;
}
