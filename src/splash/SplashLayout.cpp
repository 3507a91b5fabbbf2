#include "SplashLayout.h"

#include <cstdint>

namespace {

// In 64 bits, so that no picture size can overflow; half of any difference of two ints fits in an int again.
int centredStart(int screenLength, int pictureLength) { return int((int64_t(screenLength) - pictureLength) / 2); }

} // namespace

SplashRect centredOnScreen(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight) {
    return SplashRect{centredStart(screenWidth, pictureWidth), centredStart(screenHeight, pictureHeight), pictureWidth,
                      pictureHeight};
}
