// The Playing screen: starting an act and the frame of an act in play.
#include <algorithm>
#include <cmath>

#include "content/BossFight.h"
#include "core/Mivoland2.h"
#include "gameplay/Objects.h"
#include "level/ActGenerator.h"
#include "render/Draw.h"

namespace {

void countDown(float& t, float dt) { t = t > dt ? t - dt : 0.0f; }

}  // namespace

PlayMode Mivoland2::playMode() const {
    if (session.playingCourse) return PlayMode::Course;
    if (inMultiplayerGame()) return PlayMode::Multiplayer;
    return PlayMode::Story;
}

std::string Mivoland2::actMusicId() const {
    if (session.bossActive) return bossMusicId(level.bossId, level.act);
    return zoneMusicId(level.zone);
}

// ---- Act start ----------------------------------------------------------------

void Mivoland2::startAct(int zone, int act) {
    zone = std::clamp(zone, 0, 5);
    act = std::clamp(act, 1, 2);
    save.zone = zone;
    save.act = act;
    save.furthestAct = std::max(save.furthestAct, actIndex(zone, act));
    session.playingCourse = false;
    Level fresh;
    generateAct(fresh, zone, act);
    beginAct(fresh, save.hero);
}

void Mivoland2::beginAct(const Level& newLevel, int hero) {
    actStartLevel = newLevel;
    level = newLevel;
    if (noBaddies) level.enemies.clear();
    player = makePlayer(std::clamp(hero, 0, 8), level.startPos, playerMods);

    const std::int64_t score = session.score;
    const bool course = session.playingCourse;
    session = ActState{};
    session.score = score;
    session.playingCourse = course;
    session.respawnPoint = session.camera = level.startPos;
    session.titleCardTime = course ? 0.0f : kTitleCardTime;
    // Built now as well, so a pause from losing the window focus has its list.
    session.pauseList.reset(pauseButtons(playMode()), 0);
    effects.clear();
    resetBoss();
    paused = false;
    state = GameState::Playing;

    if (course || inMultiplayerGame()) placeGoalForNoBossAct(session, level);
    playMusic(zoneMusicId(level.zone));
    writeSave();
    fireEvent("start");
}

// ---- The frame --------------------------------------------------------------------

void Mivoland2::updatePlaying(float dt) {
    using K = sf::Keyboard;

    // 1-2. The pause menu.
    if (input.pressed(K::Escape) || input.pressed(K::Backspace) || input.pressed(K::P)) {
        paused = !paused;
        session.pauseList.reset(pauseButtons(playMode()), 0);
    }
    if (paused) {
        updatePauseMenu();
        return;
    }

    // 3. The debug editor (debug/DebugMode.cpp): while it is on it runs
    // instead of the rest of the frame.
    toggleDebug();
    if (session.debugActive) {
        updateDebugEditor(dt);
        return;
    }

    // 4-6. Timers, the mods' timed handlers, the lobby.
    countDown(session.titleCardTime, dt);
    countDown(session.shakeTime, dt);
    countDown(session.speechTime, dt);
    runScriptTimers(dt);
    if (inMultiplayerGame() && !player.dead) {
        session.netSendTimer += dt;
        if (session.netSendTimer >= 0.05f) {
            session.netSendTimer = 0;
            sendPlayerState();
        }
    }

    // 7. The act clock.
    if (!session.goalReached) session.actTime += dt;

    // 8. The death fall.
    if (player.dead) {
        const DeathFallStep fall = updateDeathFall(player, dt);
        if (fall.started) playSound(2);
        updateEffects(dt);
        if (fall.respawnDue) respawnAfterDeath();
        return;
    }

    // 9-10. The form.
    if (tryTransform(player, input.transformPressed, std::uint32_t(save.secretStones),
                     std::uint32_t(save.divineStones))) {
        playSound(13);
        spawnParticles(effects.particles, effectsRng, {player.x, player.y}, 30, sf::Color::White, 400.0f, 0.8f, 6.0f);
        unlockAchievement(6);
        if (player.divine) unlockAchievement(7);
        playMusic("form");
        fireEvent("transform");
    }
    const FormUpkeep form = updateForm(player, dt, totalTime);
    if (form.ended) playMusic(actMusicId());
    if (form.sparkle) {
        const sf::Color c = form.rainbowSparkle ? hueColor(totalTime) : form.sparkleColor;
        spawnParticles(effects.particles, effectsRng, form.sparklePos, 1, c, 40.0f, 0.5f, 4.0f, 1);
    }

    // 11-13. The player step and what it reports.
    const bool wasInLoop = player.loopIndex >= 0;
    const auto findTarget = [this](sf::Vector2f pos, int facing) {
        return findHomingTarget(level, pos, facing, bossTarget());
    };
    updatePlayer(player, input, level, dt, totalTime, findTarget);
    handlePlayerEvents();
    if ((wasInLoop || player.loopIndex >= 0) && player.loopAngle > kLoopAchievementAngle) unlockAchievement(1);

    // 14. A gadget spring.
    if (player.buildSpring) level.springs.push_back(gadgetSpringFor(player));

    // 15. Flame trail and speed dust.
    if (player.flameTime > 0 && everyNthTick(totalTime, dt, 40.0f, 2)) {
        Particle q;
        q.x = player.x - 12.0f * float(player.facing);
        q.y = player.y;
        q.vx = -80.0f * float(player.facing);
        q.vy = -40.0f;
        q.life = q.maxLife = 0.35f;
        q.size = 6.0f;
        q.color = sf::Color(255, 140, 30);
        effects.particles.push_back(q);
    }
    if (player.grounded && std::fabs(player.groundSpeed) > 900.0f && everyNthTick(totalTime, dt, 30.0f, 3)) {
        Particle q;
        q.x = player.x - 10.0f * float(player.facing);
        q.y = player.y + 16.0f;
        q.vx = -60.0f * float(player.facing);
        q.vy = -30.0f;
        q.life = q.maxLife = 0.3f;
        q.size = 4.0f;
        q.color = sf::Color(190, 190, 190);
        effects.particles.push_back(q);
    }

    // 16. The boss trigger.
    if (bossTriggerDue(session, level, player, playMode())) startBossFight();

    // 17. Walls.
    applyWalls(player, level, session);

    // 18. Objects, baddies, hazards, then the boss.
    runObjectPasses(dt);
    if (state != GameState::Playing) return;  // a portal led out of the act
    updateBossFight(dt);
    if (state != GameState::Playing) return;  // the final boss cleared the act

    // 19. The goal sign.
    const GoalStep goal = stepGoal(session, level, player, dt);
    if (goal.touched) {
        playSound(9);
        session.score += kGoalPoints;
        fireEvent("finish");
    }
    if (goal.clearDue) clearAct();

    // 20-21. Effects, camera, the gem achievement.
    updateEffects(dt);
    session.camera = stepCamera(session.camera, player, level, session.bossActive, {input.up, input.down}, dt);
    if (player.gems >= 100) unlockAchievement(3);
}

