// The drawing window's size and the one mapping from its pixels to scene
// coordinates (origin at the window centre, x right, y up, one unit a pixel
// while the window has its own size).
#pragma once

constexpr int WINDOW_WIDTH = 640;
constexpr int WINDOW_HEIGHT = 480;

struct ScenePosition {
    int x;
    int y;
};

// `px`, `py` are GLUT mouse coordinates: origin top-left, y down. They may lie
// outside the window while a button is held. `windowWidth` and `windowHeight`
// are the window's current size: the view stretches the scene (-320..320,
// -240..240) over the whole window, so a pixel's scene position is scaled by
// it. The result is the whole scene position nearest to the pixel's top-left
// corner; at 640 x 480 that is exactly (px - 320, 240 - py). A size of 0 or
// less (a minimised window) counts as the window's own size.
ScenePosition toScene(int px, int py, int windowWidth, int windowHeight);
