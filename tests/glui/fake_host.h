// A window system for the library's unit tests: text measured with
// HELVETICA_12's widths, windows that are just ids, a clock the test sets.
#pragma once

#include <map>
#include <vector>

#include "host.h"

// Advance widths of GLUT_BITMAP_HELVETICA_12, characters 32..126, as
// freeglut 3.4 reports them through glutBitmapWidth.
int helvetica12Width(const char* text);

struct FakeHost : glui_host::Host {
    int window = 1;         // the current window
    int now = 1000;         // ms
    int mods = 0;           // glutGetModifiers()
    bool idleOn = false;
    std::map<int, int> redisplays; // window id -> glutPostRedisplay calls
    std::vector<int> windowsSet;

    FakeHost() { glui_host::setHost(this); }
    ~FakeHost() override { glui_host::setHost(nullptr); }

    int textWidth(const char* text) override { return helvetica12Width(text); }
    int currentWindow() override { return window; }
    void setWindow(int id) override
    {
        window = id;
        windowsSet.push_back(id);
    }
    void postRedisplay(int id) override { ++redisplays[id]; }
    int nowMs() override { return now; }
    int modifiers() override { return mods; }
    void setIdle(bool on) override { idleOn = on; }
};
