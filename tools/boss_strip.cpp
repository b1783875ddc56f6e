// Frame strips of boss fights: stages a boss in a flat arena against the
// scripted attacker, and saves a strip of frames over the fight (one PNG per
// boss, frames in a grid with the time, state and hit points written under
// each). The frames are taken at the first moment of every behaviour state,
// the first hit flash, the defeat, and evenly in between.
//
//   boss_strip [kind|all] [out-folder] [--zoom Z] [--frames N] [--hero H]
//
// Needs a display (run under xvfb-run on a headless machine).
#include <SFML/Graphics.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "content/BossDuel.h"
#include "content/BossLooks.h"
#include "content/Heroes.h"
#include "render/Hero.h"
#include "core/platform/Platform.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;

struct Shot {
    int frame;
    std::string why;
};

// Runs the duel once to find the frames worth showing.
std::vector<Shot> pickFrames(int kind, int hero, int count) {
    BossDuel d;
    startDuel(d, kind, hero);
    std::vector<Shot> picks;
    std::set<int> seenStates, seenZones, seenShots;
    bool seenFlash = false, seenDefeat = false, seenLow = false;
    int frame = 0;
    while (!d.won && d.time < 400) {
        stepDuel(d, kDt);
        ++frame;
        if (!d.boss.defeated && seenStates.insert(d.boss.state).second)
            picks.push_back({frame + 12, "state " + std::to_string(d.boss.state)});
        for (const BossZone& z : d.boss.zones)
            if (z.warn <= 0 && seenZones.insert(z.kind).second) picks.push_back({frame + 3, "zone " + std::to_string(z.kind)});
        for (const BossShot& s : d.boss.shots)
            if (seenShots.insert(s.kind).second) picks.push_back({frame + 20, "shot " + std::to_string(s.kind)});
        if (!seenFlash && d.boss.hitFlash > 0.9f) {
            seenFlash = true;
            picks.push_back({frame + 1, "hit"});
        }
        if (!seenLow && d.boss.hp < 3 && !d.boss.defeated) {
            seenLow = true;
            picks.push_back({frame + 90, "low hp"});
        }
        if (!seenDefeat && d.boss.defeated) {
            seenDefeat = true;
            picks.push_back({frame + 50, "defeated"});
        }
    }
    int last = frame;
    for (int i = 1; int(picks.size()) < count; ++i) picks.push_back({last * i / (count + 1), "fight"});
    std::sort(picks.begin(), picks.end(), [](const Shot& a, const Shot& b) { return a.frame < b.frame; });
    for (Shot& s : picks) s.frame = std::min(s.frame, last - 1);
    if (int(picks.size()) > count) {
        // Keep the special ones, thin the rest.
        std::vector<Shot> kept;
        for (const Shot& s : picks)
            if (s.why != "fight") kept.push_back(s);
        if (int(kept.size()) > count) kept.resize(std::size_t(count));
        picks = kept;
    }
    return picks;
}

void drawArena(DrawContext& ctx, const BossArena& a, sf::FloatRect view) {
    drawVerticalGradient(ctx, view, sf::Color(40, 44, 80), sf::Color(120, 110, 150));
    drawRect(ctx, {view.left, a.floor}, {view.width, view.top + view.height - a.floor}, sf::Color(84, 70, 60));
    drawRect(ctx, {view.left, a.floor}, {view.width, 8}, sf::Color(110, 170, 90));
    drawRect(ctx, {a.left - 20, a.floor - 400}, {20, 400}, sf::Color(60, 50, 70, 160));
    drawRect(ctx, {a.right, a.floor - 400}, {20, 400}, sf::Color(60, 50, 70, 160));
}

// The hero as in play, flickering through its mercy time.
void drawAttacker(DrawContext& ctx, const Player& p, float time) {
    if (!playerFlickerVisible(p.hurtTime, p.dead)) return;
    drawHero(ctx, playerFigure(p, time).pose);
}

}  // namespace

