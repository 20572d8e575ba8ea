// The base of every control: the value path (live variable, redraws,
// callback), the column layout that panels and the window itself use, and
// GLUI_CB.
#include <GL/glui.h>

#include <algorithm>
#include <cassert>

#include "host.h"
#include "numbers.h"

using glui_host::host;

namespace {
// Real GLUI's numbers.
const int GAP = 3;      // between stacked controls
const int SIDE = 6;     // column inset: left of left-aligned items, below the last one
const int EXTRA_W = 18; // a column is its widest item + 18 wide
} // namespace

void GLUI_CB::operator()(GLUI_Control* ctrl) const
{
    if (idCB) idCB(ctrl ? ctrl->get_id() : -1);
    if (objCB) objCB(ctrl);
}

GLUI_Control::GLUI_Control()
    : x_abs(0), y_abs(0), w(0), h(0), user_id(-1), int_val(0), float_val(0.0f), ptr_val(NULL),
      live_type(GLUI_LIVE_NONE), glui(NULL), parent(NULL), can_activate(false)
{
}

GLUI_Control::~GLUI_Control()
{
    for (GLUI_Control* c : children) delete c;
}

// ---- values ------------------------------------------------------------------

void GLUI_Control::set_int_val(int new_int)
{
    int_val = new_int;
    float_val = static_cast<float>(new_int);
    output_live(1);
}

// Integer controls take the number toward zero, through their own path.
void GLUI_Control::set_float_val(float new_float) { set_int_val(glui_numbers::toInt(new_float)); }

void GLUI_Control::set_name(const char* string)
{
    name = string ? string : "";
    layout_window();
}

int GLUI_Control::read_live_int() const
{
    if (ptr_val && live_type == GLUI_LIVE_INT) return *static_cast<const int*>(ptr_val);
    if (ptr_val && live_type == GLUI_LIVE_FLOAT) return glui_numbers::toInt(*static_cast<const float*>(ptr_val));
    return int_val;
}

float GLUI_Control::read_live_float() const
{
    if (ptr_val && live_type == GLUI_LIVE_FLOAT) return *static_cast<const float*>(ptr_val);
    if (ptr_val && live_type == GLUI_LIVE_INT) return static_cast<float>(*static_cast<const int*>(ptr_val));
    return float_val;
}

void GLUI_Control::sync_live(int recurse, int draw)
{
    if (ptr_val && live_type != GLUI_LIVE_NONE) {
        int v = read_live_int();
        if (v != int_val) {
            int_val = v;
            float_val = static_cast<float>(v);
            if (draw) redraw();
        }
    }
    if (recurse)
        for (GLUI_Control* c : children) c->sync_live(recurse, draw);
}

// Writes the live variable (when there is one) and asks for a redisplay of
// the main graphics window, then redraws the panel.
void GLUI_Control::output_live(int post_redisplay)
{
    if (ptr_val) {
        if (live_type == GLUI_LIVE_INT)
            *static_cast<int*>(ptr_val) = int_val;
        else if (live_type == GLUI_LIVE_FLOAT)
            *static_cast<float*>(ptr_val) = float_val;
        if (post_redisplay && glui && glui->main_gfx_window_id > 0)
            host().postRedisplay(glui->main_gfx_window_id);
    }
    redraw();
}

// Runs the callback with the main graphics window current.
void GLUI_Control::execute_callback()
{
    if (!callback) return;
    int main = glui ? glui->main_gfx_window_id : -1;
    glui_host::withWindow(main, [this] { callback(this); });
}

void GLUI_Control::redraw()
{
    if (glui && glui->glut_window_id > 0) host().postRedisplay(glui->glut_window_id);
}

int GLUI_Control::text_width(const char* text) const
{
    int width = host().textWidth(text ? text : "");
    assert(width >= 0 && "the host measures text as a non-negative width");
    return width;
}

bool GLUI_Control::is_focused() const { return glui && glui->focused == this; }
bool GLUI_Control::pressed_look() const { return glui && glui->active == this && glui->active_inside; }

// ---- layout ------------------------------------------------------------------

void GLUI_Control::place(int x, int y)
{
    x_abs = x;
    y_abs = y;
}

void GLUI_Control::join_column(std::vector<GLUI_Control*>& column) { column.push_back(this); }

std::vector<GLUI_Control*> GLUI_Control::column_items()
{
    std::vector<GLUI_Control*> items;
    for (GLUI_Control* child : children) child->join_column(items);
    return items;
}

// The column's size: items stacked from `top` with GAP between them (and
// each item's own pad above and below), SIDE below the last one.
void GLUI_Control::measure_column(int top)
{
    int widest = 0, cursor = top, bottom = top;
    for (GLUI_Control* item : column_items()) {
        item->measure();
        assert(item->w >= 0 && item->h >= 0 && "a control measures itself");
        widest = std::max(widest, item->w);
        cursor += item->outer_pad();
        bottom = cursor + item->h + item->outer_pad();
        cursor = bottom + GAP;
    }
    w = widest + EXTRA_W;
    h = bottom + SIDE;
}

// Places the measured column: centred items in the middle, the others SIDE
// from the left.
void GLUI_Control::place_column(int top)
{
    int cursor = y_abs + top;
    for (GLUI_Control* item : column_items()) {
        cursor += item->outer_pad();
        item->place(item->is_centred() ? x_abs + (w - item->w) / 2 : x_abs + SIDE, cursor);
        cursor += item->h + item->outer_pad() + GAP;
    }
    for (GLUI_Control* child : children) child->column_placed();
}

// Lays out the whole window from its root column and asks GLUT for the size
// it needs when the window has another.
void GLUI_Control::layout_window()
{
    GLUI_Control* top = this;
    while (top->parent) top = top->parent;
    assert((!glui || top == &glui->root) && "every control hangs below its window's root");
    top->measure_column(SIDE);
    top->place(0, 0);
    top->place_column(SIDE);
    if (!glui || glui->glut_window_id <= 0) return;
    int id = glui->glut_window_id, now_w = 0, now_h = 0;
    host().windowSize(id, now_w, now_h);
    if (now_w != top->w || now_h != top->h) host().reshapeWindow(id, top->w, top->h);
    host().postRedisplay(id);
}

// ---- input -------------------------------------------------------------------

bool GLUI_Control::hit(int x, int y) const { return x >= x_abs && x < x_abs + w && y >= y_abs && y < y_abs + h; }

void GLUI_Control::mouse_down(int, int) {}
void GLUI_Control::mouse_held(int, int, bool) {}
void GLUI_Control::mouse_up(int, int, bool) {}
bool GLUI_Control::key(int, bool) { return false; }
void GLUI_Control::idle(unsigned) {}
