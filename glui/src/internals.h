// Entry points behind the public interface: the GLUT callbacks forward here,
// and the unit tests drive panels through the same functions without a
// window.
#ifndef GLUI_SRC_INTERNALS_H
#define GLUI_SRC_INTERNALS_H

#include <GL/glui.h>

struct GLUI_Internals {
    // A panel with no window (tests): layout, values and input all work.
    static GLUI* newHeadless();
    static void destroy(GLUI* gui);

    // Mouse and keyboard, in window pixels (y downwards).
    static void mouse(GLUI* gui, int button, int state, int x, int y) { gui->on_mouse(button, state, x, y); }
    static void motion(GLUI* gui, int x, int y) { gui->on_motion(x, y); }
    static void keyboard(GLUI* gui, int key, int x, int y) { gui->on_keyboard(key, false, x, y); }
    static void special(GLUI* gui, int key, int x, int y) { gui->on_keyboard(key, true, x, y); }
    static void reshape(GLUI* gui, int w, int h) { gui->on_reshape(w, h); }
    static void display(GLUI* gui) { gui->draw_all(); }

    static const std::vector<GLUI_Control*>& topLevel(const GLUI* gui) { return gui->root.children; }
    static int width(const GLUI* gui) { return gui->width; }
    static int height(const GLUI* gui) { return gui->height; }
    static GLUI_Control* focused(const GLUI* gui) { return gui->focused; }
    static GLUI_Control* active(const GLUI* gui) { return gui->active; }
    static GLUI_Control* controlAt(const GLUI* gui, int x, int y) { return gui->control_at(x, y); }
    static std::vector<GLUI_Control*> focusOrder(const GLUI* gui) { return gui->focus_order(); }
    static bool pressedLook(const GLUI_Control* c) { return c->pressed_look(); }
    static bool shownTicked(const GLUI_Checkbox* c);
    static bool repeating(const GLUI* gui) { return gui->repeating != NULL; }
    static int heldArrow(const GLUI_Spinner* s) { return s->held_arrow; }

    // One idle turn of the library (arrow repeat), at time nowMs.
    static void idleWork(int nowMs);
    static GLUI* guiOfWindow(int windowId);
    static bool anyRepeating();
};

#endif