int main(int argc, char** argv) {
    std::string which = "all";
    const char* envOut = std::getenv("MIVO_TEST_OUT");
    std::string out = envOut && *envOut ? std::string(envOut) + "/boss_strips" : "/tmp/boss_strips";
    float zoom = 1.0f;
    int count = 12;
    int hero = 0;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--zoom") && i + 1 < argc) {
            zoom = std::clamp(float(std::atof(argv[++i])), 0.25f, 4.0f);
        } else if (!std::strcmp(argv[i], "--frames") && i + 1 < argc) {
            count = std::clamp(std::atoi(argv[++i]), 1, 16);
        } else if (!std::strcmp(argv[i], "--hero") && i + 1 < argc) {
            hero = std::clamp(std::atoi(argv[++i]), 0, kHeroCount - 1);
        } else if (positional == 0) {
            which = argv[i];
            ++positional;
        } else {
            out = argv[i];
            ++positional;
        }
    }
    std::string mkdir = "mkdir -p '" + out + "'";
    if (std::system(mkdir.c_str()) != 0) return 1;

    sf::Font font;
    bool fontOk = false;
    for (const std::string& path : uiFontCandidates())
        if (font.loadFromFile(path)) {
            fontOk = true;
            break;
        }
    if (!fontOk) {
        std::fprintf(stderr, "no font\n");
        return 1;
    }

    const unsigned W = 960, H = 540, cols = 4;
    sf::RenderTexture frameTex, strip;
    if (!frameTex.create(W, H)) return 1;
    frameTex.setSmooth(true);
    if (!strip.create(cols * W / 2, 4 * (H / 2 + 24))) return 1;

    int first = 0, last = kBossCount - 1;
    if (which != "all") first = last = std::clamp(std::atoi(which.c_str()), 0, kBossCount - 1);
    for (int kind = first; kind <= last; ++kind) {
        std::vector<Shot> picks = pickFrames(kind, hero, count);
        const unsigned rows = unsigned((picks.size() + cols - 1) / cols);
        strip.setView(strip.getDefaultView());
        strip.clear(sf::Color(16, 16, 20));

        BossDuel d;
        startDuel(d, kind, hero);
        int frame = 0;
        for (std::size_t k = 0; k < picks.size(); ++k) {
            while (frame < picks[k].frame && !d.won) {
                stepDuel(d, kDt);
                ++frame;
            }
            // The play camera during a fight: x clamped to the arena's
            // middle range, y at the floor less 190.
            float cx = std::clamp(d.boss.x, d.arena.left + 420, std::max(d.arena.left + 420, d.arena.right - 420));
            sf::Vector2f size(960 / zoom, 540 / zoom);
            sf::Vector2f centre(cx, d.arena.floor - 190);
            if (zoom > 1) {
                float bodyY = d.boss.kind == HollowOak ? d.arena.floor - 170 : d.boss.y;
                centre = {d.boss.x, std::min(bodyY, d.arena.floor - size.y / 2 + 30)};
            }
            sf::View view(centre, size);
            frameTex.setView(view);
            frameTex.clear();
            DrawContext ctx{frameTex, font};
            drawArena(ctx, d.arena, {centre.x - size.x / 2, centre.y - size.y / 2, size.x, size.y});
            drawBoss(ctx, d.boss, d.arena, d.time, d.player.hero);
            drawAttacker(ctx, d.player, d.time);
            if (d.boss.speechTimer > 0 && !d.boss.speech.empty())
                drawText(ctx, d.boss.speech, {d.boss.x, d.boss.y - 110}, 16, sf::Color::White, 2, kAlignCenter);
            frameTex.display();

            // Read the frame back before drawing it into the strip, so the
            // strip never shows a frame the driver has not finished.
            sf::Texture still;
            still.loadFromImage(frameTex.getTexture().copyToImage());
            still.setSmooth(true);
            sf::Sprite sprite(still);
            unsigned col = unsigned(k) % cols, row = unsigned(k) / cols;
            sprite.setScale(0.5f, 0.5f);
            sprite.setPosition(float(col * W / 2), float(row * (H / 2 + 24)));
            strip.setView(strip.getDefaultView());
            strip.draw(sprite);
            DrawContext sctx{strip, font};
            char label[160];
            std::snprintf(label, sizeof label, "t %.1f  %s  state %d  hp %d  %s%s", d.time, picks[k].why.c_str(),
                          d.boss.state, d.boss.hp, d.boss.vulnerable ? "OPEN " : "",
                          d.boss.defeated ? "DEFEATED" : "");
            drawText(sctx, label, {float(col * W / 2) + 6, float(row * (H / 2 + 24) + H / 2 + 2)}, 15,
                     sf::Color(230, 230, 240));
        }
        strip.display();
        char name[256];
        std::snprintf(name, sizeof name, "%s/boss_%02d%s.png", out.c_str(), kind, zoom > 1 ? "_zoom" : "");
        sf::Image full = strip.getTexture().copyToImage(), cut;
        cut.create(cols * W / 2, rows * (H / 2 + 24));
        cut.copy(full, 0, 0, {0, 0, int(cols * W / 2), int(rows * (H / 2 + 24))});
        if (!cut.saveToFile(name)) return 1;
        std::printf("%s  %s\n", name, bossTable()[std::size_t(kind)].name.c_str());
    }
    return 0;
}
