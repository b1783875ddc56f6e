#include "maker/MakerEditor.h"

#include <algorithm>
#include <cmath>

#include "content/Zones.h"
#include "core/platform/FileSystem.h"

// ---- Geometry -------------------------------------------------------------------

sf::FloatRect makerButtonRect(int i) { return {6.0f + 106.0f * float(i), 4.0f, 100.0f, 32.0f}; }

sf::FloatRect paletteCellRect(int j) {
    return {70.0f + 68.0f * float(j % 12), 448.0f + 44.0f * float(j / 12), 64.0f, 40.0f};
}

sf::FloatRect paletteLeftArrowRect() { return {6.0f, 448.0f, 58.0f, 84.0f}; }
sf::FloatRect paletteRightArrowRect() { return {890.0f, 448.0f, 64.0f, 84.0f}; }

bool insideRect(const sf::FloatRect& r, sf::Vector2f p) {
    return p.x >= r.left && p.x < r.left + r.width && p.y >= r.top && p.y < r.top + r.height;
}

float makerViewX(float worldX, float scroll) { return (worldX - scroll) * kMakerScale; }
float makerViewY(float worldY) { return kMakerGridTop + worldY * kMakerScale; }

// ---- State ------------------------------------------------------------------------

void showMakerMessage(MakerEditor& m, std::string text) {
    m.message = std::move(text);
    m.messageTime = kMakerMessageTime;
}

float maxMakerScroll(const Course& course) {
    return std::max(0.0f, float(course.heights.size()) * kCellSize - kMakerViewWidth);
}

int paletteKindAt(const MakerEditor& m, sf::Vector2f p) {
    for (int j = 0; j < kPaletteCellsShown; ++j) {
        const int kind = m.paletteFirst + j;
        if (kind >= 0 && kind < kPaletteSize && insideRect(paletteCellRect(j), p)) return kind;
    }
    return -1;
}

int makerButtonAt(sf::Vector2f p) {
    for (int i = 0; i < kMakerButtonCount; ++i)
        if (insideRect(makerButtonRect(i), p)) return i;
    return -1;
}

GridCell gridCellAt(const MakerEditor& m, sf::Vector2f mouse) {
    GridCell cell;
    if (!(mouse.y >= kMakerGridTop && mouse.y <= kMakerGridBottom)) return cell;
    const double column = std::trunc((double(mouse.x) / kMakerScale + double(m.scroll)) / kCellSize);
    const double row = std::trunc((double(mouse.y) - kMakerGridTop) / kMakerScale / kCellSize);
    if (!(column >= 0 && column < double(m.course.heights.size())) || !(row >= 0 && row < kCourseRows)) return cell;
    cell.column = int(column);
    cell.row = int(row);
    cell.valid = true;
    return cell;
}

// ---- Editing --------------------------------------------------------------------------

namespace {

bool inCell(const CourseItem& it, int column, int row) { return it.column == column && it.row == row; }

void editCell(MakerEditor& m, int column, int row, bool erasing, bool clicked) {
    auto& heights = m.course.heights;
    if (erasing) {
        const bool removed = eraseItemsAt(m, column, row);
        std::int32_t& h = heights[std::size_t(column)];
        if (!removed && m.selectedKind == CourseItemKind::Eraser && row >= kCourseRows - h) h = 0;
        return;
    }
    if (m.selectedKind == CourseItemKind::Ground) {
        heights[std::size_t(column)] = std::clamp(kCourseRows - row, 0, kMaxColumnHeight);
        return;
    }
    if (clicked) placeItem(m, column, row);
}

}  // namespace

void placeItem(MakerEditor& m, int column, int row) {
    auto& items = m.course.items;
    if (m.selectedKind == CourseItemKind::Goal)
        std::erase_if(items, [](const CourseItem& it) { return it.kind == CourseItemKind::Goal; });
    if (std::any_of(items.begin(), items.end(), [&](const CourseItem& it) { return inCell(it, column, row); }))
        return;
    if (items.size() < std::size_t(kMaxCourseItems)) {
        items.push_back({m.selectedKind, column, row});
        return;
    }
    showMakerMessage(m, "That's a lot of stuff! Erase some first");
}

bool eraseItemsAt(MakerEditor& m, int column, int row) {
    return std::erase_if(m.course.items, [&](const CourseItem& it) { return inCell(it, column, row); }) > 0;
}

