// The panel: adding controls, layout, focus, and the mouse and keyboard
// dispatch. Drawing is in draw.cpp, the controls' own behaviour in
// controls.cpp and spinner.cpp.
#include <GL/glui.h>

#include <algorithm>

#include "glui_idle.h"
#include "host.h"
#include "internals.h"

using glui_host::host;

namespace {
// Real GLUI's numbers.
const int OUTER_MARGIN = 6;   // window edge to the column
const int GAP = 3;            // between stacked controls
const int WINDOW_EXTRA_W = 18; // window width = widest control + 18
const int PANEL_SIDE = 6;     // panel inner margin left, right and bottom
const int PANEL_TOP_CAPTION = 14;

// The controls stacked in a container's column: radio groups are
// transparent, their buttons stand in the column themselves.
void columnItems(const GLUI_Control* c, std::vector<GLUI_Control*>& out);
} // namespace

// ---- GLUI_CB -------------------------------------------------------------

void GLUI_CB::operator()(GLUI_Control* ctrl) const
{
    if (idCB) idCB(ctrl ? ctrl->get_id() : -1);
    if (objCB) objCB(ctrl);
}

// ---- construction ----------------------------------------------------------

GLUI::GLUI()
    : main_gfx_window_id(-1), glut_window_id(0), width(0), height(0), window_w(0), window_h(0), active(NULL),
      focused(NULL), repeating(NULL), active_inside(false)
{
    root.glui = this;
    root.can_activate = false;
    layout();
}

GLUI::~GLUI()
{
    root.glui = NULL;
}

template <class T> T* GLUI::adopt(T* ctrl, GLUI_Control* parent, const char* name)
{
    if (!parent || parent->glui != this) parent = &root;
    ctrl->glui = this;
    ctrl->parent = parent;
    ctrl->name = name ? name : "";
    parent->children.push_back(ctrl);
    return ctrl;
}

GLUI_StaticText* GLUI::add_statictext(const char* name) { return add_statictext_to_panel(NULL, name); }

GLUI_StaticText* GLUI::add_statictext_to_panel(GLUI_Panel* panel, const char* name)
{
    GLUI_StaticText* t = adopt(new GLUI_StaticText, panel, name);
    layout();
    return t;
}

void GLUI::add_separator() { add_separator_to_panel(NULL); }

void GLUI::add_separator_to_panel(GLUI_Panel* panel)
{
    adopt(new GLUI_Separator, panel, "");
    layout();
}

GLUI_Button* GLUI::add_button(const char* name, int id, GLUI_CB cb)
{
    return add_button_to_panel(NULL, name, id, cb);
}

GLUI_Button* GLUI::add_button_to_panel(GLUI_Panel* panel, const char* name, int id, GLUI_CB cb)
{
    GLUI_Button* b = adopt(new GLUI_Button, panel, name);
    b->user_id = id;
    b->callback = cb;
    b->can_activate = true;
    layout();
    return b;
}

GLUI_Spinner* GLUI::add_spinner(const char* name, int data_type, void* live_var, int id, GLUI_CB cb)
{
    return add_spinner_to_panel(NULL, name, data_type, live_var, id, cb);
}

GLUI_Spinner* GLUI::add_spinner_to_panel(GLUI_Panel* panel, const char* name, int data_type,
                                         void* live_var, int id, GLUI_CB cb)
{
    GLUI_Spinner* s = adopt(new GLUI_Spinner, panel, name);
    s->user_id = id;
    s->callback = cb;
    s->data_type = data_type == GLUI_SPINNER_FLOAT ? GLUI_SPINNER_FLOAT : GLUI_SPINNER_INT;
    s->ptr_val = live_var;
    s->live_type = !live_var ? GLUI_LIVE_NONE
                             : (s->data_type == GLUI_SPINNER_FLOAT ? GLUI_LIVE_FLOAT : GLUI_LIVE_INT);
    s->can_activate = true;

    GLUI_EditText* e = new GLUI_EditText;
    e->glui = this;
    e->parent = s;
    e->name = s->name;
    e->spinner = s;
    e->can_activate = true;
    e->user_id = id;
    s->edittext = e;
    s->children.push_back(e);

    // The live variable, read once, is the initial value.
    int initial = s->read_live_int();
    s->int_val = initial;
    s->float_val = static_cast<float>(initial);
    e->set_text(std::to_string(initial).c_str());
    e->int_val = initial;
    layout();
    return s;
}

GLUI_Panel* GLUI::add_panel(const char* name, int type) { return add_panel_to_panel(NULL, name, type); }

GLUI_Panel* GLUI::add_panel_to_panel(GLUI_Panel* panel, const char* name, int type)
{
    GLUI_Panel* p = adopt(new GLUI_Panel, panel, name);
    p->int_val = (type == GLUI_PANEL_NONE || type == GLUI_PANEL_RAISED) ? type : GLUI_PANEL_EMBOSSED;
    layout();
    return p;
}

