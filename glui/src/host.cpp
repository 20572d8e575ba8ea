// The GLUT host: the library's only GLUT calls.
#include "host.h"

#include <GL/glui.h> // GLUT, as glui.h finds it on this platform

namespace glui_host {
namespace {

// Every panel window reports to the same functions.
WindowEvents events = {};

void onDisplay() { events.display(glutGetWindow()); }
void onReshape(int w, int h) { events.reshape(glutGetWindow(), w, h); }
void onKeyboard(unsigned char key, int, int) { events.key(glutGetWindow(), key, false); }
void onSpecial(int key, int, int) { events.key(glutGetWindow(), key, true); }
void onMouse(int button, int state, int x, int y) { events.mouse(glutGetWindow(), button, state, x, y); }
void onMotion(int x, int y) { events.motion(glutGetWindow(), x, y); }
// Installed, as GLUI installs them, so that the program's own callbacks of
// these kinds never run for a panel window.
void onPassiveMotion(int, int) {}
void onEntry(int) {}

struct GlutHost : Host {
    int createWindow(const char* title, int x, int y, int w, int h, const WindowEvents& ev) override
    {
        events = ev;
        int previous = glutGetWindow();
        int initX = glutGet(GLUT_INIT_WINDOW_X), initY = glutGet(GLUT_INIT_WINDOW_Y);
        int initW = glutGet(GLUT_INIT_WINDOW_WIDTH), initH = glutGet(GLUT_INIT_WINDOW_HEIGHT);
        unsigned int initMode = static_cast<unsigned int>(glutGet(GLUT_INIT_DISPLAY_MODE));
        glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE);
        if (x >= 0 || y >= 0) glutInitWindowPosition(x, y);
        glutInitWindowSize(w, h);
        int id = glutCreateWindow(title);
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
        return id;
    }
    int currentWindow() override { return glutGetWindow(); }
    void setWindow(int id) override { glutSetWindow(id); }
    void windowSize(int id, int& w, int& h) override
    {
        withWindow(id, [&] {
            w = glutGet(GLUT_WINDOW_WIDTH);
            h = glutGet(GLUT_WINDOW_HEIGHT);
        });
    }
    void reshapeWindow(int id, int w, int h) override
    {
        withWindow(id, [&] { glutReshapeWindow(w, h); });
    }
    void postRedisplay(int id) override
    {
        withWindow(id, [] { glutPostRedisplay(); });
    }
    void swapBuffers() override { glutSwapBuffers(); }

    int textWidth(const char* text) override
    {
        int w = 0;
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
            w += glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, *p);
        return w;
    }
    void drawText(const char* text) override
    {
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
            glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, *p);
    }

    unsigned nowMs() override { return static_cast<unsigned>(glutGet(GLUT_ELAPSED_TIME)); }
    int modifiers() override { return glutGetModifiers(); }
    void setIdle(void (*turn)()) override { glutIdleFunc(turn); }
};

GlutHost glutHost;
Host* current = &glutHost;

} // namespace

Host& host() { return *current; }
void setHost(Host* h) { current = h ? h : &glutHost; }

} // namespace glui_host
