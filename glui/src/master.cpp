// GLUI_Master: the panel windows, their events and the idle function.
#include <GL/glui.h>

#include "host.h"

using glui_host::host;

GLUI_Master_Object GLUI_Master;

GLUI_Master_Object::GLUI_Master_Object() : glut_idle_CB(NULL) {}

GLUI_Master_Object::~GLUI_Master_Object()
{
    for (GLUI* g : guis) delete g;
}

// The window is created at the size of an empty panel; each add_...() asks
// for the size its controls need.
GLUI* GLUI_Master_Object::create_glui(const char* name, long flags, int x, int y)
{
    (void)flags;
    static const glui_host::WindowEvents events = {on_display, on_reshape, on_key, on_mouse, on_motion};
    GLUI* g = new GLUI;
    guis.push_back(g);
    g->glut_window_id = host().createWindow(name ? name : "", x, y, g->root.w, g->root.h, events);
    return g;
}

void GLUI_Master_Object::set_glutIdleFunc(void (*f)(void))
{
    glut_idle_CB = f;
    update_idle();
}

void GLUI_Master_Object::sync_live_all()
{
    for (size_t i = 0; i < guis.size(); ++i) guis[i]->sync_live();
}

GLUI* GLUI_Master_Object::gui_of_window(int window) const
{
    if (window <= 0) return NULL;
    for (GLUI* g : guis)
        if (g->glut_window_id == window) return g;
    return NULL;
}

// GLUT's idle callback is on while the program has an idle function or a
// control needs idle turns (a held spinner arrow); otherwise the loop sleeps.
void GLUI_Master_Object::update_idle()
{
    bool needed = glut_idle_CB != NULL;
    for (size_t i = 0; i < guis.size() && !needed; ++i) needed = guis[i]->wants_idle();
    host().setIdle(needed ? idle_turn : NULL);
}

// The library's own idle work first, then the program's idle function.
// (Callbacks may create panels meanwhile: hence the indices.)
void GLUI_Master_Object::idle_turn()
{
    unsigned now = host().nowMs();
    for (size_t i = 0; i < GLUI_Master.guis.size(); ++i) GLUI_Master.guis[i]->idle(now);
    if (GLUI_Master.glut_idle_CB) GLUI_Master.glut_idle_CB();
}

void GLUI_Master_Object::on_display(int window)
{
    if (GLUI* g = GLUI_Master.gui_of_window(window)) g->draw_all();
}

void GLUI_Master_Object::on_reshape(int window, int w, int h)
{
    if (GLUI* g = GLUI_Master.gui_of_window(window)) g->on_reshape(w, h);
}

void GLUI_Master_Object::on_key(int window, int key, bool special)
{
    if (GLUI* g = GLUI_Master.gui_of_window(window)) g->on_key(key, special);
}

// A press or release may start or end a control's need for idle turns.
void GLUI_Master_Object::on_mouse(int window, int button, int state, int x, int y)
{
    if (GLUI* g = GLUI_Master.gui_of_window(window)) g->on_mouse(button, state, x, y);
    GLUI_Master.update_idle();
}

void GLUI_Master_Object::on_motion(int window, int x, int y)
{
    if (GLUI* g = GLUI_Master.gui_of_window(window)) g->on_motion(x, y);
}
