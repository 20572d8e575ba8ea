// A panel window: its controls, focus, the mouse and keyboard dispatch, and
// drawing the whole window. The controls' own behaviour is in their files.
#include <GL/glui.h>

#include <algorithm>
#include <cassert>
#include <functional>

#include "draw.h"
#include "host.h"

using glui_host::host;

GLUI::GLUI()
    : main_gfx_window_id(-1), glut_window_id(0), window_w(0), window_h(0), redraw_after_resize(false),
      active(NULL), focused(NULL), active_inside(false)
{
    root.glui = this;
    root.layout_window();
}

GLUI::~GLUI()
{
    root.glui = NULL;
}

// Hangs a new control (and what it already holds) below `parent`, or below
// the window when the parent is missing or belongs to another window, then
// lays the window out again.
void GLUI::attach(GLUI_Control* ctrl, GLUI_Control* parent, const char* name)
{
    assert(ctrl && !ctrl->glui && !ctrl->parent && "a control is attached once");
    if (!parent || parent->glui != this) parent = &root;
    std::function<void(GLUI_Control*)> adopt = [&](GLUI_Control* c) {
        c->glui = this;
        for (GLUI_Control* child : c->children) adopt(child);
    };
    adopt(ctrl);
    ctrl->parent = parent;
    ctrl->name = name ? name : "";
    parent->children.push_back(ctrl);
    root.layout_window();
}

void GLUI::sync_live()
{
    for (GLUI_Control* c : root.children) c->sync_live(1, 1);
}

// ---- drawing -------------------------------------------------------------------

// The controls stay at the top-left of the window, where they respond to the
// mouse, whatever size the window has (a window manager may have maximised
// or tiled it); the rest is background.
void GLUI::draw_all()
{
    if (glut_window_id <= 0) return;
    glui_draw::beginFrame(window_w > 0 ? window_w : root.w, window_h > 0 ? window_h : root.h);
    std::function<void(GLUI_Control*)> drawTree = [&](GLUI_Control* c) {
        for (GLUI_Control* child : c->children) {
            child->draw();
            drawTree(child);
        }
    };
    drawTree(&root);
    glui_draw::endFrame();
    // The first frame after a resize can reach the screen at the window's old
    // size (Mesa resizes its buffers only at that swap): draw once more.
    if (redraw_after_resize) {
        redraw_after_resize = false;
        root.redraw();
    }
}

// ---- focus and hit testing ------------------------------------------------------

// The controls that can take focus, in the order they were added (a
// control before what it holds).
std::vector<GLUI_Control*> GLUI::focus_order() const
{
    std::vector<GLUI_Control*> out;
    std::function<void(const GLUI_Control*)> collect = [&](const GLUI_Control* c) {
        for (GLUI_Control* child : c->children) {
            if (child->can_activate) out.push_back(child);
            collect(child);
        }
    };
    collect(&root);
    return out;
}

// What a press at (x, y) acts on: what a control holds before the control
// itself, so that a spinner's field wins over the spinner.
GLUI_Control* GLUI::control_at(int x, int y) const
{
    std::function<GLUI_Control*(const GLUI_Control*)> deepest = [&](const GLUI_Control* c) -> GLUI_Control* {
        for (GLUI_Control* child : c->children) {
            if (GLUI_Control* inner = deepest(child)) return inner;
            if (child->can_activate && child->hit(x, y)) return child;
        }
        return NULL;
    };
    return deepest(&root);
}

void GLUI::set_focus(GLUI_Control* c)
{
    assert((!c || (c->glui == this && c->can_activate)) && "focus goes to a control of this window");
    if (c == focused) return;
    GLUI_Control* old = focused;
    focused = c;
    if (old) old->focus_lost();
    if (focused) focused->focus_gained();
    root.redraw();
}

// The focus goes round the controls in order and through one stop with
// nothing focused, after the last control and before the first: Tab from
// the last control drops the focus, the next Tab focuses the first.
void GLUI::move_focus(int dir)
{
    std::vector<GLUI_Control*> order = focus_order();
    int stops = static_cast<int>(order.size()) + 1; // the last stop: nothing
    int i = static_cast<int>(std::find(order.begin(), order.end(), focused) - order.begin());
    i = (i + dir + stops) % stops;
    set_focus(i < stops - 1 ? order[i] : NULL);
}

// ---- input ---------------------------------------------------------------------

bool GLUI::wants_idle() const { return active && active->wants_idle(); }

void GLUI::idle(unsigned now_ms)
{
    if (active) active->idle(now_ms);
}

// Mouse state machine (left button only):
//   idle     --press on control C-->  active = C, C->mouse_down; focus -> C
//   idle     --press on background->  focus dropped (typed text committed)
//   active C --motion-->              C->mouse_held(inside = over C); C looks
//                                     pressed only while inside
//   active C --release-->             C->mouse_up(inside); acts only inside;
//                                     back to idle
// Other buttons are ignored; a second press while one is held is ignored.
void GLUI::on_mouse(int button, int state, int x, int y)
{
    if (button != GLUT_LEFT_BUTTON) return;
    if (state == GLUT_DOWN) {
        if (active) return;
        GLUI_Control* c = control_at(x, y);
        set_focus(c);
        if (c) {
            active = c;
            active_inside = true;
            c->mouse_down(x, y);
        }
    } else {
        if (!active) return;
        GLUI_Control* c = active;
        bool inside = c->hit(x, y);
        active = NULL;
        active_inside = false;
        c->mouse_up(x, y, inside);
    }
    root.redraw();
}

void GLUI::on_motion(int x, int y)
{
    if (!active) return;
    bool inside = active->hit(x, y);
    bool changed = inside != active_inside;
    active_inside = inside;
    active->mouse_held(x, y, inside);
    if (changed) root.redraw();
}

// Tab moves the focus (backwards with Shift); other keys go to the focused
// control only, and are dropped when nothing has the focus.
void GLUI::on_key(int key, bool special)
{
    if (!special && key == '\t') {
        bool back = (host().modifiers() & GLUT_ACTIVE_SHIFT) != 0;
        move_focus(back ? -1 : 1);
        return;
    }
    if (focused && focused->key(key, special)) root.redraw();
}

// Asks for the panel's own size back when the window system changed it, as
// GLUI does. A tiling window manager keeps its size anyway; the panel is then
// drawn at the top-left of whatever size the window has.
void GLUI::on_reshape(int w, int h)
{
    window_w = w;
    window_h = h;
    redraw_after_resize = true;
    if (glut_window_id > 0 && (w != root.w || h != root.h)) host().reshapeWindow(glut_window_id, root.w, root.h);
    root.redraw();
}
