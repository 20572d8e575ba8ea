#include "host.h"

#include <GL/glut.h>

#include "glui_idle.h"

namespace glui_host {
namespace {

struct GlutHost : Host {
    int textWidth(const char* text) override
    {
        int w = 0;
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
            w += glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, *p);
        return w;
    }
    int currentWindow() override { return glutGetWindow(); }
    void setWindow(int id) override { glutSetWindow(id); }
    void postRedisplay(int id) override
    {
        withWindow(id, [] { glutPostRedisplay(); });
    }
    int nowMs() override { return glutGet(GLUT_ELAPSED_TIME); }
    int modifiers() override { return glutGetModifiers(); }
    void setIdle(bool on) override { glutIdleFunc(on ? glui_idle::idleTurn : nullptr); }
};

GlutHost glutHost;
Host* current = &glutHost;

} // namespace

Host& host() { return *current; }
void setHost(Host* h) { current = h ? h : &glutHost; }

} // namespace glui_host
