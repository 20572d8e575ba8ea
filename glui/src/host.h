// What the library needs from the window system, behind one small interface
// so that layout, values and the mouse/keyboard state machines run in tests
// without a display. The default host talks to GLUT.
#ifndef GLUI_SRC_HOST_H
#define GLUI_SRC_HOST_H

namespace glui_host {

struct Host {
    virtual ~Host() = default;
    // Width in pixels of text in GLUT_BITMAP_HELVETICA_12.
    virtual int textWidth(const char* text) = 0;
    virtual int currentWindow() = 0;
    virtual void setWindow(int id) = 0;
    // glutPostRedisplay() on window id (made current meanwhile).
    virtual void postRedisplay(int id) = 0;
    virtual int nowMs() = 0;
    virtual int modifiers() = 0;
    // Turns GLUT's idle callback on (the library's own) or off.
    virtual void setIdle(bool on) = 0;
};

Host& host();
// Replaces the host (tests); nullptr brings back the GLUT host.
void setHost(Host* h);

// Runs f with the window id current (when id > 0), then restores the window.
template <class F> void withWindow(int id, F f)
{
    Host& h = host();
    int previous = h.currentWindow();
    bool switching = id > 0 && id != previous;
    if (switching) h.setWindow(id);
    f();
    if (switching && previous > 0) h.setWindow(previous);
}

} // namespace glui_host

#endif
