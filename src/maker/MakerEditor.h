#pragma once
// The course editor as plain state and pure steps: the screen's geometry and
// hit-testing, one frame of mouse editing, placing and erasing items, the
// nine buttons and the three slot files. The game object owns one
// MakerEditor and runs these from its maker screen (maker/MakerScreen.cpp).

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>
#include <cstdint>
#include <string>

#include "maker/Course.h"

// ---- Geometry (logical units of the 960 x 540 view) ------------------------

// World units are drawn at 400/672, so the 14 rows fill the 400-high grid.
constexpr float kMakerScale = 400.0f / 672.0f;
constexpr float kMakerGridTop = 40.0f;
constexpr float kMakerGridBottom = 440.0f;
constexpr float kMakerViewWidth = 960.0f / kMakerScale;  // 1612.8 world units in view
constexpr float kMakerScrollSpeed = 700.0f;                // world units a second
constexpr float kMakerMessageTime = 2.5f;
constexpr int kMaxCourseItems = 1500;
constexpr int kMakerButtonCount = 9;
constexpr int kPaletteCellsShown = 24;  // two rows of 12
constexpr int kMakerColumnStep = 20;    // "Wider" and "Narrower"

struct MakerButton {
    enum : int { Play = 0, Save = 1, Slot = 2, Theme = 3, Hero = 4, Wider = 5, Narrower = 6, Clear = 7, Back = 8 };
};

// What a button asks of the game.
struct MakerResult {
    enum : int { None = 0, StartTest = 1, NextHero = 2, Leave = 3 };
};

sf::FloatRect makerButtonRect(int i);       // 100 x 32 at (6 + 106 i, 4)
sf::FloatRect paletteCellRect(int j);       // cell j = 0..23 of the palette bar
sf::FloatRect paletteLeftArrowRect();       // (6, 448), 58 x 84
sf::FloatRect paletteRightArrowRect();      // (890, 448), 64 x 84
bool insideRect(const sf::FloatRect& r, sf::Vector2f p);  // left and top edges inclusive

// View x and y of a world point in the editor.
float makerViewX(float worldX, float scroll);
float makerViewY(float worldY);

// ---- State --------------------------------------------------------------------

struct MakerEditor {
    Course course = makeDefaultCourse();
    std::int32_t selectedKind = CourseItemKind::Ground;  // palette entry 0..24
    std::int32_t slot = 0;                                // 0..2
    float scroll = 0;  // world units from the course's left edge to the view's
    std::string message;
    float messageTime = 0;  // the message shows while above 0
    std::int32_t paletteFirst = 0;  // 0 or 12: the first entry in the palette bar

    // Mouse buttons already down when the screen was entered (the click that
    // chose "Mivo Maker" or "Back to Editor") edit nothing until released.
    bool ignoreHeldButtons = false;
};

void showMakerMessage(MakerEditor& m, std::string text);

// The largest scroll: the course's width less the view's, never below 0.
float maxMakerScroll(const Course& course);

// The palette entry under a point of the palette bar, or -1.
int paletteKindAt(const MakerEditor& m, sf::Vector2f p);
// The button under a point of the button bar, or -1.
int makerButtonAt(sf::Vector2f p);

struct GridCell {
    int column = -1, row = -1;
    bool valid = false;  // inside the grid area, the course and rows 0..13
};
GridCell gridCellAt(const MakerEditor& m, sf::Vector2f mouse);

// ---- Editing ----------------------------------------------------------------------

// Places the selected kind: a Goal first removes every other Goal; an
// occupied cell takes nothing; at 1500 items a message asks for erasing.
void placeItem(MakerEditor& m, int column, int row);

// Removes every item in the cell; true when one was removed.
bool eraseItemsAt(MakerEditor& m, int column, int row);

struct MakerInput {
    sf::Vector2f mouse;        // view coordinates
    bool clicked = false;      // a left press arrived this frame
    bool rightClicked = false; // a right press arrived this frame (counts as held)
    bool leftHeld = false;
    bool rightHeld = false;
    bool scrollLeft = false;   // Left arrow or A
    bool scrollRight = false;  // Right arrow or D
};

// One frame of the editor before its buttons act: the message timer, the
// scroll, clicks on the palette and its arrows, and painting, placing and
// erasing in the grid. Returns the button clicked this frame (-1 none); the
// grid is left alone in that frame.
int stepMakerEditor(MakerEditor& m, const MakerInput& in, float dt);

// ---- Buttons and slots --------------------------------------------------------------

// What button i does to the editor (saving and loading slot files in the
// data folder); returns a MakerResult for the game.
int applyMakerButton(MakerEditor& m, int i, const std::string& dataFolder);

// The label of button i: "Slot N", the theme's zone name cut to 9
// characters, the test hero's name, or the button's name.
std::string makerButtonLabel(const MakerEditor& m, int i, const std::string& heroName);

// Makes `slot` current and loads its file; a missing, empty or unreadable
// file gives the default course. The scroll returns to 0.
void loadCourseSlot(MakerEditor& m, const std::string& dataFolder, int slot);
// Writes the course to the current slot's file through a temporary file, so
// a crash keeps the old file whole; "Saved to slot N" when it was written.
bool saveCourseSlot(MakerEditor& m, const std::string& dataFolder);
