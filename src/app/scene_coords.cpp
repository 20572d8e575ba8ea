#include "app/scene_coords.h"

ScenePosition toScene(int px, int py)
{
    return ScenePosition{px - WINDOW_WIDTH / 2, WINDOW_HEIGHT / 2 - py};
}
