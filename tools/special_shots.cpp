// Pictures of the special stage and the hidden temple, and a probe of how
// many orbs the scripted pilot gets on every stage.
//
//   special_shots [FOLDER]     writes special_*.png and temple_*.png
//                              (default folder $MIVO_TEST_OUT or /tmp)
//   special_shots probe        prints, per stage, the orbs the pilot holds at
//                              each gate, the most any ground path could hold
//                              there, the bombs it ran into, its jumps and the
//                              result; once for each pilot style
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>
#include <cstdlib>
#include <string>

#include "core/Input.h"
#include "core/platform/Platform.h"
#include "gameplay/Special.h"
#include "gameplay/SpecialPilot.h"
#include "gameplay/Temple.h"
#include "render/Draw.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// The most orbs any ground path could hold at each gate, played at 60 frames
// a second: each frame the lane moves by 0.04 or stays, so the lanes form an
// exact grid. An orb counts once, on any frame of its pick-up window (the
// windows of different orbs never overlap in distance). Bombs are left out,
// so this is an upper bound.
std::array<int, 3> orbBound(const SpecialRun& start) {
    const float dt = 1.0f / 60.0f, laneStep = 2.4f * dt;
    const int half = 31, bins = 2 * half + 1;  // lanes -1.24 .. 1.24
    std::vector<float> at;  // the runner's item distance on every frame
    float distance = 0.0f, speed = start.speed;
    while (distance + kSpecialPlayerAhead < start.gatePos[2]) {
        speed += 8.0f * dt;
        distance += speed * dt;
        at.push_back(distance + kSpecialPlayerAhead);
    }
    // The orb whose window each frame lies in, or -1.
    std::vector<const SpecialItem*> orbs;
    for (const SpecialItem& it : start.items)
        if (!it.bomb) orbs.push_back(&it);
    std::vector<int> window(at.size(), -1);
    for (std::size_t k = 0; k < at.size(); ++k)
        for (std::size_t o = 0; o < orbs.size(); ++o)
            if (std::fabs(orbs[o]->distance - at[k]) <= 40.0f) window[k] = int(o);

    std::array<int, 3> out{};
    for (int g = 0; g < 3; ++g) {
        std::size_t frames = 0;
        while (frames < at.size() && at[frames] < start.gatePos[std::size_t(g)]) ++frames;
        ++frames;  // the frame that reaches the gate
        frames = std::min(frames, at.size());
        // val[b][taken]: best from here on; taken = this frame's window orb is held.
        std::vector<std::array<float, 2>> val(bins, {0.0f, 0.0f}), nxt(bins);
        for (std::size_t k = frames; k-- > 0;) {
            const bool sameNext = k + 1 < frames && window[k] >= 0 && window[k + 1] == window[k];
            for (int b = 0; b < bins; ++b) {
                for (int taken = 0; taken < 2; ++taken) {
                    const float lane = laneStep * float(b - half);
                    int gain = 0, nowTaken = taken;
                    if (window[k] >= 0 && !taken && std::fabs(orbs[std::size_t(window[k])]->lane - lane) <= 0.17f) {
                        gain = 1;
                        nowTaken = 1;
                    }
                    float best = 0.0f;
                    if (k + 1 < frames) {
                        best = -1e9f;
                        const int carry = sameNext ? nowTaken : 0;
                        for (int m = -1; m <= 1; ++m) {
                            const int nb = b + m;
                            if (nb >= 0 && nb < bins) best = std::max(best, val[std::size_t(nb)][std::size_t(carry)]);
                        }
                    }
                    nxt[std::size_t(b)][std::size_t(taken)] = best + float(gain);
                }
            }
            val.swap(nxt);
        }
        out[std::size_t(g)] = int(val[std::size_t(half)][0]);
    }
    return out;
}

int probe(PilotStyle style) {
    std::printf("stage  gate1  gate2  gate3  needs          bound          orbs  bombs jumps  result\n");
    int failures = 0;
    for (int stage = 0; stage < kStageCount; ++stage) {
        SpecialRun run = buildStage(stage, 1);
        int atGate[3] = {-1, -1, -1};
        int bombs = 0, jumps = 0;
        for (int f = 0; f < 100000 && !run.reported; ++f) {
            const int gateBefore = run.gate;
            const int orbsBefore = run.orbs;
            const InputState in = specialPilot(run, kFrame, style);
            jumps += in.jumpPressed && run.height == 0.0f;
            SpecialStep s = stepSpecial(run, in, kFrame);
            bombs += s.bombHit;
            if (run.gate > gateBefore) atGate[gateBefore] = run.orbs;
            if (s.failedNow) atGate[run.gate] = orbsBefore + s.orbsTaken;
        }
        failures += run.result != kSpecialWon;
        const std::array<int, 3> bound = orbBound(buildStage(stage, 1));
        std::printf("%5d  %5d  %5d  %5d  %3d %3d %3d    %3d %3d %3d    %4d/%-4d %3d %4d   %s\n", stage, atGate[0],
                    atGate[1], atGate[2], run.gateNeed[0], run.gateNeed[1], run.gateNeed[2], bound[0], bound[1],
                    bound[2], run.orbs, orbsInStage(run), bombs, jumps,
                    run.result == kSpecialWon ? "won" : "failed");
    }
    return failures == 0 ? 0 : 2;
}

struct Shooter {
    sf::RenderTexture target;
    sf::Font font;
    std::string folder;

    bool open() {
        bool fontOk = false;
        for (const std::string& path : uiFontCandidates())
            if (font.loadFromFile(path)) {
                fontOk = true;
                break;
            }
        return fontOk && target.create(960, 540);
    }