GLUI_RadioGroup* GLUI::add_radiogroup(int* live_var, int user_id, GLUI_CB cb)
{
    return add_radiogroup_to_panel(NULL, live_var, user_id, cb);
}

GLUI_RadioGroup* GLUI::add_radiogroup_to_panel(GLUI_Panel* panel, int* live_var, int user_id, GLUI_CB cb)
{
    GLUI_RadioGroup* g = adopt(new GLUI_RadioGroup, panel, "");
    g->user_id = user_id;
    g->callback = cb;
    g->ptr_val = live_var;
    g->live_type = live_var ? GLUI_LIVE_INT : GLUI_LIVE_NONE;
    g->int_val = g->read_live_int();
    layout();
    return g;
}

GLUI_RadioButton* GLUI::add_radiobutton_to_group(GLUI_RadioGroup* group, const char* name)
{
    if (!group || group->glui != this) return NULL;
    GLUI_RadioButton* r = new GLUI_RadioButton;
    r->glui = this;
    r->parent = group;
    r->group = group;
    r->name = name ? name : "";
    r->can_activate = true;
    r->int_val = group->num_buttons++;
    group->children.push_back(r);
    layout();
    return r;
}

GLUI_Checkbox* GLUI::add_checkbox(const char* name, int* live_var, int id, GLUI_CB cb)
{
    return add_checkbox_to_panel(NULL, name, live_var, id, cb);
}

GLUI_Checkbox* GLUI::add_checkbox_to_panel(GLUI_Panel* panel, const char* name, int* live_var, int id,
                                           GLUI_CB cb)
{
    GLUI_Checkbox* c = adopt(new GLUI_Checkbox, panel, name);
    c->user_id = id;
    c->callback = cb;
    c->ptr_val = live_var;
    c->live_type = live_var ? GLUI_LIVE_INT : GLUI_LIVE_NONE;
    c->can_activate = true;
    c->int_val = c->read_live_int();
    layout();
    return c;
}

void GLUI::sync_live()
{
    for (GLUI_Control* c : root.children) c->sync_live(1, 1);
}

// ---- layout ------------------------------------------------------------------

namespace {
void columnItems(const GLUI_Control* c, std::vector<GLUI_Control*>& out)
{
    for (GLUI_Control* child : c->children) {
        if (dynamic_cast<GLUI_RadioGroup*>(child))
            columnItems(child, out);
        else
            out.push_back(child);
    }
}
} // namespace

// Sizes bottom-up: leaves from their captions, panels from their children.
void GLUI::size_of(GLUI_Control* c)
{
    if (c->is_container()) {
        std::vector<GLUI_Control*> items;
        columnItems(c, items);
        int widest = 0;
        for (GLUI_Control* item : items) {
            size_of(item);
            widest = std::max(widest, item->w);
        }
        c->w = widest + WINDOW_EXTRA_W;
    }
    c->update_size();
}

// Places c's column starting at y; returns the bottom of the last item
// (including a panel's extra space below it).
int GLUI::place(GLUI_Control* c, int x, int y, int parent_x, int parent_w)
{
    (void)x;
    c->x_abs = c->is_centred() ? parent_x + (parent_w - c->w) / 2 : parent_x + OUTER_MARGIN;
    c->y_abs = y;
    if (c->is_container()) {
        std::vector<GLUI_Control*> items;
        columnItems(c, items);
        int top = y + (c->name.empty() ? PANEL_SIDE : PANEL_TOP_CAPTION);
        int cursor = top;
        int bottom = top;
        for (GLUI_Control* item : items) {
            cursor += item->outer_pad();
            bottom = place(item, 0, cursor, c->x_abs, c->w) + item->outer_pad();
            cursor = bottom + GAP;
        }
        c->h = bottom + PANEL_SIDE - y;
    }
    // Radio groups: the rectangle around their buttons.
    for (GLUI_Control* child : c->children) {
        if (GLUI_RadioGroup* g = dynamic_cast<GLUI_RadioGroup*>(child)) {
            if (g->children.empty()) {
                g->x_abs = c->x_abs;
                g->y_abs = y;
                g->w = g->h = 0;
                continue;
            }
            int x0 = 1 << 30, y0 = 1 << 30, x1 = -(1 << 30), y1 = -(1 << 30);
            for (GLUI_Control* r : g->children) {
                x0 = std::min(x0, r->x_abs);
                y0 = std::min(y0, r->y_abs);
                x1 = std::max(x1, r->x_abs + r->w);
                y1 = std::max(y1, r->y_abs + r->h);
            }
            g->x_abs = x0;
            g->y_abs = y0;
            g->w = x1 - x0;
            g->h = y1 - y0;
        }
    }
    if (GLUI_Spinner* s = dynamic_cast<GLUI_Spinner*>(c)) {
        s->edittext->x_abs = s->x_abs;
        s->edittext->y_abs = s->y_abs;
    }
    return c->y_abs + c->h;
}

