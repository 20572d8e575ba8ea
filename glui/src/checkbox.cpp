// Checkboxes: the box and the caption are one clickable control. A press
// shows the new state, a release over the control commits it, a release
// elsewhere reverts.
#include <GL/glui.h>

#include "draw.h"

using namespace glui_draw;

namespace {
const char* const TICKED[13] = {
    "ggggggggggggW", "g##########cW", "g#WWWWWWWWWcW", "g#WWWWWWW#WcW", "g#WWWWWW##WcW",
    "g#W#WWW###WcW", "g#W##W###WWcW", "g#W#####WWWcW", "g#WW###WWWWcW", "g#WWW#WWWWWcW",
    "g#WWWWWWWWWcW", "gcccccccccccW", "WWWWWWWWWWWWW",
};
const char* const EMPTY[13] = {
    "ggggggggggggW", "g##########cW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW",
    "g#WWWWWWWWWcW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW",
    "g#WWWWWWWWWcW", "gcccccccccccW", "WWWWWWWWWWWWW",
};
} // namespace

GLUI_Checkbox* GLUI::add_checkbox(const char* name, int* live_var, int id, GLUI_CB cb)
{
    return add_checkbox_to_panel(NULL, name, live_var, id, cb);
}

GLUI_Checkbox* GLUI::add_checkbox_to_panel(GLUI_Panel* panel, const char* name, int* live_var, int id, GLUI_CB cb)
{
    GLUI_Checkbox* c = new GLUI_Checkbox;
    c->user_id = id;
    c->callback = cb;
    c->ptr_val = live_var;
    c->live_type = live_var ? GLUI_LIVE_INT : GLUI_LIVE_NONE;
    c->can_activate = true;
    c->int_val = c->read_live_int();
    c->float_val = static_cast<float>(c->int_val);
    attach(c, panel, name);
    return c;
}

void GLUI_Checkbox::measure()
{
    w = markCaptionWidth(text_width(name.c_str()));
    h = MARK_CAPTION_H;
}

void GLUI_Checkbox::commit_toggle()
{
    set_int_val(int_val ? 0 : 1);
    execute_callback();
}

void GLUI_Checkbox::mouse_up(int, int, bool inside)
{
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

bool GLUI_Checkbox::shown_ticked() const { return pressed_look() ? int_val == 0 : int_val != 0; }

void GLUI_Checkbox::draw()
{
    markAndCaption(x_abs, y_abs, name.c_str(), shown_ticked() ? TICKED : EMPTY, 13, is_focused());
}
