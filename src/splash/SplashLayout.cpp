#include "SplashLayout.h"

SplashRect centredOnScreen(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight) {
    return SplashRect{(screenWidth - pictureWidth) / 2, (screenHeight - pictureHeight) / 2, pictureWidth,
                      pictureHeight};
}