    template <typename F>
    void shot(const std::string& name, F draw) {
        target.clear(sf::Color::Black);
        target.setView(sf::View(sf::FloatRect(0, 0, 960, 540)));
        DrawContext ctx{target, font};
        draw(ctx);
        target.display();
        const std::string path = folder + "/" + name + ".png";
        if (target.getTexture().copyToImage().saveToFile(path)) std::printf("%s\n", path.c_str());
    }
};

void runTo(SpecialRun& run, float distance) {
    while (run.distance < distance && run.result == kSpecialRunning)
        stepSpecial(run, specialPilot(run, kFrame), kFrame);
}

void specialShots(Shooter& s) {
    // The start of a Secret run.
    SpecialEntry e = enterFromPortal(0, 1);
    SpecialRun run = e.run;
    runTo(run, 300.0f);
    s.shot("special_start", [&](DrawContext& ctx) { drawSpecial(ctx, run, 1.0f, stoneName(e.stone, false), stoneColor(e.stone)); });

    // Just before the first gate, and just after it.
    runTo(run, 14000.0f - 2400.0f);
    s.shot("special_gate_ahead", [&](DrawContext& ctx) { drawSpecial(ctx, run, 2.0f, stoneName(e.stone, false), stoneColor(e.stone)); });
    runTo(run, 14000.0f - 200.0f);
    s.shot("special_gate_cleared", [&](DrawContext& ctx) { drawSpecial(ctx, run, 2.5f, stoneName(e.stone, false), stoneColor(e.stone)); });

    // A bomb hit and an orb flash.
    SpecialRun hit = run;
    hit.bombFlash = 0.45f;
    hit.orbFlash = 0.1f;
    s.shot("special_flashes", [&](DrawContext& ctx) { drawSpecial(ctx, hit, 3.0f, stoneName(e.stone, false), stoneColor(e.stone)); });

    // A jump.
    SpecialRun air = run;
    air.height = 80.0f;
    air.lane = -0.9f;
    s.shot("special_jump", [&](DrawContext& ctx) { drawSpecial(ctx, air, 3.0f, stoneName(e.stone, false), stoneColor(e.stone)); });

    // The win.
    while (!run.reported) stepSpecial(run, specialPilot(run, kFrame), kFrame);
    s.shot("special_won", [&](DrawContext& ctx) { drawSpecial(ctx, run, 4.0f, stoneName(e.stone, false), stoneColor(e.stone)); });

    // A failed run.
    SpecialRun failed = buildStage(3, 0);
    while (failed.result == kSpecialRunning) stepSpecial(failed, InputState{}, kFrame);
    stepSpecial(failed, InputState{}, 0.5f);
    s.shot("special_failed", [&](DrawContext& ctx) { drawSpecial(ctx, failed, 4.0f, stoneName(3, false), stoneColor(3)); });

    // A Divine run from the temple, mid-stage, with Bolim.
    SpecialEntry d = enterFromTemple(0b11, 4);
    SpecialRun divine = d.run;
    runTo(divine, 9000.0f);
    s.shot("special_divine", [&](DrawContext& ctx) { drawSpecial(ctx, divine, 5.0f, stoneName(d.stone, true), stoneColor(d.stone)); });
}

void templeShots(Shooter& s) {
    const int divine = 0b0000111;
    InputState none;
    TempleState t = enterTemple(false);
    float time = 0.0f;
    auto advance = [&](float seconds, const InputState& in) {
        for (float x = 0; x < seconds; x += kFrame) {
            stepTemple(t, in, kFrame, divine, 720.0f);
            time += kFrame;
        }
    };
    advance(0.6f, none);
    s.shot("temple_intro_dark", [&](DrawContext& ctx) { drawTemple(ctx, t, time, 1, divine); });
    advance(2.0f, none);
    s.shot("temple_intro_stones", [&](DrawContext& ctx) { drawTemple(ctx, t, time, 1, divine); });
    advance(1.8f, none);
    s.shot("temple_intro_rumble", [&](DrawContext& ctx) { drawTemple(ctx, t, time, 1, divine); });
    advance(3.1f, none);
    s.shot("temple_intro_awaken", [&](DrawContext& ctx) { drawTemple(ctx, t, time, 1, divine); });
    advance(3.5f, none);

    InputState right;
    right.right = true;
    advance(0.7f, right);
    s.shot("temple_walking", [&](DrawContext& ctx) { drawTemple(ctx, t, time, 1, divine); });

    // Jump into the glowing slot (slot 3) and get the warning.
    t.x = templeSlotCentre(3).x;
    InputState jump;
    jump.jumpPressed = true;
    jump.jumpHeld = true;
    stepTemple(t, jump, kFrame, divine, 720.0f);
    jump.jumpPressed = false;
    for (int i = 0; i < 60 && t.phase != kTempleWarning; ++i) stepTemple(t, jump, kFrame, divine, 720.0f);
    s.shot("temple_warning", [&](DrawContext& ctx) { drawTemple(ctx, t, time, 1, divine); });

    TempleState done = enterTemple(true);
    done.x = 500.0f;
    done.y = 400.0f;
    done.onGround = false;
    s.shot("temple_all_awake", [&](DrawContext& ctx) { drawTemple(ctx, done, 2.0f, 4, 0x7F); });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "probe") {
        std::printf("Pilot that dodges bombs:\n");
        const int a = probe(PilotStyle::Dodge);
        std::printf("\nPilot that jumps every bomb on its path:\n");
        const int b = probe(PilotStyle::Jump);
        return a != 0 ? a : b;
    }
    Shooter s;
    const char* out = std::getenv("MIVO_TEST_OUT");
    s.folder = argc > 1 ? argv[1] : (out ? out : "/tmp");
    if (!s.open()) {
        std::fprintf(stderr, "no font or render target\n");
        return 1;
    }
    specialShots(s);
    templeShots(s);
    return 0;
}
