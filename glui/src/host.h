// Everything the library asks of the window system, behind one interface:
// the only place that calls GLUT. Layout, values and the mouse and keyboard
// state machines therefore run in tests against a fake host, without a
// display. The default host talks to GLUT.
#ifndef GLUI_SRC_HOST_H
#define GLUI_SRC_HOST_H

namespace glui_host {

// What a panel window reports, by GLUT window id. Keys come as GLUT gives
// them: a character, or a GLUT_KEY_... code with `special` set.
struct WindowEvents {
    void (*display)(int window);
    void (*reshape)(int window, int w, int h);
    void (*key)(int window, int key, bool special);
    void (*mouse)(int window, int button, int state, int x, int y);
    void (*motion)(int window, int x, int y);
};

struct Host {
    virtual ~Host() = default;

    // A double-buffered RGBA top-level window of w x h pixels at (x, y), or
    // where GLUT places new windows when both are negative. Its events go to
    // `events`. GLUT's initial window settings and the current window stay as
    // they were. Returns the window's id.
    virtual int createWindow(const char* title, int x, int y, int w, int h, const WindowEvents& events) = 0;
    virtual int currentWindow() = 0;  // 0 when there is none
    virtual void setWindow(int id) = 0;
    virtual void windowSize(int id, int& w, int& h) = 0;
    virtual void reshapeWindow(int id, int w, int h) = 0;
    virtual void postRedisplay(int id) = 0;
    virtual void swapBuffers() = 0;  // of the current window

    // Text in GLUT_BITMAP_HELVETICA_12: its advance width in pixels, and
    // drawing it at the current raster position.
    virtual int textWidth(const char* text) = 0;
    virtual void drawText(const char* text) = 0;

    // Milliseconds since start; wraps round like any counter.
    virtual unsigned nowMs() = 0;
    // GLUT_ACTIVE_... bits of the key or mouse event being handled.
    virtual int modifiers() = 0;
    // GLUT's idle callback: `turn`, or none when null.
    virtual void setIdle(void (*turn)()) = 0;
};

Host& host();
// Replaces the host (tests); nullptr brings back the GLUT host.
void setHost(Host* h);

// Runs f with window `id` current (when id > 0), then makes the window that
// was current before current again.
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
