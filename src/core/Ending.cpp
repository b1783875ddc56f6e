#include "audio/SoundEffects.h"
#include "core/Mivoland2.h"
#include "core/Story.h"
#include "render/Draw.h"

const std::array<const char*, kEndingPageCount>& endingPages() {
    static const std::array<const char*, kEndingPageCount> pages = {
        "Ovim comes apart, letter by letter... and as the last one fades, everyone hears it: the first word, spoken "
        "the right way round again. MIVO!",
        "The meadows sing. The crystals shine. The sky fortress drifts home and the neon city lights back up.",
        "Kivo and Aivo stand side by side for the first time. Maybe the Secret Stones were never meant to belong to "
        "just one side.",
        "THE END... for now.   Thanks for playing Mivoland 2!",
    };
    return pages;
}

// ---- The screen -----------------------------------------------------------

void Mivoland2::openEnding() {
    state = GameState::Ending;
    storyPage = 0;
    playMusic("title");
}

void Mivoland2::updateEnding() {
    if (!pageTurnPressed(input)) return;
    ++storyPage;
    if (storyPage >= kEndingPageCount)
        goToMainMenu();
    else
        playSound(SoundMenu, 1.0f);
}

void Mivoland2::drawEnding(DrawContext& ctx) {
    drawPageSky(ctx, totalTime, sf::Color(20, 20, 70), sf::Color(120, 70, 140));
    const int p = storyPage < 0 ? 0 : (storyPage < kEndingPageCount ? storyPage : kEndingPageCount - 1);
    drawStoryPanel(ctx, endingPages()[std::size_t(p)]);
    drawText(ctx, "Score " + std::to_string(session.score), {480.0f, 372.0f}, 24, sf::Color(255, 220, 90), 2.0f, kAlignCenter);
    drawText(ctx, "Enter / click to go on", {480.0f, 436.0f}, 16, sf::Color(200, 200, 230), 2.0f, kAlignCenter);
}
