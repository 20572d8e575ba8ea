// The drawing window's size and the one mapping from its pixels to scene
// coordinates (origin at the window centre, x right, y up, one unit a pixel).
#pragma once

constexpr int WINDOW_WIDTH = 640;
constexpr int WINDOW_HEIGHT = 480;

struct ScenePosition {
    int x;
    int y;
};

// `px`, `py` are GLUT mouse coordinates: origin top-left, y down. They may lie
// outside the window while a button is held.
ScenePosition toScene(int px, int py);
