#include "gameplay/ActFlow.h"

#include <algorithm>
#include <cmath>

#include "gameplay/Player.h"

int actIndex(int zone, int act) { return zone * 2 - 1 + act; }

NextAct nextActAfter(int zone, int act) {
    NextAct n;
    if (act < 2) {
        n.zone = zone;
        n.act = act + 1;
        return n;
    }
    n.zone = zone + 1;
    n.act = 1;
    if (n.zone > 5) {
        n.zone = 5;
        n.act = 2;
        n.ending = true;
    }
    return n;
}

int timeBonusFor(float t) {
    if (!(t < 240.0f)) return 0;  // also a time that is not a number
    if (t < 60.0f) return 10000;
    if (t < 90.0f) return 5000;
    if (t < 120.0f) return 3000;
    if (t < 180.0f) return 1000;
    return 500;
}

int gemBonusFor(int gems) { return 100 * std::max(gems, 0); }

std::vector<MenuButton> pauseButtons(PlayMode mode) {
    const char* fourth = mode == PlayMode::Course        ? "Back to Editor"
                         : mode == PlayMode::Multiplayer ? "Back to Lobby"
                                                         : "Quit to Title";
    const char* labels[] = {"Resume", "Restart", "Act Select", fourth};
    std::vector<MenuButton> buttons;
    for (int i = 0; i < 4; ++i) buttons.push_back({labels[i], 350.0f, 190.0f + 54.0f * float(i), 260.0f, 44.0f, true});
    buttons[PauseChoice::ActSelect].enabled = mode == PlayMode::Story;
    return buttons;
}

int actSelectZone(int button) { return button / 2; }
int actSelectAct(int button) { return button % 2 + 1; }

std::vector<MenuButton> actSelectButtons(int furthestAct, bool allOpen) {
    std::vector<MenuButton> buttons;
    for (int i = 0; i < 12; ++i) {
        const int zone = actSelectZone(i), act = actSelectAct(i);
        MenuButton b;
        b.label = zone == 5 && act == 2 ? "Final Act" : act == 1 ? "Act 1 + Mini Boss" : "Act 2 + Boss";
        b.x = act == 1 ? 350.0f : 620.0f;
        b.y = 84.0f + 58.0f * float(zone);
        b.w = 250.0f;
        b.h = 44.0f;
        b.enabled = allOpen || actIndex(zone, act) <= furthestAct;
        if (!b.enabled) b.label = "Locked";
        buttons.push_back(b);
    }
    buttons.push_back({"Back", 40.0f, 470.0f, 140.0f, 44.0f, true});
    return buttons;
}

sf::Vector2f stepCamera(sf::Vector2f cam, const Player& p, const Level& level, bool bossFight, CameraInput keys,
                        float dt) {
    const float speed = p.grounded ? p.groundSpeed : p.vx;
    const float lead = std::clamp(0.28f * speed, -200.0f, 200.0f);
    float look = 0;
    if (p.grounded && std::fabs(p.groundSpeed) < 20.0f) {
        if (keys.up)
            look = -120.0f;
        else if (keys.down && p.hero != 0)
            look = 120.0f;
    }
    cam.x += (p.x + lead - cam.x) * std::min(6.0f * dt, 1.0f);
    // In a fight the arena alone sets the height (below); following the
    // player as well would hold the view between the two, low enough for a
    // boss hovering over the arena to be half above the screen.
    const float k = p.grounded ? 5.0f : 3.0f;
    if (!bossFight) cam.y += (p.y - 40.0f + look - cam.y) * std::min(k * dt, 1.0f);

    // The hero stays in view: the camera is pushed along when it lags.
    const float sideRoom = 480.0f - kHeroViewMargin, heightRoom = 270.0f - kHeroViewMargin;
    cam.x = std::clamp(cam.x, p.x - sideRoom, p.x + sideRoom);
    cam.y = std::max(cam.y, p.y - heightRoom);  // the lowest-ground limit below still lets a pit fall go

    float lo = 80.0f, hi = level.endX - 480.0f;
    if (bossFight) {
        lo = level.arenaX + 420.0f;
        hi = level.bossX - 420.0f;
        if (lo > hi) lo = hi = (level.arenaX + level.bossX) * 0.5f;
    }
    cam.x = hi >= lo ? std::clamp(cam.x, lo, hi) : lo;
    cam.y = std::min(cam.y, level.lowestGroundY - 110.0f);
    if (bossFight) cam.y += (level.arenaY - 190.0f - cam.y) * std::min(3.0f * dt, 1.0f);
    // A hero flying or thrown high takes the view up with it.
    cam.y = std::min(cam.y, p.y + heightRoom);
    return cam;
}

