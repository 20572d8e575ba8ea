// Radio groups and their buttons. The buttons take the values 0, 1, 2, ...
// in the order added; the group holds the value. A group is transparent in
// its panel's column: its buttons stand there themselves, and the group's
// rectangle is the one around them.
#include <GL/glui.h>

#include <algorithm>
#include <cassert>

#include "draw.h"

using namespace glui_draw;

namespace {
const char* const SELECTED[14] = {
    "cccccccccccccc", "cccccggggccccc", "cccgg####ggccc", "ccg##WWWW##Wcc", "ccg#WWWWWWcWcc",
    "cg#WWW##WWWcWc", "cg#WW####WWcWc", "cg#WW####WWcWc", "cg#WWW##WWWcWc", "ccg#WWWWWWcWcc",
    "ccgccWWWWccWcc", "cccWWccccWWccc", "cccccWWWWccccc", "cccccccccccccc",
};
const char* const UNSELECTED[14] = {
    "cccccccccccccc", "cccccggggccccc", "cccgg####ggccc", "ccg##WWWW##Wcc", "ccg#WWWWWWcWcc",
    "cg#WWWWWWWWcWc", "cg#WWWWWWWWcWc", "cg#WWWWWWWWcWc", "cg#WWWWWWWWcWc", "ccg#WWWWWWcWcc",
    "ccgccWWWWccWcc", "cccWWccccWWccc", "cccccWWWWccccc", "cccccccccccccc",
};
} // namespace

// ---- the group -------------------------------------------------------------------

GLUI_RadioGroup* GLUI::add_radiogroup(int* live_var, int user_id, GLUI_CB cb)
{
    return add_radiogroup_to_panel(NULL, live_var, user_id, cb);
}

// The live variable, read once, is the initial value.
GLUI_RadioGroup* GLUI::add_radiogroup_to_panel(GLUI_Panel* panel, int* live_var, int user_id, GLUI_CB cb)
{
    GLUI_RadioGroup* g = new GLUI_RadioGroup;
    g->user_id = user_id;
    g->callback = cb;
    g->ptr_val = live_var;
    g->live_type = live_var ? GLUI_LIVE_INT : GLUI_LIVE_NONE;
    g->int_val = g->read_live_int();
    g->float_val = static_cast<float>(g->int_val);
    attach(g, panel, "");
    return g;
}

// From the program: acts only on a change to an existing button; no
// callback.
void GLUI_RadioGroup::set_int_val(int new_val)
{
    if (new_val < 0 || new_val >= num_buttons) return;
    select(new_val, false);
}

void GLUI_RadioGroup::set_selected(int value) { set_int_val(value); }

void GLUI_RadioGroup::select(int value, bool by_user)
{
    assert(value >= 0 && value < num_buttons && "a radio group selects one of its buttons");
    if (value == int_val) return;
    int_val = value;
    float_val = static_cast<float>(value);
    output_live(1);
    if (by_user) execute_callback();
}

void GLUI_RadioGroup::join_column(std::vector<GLUI_Control*>& column)
{
    column.insert(column.end(), children.begin(), children.end());
}

void GLUI_RadioGroup::column_placed()
{
    assert(parent && "a group is placed in its parent's column");
    if (children.empty()) {
        x_abs = parent->x_abs;
        y_abs = parent->y_abs;
        w = h = 0;
        return;
    }
    int x0 = children[0]->x_abs, y0 = children[0]->y_abs;
    int x1 = x0 + children[0]->w, y1 = y0 + children[0]->h;
    for (GLUI_Control* b : children) {
        x0 = std::min(x0, b->x_abs);
        y0 = std::min(y0, b->y_abs);
        x1 = std::max(x1, b->x_abs + b->w);
        y1 = std::max(y1, b->y_abs + b->h);
    }
    x_abs = x0;
    y_abs = y0;
    w = x1 - x0;
    h = y1 - y0;
}

// ---- a button ----------------------------------------------------------------

GLUI_RadioButton* GLUI::add_radiobutton_to_group(GLUI_RadioGroup* group, const char* name)
{
    if (!group || group->glui != this) return NULL;
    GLUI_RadioButton* r = new GLUI_RadioButton;
    r->group = group;
    r->can_activate = true;
    r->int_val = group->num_buttons++;
    r->float_val = static_cast<float>(r->int_val);
    attach(r, group, name);
    return r;
}

void GLUI_RadioButton::measure()
{
    w = markCaptionWidth(text_width(name.c_str()));
    h = MARK_CAPTION_H;
}

void GLUI_RadioButton::mouse_up(int, int, bool inside)
{
    if (inside) group->select(int_val, true);
}

bool GLUI_RadioButton::key(int key, bool special)
{
    if (special || key != ' ') return false;
    group->select(int_val, true);
    return true;
}

void GLUI_RadioButton::draw()
{
    bool on = group->int_val == int_val || pressed_look();
    markAndCaption(x_abs, y_abs, name.c_str(), on ? SELECTED : UNSELECTED, 14, is_focused());
}
