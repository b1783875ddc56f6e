#include "gameplay/ScriptBindings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/SoundEffects.h"

namespace {

constexpr float kFeetBelowCentre = 18.0f;
constexpr float kEnemyAboveGround = 16.0f;
constexpr float kScriptHurtMercy = 1.5f;

// A float truncated toward zero into lo..hi; NaN gives lo.
std::int64_t truncated(float v, std::int64_t lo, std::int64_t hi) {
    if (!(v >= float(lo))) return lo;
    if (v >= float(hi)) return hi;
    return std::int64_t(v);
}

float bounded(float v, float limit) { return std::clamp(v, -limit, limit); }

std::string number(float v) { return mivo::formatScriptNumber(v); }

// Takes the player out of a loop, moving the way it ran along the circle.
void leaveLoop(Player& p) {
    if (p.loopIndex < 0) return;
    p.vx = p.loopSpeed * std::cos(p.loopAngle);
    p.vy = -p.loopSpeed * std::sin(p.loopAngle);
    p.loopIndex = -1;
    p.grounded = false;
    p.surface = -1;
}

// Off the ground (or out of a loop) into the air, the ground speed becoming
// the horizontal speed.
void intoTheAir(Player& p) {
    leaveLoop(p);
    if (!p.grounded) return;
    p.vx = p.groundSpeed;
    p.vy = 0;
    p.grounded = false;
    p.surface = -1;
}

float horizontalSpeed(const Player& p) {
    if (p.grounded) return p.groundSpeed;
    if (p.loopIndex >= 0) return p.loopSpeed * std::cos(p.loopAngle);
    return p.vx;
}

float verticalSpeed(const Player& p) {
    if (p.grounded) return 0;
    if (p.loopIndex >= 0) return -p.loopSpeed * std::sin(p.loopAngle);
    return p.vy;
}

void kill(Player& p) {
    p.hearts = 0;
    p.dead = true;
}

std::string describeSpawn(const char* what, float x, float y) {
    return std::string("spawn ") + what + " at (" + number(std::round(x)) + ", " + number(std::round(y)) + ")";
}

ScriptStepResult spawn(ScriptAct& act, const std::string& kind, const std::vector<float>& args) {
    ScriptStepResult r;
    r.known = true;
    const float dx = args.size() >= 1 ? args[0] : 200.0f;
    const float dy = args.size() >= 2 ? args[1] : -40.0f;
    const float x = act.player.x + dx, y = act.player.y + dy;
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > kScriptMaxCoord || std::fabs(y) > kScriptMaxCoord) {
        r.summary = "spawn " + kind + ": the point is out of reach";
        return r;
    }
    const GroundHeight ground = act.level.groundHeightAt(x);
    if (kind == "gem") {
        if (act.level.gems.size() >= kScriptMaxGems) {
            r.summary = "spawn gem: the level is full of gems";
            return r;
        }
        act.level.gems.push_back({x, y, false});
        r.summary = describeSpawn("gem", x, y);
        return r;
    }
    if (kind == "spring") {
        if (!ground) {
            r.summary = "spawn spring: no ground below x " + number(std::round(x));
        } else if (act.level.springs.size() >= kScriptMaxSprings) {
            r.summary = "spawn spring: the level is full of springs";
        } else {
            Spring s;
            s.x = x;
            s.y = ground.y;
            s.power = kSpawnSpringPower;
            act.level.springs.push_back(s);
            r.summary = describeSpawn("spring", x, ground.y);
        }
        return r;
    }
    int baddie = -1;
    if (kind == "crawler") baddie = BaddieKind::Crawler;
    else if (kind == "buzzer") baddie = BaddieKind::Buzzer;
    else if (kind == "hopper") baddie = BaddieKind::Hopper;
    else if (kind == "spiker") baddie = BaddieKind::Spiker;
    if (baddie < 0) {
        r.known = false;
        return r;
    }
    if (act.noBaddies) {
        r.summary = "spawn " + kind + ": enemies are off (nobadniks)";
        return r;
    }
    if (act.level.enemies.size() >= kScriptMaxEnemies) {
        r.summary = "spawn " + kind + ": the level is full of enemies";
        return r;
    }
    Baddie b = baddieAt(baddie, x, (baddie != BaddieKind::Buzzer && ground) ? ground.y - kEnemyAboveGround : y);
    b.dir = x > act.player.x ? -1 : 1;  // facing the player
    act.level.enemies.push_back(b);
    r.summary = describeSpawn(kind.c_str(), b.x, b.y);
    return r;
}

}  // namespace

