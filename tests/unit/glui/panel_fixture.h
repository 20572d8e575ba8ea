// Fixtures for the unit tests: a panel window made by GLUI_Master on the
// fake host, and the GLUT events a test sends it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "editor/editor_state.h"
#include "editor_panel.h"
#include "fake_host.h"
#include "internals.h"

constexpr int MAIN = 5; // the main graphics window's id in these tests

// An empty panel window of the main graphics window MAIN.
class PanelTest : public ::testing::Test {
protected:
    FakeHost host;
    GLUI* gui = nullptr;
    int window = 0; // the panel's

    PanelTest() : PanelTest(false) {}
    // With `editorPanel`, the editor's Controls window instead, made as the
    // editor makes it, with `editor`'s live variables.
    explicit PanelTest(bool editorPanel)
    {
        editor = EditorState{};
        if (editorPanel) {
            gui = createControlPanel(MAIN);
        } else {
            gui = GLUI_Master.create_glui("Panel");
            gui->set_main_gfx_window(MAIN);
        }
        window = gui->get_glut_window_id();
    }
    ~PanelTest() override { GLUI_Internals::destroy(gui); }

    void down(int x, int y) { host.events.mouse(window, GLUT_LEFT_BUTTON, GLUT_DOWN, x, y); }
    void up(int x, int y) { host.events.mouse(window, GLUT_LEFT_BUTTON, GLUT_UP, x, y); }
    void drag(int x, int y) { host.events.motion(window, x, y); }
    void click(int x, int y)
    {
        down(x, y);
        up(x, y);
    }
    void key(int k) { host.events.key(window, k, false); }
    void special(int k) { host.events.key(window, k, true); }
    void type(const std::string& s)
    {
        for (char c : s) key(static_cast<unsigned char>(c));
    }
    // An idle turn at time `ms`, when GLUT's idle callback is on.
    void idleAt(unsigned ms)
    {
        host.now = ms;
        if (host.idle) host.idle();
    }
    int mainRedisplays() { return host.redisplays[MAIN]; }
};

// The editor's Controls window; `p` finds the controls that `controls` does
// not hold.
class EditorPanelTest : public PanelTest {
protected:
    EditorPanelTest() : PanelTest(true) {}
    EditorPanel p{gui};
};
