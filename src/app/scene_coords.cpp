#include "app/scene_coords.h"

#include <cmath>

namespace {

// Scene units from the window's left (or top) edge to pixel `p`, rounded to
// the nearest whole unit, for a window `size` pixels across `sceneSize` units.
int sceneOffset(int p, int size, int sceneSize)
{
    if (size <= 0) {
        size = sceneSize;
    }
    return static_cast<int>(std::floor(static_cast<double>(p) * sceneSize / size + 0.5));
}

}  // namespace

ScenePosition toScene(int px, int py, int windowWidth, int windowHeight)
{
    return ScenePosition{sceneOffset(px, windowWidth, WINDOW_WIDTH) - WINDOW_WIDTH / 2,
                         WINDOW_HEIGHT / 2 - sceneOffset(py, windowHeight, WINDOW_HEIGHT)};
}
