// The integer spinner: an edit field plus two step arrows that repeat while
// held. Every change of value goes through GLUI_Spinner::apply.
#include <GL/glui.h>

#include <algorithm>
#include <climits>
#include <string>

#include "glui_idle.h"
#include "host.h"

using glui_host::host;

namespace {
const int REPEAT_DELAY_MS = 400;  // press to first repeat
const int REPEAT_PERIOD_MS = 80;  // then one step every 80 ms
const size_t MAX_INT_CHARS = 11;  // "-2147483648"
const int FIELD_TEXT_X = 5;       // text inset in the field
const int SPINNER_ARROWS_W = 15;  // spinner width = field width + 15
} // namespace

// ---- edit field --------------------------------------------------------------

GLUI_EditText::GLUI_EditText()
    : data_type(GLUI_EDITTEXT_INT), has_limits(GLUI_LIMIT_NONE), int_low(0), int_high(0),
      text_x_offset(55), insertion_pt(0), sel_start(0), sel_end(0), spinner(NULL)
{
}

void GLUI_EditText::update_size()
{
    text_x_offset = std::max(55, text_width(name.c_str()) + 2);
    w = std::max(130, text_x_offset + 35);
    h = 20;
}

void GLUI_EditText::set_text(const char* new_text)
{
    text = new_text ? new_text : "";
    insertion_pt = static_cast<int>(text.size());
    sel_start = sel_end = insertion_pt;
    redraw();
}

void GLUI_EditText::set_int_val(int new_int)
{
    if (spinner)
        spinner->apply(new_int, false);
    else
        GLUI_Control::set_int_val(new_int);
}

void GLUI_EditText::set_int_limits(int low, int high, int limit_type)
{
    if (low > high) std::swap(low, high);
    int_low = low;
    int_high = high;
    has_limits = (limit_type == GLUI_LIMIT_CLAMP || limit_type == GLUI_LIMIT_WRAP) ? limit_type
                                                                                  : GLUI_LIMIT_NONE;
    if (spinner && has_limits != GLUI_LIMIT_NONE && (spinner->int_val < low || spinner->int_val > high))
        spinner->apply(low, false);
}

// The caret position nearest to window x.
int GLUI_EditText::char_at(int x) const
{
    int px = field_x() + FIELD_TEXT_X;
    for (size_t i = 0; i < text.size(); ++i) {
        int cw = text_width(text.substr(i, 1).c_str());
        if (x < px + cw / 2) return static_cast<int>(i);
        px += cw;
    }
    return static_cast<int>(text.size());
}

void GLUI_EditText::delete_selection()
{
    int lo = std::min(sel_start, sel_end), hi = std::max(sel_start, sel_end);
    lo = std::max(0, std::min(lo, static_cast<int>(text.size())));
    hi = std::max(0, std::min(hi, static_cast<int>(text.size())));
    text.erase(lo, hi - lo);
    insertion_pt = lo;
    sel_start = sel_end = lo;
}

// Digits anywhere after a leading '-'; '-' only first.
bool GLUI_EditText::type_char(int c)
{
    bool digit = c >= '0' && c <= '9';
    if (!digit && c != '-') return false;
    std::string before = text;
    int before_pt = insertion_pt;
    if (sel_start != sel_end) delete_selection();
    bool minus_first = !text.empty() && text[0] == '-';
    bool ok = text.size() < MAX_INT_CHARS &&
              (digit ? !(minus_first && insertion_pt == 0) : (insertion_pt == 0 && !minus_first));
    if (!ok) {
        text = before;
        insertion_pt = before_pt;
        return false;
    }
    text.insert(text.begin() + insertion_pt, static_cast<char>(c));
    ++insertion_pt;
    sel_start = sel_end = insertion_pt;
    return true;
}

namespace {
// Empty or a lone '-' is 0; too many digits saturate.
int parseInt(const std::string& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > 1LL + INT_MAX) v = 1LL + INT_MAX;
    }
    if (negative) v = -v;
    return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v)));
}
} // namespace

void GLUI_EditText::commit()
{
    if (spinner) spinner->apply(parseInt(text), true);
}

bool GLUI_EditText::key(int key, bool special)
{
    int n = static_cast<int>(text.size());
    if (special) {
        switch (key) {
        case GLUT_KEY_LEFT: insertion_pt = std::max(0, insertion_pt - 1); break;
        case GLUT_KEY_RIGHT: insertion_pt = std::min(n, insertion_pt + 1); break;
        case GLUT_KEY_HOME: insertion_pt = 0; break;
        case GLUT_KEY_END: insertion_pt = n; break;
        case GLUT_KEY_UP:
        case GLUT_KEY_DOWN:
            commit();
            if (spinner) spinner->step(key == GLUT_KEY_UP ? 1 : -1, true);
            return true;
        default: return false;
        }
        sel_start = sel_end = insertion_pt;
        return true;
    }
    switch (key) {
    case '\r':
    case '\n':
        commit();
        sel_start = 0;
        sel_end = insertion_pt = static_cast<int>(text.size());
        return true;
    case 8: // Backspace
        if (sel_start != sel_end)
            delete_selection();
        else if (insertion_pt > 0)
            text.erase(--insertion_pt, 1);
        sel_start = sel_end = insertion_pt;
        return true;
    case 127: // Delete
        if (sel_start != sel_end)
            delete_selection();
        else if (insertion_pt < n)
            text.erase(insertion_pt, 1);
        sel_start = sel_end = insertion_pt;
        return true;
    default: return type_char(key);
    }
}

