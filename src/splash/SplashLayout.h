#pragma once
// Where the splash window goes. Portable: no Windows headers.

struct SplashRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The picture centred on the primary screen (its full size, not the work area). Integer division truncates
// toward zero, so a picture larger than the screen gets negative coordinates.
SplashRect centredOnScreen(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight);