void Mivoland2::handlePlayerEvents() {
    for (PlayerEvent e : player.events) {
        const PlayerEventEffect fx = playerEventEffect(e, player);
        if (fx.sound >= 0) playSound(fx.sound, fx.pitch);
        if (fx.particles > 0)
            spawnParticles(effects.particles, effectsRng, fx.at, fx.particles, fx.color, fx.speed, fx.life, fx.size);
        if (fx.scriptEvent && *fx.scriptEvent) fireEvent(fx.scriptEvent);
    }
}

void Mivoland2::respawnAfterDeath() {
    const bool wasTransformed = player.transformed;  // a fall into a pit ends the form too
    player = respawnPlayer(player, session.respawnPoint);
    if (session.bossStarted && !session.bossDefeated) {
        session.bossStarted = session.bossActive = false;
        resetBoss();
        playMusic(zoneMusicId(level.zone));
    } else if (wasTransformed) {
        playMusic(actMusicId());
    }
    restoreAfterRespawn(level, effects);
}

void Mivoland2::returnToAct() {
    state = GameState::Playing;
    paused = false;
    player.hurtTime = std::max(player.hurtTime, kRespawnMercy);
    playMusic(actMusicId());
}

// ---- The pause menu and act select ---------------------------------------------------

void Mivoland2::updatePauseMenu() {
    const int choice = runMenuList(session.pauseList);
    switch (choice) {
        case PauseChoice::Resume: paused = false; break;
        case PauseChoice::Restart:
            if (playMode() == PlayMode::Course) {
                beginAct(actStartLevel, player.hero);
            } else if (playMode() == PlayMode::Multiplayer) {
                Level fresh;
                generateAct(fresh, level.zone, level.act);
                beginAct(fresh, player.hero);
                session.titleCardTime = session.titleCardLength = kLobbyTitleCardTime;
            } else {
                startAct(save.zone, save.act);
            }
            break;
        case PauseChoice::ActSelect: openActSelect(); break;
        case PauseChoice::Leave:
            if (playMode() == PlayMode::Course) {
                returnToMaker();  // the course is not saved again
            } else if (playMode() == PlayMode::Multiplayer) {
                returnToLobbyScreen();  // net/LobbyScreen.cpp
            } else {
                writeSave();
                goToMainMenu();
            }
            break;
        default: break;
    }
}

void Mivoland2::openActSelect() {
    state = GameState::ActSelect;
    menu.reset(actSelectButtons(save.furthestAct, currentSlot < 0), std::clamp(actIndex(save.zone, save.act), 0, 11),
               true);  // the two acts of a zone side by side
}

void Mivoland2::updateActSelect() {
    using K = sf::Keyboard;
    const int choice = runMenuList(menu);
    if (choice >= 0 && choice < kActSelectBack) {
        startAct(actSelectZone(choice), actSelectAct(choice));
        return;
    }
    if (choice == kActSelectBack || input.pressed(K::Escape) || input.pressed(K::Backspace)) {
        state = GameState::Playing;
        paused = true;
    }
}

// ---- Effects --------------------------------------------------------------------------

void Mivoland2::updateEffects(float dt) { updateEffectLists(level, effects, dt); }

// ---- Hooks ------------------------------------------------------------------------------
// (sendPlayerState and onMultiplayerCleared live with the lobby, net/LobbyGame.cpp.)

void Mivoland2::onCourseCleared() { returnToMaker("COURSE CLEAR! Nice one!"); }
