#include <gtest/gtest.h>

#include "core/Input.h"
#include "core/MenuList.h"

namespace {

using K = sf::Keyboard;

MenuList listOf(std::vector<bool> enabled, int selected = 0) {
    MenuList list;
    std::vector<MenuButton> buttons;
    for (std::size_t i = 0; i < enabled.size(); ++i)
        buttons.push_back({"b" + std::to_string(i), 100, 100 + 50.0f * float(i), 200, 40, enabled[i]});
    list.reset(buttons, selected);
    return list;
}

InputState keys(std::vector<K::Key> pressed, sf::Vector2f mouse = {0, 0}) {
    InputState in;
    in.keysPressed = std::move(pressed);
    in.mousePos = mouse;
    return in;
}

sf::Vector2f centreOf(const MenuList& l, int i) {
    const MenuButton& b = l.buttons[std::size_t(i)];
    return {b.x + b.w / 2, b.y + b.h / 2};
}

}  // namespace

TEST(MenuList, ArrowsAndWsMoveWithWrapAroundSkippingDisabledButtons) {
    struct Case { std::vector<bool> enabled; int from; K::Key key; int to; };
    const Case cases[] = {
        {{true, true, true}, 0, K::Down, 1},
        {{true, true, true}, 2, K::S, 0},           // wraps forward
        {{true, true, true}, 0, K::Up, 2},          // wraps backward
        {{true, true, true}, 1, K::W, 0},
        {{true, false, true}, 0, K::Down, 2},       // skips a disabled button
        {{true, false, false}, 0, K::Down, 0},      // the only enabled one: a full turn back to itself
        {{false, false, false}, 1, K::Down, 1},     // nothing enabled: the selection stays
        {{false, false, false}, 1, K::Up, 1},
    };
    for (const Case& c : cases) {
        MenuList l = listOf(c.enabled, c.from);
        MenuStep s = stepMenuList(l, keys({c.key}));
        EXPECT_EQ(l.selected, c.to) << "from " << c.from << " key " << c.key;
        EXPECT_TRUE(s.sound);
        EXPECT_EQ(s.chosen, -1);
    }
}

TEST(MenuList, EnterOrSpaceChoosesOnlyAnEnabledSelection) {
    MenuList l = listOf({true, true});
    l.selected = 1;
    EXPECT_EQ(stepMenuList(l, keys({K::Enter})).chosen, 1);
    EXPECT_EQ(stepMenuList(l, keys({K::Space})).chosen, 1);

    MenuList none = listOf({false, false, false}, 0);
    MenuStep s = stepMenuList(none, keys({K::Enter}));
    EXPECT_EQ(s.chosen, -1);
    EXPECT_FALSE(s.sound);

    MenuList empty;
    EXPECT_EQ(stepMenuList(empty, keys({K::Enter, K::Down})).chosen, -1);
}

TEST(MenuList, RestingMouseDoesNotFightTheKeyboard) {
    MenuList l = listOf({true, true, true, true});
    const sf::Vector2f onFirst = centreOf(l, 0);
    // The first step after the list is built only notes where the mouse is.
    stepMenuList(l, keys({}, centreOf(l, 2)));
    EXPECT_EQ(l.selected, 0);
    // The mouse moves onto button 0 ... then rests there while the keys move.
    stepMenuList(l, keys({}, onFirst));
    EXPECT_EQ(l.selected, 0);
    stepMenuList(l, keys({K::Down}, onFirst));
    stepMenuList(l, keys({K::Down}, onFirst));
    EXPECT_EQ(l.selected, 2);
    stepMenuList(l, keys({}, onFirst));
    EXPECT_EQ(l.selected, 2);
    // Moving within the button takes the selection back.
    stepMenuList(l, keys({}, onFirst + sf::Vector2f(3, 0)));
    EXPECT_EQ(l.selected, 0);
}

TEST(MenuList, MouseDoesNotSelectADisabledButtonAndClicksChooseOnlyEnabledOnes) {
    MenuList l = listOf({true, false, true});
    stepMenuList(l, keys({}, {0, 0}));
    stepMenuList(l, keys({}, centreOf(l, 1)));
    EXPECT_EQ(l.selected, 0);

    InputState click = keys({}, centreOf(l, 1));
    click.clicked = true;
    EXPECT_EQ(stepMenuList(l, click).chosen, -1);

    click.mousePos = centreOf(l, 2);
    MenuStep s = stepMenuList(l, click);
    EXPECT_EQ(s.chosen, 2);
    EXPECT_TRUE(s.sound);
    EXPECT_EQ(l.selected, 2);

    // A click beside every button chooses nothing, even with Enter unpressed.
    click.mousePos = {5, 5};
    EXPECT_EQ(stepMenuList(l, click).chosen, -1);
}

// Cards side by side: Left/A and Right/D move within the selected button's
// row, wrapping round and skipping disabled cards; Up/Down keep their order.
TEST(MenuList, LeftAndRightMoveWithinARowOfCards) {
    // Row one: three tall cards 0, 1, 2; row two: buttons 3, 4 (disabled), 5.
    auto grid = [](int selected) {
        MenuList l;
        l.reset({{"", 130, 150, 220, 230, true}, {"", 370, 150, 220, 230, true}, {"", 610, 150, 220, 230, true},
                 {"", 130, 400, 220, 46, true}, {"", 370, 400, 220, 46, false}, {"", 610, 400, 220, 46, true}},
                selected, true);
        return l;
    };
    struct Case { int from; K::Key key; int to; };
    const Case cases[] = {
        {0, K::Right, 1}, {1, K::D, 2}, {2, K::Right, 0},  // wraps within the row
        {0, K::Left, 2},  {2, K::A, 1},
        {3, K::Right, 5},                                   // skips the disabled card
        {5, K::Right, 3}, {3, K::Left, 5},
        {2, K::Down, 3},                                    // Up/Down still walk the list
    };
    for (const Case& c : cases) {
        MenuList l = grid(c.from);
        MenuStep s = stepMenuList(l, keys({c.key}));
        EXPECT_EQ(l.selected, c.to) << "from " << c.from << " key " << c.key;
        EXPECT_TRUE(s.sound);
    }
    // A plain list leaves Left and Right to its screen.
    MenuList plain = listOf({true, true, true}, 1);
    MenuStep s = stepMenuList(plain, keys({K::Left, K::Right, K::A, K::D}));
    EXPECT_EQ(plain.selected, 1);
    EXPECT_FALSE(s.sound);
}
