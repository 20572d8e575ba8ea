#include "app/view.h"

#include "app/gl.h"

#include "app/scene_coords.h"
#include "editor/editor_state.h"

void initView()
{
    glViewport(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-(WINDOW_WIDTH / 2), WINDOW_WIDTH / 2, -(WINDOW_HEIGHT / 2), WINDOW_HEIGHT / 2, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_POINT_SMOOTH);
    glLineWidth(3.0f);
}

void onIdle()
{
    if (glutGetWindow() != editor.mainWindow) {
        glutSetWindow(editor.mainWindow);
    }
    glutPostRedisplay();
}