void GLUI_EditText::mouse_down(int x, int y)
{
    (void)y;
    insertion_pt = char_at(x);
    sel_start = sel_end = insertion_pt;
}

void GLUI_EditText::mouse_held(int x, int y, bool inside)
{
    (void)y;
    (void)inside;
    sel_end = insertion_pt = char_at(x);
    redraw();
}

void GLUI_EditText::focus_gained()
{
    sel_start = 0;
    sel_end = insertion_pt = static_cast<int>(text.size());
}

void GLUI_EditText::focus_lost()
{
    commit();
    sel_start = sel_end = insertion_pt;
}

// ---- spinner -----------------------------------------------------------------

GLUI_Spinner::GLUI_Spinner()
    : edittext(NULL), data_type(GLUI_SPINNER_INT), held_arrow(0), arrow_inside(false), next_repeat_ms(0)
{
}

void GLUI_Spinner::update_size()
{
    edittext->name = name;
    edittext->update_size();
    w = edittext->w + SPINNER_ARROWS_W;
    h = 20;
}

void GLUI_Spinner::set_int_val(int new_val) { apply(new_val, false); }

void GLUI_Spinner::set_int_limits(int low, int high, int limit_type)
{
    edittext->set_int_limits(low, high, limit_type);
}

int GLUI_Spinner::clamp(int v) const
{
    const GLUI_EditText* e = edittext;
    if (e->has_limits == GLUI_LIMIT_CLAMP) return std::max(e->int_low, std::min(e->int_high, v));
    if (e->has_limits == GLUI_LIMIT_WRAP) {
        if (v > e->int_high) return e->int_low;
        if (v < e->int_low) return e->int_high;
    }
    return v;
}

// The one value path: clamp, store, show, write the live variable, redisplay
// the main window; from the user, the callback when the value changed.
void GLUI_Spinner::apply(int new_val, bool from_user)
{
    int v = clamp(new_val);
    bool changed = v != int_val;
    int_val = v;
    float_val = static_cast<float>(v);
    edittext->int_val = v;
    edittext->float_val = float_val;
    std::string shown = std::to_string(v);
    if (edittext->text != shown) edittext->set_text(shown.c_str());
    if (changed || !from_user)
        output_live(1);
    else
        redraw();
    if (from_user && changed) execute_callback();
}

void GLUI_Spinner::step(int dir, bool from_user)
{
    if ((dir > 0 && int_val == INT_MAX) || (dir < 0 && int_val == INT_MIN)) return;
    apply(int_val + dir, from_user);
}

bool GLUI_Spinner::hit(int x, int y) const
{
    return GLUI_Control::hit(x, y) && x >= edittext->x_abs + edittext->w;
}

int GLUI_Spinner::arrow_at(int x, int y) const
{
    if (!hit(x, y)) return 0;
    return y < y_abs + 11 ? 1 : -1;
}

void GLUI_Spinner::mouse_down(int x, int y)
{
    held_arrow = arrow_at(x, y);
    if (!held_arrow) return;
    arrow_inside = true;
    next_repeat_ms = host().nowMs() + REPEAT_DELAY_MS;
    glui->repeating = this;
    step(held_arrow, true);
    glui_idle::update();
}

void GLUI_Spinner::mouse_held(int x, int y, bool inside)
{
    bool over = inside && held_arrow != 0 && arrow_at(x, y) == held_arrow;
    if (over && !arrow_inside) next_repeat_ms = host().nowMs() + REPEAT_DELAY_MS;
    if (over != arrow_inside) redraw();
    arrow_inside = over;
}

void GLUI_Spinner::mouse_up(int x, int y, bool inside)
{
    (void)x;
    (void)y;
    (void)inside;
    held_arrow = 0;
    arrow_inside = false;
    if (glui->repeating == this) glui->repeating = NULL;
    redraw();
    glui_idle::update();
}

void GLUI_Spinner::idle_repeat(int now_ms)
{
    if (!held_arrow || !arrow_inside || now_ms - next_repeat_ms < 0) return;
    step(held_arrow, true);
    next_repeat_ms += REPEAT_PERIOD_MS;
    if (now_ms - next_repeat_ms >= 0) next_repeat_ms = now_ms + REPEAT_PERIOD_MS;
}

bool GLUI_Spinner::key(int key, bool special)
{
    if (!special || (key != GLUT_KEY_UP && key != GLUT_KEY_DOWN)) return false;
    step(key == GLUT_KEY_UP ? 1 : -1, true);
    return true;
}

void GLUI_Spinner::sync_live(int recurse, int draw)
{
    (void)recurse;
    if (!ptr_val || live_type == GLUI_LIVE_NONE) return;
    int v = read_live_int();
    if (v == int_val) return;
    int_val = v;
    float_val = static_cast<float>(v);
    edittext->int_val = v;
    edittext->set_text(std::to_string(v).c_str());
    if (draw) redraw();
}
