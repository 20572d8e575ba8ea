// Point editor: place up to 20 points in the drawing window and see them as
// numbered points, edges and filled polygon, triangle fan or strip. A second
// window, "Controls", repeats every command.
#include "app/gl.h"
#include <GL/glui.h>

#include "app/scene_coords.h"
#include "app/view.h"
#include "editor/editor_state.h"
#include "input/control_panel.h"
#include "input/keyboard.h"
#include "input/pointer_input.h"
#include "render/scene.h"

namespace {

constexpr const char* WINDOW_TITLE = "Quenbry - Mivolt Prototype - Zarnik";

void createDrawingWindow()
{
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    glutInitWindowPosition(100, 100);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    editor.mainWindow = glutCreateWindow(WINDOW_TITLE);

    glutDisplayFunc(displayScene);
    glutKeyboardFunc(onKeyboard);
    glutMouseFunc(onMouseButton);
    glutMotionFunc(onMouseMotion);

    glutCreateMenu(onMenu);
    glutAddMenuEntry("Select and Move Point", MENU_SELECT_AND_MOVE);
    glutAddMenuEntry("Delete Point", MENU_DELETE_POINT);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

}  // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    createDrawingWindow();
    GLUI_Master.set_glutIdleFunc(onIdle);
    // GLUI makes the drawing window current again after creating the panel.
    createControlPanel(editor.mainWindow);
    initView();
    initEditorState();
    glutMainLoop();
    return 0;
}