void GLUI::layout()
{
    std::vector<GLUI_Control*> items;
    columnItems(&root, items);
    int widest = 0;
    for (GLUI_Control* item : items) {
        size_of(item);
        widest = std::max(widest, item->w);
    }
    width = widest + WINDOW_EXTRA_W;
    int cursor = OUTER_MARGIN;
    int bottom = OUTER_MARGIN;
    for (GLUI_Control* item : items) {
        cursor += item->outer_pad();
        bottom = place(item, 0, cursor, 0, width) + item->outer_pad();
        cursor = bottom + GAP;
    }
    height = items.empty() ? 2 * OUTER_MARGIN : bottom + OUTER_MARGIN;
    root.x_abs = 0;
    root.y_abs = 0;
    root.w = width;
    root.h = height;
    if (glut_window_id > 0) {
        glui_host::withWindow(glut_window_id, [this] {
            if (glutGet(GLUT_WINDOW_WIDTH) != width || glutGet(GLUT_WINDOW_HEIGHT) != height)
                glutReshapeWindow(width, height);
        });
    }
    post_panel_redisplay();
}

// ---- focus and hit testing ------------------------------------------------

namespace {
void collectFocusable(const GLUI_Control* c, std::vector<GLUI_Control*>& out)
{
    for (GLUI_Control* child : c->children) {
        if (child->can_activate) out.push_back(child);
        collectFocusable(child, out);
    }
}

} // namespace

std::vector<GLUI_Control*> GLUI::focus_order() const
{
    std::vector<GLUI_Control*> out;
    collectFocusable(&root, out);
    return out;
}

GLUI_Control* GLUI::control_at(int x, int y) const
{
    return deepest_at(&root, x, y);
}

// Children before their parent, so a spinner's field wins over the spinner.
GLUI_Control* GLUI::deepest_at(const GLUI_Control* c, int x, int y) const
{
    for (GLUI_Control* child : c->children) {
        if (GLUI_Control* inner = deepest_at(child, x, y)) return inner;
        if (child->can_activate && child->hit(x, y)) return child;
    }
    return NULL;
}

void GLUI::set_focus(GLUI_Control* c)
{
    if (c == focused) return;
    GLUI_Control* old = focused;
    focused = c;
    if (old) old->focus_lost();
    if (focused) focused->focus_gained();
    post_panel_redisplay();
}

void GLUI::move_focus(int dir)
{
    std::vector<GLUI_Control*> order = focus_order();
    if (order.empty()) return;
    int n = static_cast<int>(order.size());
    auto it = std::find(order.begin(), order.end(), focused);
    int i;
    if (it == order.end())
        i = dir > 0 ? 0 : n - 1;
    else
        i = (static_cast<int>(it - order.begin()) + dir + n) % n;
    set_focus(order[i]);
}

void GLUI::post_panel_redisplay()
{
    if (glut_window_id > 0) host().postRedisplay(glut_window_id);
}

// ---- input -----------------------------------------------------------------

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
        post_panel_redisplay();
    } else {
        if (!active) return;
        GLUI_Control* c = active;
        bool inside = c->hit(x, y);
        active = NULL;
        active_inside = false;
        c->mouse_up(x, y, inside);
        post_panel_redisplay();
    }
}

void GLUI::on_motion(int x, int y)
{
    if (!active) return;
    bool inside = active->hit(x, y);
    bool changed = inside != active_inside;
    active_inside = inside;
    active->mouse_held(x, y, inside);
    if (changed) post_panel_redisplay();
}

void GLUI::on_keyboard(int key, bool special, int x, int y)
{
    (void)x;
    (void)y;
    if (!special && key == '\t') {
        bool back = (host().modifiers() & GLUT_ACTIVE_SHIFT) != 0;
        move_focus(back ? -1 : 1);
        return;
    }
    if (!focused) return; // keys with nothing focused are dropped
    if (focused->key(key, special)) post_panel_redisplay();
}

// Asks for the panel's own size back when the window system changed it, as
// GLUI does. A tiling window manager keeps its size anyway; the panel is then
// drawn at the top-left of whatever size the window has.
void GLUI::on_reshape(int w, int h)
{
    window_w = w;
    window_h = h;
    if (glut_window_id > 0 && (w != width || h != height))
        glui_host::withWindow(glut_window_id, [this] { glutReshapeWindow(width, height); });
    post_panel_redisplay();
}
