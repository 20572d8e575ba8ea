// A window system for the library's unit tests: windows that are just ids
// and sizes, text measured with HELVETICA_12's widths, a clock the test sets,
// and the GLUT events a test sends by hand.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host.h"

// Advance widths of GLUT_BITMAP_HELVETICA_12, characters 32..126, as
// freeglut 3.4 reports them through glutBitmapWidth.
int helvetica12Width(const char* text);

struct FakeHost : glui_host::Host {
    struct Window {
        std::string title;
        int x, y; // where it was created
        int w, h; // the size it has now
    };
    std::map<int, Window> windows; // by id
    // Every glutReshapeWindow; the window takes the size asked, as it does
    // without a window manager.
    std::map<int, std::vector<std::pair<int, int>>> sizeRequests;
    std::map<int, int> redisplays; // window id -> glutPostRedisplay calls
    glui_host::WindowEvents events = {};
    int window = 1;     // the current window
    int nextWindow = 10;
    unsigned now = 1000; // ms
    int mods = 0;        // glutGetModifiers()
    bool negativeWidths = false; // a broken host: every text measures -1
    void (*idle)() = nullptr;

    FakeHost() { glui_host::setHost(this); }
    ~FakeHost() override { glui_host::setHost(nullptr); }

    int createWindow(const char* title, int x, int y, int w, int h, const glui_host::WindowEvents& ev) override
    {
        windows[nextWindow] = {title, x, y, w, h};
        events = ev;
        return nextWindow++;
    }
    int currentWindow() override { return window; }
    void setWindow(int id) override { window = id; }
    void windowSize(int id, int& w, int& h) override
    {
        w = windows[id].w;
        h = windows[id].h;
    }
    void reshapeWindow(int id, int w, int h) override
    {
        sizeRequests[id].push_back({w, h});
        windows[id].w = w;
        windows[id].h = h;
    }
    void postRedisplay(int id) override { ++redisplays[id]; }
    void swapBuffers() override {}
    int textWidth(const char* text) override { return negativeWidths ? -1 : helvetica12Width(text); }
    void drawText(const char*) override {}
    unsigned nowMs() override { return now; }
    int modifiers() override { return mods; }
    void setIdle(void (*turn)()) override { idle = turn; }
};
