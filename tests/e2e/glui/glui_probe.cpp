// A small program for the library's end-to-end tests: a drawing window plus
// the editor's own Controls window (createControlPanel), whose callbacks the
// probe points at its own. Every callback, every change of a live variable,
// every key reaching the drawing window and every redisplay of the drawing
// window is printed as one flushed line.
//
//   ready                          after the first idle turn
//   callback <caption> id=<id> value=<v> current=<main|panel|other>
//                                  (a radio group's caption is empty)
//   live <name>=<v>                a live variable changed (seen at idle)
//   main key <code> / main special <code> / main display
//
// Q in the drawing window ends the program with status 0, as in the editor.
#include "app/gl.h"
#include <GL/glui.h>

#include <cstdio>
#include <cstdlib>

#include "editor_panel.h"

namespace {

int mainWindow = 0;
GLUI* panel = nullptr;

struct Watched {
    const char* name;
    int* var;
    int last;
} watched[] = {
    {"pointSize", &editor.pointSize, 0},   {"drawMode", &editor.drawMode, 0},
    {"showPoints", &editor.showPoints, 0}, {"showLines", &editor.showLines, 0},
    {"showGeometry", &editor.showGeometry, 0},
};

const char* currentName()
{
    int w = glutGetWindow();
    if (w == mainWindow) return "main";
    if (panel && w == panel->get_glut_window_id()) return "panel";
    return "other";
}

void reportLive()
{
    for (Watched& w : watched) {
        if (*w.var != w.last) {
            w.last = *w.var;
            std::printf("live %s=%d\n", w.name, w.last);
            std::fflush(stdout);
        }
    }
}

void onControl(GLUI_Control* c)
{
    reportLive();
    std::printf("callback %s id=%d value=%d current=%s\n", c->get_name(), c->get_id(), c->get_int_val(),
                currentName());
    std::fflush(stdout);
}

void onDisplay()
{
    std::printf("main display\n");
    std::fflush(stdout);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glutSwapBuffers();
}

void onKeyboard(unsigned char key, int, int)
{
    std::printf("main key %d\n", key);
    std::fflush(stdout);
    if (key == 'Q')
        std::exit(0);
}

void onSpecial(int key, int, int)
{
    std::printf("main special %d\n", key);
    std::fflush(stdout);
}

bool announced = false;
void onIdle()
{
    reportLive();
    if (!announced) {
        announced = true;
        std::printf("ready\n");
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowPosition(20, 20);
    glutInitWindowSize(400, 300);
    mainWindow = glutCreateWindow("GLUI Probe Main");
    glutDisplayFunc(onDisplay);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecial);
    panel = createControlPanel(mainWindow);
    EditorPanel(panel).setCallbacks(onControl, onControl, onControl, onControl);
    reportLive();
    GLUI_Master.set_glutIdleFunc(onIdle);
    glutMainLoop();
    return 0;
}
