// The maker screen: entering it, one frame of editing, its buttons and the
// test runs of a course.
#include "content/Heroes.h"
#include "core/Mivoland2.h"
#include "maker/CourseLevel.h"
#include "maker/MakerDraw.h"

void Mivoland2::openMaker() {
    if (state != GameState::Maker) {
        loadCourseSlot(maker, dataDir, maker.slot);
        maker.messageTime = 0;  // nothing left over from the last visit
    }
    state = GameState::Maker;
    maker.ignoreHeldButtons = true;  // the click that chose "Mivo Maker" paints nothing
    playMusic("lobby");
}

void Mivoland2::returnToMaker(const std::string& message) {
    session.playingCourse = false;
    paused = false;
    state = GameState::Maker;
    maker.ignoreHeldButtons = true;  // nor does the one that chose "Back to Editor"
    if (!message.empty()) showMakerMessage(maker, message);
    playMusic("lobby");
}

void Mivoland2::updateMaker(float dt) {
    MakerInput in;
    in.mouse = input.mousePos;
    in.clicked = input.clicked;
    in.leftHeld = input.mouseLeftHeld;
    in.rightHeld = input.mouseRightHeld;
    in.rightClicked = input.rightClicked;
    in.scrollLeft = input.left;
    in.scrollRight = input.right;
    const int button = stepMakerEditor(maker, in, dt);
    const int result = button >= 0 ? pressMakerButton(button) : MakerResult::None;

    if (result == MakerResult::NextHero || input.pressed(sf::Keyboard::H)) nextTestHero();
    if (result == MakerResult::StartTest) {
        startCourseRun(maker.course, makerTestHero);
        return;
    }
    if (result == MakerResult::Leave || input.pressed(sf::Keyboard::Escape)) {
        saveCourseSlot(maker, dataDir);
        goToMainMenu();
    }
}

int Mivoland2::pressMakerButton(int i) { return applyMakerButton(maker, i, dataDir); }

void Mivoland2::nextTestHero() {
    makerTestHero = (std::clamp(makerTestHero, 0, kHeroCount - 1) + 1) % kHeroCount;
    makerTestHeroName = heroTable()[std::size_t(makerTestHero)].name;
    showMakerMessage(maker, "Testing as " + makerTestHeroName);
}

void Mivoland2::startCourseRun(const Course& course, int hero) {
    if (&course != &maker.course) maker.course = course;
    maker.scroll = std::clamp(maker.scroll, 0.0f, maxMakerScroll(maker.course));
    makerTestHero = std::clamp(hero, 0, kHeroCount - 1);
    makerTestHeroName = heroTable()[std::size_t(makerTestHero)].name;
    session.playingCourse = true;
    session.score = 0;  // a test run counts for itself, not for a story game
    Level built;
    buildLevelFromCourse(maker.course, built);
    beginAct(built, makerTestHero);
}

void Mivoland2::drawMaker(DrawContext& ctx) {
    MakerSceneInfo info;
    info.heroName = makerTestHeroName;
    info.hero = makerTestHero;
    info.mouse = input.mousePos;
    info.time = totalTime;
    drawMakerScreen(ctx, maker, info);
}
