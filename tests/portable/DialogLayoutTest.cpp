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

} // namespace
