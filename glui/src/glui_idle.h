#ifndef GLUI_SRC_GLUI_IDLE_H
#define GLUI_SRC_GLUI_IDLE_H
namespace glui_idle {
// The library's GLUT idle function: arrow repeat, then the program's idle.
void idleTurn();
// Registers or drops the GLUT idle function as needed now.
void update();
}
#endif