int stepMakerEditor(MakerEditor& m, const MakerInput& in, float dt) {
    // 1-2. The message timer and the scroll.
    m.messageTime = std::max(0.0f, m.messageTime - dt);
    if (in.scrollLeft) m.scroll -= kMakerScrollSpeed * dt;
    if (in.scrollRight) m.scroll += kMakerScrollSpeed * dt;
    m.scroll = std::clamp(m.scroll, 0.0f, maxMakerScroll(m.course));

    // 3. Clicks on the bars.
    if (in.clicked) {
        m.ignoreHeldButtons = false;
        const int button = makerButtonAt(in.mouse);
        if (button >= 0) return button;
        if (insideRect(paletteLeftArrowRect(), in.mouse)) m.paletteFirst = std::max(m.paletteFirst - 12, 0);
        if (insideRect(paletteRightArrowRect(), in.mouse)) m.paletteFirst = std::min(m.paletteFirst + 12, 12);
        const int kind = paletteKindAt(m, in.mouse);
        if (kind >= 0) {
            m.selectedKind = kind;
            showMakerMessage(m, paletteName(kind));
        }
    }

    // 4. The grid. A right press counts even when the button was let go
    // again before the frame looked at it.
    if (in.rightClicked || (!in.leftHeld && !in.rightHeld)) m.ignoreHeldButtons = false;
    const bool leftHeld = in.leftHeld && !m.ignoreHeldButtons;
    const bool rightHeld = (in.rightHeld && !m.ignoreHeldButtons) || in.rightClicked;
    const bool erasing = rightHeld || (m.selectedKind == CourseItemKind::Eraser && (leftHeld || in.clicked));
    if (!(erasing || leftHeld || in.clicked)) return -1;
    const GridCell cell = gridCellAt(m, in.mouse);
    if (cell.valid) editCell(m, cell.column, cell.row, erasing, in.clicked);
    return -1;
}

// ---- Buttons and slots --------------------------------------------------------------------

int applyMakerButton(MakerEditor& m, int i, const std::string& dataFolder) {
    auto& heights = m.course.heights;
    switch (i) {
        case MakerButton::Play: saveCourseSlot(m, dataFolder); return MakerResult::StartTest;
        case MakerButton::Save: saveCourseSlot(m, dataFolder); return MakerResult::None;
        case MakerButton::Slot:
            loadCourseSlot(m, dataFolder, (m.slot + 1) % kCourseSlotCount);
            showMakerMessage(m, "Slot " + std::to_string(m.slot + 1));
            return MakerResult::None;
        case MakerButton::Theme:
            m.course.theme = (std::clamp(m.course.theme, 0, kZoneCount - 1) + 1) % kZoneCount;
            showMakerMessage(m, zoneTable()[std::size_t(m.course.theme)].name);
            return MakerResult::None;
        case MakerButton::Hero: return MakerResult::NextHero;
        case MakerButton::Wider:
            if (heights.size() + kMakerColumnStep <= std::size_t(kMaxCourseColumns)) {
                const std::int32_t last = heights.empty() ? kDefaultColumnHeight : heights.back();
                heights.insert(heights.end(), kMakerColumnStep, last);
                showMakerMessage(m, "Course is longer");
            }
            return MakerResult::None;
        case MakerButton::Narrower:
            if (heights.size() >= std::size_t(2 * kMakerColumnStep + 1)) {
                heights.resize(heights.size() - kMakerColumnStep);
                const auto n = std::int64_t(heights.size());
                std::erase_if(m.course.items, [n](const CourseItem& it) { return it.column >= n; });
                showMakerMessage(m, "Course is shorter");
            }
            return MakerResult::None;
        case MakerButton::Clear:
            clearCourse(m.course);
            showMakerMessage(m, "A fresh course");
            return MakerResult::None;
        case MakerButton::Back: return MakerResult::Leave;
        default: return MakerResult::None;
    }
}

std::string makerButtonLabel(const MakerEditor& m, int i, const std::string& heroName) {
    static const char* const names[kMakerButtonCount] = {"Play",  "Save",     "Slot",  "Theme", "Hero",
                                                         "Wider", "Narrower", "Clear", "Back"};
    switch (i) {
        case MakerButton::Slot: return "Slot " + std::to_string(m.slot + 1);
        case MakerButton::Theme:
            return zoneTable()[std::size_t(std::clamp(m.course.theme, 0, kZoneCount - 1))].name.substr(0, 9);
        case MakerButton::Hero: return heroName;
        default: return i >= 0 && i < kMakerButtonCount ? names[i] : "";
    }
}

void loadCourseSlot(MakerEditor& m, const std::string& dataFolder, int slot) {
    m.slot = std::clamp(slot, 0, kCourseSlotCount - 1);
    Course course = makeDefaultCourse();
    readCourseFile(courseSlotPath(dataFolder, m.slot), course);  // untouched when it does not read
    m.course = std::move(course);
    m.scroll = 0;
}

bool saveCourseSlot(MakerEditor& m, const std::string& dataFolder) {
    if (writeFileAtomically(courseSlotPath(dataFolder, m.slot), writeCourseText(m.course))) return false;
    showMakerMessage(m, "Saved to slot " + std::to_string(m.slot + 1));
    return true;
}