bool getScriptVariable(const ScriptAct& act, const std::string& name, float& value) {
    const Player& p = act.player;
    if (name == "gems") value = float(p.gems);
    else if (name == "hearts") value = float(p.hearts);
    else if (name == "maxhearts") value = float(p.maxHearts);
    else if (name == "x") value = p.x;
    else if (name == "y") value = p.y;
    else if (name == "vx") value = horizontalSpeed(p);
    else if (name == "vy") value = verticalSpeed(p);
    else if (name == "gravity") value = p.gravityScale;
    else if (name == "speed") value = p.speedScale;
    else if (name == "jump") value = p.jumpScale;
    else if (name == "size") value = p.sizeScale;
    else if (name == "score") value = float(act.score);
    else if (name == "time") value = act.actTime;
    else if (name == "zone") value = float(act.level.zone + 1);
    else if (name == "act" || name == "round") value = float(act.level.act);
    else if (name == "onground") value = p.grounded ? 1.0f : 0.0f;
    else if (name == "mysterious") value = p.transformed && !p.divine ? 1.0f : 0.0f;
    else if (name == "divine") value = p.transformed && p.divine ? 1.0f : 0.0f;
    else if (name == "character") value = float(p.hero);
    else if (name == "air") value = 30.0f;
    else return false;
    return true;
}

bool setScriptVariable(ScriptAct& act, const std::string& name, float v) {
    static const char* const kSettable[] = {"gems", "hearts", "maxhearts", "x",    "y",    "vx",   "vy",
                                            "gravity", "speed", "jump",    "size", "score"};
    if (std::none_of(std::begin(kSettable), std::end(kSettable), [&](const char* n) { return name == n; }))
        return false;
    if (std::isnan(v)) return true;
    Player& p = act.player;
    if (name == "gems") {
        p.gems = int(truncated(v, 0, 999999999));
    } else if (name == "hearts") {
        if (p.dead) return true;
        p.hearts = int(truncated(v, 0, p.maxHearts));
        if (p.hearts == 0) kill(p);
    } else if (name == "maxhearts") {
        p.maxHearts = int(truncated(v, 1, 10));
        p.hearts = std::min(p.hearts, p.maxHearts);
    } else if (name == "x") {
        leaveLoop(p);
        p.x = bounded(v, kScriptMaxCoord);
    } else if (name == "y") {
        intoTheAir(p);
        p.y = bounded(v, kScriptMaxCoord);
    } else if (name == "vx") {
        leaveLoop(p);
        (p.grounded ? p.groundSpeed : p.vx) = bounded(v, kScriptMaxSpeed);
    } else if (name == "vy") {
        intoTheAir(p);
        p.vy = bounded(v, kScriptMaxSpeed);
    } else if (name == "gravity") {
        p.gravityScale = std::clamp(v, 0.1f, 4.0f);
    } else if (name == "speed") {
        p.speedScale = std::clamp(v, 0.2f, 4.0f);
    } else if (name == "jump") {
        p.jumpScale = std::clamp(v, 0.2f, 4.0f);
    } else if (name == "size") {
        p.sizeScale = std::clamp(v, 0.4f, 1.8f);
    } else if (name == "score") {
        act.score = truncated(v, 0, 1000000000000000LL);
    }
    return true;
}

