#include <gtest/gtest.h>

#include <SFML/Graphics/RenderTexture.hpp>
#include <cmath>
#include <fstream>

#include "core/MenuList.h"
#include "core/platform/Platform.h"
#include "render/Draw.h"

TEST(FormatTime, MinutesSecondsAndTruncatedTenths) {
    struct Case { float s; const char* want; };
    const Case cases[] = {
        {83.47f, "1:23.4"}, {5.0f, "0:05.0"}, {59.99f, "0:59.9"}, {60.0f, "1:00.0"},
        {0.0f, "0:00.0"},   {605.25f, "10:05.2"}, {-3.0f, "0:00.0"}, {std::nanf(""), "0:00.0"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatTime(c.s), c.want) << c.s;
    EXPECT_FALSE(formatTime(INFINITY).empty());
}

TEST(WrapText, ReflowsWordsAndKeepsLongWordsWhole) {
    struct Case { const char* text; std::size_t max; const char* want; };
    const Case cases[] = {
        {"abcd efgh ijkl", 10, "abcd efgh\nijkl"},
        {"abcdefghijklmno", 10, "abcdefghijklmno"},
        {"hi abcdefghijklmno yo", 10, "hi\nabcdefghijklmno\nyo"},
        {"  many   blanks\tand\nlines ", 40, "many blanks and lines"},
        {"", 10, ""},
        {"a b", 0, "a\nb"},
    };
    for (const Case& c : cases) EXPECT_EQ(wrapText(c.text, c.max), c.want) << c.text;
}

TEST(HueColor, PastelRainbowWrapsEveryTurn) {
    auto eq = [](sf::Color a, sf::Color b) { return a == b; };
    EXPECT_TRUE(eq(hueColor(0.0f), sf::Color(255, 0, 60)));
    EXPECT_TRUE(eq(hueColor(1.0f), sf::Color(255, 0, 60)));
    EXPECT_TRUE(eq(hueColor(-0.25f), hueColor(0.75f)));
    EXPECT_TRUE(eq(hueColor(0.5f), sf::Color(60, 255, 255)));
    EXPECT_TRUE(eq(hueColor(1.0f / 12.0f), sf::Color(255, 127, 60)));
    EXPECT_TRUE(eq(hueColor(-1e-9f), hueColor(0.0f)));
    EXPECT_EQ(hueColor(std::nanf("")).a, 255);
}

namespace {

// A small canvas with the UI font.
struct Canvas : ::testing::Test {
    sf::RenderTexture rt;
    sf::Font font;
    void SetUp() override {
        ASSERT_TRUE(rt.create(200, 120));
        bool loaded = false;
        for (const std::string& p : uiFontCandidates())
            if (!loaded && std::ifstream(p)) loaded = font.loadFromFile(p);
        ASSERT_TRUE(loaded);
        rt.clear(sf::Color::Black);
    }
    sf::Image image() {
        rt.display();
        return rt.getTexture().copyToImage();
    }
    int countNonBlack(const sf::Image& img) {
        int n = 0;
        for (unsigned y = 0; y < img.getSize().y; ++y)
            for (unsigned x = 0; x < img.getSize().x; ++x)
                if (img.getPixel(x, y) != sf::Color::Black) ++n;
        return n;
    }
};

}  // namespace

TEST_F(Canvas, ThickLineWithEqualEndsDrawsNothing) {
    DrawContext ctx{rt, font};
    drawThickLine(ctx, {50, 50}, {50, 50}, 10, sf::Color::Red);
    drawThickLine(ctx, {50, 50}, {50.005f, 50}, 10, sf::Color::Red);
    EXPECT_EQ(countNonBlack(image()), 0);
}

TEST_F(Canvas, ThickLineIsCentredOnItsSegment) {
    DrawContext ctx{rt, font};
    drawThickLine(ctx, {20, 60}, {120, 60}, 10, sf::Color::Red);
    drawThickLine(ctx, {150, 10}, {150, 110}, 4, sf::Color::Green);  // vertical: rotated by 90 degrees
    const sf::Image img = image();
    EXPECT_EQ(img.getPixel(70, 56), sf::Color::Red);
    EXPECT_EQ(img.getPixel(70, 63), sf::Color::Red);
    EXPECT_EQ(img.getPixel(70, 52), sf::Color::Black);
    EXPECT_EQ(img.getPixel(70, 67), sf::Color::Black);
    EXPECT_EQ(img.getPixel(10, 60), sf::Color::Black);
    EXPECT_EQ(img.getPixel(150, 60), sf::Color::Green);
    EXPECT_EQ(img.getPixel(155, 60), sf::Color::Black);
}

TEST_F(Canvas, RectOutlineOnlyWithPositiveThickness) {
    DrawContext ctx{rt, font};
    drawRect(ctx, {10, 10}, {40, 30}, sf::Color::Blue, 0.0f, sf::Color::Red);
    drawRect(ctx, {100, 10}, {40, 30}, sf::Color::Blue, 3.0f, sf::Color::Red);
    const sf::Image img = image();
    EXPECT_EQ(img.getPixel(30, 25), sf::Color::Blue);
    EXPECT_EQ(img.getPixel(8, 25), sf::Color::Black);
    EXPECT_EQ(img.getPixel(98, 25), sf::Color::Red);  // the outline grows outwards
    EXPECT_EQ(img.getPixel(101, 25), sf::Color::Blue);
}

TEST_F(Canvas, CircleRingHeartAndGradient) {
    DrawContext ctx{rt, font};
    drawCircle(ctx, {30, 30}, 20, sf::Color::Green, 30);
    drawRing(ctx, {100, 30}, 15, 4, sf::Color::Yellow, 30);
    drawHeart(ctx, {160, 30}, 10, sf::Color::Red);
    drawVerticalGradient(ctx, {0, 80, 200, 40}, sf::Color(0, 0, 0), sf::Color(0, 0, 200));
    const sf::Image img = image();
    EXPECT_EQ(img.getPixel(30, 30), sf::Color::Green);   // origin at the centre
    EXPECT_EQ(img.getPixel(30, 8), sf::Color::Black);
    EXPECT_EQ(img.getPixel(100, 30), sf::Color::Black);  // the ring is hollow
    EXPECT_EQ(img.getPixel(117, 30), sf::Color::Yellow); // its inner edge at the radius
    EXPECT_EQ(img.getPixel(160, 36), sf::Color::Red);    // the heart's point triangle
    EXPECT_EQ(img.getPixel(155, 28), sf::Color::Red);    // one of its lobes
    EXPECT_EQ(img.getPixel(160, 43), sf::Color::Black);
    EXPECT_LT(img.getPixel(100, 82).b, 30);
    EXPECT_GT(img.getPixel(100, 118).b, 170);
}

TEST_F(Canvas, TextAlignmentPutsTheGivenXAtTheLeftCentreOrRight) {
    DrawContext ctx{rt, font};
    sf::Text left, centre, right;
    drawText(ctx, left, "Mivo", {100, 5}, 20, sf::Color::White, 0.0f, kAlignLeft);
    drawText(ctx, centre, "Mivo", {100, 40}, 20, sf::Color::White, 2.0f, kAlignCenter);
    drawText(ctx, right, "Mivo", {100, 75}, 20, sf::Color::White, 0.0f, kAlignRight);
    const sf::FloatRect l = left.getGlobalBounds(), c = centre.getGlobalBounds(), r = right.getGlobalBounds();
    EXPECT_NEAR(l.left, 100.0f, 3.0f);
    EXPECT_NEAR(c.left + c.width / 2, 100.0f, 2.0f);
    EXPECT_NEAR(r.left + r.width, 100.0f, 1.0f);
    EXPECT_EQ(centre.getOutlineColor(), sf::Color(0, 0, 0, 220));
    EXPECT_GE(l.top, 5.0f);  // the position is the top of the line
}

TEST_F(Canvas, MenuButtonsHighlightOnlyAnEnabledSelection) {
    DrawContext ctx{rt, font};
    MenuList list;
    list.reset({{"A", 20, 10, 160, 30, true}, {"B", 20, 70, 160, 30, false}}, 0);
    drawMenuButtons(list, ctx, 0.0f, 14);
    sf::Image img = image();
    EXPECT_EQ(img.getPixel(13, 25), sf::Color(255, 220, 90));  // inflated by 4 with a 3-wide gold outline
    EXPECT_EQ(img.getPixel(19, 85), sf::Color(150, 150, 220));

    rt.clear(sf::Color::Black);
    list.selected = 1;  // a selected disabled button looks like any other
    drawMenuButtons(list, ctx, 0.0f, 14);
    img = image();
    EXPECT_EQ(img.getPixel(19, 25), sf::Color(150, 150, 220));
    EXPECT_EQ(img.getPixel(19, 85), sf::Color(150, 150, 220));
}

TEST_F(Canvas, GemIsADiamondThatFadesWithOpacity) {
    DrawContext ctx{rt, font};
    drawGem(ctx, {50, 50}, 0.0f, 1.0f);
    drawGem(ctx, {150, 50}, 0.0f, 0.0f);
    const sf::Image img = image();
    EXPECT_EQ(img.getPixel(50, 58), sf::Color(60, 230, 255));   // inner layer, below the highlight
    EXPECT_EQ(img.getPixel(50, 62), sf::Color(30, 140, 200));   // outer layer beyond the inner one
    EXPECT_EQ(img.getPixel(50, 37), sf::Color(30, 140, 200));   // outer tip
    EXPECT_EQ(img.getPixel(50, 30), sf::Color::Black);
    EXPECT_EQ(img.getPixel(150, 50), sf::Color::Black);         // opacity 0
}
