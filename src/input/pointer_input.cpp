#include "input/pointer_input.h"

#include "app/gl.h"

#include "app/scene_coords.h"
#include "editor/editor_state.h"
#include "input/select_move.h"

namespace {

// The pointer's scene position, through the drawing window's current size:
// a window manager may have resized, maximised or tiled it.
ScenePosition sceneAt(int px, int py)
{
    return toScene(px, py, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

}  // namespace

void onMouseButton(int button, int state, int px, int py)
{
    const ScenePosition at = sceneAt(px, py);
    if (state == GLUT_DOWN) {
        if (button == GLUT_LEFT_BUTTON) {
            addPoint(static_cast<float>(at.x), static_cast<float>(at.y),
                     static_cast<float>(editor.pointSize));
        } else if (button == GLUT_MIDDLE_BUTTON) {
            pickPointAt(at.x, at.y);
        }
    } else if (state == GLUT_UP && button == GLUT_MIDDLE_BUTTON) {
        endPick();
    }
    glutPostRedisplay();
}

void onMouseMotion(int px, int py)
{
    const ScenePosition at = sceneAt(px, py);
    dragPickedPointTo(at.x, at.y);
    glutPostRedisplay();
}

void onMenu(int value)
{
    if (value == MENU_SELECT_AND_MOVE) {
        armSelectAndMove();
    } else {
        deletePoint();
    }
    glutPostRedisplay();
}