ScriptStepResult runScriptStep(ScriptAct& act, const mivo::Stmt& step, const std::vector<float>& args,
                               const std::string& text) {
    ScriptStepResult r;
    Player& p = act.player;
    const std::string& k = step.keyword;
    auto arg = [&](std::size_t i, float missing) { return i < args.size() ? args[i] : missing; };
    r.known = true;
    if (k == "say") {
        r.say = true;
        r.sayText = cutSayText(text);
        r.summary = "say \"" + r.sayText + "\"";
    } else if (k == "heal") {
        const int before = p.hearts;
        // Below 2 (or not a number) heals one heart.
        const std::int64_t n = args.empty() ? 1 : truncated(args[0], 1, 1000);
        if (!p.dead) p.hearts = int(std::min<std::int64_t>(p.hearts + n, p.maxHearts));
        r.summary = "heal: hearts " + std::to_string(before) + " -> " + std::to_string(p.hearts);
    } else if (k == "hurt") {
        if (p.transformed || p.dead) {
            r.summary = p.dead ? "hurt: the player is already down" : "hurt: the form shrugs it off";
        } else {
            const int before = p.hearts;
            const std::int64_t n = args.empty() ? 1 : truncated(args[0], 1, 1000);
            p.hearts = int(std::max<std::int64_t>(p.hearts - n, 0));
            p.hurtTime = kScriptHurtMercy;
            r.sound = SoundHurt;
            if (p.hearts <= 0) kill(p);
            r.summary = "hurt: hearts " + std::to_string(before) + " -> " + std::to_string(p.hearts) +
                        (p.dead ? " (down)" : "");
        }
    } else if (k == "die") {
        if (!p.dead) {
            r.formEnded = p.transformed;
            p.transformed = p.divine = false;
            kill(p);
        }
        r.summary = "die";
    } else if (k == "boost") {
        float dx = arg(0, 0), dy = arg(1, 0);
        if (std::isnan(dx)) dx = 0;
        if (std::isnan(dy)) dy = 0;
        if (p.grounded && dy == 0) {
            p.groundSpeed = bounded(p.groundSpeed + dx, kScriptMaxSpeed);
        } else {
            intoTheAir(p);
            p.vx = bounded(p.vx + dx, kScriptMaxSpeed);
            p.vy = bounded(p.vy + dy, kScriptMaxSpeed);
        }
        r.summary = "boost: speed (" + number(std::round(horizontalSpeed(p))) + ", " +
                    number(std::round(verticalSpeed(p))) + ")";
    } else if (k == "spawn") {
        return spawn(act, step.name, args);
    } else if (k == "color") {
        if (step.name == "rainbow") {
            act.look.tintMode = PlayerLook::Rainbow;
            r.summary = "color rainbow";
        } else if (step.name == "normal") {
            act.look.tintMode = PlayerLook::NoTint;
            r.summary = "color normal";
        } else {
            auto channel = [&](std::size_t i) {
                const float v = arg(i, 255);
                return std::uint8_t(std::isnan(v) ? 255 : truncated(v, 0, 255));
            };
            act.look.tintMode = PlayerLook::FixedTint;
            act.look.tintColor = sf::Color(channel(0), channel(1), channel(2), 255);
            r.summary = "color " + std::to_string(act.look.tintColor.r) + " " + std::to_string(act.look.tintColor.g) +
                        " " + std::to_string(act.look.tintColor.b);
        }
    } else if (k == "sound") {
        r.sound = soundIndexForName(step.name);
        r.summary = "sound " + step.name + " (effect " + std::to_string(r.sound) + ")";
    } else {
        r.known = false;
    }
    return r;
}

std::string cutSayText(const std::string& text) {
    // One character is a UTF-8 lead byte with the continuation bytes it
    // promises, or any single byte that is not part of such a sequence, so
    // broken text counts every stray byte and the cut is at most 4 * 60 bytes.
    std::size_t i = 0;
    for (std::size_t chars = 0; chars < kSayLength && i < text.size(); ++chars) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xC0 && lead < 0xE0 ? 2 : 1;
        std::size_t end = i + 1;
        while (end < text.size() && end < i + length && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        i = end;
    }
    return text.substr(0, i);
}
