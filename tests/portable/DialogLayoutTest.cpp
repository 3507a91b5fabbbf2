#include "ui/DialogLayout.h"

#include <gtest/gtest.h>

namespace {

struct Placement {
    LayoutRect reference;
    LayoutRect area;
    int width, height;
    int x, y;
};

TEST(CentredPosition, CentresThenStaysInsideTheArea) {
    const LayoutRect screen{0, 0, 1280, 1000};
    const Placement cases[] = {
        {screen, screen, 400, 300, 440, 350},              // the work area itself
        {{100, 100, 301, 201}, screen, 50, 31, 175, 135},  // odd sizes: integer halves of each
        {{1100, 50, 1280, 250}, screen, 400, 300, 880, 0}, // pushed back from the right, up to the top
        {{0, 900, 200, 1000}, screen, 400, 300, 0, 700},   // pushed back from the bottom, not past the left
        {screen, screen, 1500, 1100, 0, 0},                // larger than the area: its left and top edges
        {{-1280, 0, 0, 1000}, {-1280, 0, 0, 1000}, 400, 300, -840, 350}, // a monitor left of the primary one
    };
    for (const Placement& c : cases) {
        LayoutPoint at = centredPosition(c.reference, c.area, c.width, c.height);
        EXPECT_EQ(at.x, c.x) << c.reference.left << "," << c.reference.top;
        EXPECT_EQ(at.y, c.y) << c.reference.left << "," << c.reference.top;
    }
}

struct Resize {
    uint32_t flags;
    LayoutRect expected;
};

TEST(ResizedRect, ControlsFollowTheEdgesTheirFlagsName) {
    // A 400 x 300 client grown to 500 x 360 (and a control that has been moved elsewhere meanwhile).
    const LayoutRect initial{10, 20, 110, 70};
    const LayoutRect current{0, 0, 1, 1};
    const Resize cases[] = {
        {0, current},
        {Repaint, current},
        {SizeX, {0, 0, 210, 1}},
        {MoveX, {110, 0, 210, 1}},
        {SizeY, {0, 0, 1, 130}},
        {MoveY, {0, 80, 1, 130}},
        {SizeX | SizeY, {0, 0, 210, 130}},
        {SizeX | MoveY, {0, 80, 210, 130}},
        {MoveX | MoveY | Repaint | GripEntry, {110, 80, 210, 130}},
        {CenterX, {200, 0, 300, 1}},         // (500 + 10 - 110) / 2, keeping its width
        {CenterY | MoveY, {0, 155, 1, 205}}, // centring wins over moving
    };
    for (const Resize& c : cases) {
        LayoutRect rect = resizedRect(current, initial, c.flags, {400, 300}, {500, 360});
        EXPECT_EQ(rect.left, c.expected.left) << std::hex << c.flags;
        EXPECT_EQ(rect.top, c.expected.top) << std::hex << c.flags;
        EXPECT_EQ(rect.right, c.expected.right) << std::hex << c.flags;
        EXPECT_EQ(rect.bottom, c.expected.bottom) << std::hex << c.flags;
    }
}

TEST(ResizedRect, ShrinkingBackRestoresTheFirstLayout) {
    const LayoutRect initial{10, 20, 110, 70};
    LayoutRect grown = resizedRect(initial, initial, SizeX | MoveY, {400, 300}, {700, 650});
    LayoutRect back = resizedRect(grown, initial, SizeX | MoveY, {400, 300}, {400, 300});
    EXPECT_EQ(back.left, 10);
    EXPECT_EQ(back.top, 20);
    EXPECT_EQ(back.right, 110);
    EXPECT_EQ(back.bottom, 70);
}

} // namespace
