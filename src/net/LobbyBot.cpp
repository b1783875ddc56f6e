#include "net/LobbyBot.h"

#include <algorithm>
#include <cmath>

#include "gameplay/ActFlow.h"
#include "level/ActGenerator.h"

GhostRun startGhostRun(int zone, int act, float speed) {
    GhostRun run;
    generateAct(run.level, zone, act);
    ActState goal;
    placeGoalForNoBossAct(goal, run.level);
    run.goalX = goal.goalX;
    run.x = run.level.startPos.x;
    run.y = run.level.startPos.y;
    run.speed = speed;
    return run;
}

bool stepGhostRun(GhostRun& run, float dt) {
    if (run.finished) return false;
    run.time += dt;
    const float dir = run.goalX >= run.x ? 1.0f : -1.0f;
    run.facing = dir > 0 ? 1 : -1;
    run.x += dir * std::min(run.speed * dt, std::fabs(run.goalX - run.x));
    // Feet on the ground where there is some; over a gap it keeps its height.
    if (const GroundHeight g = run.level.groundHeightAt(run.x)) run.y = g.y - 18.0f;
    if (std::fabs(run.x - run.goalX) < 40.0f) {
        run.finished = true;
        return true;
    }
    return false;
}

void LobbyBot::update(float dt) {
    lobby.update(dt, false);
    lobby.stepRemotes(dt);
    for (const LobbyEvent& e : lobby.takeEvents()) {
        if (onEvent) onEvent(e);
        switch (e.type) {
            case LobbyEvent::StartAct:
                run = startGhostRun(e.zone, e.act, speed);
                playing = true;
                sendTimer = 0;
                break;
            case LobbyEvent::BackToLobby:
            case LobbyEvent::Disconnected: playing = false; break;
            default: break;
        }
    }
    if (!playing || !lobby.inGame()) return;
    const bool reached = stepGhostRun(run, dt);
    sendTimer += dt;
    if (sendTimer >= kPlayerStateInterval || reached) {
        sendTimer = 0;
        const std::uint8_t flags = kStateVisible | (run.facing < 0 ? kStateFacingLeft : 0);
        lobby.sendPlayerState({run.x, run.y}, 0.0f, flags, run.level.zone, run.level.act);
    }
    if (!reached) return;
    if (lobby.role == LobbyRole::Host) {
        lobby.playerFinished(lobby.ownId, run.time);
    } else {
        lobby.sendFinish(run.time);
    }
    // A racer is done; together, the next act comes with the next StartAct.
    playing = false;
}