namespace {

void holdBetween(Player& p, float lo, float hi) {
    if (p.x < lo) {
        p.x = lo;
        if (p.vx < 0) p.vx = 0;
        if (p.grounded && p.groundSpeed < 0) p.groundSpeed = 0;
    } else if (p.x > hi) {
        p.x = hi;
        if (p.vx > 0) p.vx = 0;
        if (p.grounded && p.groundSpeed > 0) p.groundSpeed = 0;
    }
}

}  // namespace

void applyWalls(Player& p, const Level& level, bool bossFight) {
    if (bossFight)
        holdBetween(p, level.arenaX + 18.0f, level.bossX - 18.0f);
    else
        holdBetween(p, -380.0f, level.endX - 18.0f);
}

void applyWalls(Player& p, const Level& level, const ActState& act) {
    if (act.arenaHeld && !act.bossActive)
        holdBetween(p, level.arenaX + 18.0f, std::min(act.goalX + 30.0f, level.bossX - 18.0f));
    else
        applyWalls(p, level, act.bossActive);
}

bool bossTriggerDue(const ActState& act, const Level& level, const Player& p, PlayMode mode) {
    return mode == PlayMode::Story && !act.bossStarted && !act.bossDefeated && p.x > level.arenaX + 140.0f;
}

sf::Vector2f arenaRespawnPoint(const Level& level) { return {level.arenaX + 80.0f, level.arenaY - 40.0f}; }

namespace {

float goalRestY(const Level& level, float goalX) {
    const GroundHeight g = level.groundHeightAt(goalX);
    return (g ? g.y : level.arenaY) - 70.0f;
}

}  // namespace

void placeGoalForNoBossAct(ActState& act, const Level& level) {
    act.goalPresent = true;
    act.goalReached = false;
    act.goalX = level.bossX - 160.0f;
    act.goalY = goalRestY(level, act.goalX);
    act.goalSpin = 0;
    act.goalTime = 0;
    act.bossDefeated = true;
}

void dropGoalAfterBoss(ActState& act, const Level& level, float playerX) {
    act.goalPresent = true;
    act.goalReached = false;
    act.arenaHeld = true;
    // A player past bossX - 160 would have the sign land behind; it comes
    // down on them instead.
    act.goalX = std::max(level.bossX - 160.0f, std::min(playerX - 30.0f, level.bossX - 48.0f));
    act.goalY = level.arenaY - 500.0f;
    act.goalSpin = 0;
    act.goalTime = 0;
}

GoalStep stepGoal(ActState& act, const Level& level, const Player& p, float dt) {
    GoalStep r;
    if (!act.goalPresent) return r;
    act.goalY = std::min(act.goalY + 600.0f * dt, goalRestY(level, act.goalX));
    if (!act.goalReached) {
        act.goalSpin += 2.0f * dt;
        if (!p.dead && std::fabs(p.x - act.goalX) < 40.0f && std::fabs(p.y - act.goalY) < 150.0f) {
            act.goalReached = true;
            act.goalTime = 0;
            act.arenaHeld = false;
            r.touched = true;
        }
        return r;
    }
    act.goalSpin += std::max(1.0f - 0.5f * act.goalTime, 0.0f) * 18.0f * dt;
    const bool wasDue = act.goalTime >= kGoalClearDelay;
    act.goalTime += dt;
    r.clearDue = !wasDue && act.goalTime >= kGoalClearDelay;
    return r;
}

bool everyNthTick(float time, float dt, float rate, int n) {
    if (n < 1) n = 1;
    const double now = std::floor(double(time) * rate);
    const double before = std::floor((double(time) - double(dt)) * rate);
    if (now - before >= double(n)) return true;
    for (double k = before + 1; k <= now; k += 1) {
        if (std::fmod(std::fabs(k), double(n)) == 0) return true;
    }
    return false;
}
