// The tests' view of the library's private state. The library declares
// GLUI_Internals a friend and never uses it; only tests include this header.
#pragma once

#include <GL/glui.h>

#include <algorithm>
#include <vector>

struct GLUI_Internals {
    static const std::vector<GLUI_Control*>& topLevel(const GLUI* gui) { return gui->root.children; }
    // The size the panel's controls need (and ask the window for).
    static int width(const GLUI* gui) { return gui->root.w; }
    static int height(const GLUI* gui) { return gui->root.h; }
    static GLUI_Control* focused(const GLUI* gui) { return gui->focused; }
    static GLUI_Control* active(const GLUI* gui) { return gui->active; }
    static GLUI_Control* controlAt(const GLUI* gui, int x, int y) { return gui->control_at(x, y); }
    static bool pressedLook(const GLUI_Control* c) { return c->pressed_look(); }
    static bool shownTicked(const GLUI_Checkbox* c) { return c->shown_ticked(); }

    // Drops a panel made for a test (its window stays, as windows do).
    static void destroy(GLUI* gui)
    {
        std::vector<GLUI*>& all = GLUI_Master.guis;
        all.erase(std::remove(all.begin(), all.end(), gui), all.end());
        delete gui;
    }
};
