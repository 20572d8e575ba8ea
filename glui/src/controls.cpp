// The controls' values and reactions: the one value path of every control,
// buttons, checkboxes, radio groups, panels and text.
#include <GL/glui.h>

#include <algorithm>

#include "host.h"
#include "internals.h"

using glui_host::host;

// ---- GLUI_Control ------------------------------------------------------------

GLUI_Control::GLUI_Control()
    : x_abs(0), y_abs(0), w(0), h(0), user_id(-1), int_val(0), float_val(0.0f), ptr_val(NULL),
      live_type(GLUI_LIVE_NONE), glui(NULL), parent(NULL), can_activate(false)
{
}

GLUI_Control::~GLUI_Control()
{
    for (GLUI_Control* c : children) delete c;
}

void GLUI_Control::set_int_val(int new_int)
{
    int_val = new_int;
    float_val = static_cast<float>(new_int);
    output_live(1);
}

void GLUI_Control::set_float_val(float new_float)
{
    float_val = new_float;
    int_val = static_cast<int>(new_float);
    output_live(1);
}

void GLUI_Control::set_name(const char* string)
{
    name = string ? string : "";
    if (glui) glui->layout();
}

int GLUI_Control::read_live_int() const
{
    if (!ptr_val) return int_val;
    if (live_type == GLUI_LIVE_INT) return *static_cast<const int*>(ptr_val);
    if (live_type == GLUI_LIVE_FLOAT) return static_cast<int>(*static_cast<const float*>(ptr_val));
    return int_val;
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

// Writes the live variable (when there is one), redraws the panel and asks
// for a redisplay of the main graphics window.
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
    if (glui) glui->post_panel_redisplay();
}

bool GLUI_Control::hit(int x, int y) const
{
    return x >= x_abs && x < x_abs + w && y >= y_abs && y < y_abs + h;
}

int GLUI_Control::text_width(const char* text) const { return host().textWidth(text ? text : ""); }
bool GLUI_Control::is_focused() const { return glui && glui->focused == this; }
bool GLUI_Control::is_active() const { return glui && glui->active == this; }
bool GLUI_Control::pressed_look() const { return is_active() && glui->active_inside; }

// ---- sizes (real GLUI's numbers) -----------------------------------------

void GLUI_StaticText::set_text(const char* text) { set_name(text); }

void GLUI_StaticText::update_size()
{
    w = std::max(100, text_width(name.c_str()));
    h = 13;
}

void GLUI_Separator::update_size()
{
    w = 100;
    h = 8;
}

void GLUI_Button::update_size()
{
    w = std::max(100, text_width(name.c_str()) + 16);
    h = 20;
}

void GLUI_Checkbox::update_size()
{
    w = 18 + text_width(name.c_str()) + 6;
    h = 13;
}

void GLUI_RadioButton::update_size()
{
    w = 18 + text_width(name.c_str()) + 6;
    h = 13;
}

// w arrives as widest child + 18 from the layout.
void GLUI_Panel::update_size()
{
    if (!name.empty()) w = std::max(w, text_width(name.c_str()) + 16);
}

// ---- button --------------------------------------------------------------

void GLUI_Button::mouse_up(int x, int y, bool inside)
{
    (void)x;
    (void)y;
    if (inside) execute_callback();
}

bool GLUI_Button::key(int key, bool special)
{
    if (special || key != ' ') return false;
    execute_callback();
    return true;
}

// ---- checkbox ------------------------------------------------------------

// Stores the value as given (non-zero shows a tick), writes the live
// variable; no callback.
void GLUI_Checkbox::set_int_val(int new_val)
{
    int_val = new_val;
    float_val = static_cast<float>(new_val);
    output_live(1);
}

void GLUI_Checkbox::commit_toggle()
{
    int_val = int_val ? 0 : 1;
    float_val = static_cast<float>(int_val);
    output_live(1);
    execute_callback();
}

void GLUI_Checkbox::mouse_up(int x, int y, bool inside)
{
    (void)x;
    (void)y;
    if (inside)
        commit_toggle();
    else
        redraw(); // the preview reverts
}

bool GLUI_Checkbox::key(int key, bool special)
{
    if (special || key != ' ') return false;
    commit_toggle();
    return true;
}

bool GLUI_Internals::shownTicked(const GLUI_Checkbox* c)
{
    bool ticked = c->int_val != 0;
    return c->pressed_look() ? !ticked : ticked;
}

// ---- radio group -----------------------------------------------------------

// From code: acts only on a change to an existing button; no callback.
void GLUI_RadioGroup::set_int_val(int new_val)
{
    if (new_val == int_val || new_val < 0 || new_val >= num_buttons) return;
    int_val = new_val;
    float_val = static_cast<float>(new_val);
    output_live(1);
}

void GLUI_RadioGroup::set_selected(int value) { set_int_val(value); }

void GLUI_RadioGroup::select(int value, bool by_user)
{
    if (value == int_val) return;
    int_val = value;
    float_val = static_cast<float>(value);
    output_live(1);
    if (by_user) execute_callback();
}

void GLUI_RadioButton::mouse_up(int x, int y, bool inside)
{
    (void)x;
    (void)y;
    if (inside && group) group->select(int_val, true);
}

bool GLUI_RadioButton::key(int key, bool special)
{
    if (special || key != ' ' || !group) return false;
    group->select(int_val, true);
    return true;
}
