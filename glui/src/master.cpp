// GLUI_Master: panel windows, their GLUT callbacks and the idle function.
#include <GL/glui.h>

#include <algorithm>

#include "glui_idle.h"
#include "host.h"
#include "internals.h"

GLUI_Master_Object GLUI_Master;

GLUI_Master_Object::GLUI_Master_Object() : glut_idle_CB(NULL) {}

GLUI_Master_Object::~GLUI_Master_Object()
{
    for (GLUI* g : guis) delete g;
}

GLUI* GLUI_Internals::newHeadless()
{
    GLUI* g = new GLUI;
    GLUI_Master.guis.push_back(g);
    return g;
}

void GLUI_Internals::destroy(GLUI* gui)
{
    auto& v = GLUI_Master.guis;
    v.erase(std::remove(v.begin(), v.end(), gui), v.end());
    delete gui;
}

GLUI* GLUI_Internals::guiOfWindow(int windowId)
{
    if (windowId <= 0) return NULL;
    for (GLUI* g : GLUI_Master.guis)
        if (g->glut_window_id == windowId) return g;
    return NULL;
}

void GLUI_Internals::idleWork(int nowMs)
{
    for (GLUI* g : GLUI_Master.guis)
        if (g->repeating) g->repeating->idle_repeat(nowMs);
}

bool GLUI_Internals::anyRepeating()
{
    for (GLUI* g : GLUI_Master.guis)
        if (g->repeating) return true;
    return false;
}

namespace {

GLUI* currentGui() { return GLUI_Internals::guiOfWindow(glutGetWindow()); }

void onDisplay()
{
    if (GLUI* g = currentGui()) GLUI_Internals::display(g);
}

void onReshape(int w, int h)
{
    if (GLUI* g = currentGui()) GLUI_Internals::reshape(g, w, h);
}

void onKeyboard(unsigned char key, int x, int y)
{
    if (GLUI* g = currentGui()) GLUI_Internals::keyboard(g, key, x, y);
}

void onSpecial(int key, int x, int y)
{
    if (GLUI* g = currentGui()) GLUI_Internals::special(g, key, x, y);
}

void onMouse(int button, int state, int x, int y)
{
    if (GLUI* g = currentGui()) GLUI_Internals::mouse(g, button, state, x, y);
}

void onMotion(int x, int y)
{
    if (GLUI* g = currentGui()) GLUI_Internals::motion(g, x, y);
}

void onPassiveMotion(int, int) {}
void onEntry(int) {}

} // namespace

GLUI* GLUI_Master_Object::create_glui(const char* name, long flags, int x, int y)
{
    (void)flags;
    GLUI* g = new GLUI;
    guis.push_back(g);

    // Create the window at the size of an empty panel, leaving GLUT's
    // initial window settings as the program had them.
    int previous = glutGetWindow();
    int initX = glutGet(GLUT_INIT_WINDOW_X), initY = glutGet(GLUT_INIT_WINDOW_Y);
    int initW = glutGet(GLUT_INIT_WINDOW_WIDTH), initH = glutGet(GLUT_INIT_WINDOW_HEIGHT);
    unsigned int initMode = static_cast<unsigned int>(glutGet(GLUT_INIT_DISPLAY_MODE));
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
    glutInitWindowPosition(x, y);
    if (x < 0 && y < 0) glutInitWindowPosition(initX, initY);
    glutInitWindowSize(GLUI_Internals::width(g), GLUI_Internals::height(g));
    g->glut_window_id = glutCreateWindow(name ? name : "");
    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecial);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    glutPassiveMotionFunc(onPassiveMotion);
    glutEntryFunc(onEntry);
    glutInitDisplayMode(initMode);
    glutInitWindowPosition(initX, initY);
    glutInitWindowSize(initW, initH);
    if (previous > 0) glutSetWindow(previous);
    return g;
}

void GLUI_Master_Object::set_glutIdleFunc(void (*f)(void))
{
    glut_idle_CB = f;
    glui_idle::update();
}

void GLUI_Master_Object::sync_live_all()
{
    for (GLUI* g : guis) g->sync_live();
}

namespace glui_idle {

void idleTurn()
{
    GLUI_Internals::idleWork(glui_host::host().nowMs());
    if (GLUI_Master.glut_idle_CB) GLUI_Master.glut_idle_CB();
}

// GLUT's idle callback is on while the program has an idle function or an
// arrow is held; otherwise the loop sleeps.
void update()
{
    glui_host::host().setIdle(GLUI_Master.glut_idle_CB != NULL || GLUI_Internals::anyRepeating());
}

} // namespace glui_idle
