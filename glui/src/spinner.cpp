// Spinners: a label, an edit field and two step arrows that repeat while
// held. An integer spinner holds an int; a decimal one (GLUI_SPINNER_FLOAT)
// a float. Every change of value goes through GLUI_Spinner::apply.
#include <GL/glui.h>

#include <algorithm>
#include <cassert>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <locale>
#include <sstream>
#include <string>

#include "draw.h"
#include "host.h"
#include "numbers.h"

using namespace glui_draw;
using glui_host::host;

namespace {
const unsigned REPEAT_DELAY_MS = 400; // press to first repeat
const unsigned REPEAT_PERIOD_MS = 80; // then one step every 80 ms
const size_t MAX_INT_CHARS = 11;      // "-2147483648"
const size_t MAX_DECIMAL_CHARS = 20;
const double DECIMAL_STEP = 0.1;      // a decimal spinner's step without limits
const int FIELD_TEXT_X = 5;           // text inset in the field
const int ARROWS_W = 15;              // spinner width = field width + 15

// Both arrows, 12 x 8 each, the up arrow on top.
const char* const ARROWS[16] = {
    "WWWWWWWWWWWW", "Wdddddddddd#", "Wdddddddddh#", "Wdddd#hdddh#", "Wddd###hddh#", "Wdd#####hdh#",
    "Wdddddddddh#", "Whhhhhhhhhh#", "WWWWWWWWWWW#", "Wdddddddddh#", "Wdd#####hdh#", "Wddd###hddh#",
    "Wdddd#hdddh#", "Wdddddddddh#", "Whhhhhhhhhh#", "W###########",
};

// Decimal text is written and read by streams in the classic locale, never
// the program's: a program that sets a locale with a decimal comma still
// sees "0.25" in a field, and "0.25" typed there still reads as a quarter.
// (std::to_chars and std::from_chars for floating point would do the same,
// but not every C++17 library has them.)

float readFloat(const std::string& text)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    float v = 0.0f;
    in >> v;
    return v;
}

std::string writeFloat(float v, std::ios_base::fmtflags format, int decimals)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out.setf(format, std::ios_base::floatfield);
    out.precision(decimals);
    out << v;
    return out.str();
}

// The shortest plain decimal that reads back as v: "0.25", "-3.5", "100".
std::string decimalText(float v)
{
    if (!std::isfinite(v)) return writeFloat(v, std::ios_base::fixed, 0);
    // The fewest significant digits that give v back, as d.ddde+XX; nine
    // always do for a float.
    std::string sci;
    for (int decimals = 0; decimals <= 8; ++decimals) {
        sci = writeFloat(v, std::ios_base::scientific, decimals);
        if (readFloat(sci) == v) break;
    }
    bool negative = sci[0] == '-';
    size_t e = sci.find('e');
    std::string digits;
    for (size_t k = negative ? 1 : 0; k < e; ++k)
        if (sci[k] != '.') digits += sci[k];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int point = std::atoi(sci.c_str() + e + 1) + 1; // digits before the point

    // The same digits in plain notation. Nothing after the point means a
    // whole number (no float with a fraction is within half a step of a whole
    // number): then all of its digits, as the float holds it.
    if (point >= static_cast<int>(digits.size())) return writeFloat(v, std::ios_base::fixed, 0);
    std::string sign = negative ? "-" : "";
    size_t whole = static_cast<size_t>(std::max(point, 0)), zeros = static_cast<size_t>(std::max(-point, 0));
    if (whole > 0) return sign + digits.substr(0, whole) + "." + digits.substr(whole);
    return sign + "0." + std::string(zeros, '0') + digits;
}

// What the field holds (digits, a leading '-', for decimals one '.'); no
// digits at all is 0.
double parseField(const std::string& text)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double v = 0.0;
    if (!(in >> v)) return 0.0;
    return v;
}

// One arrow (8 rows of ARROWS from `first`); pressed: edges swapped.
void drawArrow(int x, int y, int first, bool pressed)
{
    char rows[8][13];
    const char* ptrs[8];
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 12; ++c) {
            char ch = ARROWS[first + r][c];
            bool edge = r == 0 || c == 0 || r == 7 || c == 11 || r == 6 || c == 10;
            if (pressed && edge) ch = (ch == 'W') ? '#' : (ch == '#' || ch == 'h') ? 'W' : ch;
            rows[r][c] = ch;
        }
        rows[r][12] = 0;
        ptrs[r] = rows[r];
    }
    image(x, y, ptrs, 12, 8);
}
} // namespace

// ---- creation and values ---------------------------------------------------------

GLUI_Spinner* GLUI::add_spinner(const char* name, int data_type, void* live_var, int id, GLUI_CB cb)
{
    return add_spinner_to_panel(NULL, name, data_type, live_var, id, cb);
}

// The live variable, read once, is the initial value.
GLUI_Spinner* GLUI::add_spinner_to_panel(GLUI_Panel* panel, const char* name, int data_type, void* live_var,
                                         int id, GLUI_CB cb)
{
    GLUI_Spinner* s = new GLUI_Spinner;
    bool decimal = data_type == GLUI_SPINNER_FLOAT;
    s->user_id = id;
    s->callback = cb;
    s->data_type = decimal ? GLUI_SPINNER_FLOAT : GLUI_SPINNER_INT;
    s->edittext->data_type = s->data_type;
    s->edittext->user_id = id;
    s->ptr_val = live_var;
    s->live_type = !live_var ? GLUI_LIVE_NONE : decimal ? GLUI_LIVE_FLOAT : GLUI_LIVE_INT;
    attach(s, panel, name);
    s->sync_live(0, 0);
    return s;
}

GLUI_Spinner::GLUI_Spinner()
    : edittext(new GLUI_EditText), data_type(GLUI_SPINNER_INT), held_arrow(0), arrow_inside(false),
      last_step_ms(0), wait_ms(REPEAT_DELAY_MS)
{
    can_activate = true;
    edittext->spinner = this;
    edittext->parent = this;
    edittext->can_activate = true;
    children.push_back(edittext);
    edittext->set_text("0");
}

void GLUI_Spinner::set_int_val(int new_val) { apply(new_val, false); }

void GLUI_Spinner::set_float_val(float new_val) { apply(new_val, false); }

void GLUI_Spinner::set_int_limits(int low, int high, int limit_type) { set_limits(low, high, limit_type); }

void GLUI_Spinner::set_float_limits(float low, float high, int limit_type) { set_limits(low, high, limit_type); }

// Limits given high first are swapped; NaN limits are ignored. An integer
// spinner keeps to the whole numbers within them. A value outside new
// limits becomes the low one.
void GLUI_Spinner::set_limits(double low, double high, int limit_type)
{
    if (std::isnan(low) || std::isnan(high)) return;
    if (low > high) std::swap(low, high);
    GLUI_EditText* e = edittext;
    e->has_limits = (limit_type == GLUI_LIMIT_CLAMP || limit_type == GLUI_LIMIT_WRAP) ? limit_type : GLUI_LIMIT_NONE;
    e->float_low = static_cast<float>(std::max<double>(low, -FLT_MAX));
    e->float_high = static_cast<float>(std::min<double>(high, FLT_MAX));
    e->int_low = glui_numbers::toInt(std::ceil(low));
    e->int_high = std::max(e->int_low, glui_numbers::toInt(std::floor(high)));
    if (e->has_limits == GLUI_LIMIT_NONE) return;
    bool decimal = data_type == GLUI_SPINNER_FLOAT;
    bool outside = decimal ? float_val < e->float_low || float_val > e->float_high
                           : int_val < e->int_low || int_val > e->int_high;
    if (outside) apply(decimal ? e->float_low : e->int_low, false);
}

// The one value path: to the spinner's type, within its limits; stored,
// shown, written to the live variable, the main window redisplayed; from the
// user, the callback when the value changed. A NaN changes nothing.
void GLUI_Spinner::apply(double v, bool from_user)
{
    if (std::isnan(v)) return;
    const GLUI_EditText* e = edittext;
    bool decimal = data_type == GLUI_SPINNER_FLOAT;
    v = decimal ? std::max<double>(-FLT_MAX, std::min<double>(FLT_MAX, v)) : glui_numbers::toInt(v);
    double low = decimal ? e->float_low : e->int_low, high = decimal ? e->float_high : e->int_high;
    if (e->has_limits == GLUI_LIMIT_CLAMP) v = std::max(low, std::min(high, v));
    if (e->has_limits == GLUI_LIMIT_WRAP) v = v > high ? low : v < low ? high : v;

    float f = decimal ? static_cast<float>(v) : static_cast<float>(static_cast<int>(v));
    int i = decimal ? glui_numbers::toInt(f) : static_cast<int>(v);
    bool changed = decimal ? f != float_val : i != int_val;
    hold(i, f);
    if (changed || !from_user)
        output_live(1);
    else
        redraw();
    if (from_user && changed) execute_callback();
}

// One arrow click. A decimal spinner moves to the next point of a grid: a
// hundredth of the limits' range from the low limit, or DECIMAL_STEP from 0.
void GLUI_Spinner::step(int dir)
{
    assert((dir == 1 || dir == -1) && "one step up or down");
    if (data_type != GLUI_SPINNER_FLOAT) {
        apply(static_cast<double>(int_val) + dir, true);
        return;
    }
    const GLUI_EditText* e = edittext;
    bool ranged = e->has_limits != GLUI_LIMIT_NONE && e->float_high > e->float_low;
    double origin = ranged ? e->float_low : 0.0;
    double size = ranged ? (static_cast<double>(e->float_high) - e->float_low) / 100.0 : DECIMAL_STEP;
    double q = (float_val - origin) / size;
    if (std::fabs(q - std::round(q)) < 1e-4) q = std::round(q);
    double n = dir > 0 ? std::floor(q) + 1 : std::ceil(q) - 1;
    apply(origin + n * size, true);
}

// Copies the live variable in when it differs (no limits, no write back).
void GLUI_Spinner::sync_live(int, int draw)
{
    if (!ptr_val || live_type == GLUI_LIVE_NONE) return;
    bool decimal = data_type == GLUI_SPINNER_FLOAT;
    float f = decimal ? read_live_float() : static_cast<float>(read_live_int());
    int i = decimal ? glui_numbers::toInt(f) : read_live_int();
    if (decimal ? f == float_val : i == int_val) return;
    hold(i, f);
    if (draw) redraw();
}

// Stores the value in the spinner and its field, and shows it there.
void GLUI_Spinner::hold(int i, float f)
{
    int_val = edittext->int_val = i;
    float_val = edittext->float_val = f;
    std::string shown = data_type == GLUI_SPINNER_FLOAT ? decimalText(f) : std::to_string(i);
    if (edittext->text != shown) edittext->set_text(shown.c_str());
}

// ---- layout and drawing ----------------------------------------------------------

void GLUI_Spinner::measure()
{
    edittext->name = name;
    edittext->measure();
    w = edittext->w + ARROWS_W;
    h = 20;
}

// The field lies over the spinner's left part.
void GLUI_Spinner::place(int x, int y)
{
    GLUI_Control::place(x, y);
    edittext->place(x, y);
}

// The arrows; focused, the focus box around them.
void GLUI_Spinner::draw()
{
    int ax = x_abs + w - 12;
    drawArrow(ax, y_abs + 3, 0, held_arrow > 0 && arrow_inside);
    drawArrow(ax, y_abs + 11, 8, held_arrow < 0 && arrow_inside);
    if (is_focused()) dottedBox(x_abs + w - 14, y_abs, x_abs + w, y_abs + h);
}

// ---- the arrows ------------------------------------------------------------------

// The label and the arrows; the field takes the rest. A press on the label
// only gives the spinner the focus.
bool GLUI_Spinner::hit(int x, int y) const { return GLUI_Control::hit(x, y) && !edittext->hit(x, y); }

int GLUI_Spinner::arrow_at(int x, int y) const
{
    if (!hit(x, y) || x < edittext->x_abs + edittext->w) return 0;
    return y < y_abs + 11 ? 1 : -1;
}

// A press steps at once; holding the arrow repeats after REPEAT_DELAY_MS,
// then every REPEAT_PERIOD_MS, while the pointer stays on it. The clock is
// unsigned, so differences stay right when the millisecond counter wraps.
void GLUI_Spinner::mouse_down(int x, int y)
{
    held_arrow = arrow_at(x, y);
    if (!held_arrow) return;
    arrow_inside = true;
    last_step_ms = host().nowMs();
    wait_ms = REPEAT_DELAY_MS;
    step(held_arrow);
}

void GLUI_Spinner::mouse_held(int x, int y, bool inside)
{
    bool over = inside && held_arrow != 0 && arrow_at(x, y) == held_arrow;
    if (over && !arrow_inside) {
        last_step_ms = host().nowMs();
        wait_ms = REPEAT_DELAY_MS;
    }
    if (over != arrow_inside) redraw();
    arrow_inside = over;
}

void GLUI_Spinner::mouse_up(int, int, bool)
{
    held_arrow = 0;
    arrow_inside = false;
    redraw();
}

void GLUI_Spinner::idle(unsigned now_ms)
{
    if (!held_arrow || !arrow_inside || now_ms - last_step_ms < wait_ms) return;
    step(held_arrow);
    last_step_ms += wait_ms;
    wait_ms = REPEAT_PERIOD_MS;
    if (now_ms - last_step_ms >= REPEAT_PERIOD_MS) last_step_ms = now_ms; // fell behind: no burst
}

bool GLUI_Spinner::key(int key, bool special)
{
    if (!special || (key != GLUT_KEY_UP && key != GLUT_KEY_DOWN)) return false;
    step(key == GLUT_KEY_UP ? 1 : -1);
    return true;
}

// ---- the edit field ----------------------------------------------------------------

GLUI_EditText::GLUI_EditText()
    : data_type(GLUI_EDITTEXT_INT), has_limits(GLUI_LIMIT_NONE), int_low(0), int_high(0), float_low(0.0f),
      float_high(0.0f), text_x_offset(55), insertion_pt(0), sel_start(0), sel_end(0), spinner(NULL)
{
}

void GLUI_EditText::set_text(const char* new_text)
{
    text = new_text ? new_text : "";
    insertion_pt = static_cast<int>(text.size());
    sel_start = sel_end = insertion_pt;
    redraw();
}

void GLUI_EditText::set_int_val(int new_int) { spinner->set_int_val(new_int); }
void GLUI_EditText::set_float_val(float new_float) { spinner->set_float_val(new_float); }
void GLUI_EditText::set_int_limits(int low, int high, int limit_type) { spinner->set_int_limits(low, high, limit_type); }
void GLUI_EditText::set_float_limits(float low, float high, int limit_type)
{
    spinner->set_float_limits(low, high, limit_type);
}

// The label at the left, the field from text_x_offset.
void GLUI_EditText::measure()
{
    text_x_offset = std::max(55, text_width(name.c_str()) + 2);
    w = std::max(130, text_x_offset + 35);
    h = 20;
}

// The field itself, right of the label.
bool GLUI_EditText::hit(int x, int y) const { return GLUI_Control::hit(x, y) && x >= x_abs + text_x_offset; }

// The caret position nearest to window x.
int GLUI_EditText::char_at(int x) const
{
    int px = x_abs + text_x_offset + FIELD_TEXT_X;
    for (size_t i = 0; i < text.size(); ++i) {
        int cw = text_width(text.substr(i, 1).c_str());
        if (x < px + cw / 2) return static_cast<int>(i);
        px += cw;
    }
    return static_cast<int>(text.size());
}

// The selected characters, lo up to hi, within the text.
void GLUI_EditText::selection(int& lo, int& hi) const
{
    int n = static_cast<int>(text.size());
    lo = std::max(0, std::min(std::min(sel_start, sel_end), n));
    hi = std::max(0, std::min(std::max(sel_start, sel_end), n));
}

void GLUI_EditText::delete_selection()
{
    int lo = 0, hi = 0;
    selection(lo, hi);
    text.erase(lo, hi - lo);
    insertion_pt = lo;
    sel_start = sel_end = lo;
}

// Digits; '-' only first; in a decimal field one '.'; nothing before a '-'.
bool GLUI_EditText::type_char(int c)
{
    bool decimal = data_type == GLUI_EDITTEXT_FLOAT;
    bool digit = c >= '0' && c <= '9', point = decimal && c == '.';
    if (!digit && !point && c != '-') return false;
    std::string before = text;
    int before_pt = insertion_pt;
    if (sel_start != sel_end) delete_selection();
    bool minus_first = !text.empty() && text[0] == '-';
    bool has_point = text.find('.') != std::string::npos;
    bool fits = text.size() < (decimal ? MAX_DECIMAL_CHARS : MAX_INT_CHARS);
    bool ok = fits && (c == '-' ? insertion_pt == 0 && !minus_first
                                : !(minus_first && insertion_pt == 0) && !(point && has_point));
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

void GLUI_EditText::commit() { spinner->apply(parseField(text), true); }

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
            spinner->step(key == GLUT_KEY_UP ? 1 : -1);
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

void GLUI_EditText::mouse_down(int x, int)
{
    insertion_pt = char_at(x);
    sel_start = sel_end = insertion_pt;
}

void GLUI_EditText::mouse_held(int x, int, bool)
{
    sel_end = insertion_pt = char_at(x);
    redraw();
}

void GLUI_EditText::focus_gained()
{
    sel_start = 0;
    sel_end = insertion_pt = static_cast<int>(text.size());
}

// Losing the focus commits what was typed.
void GLUI_EditText::focus_lost()
{
    commit();
    sel_start = sel_end = insertion_pt;
}

// The label, then a sunken white field with the text, the selection (white
// on dark blue) and the caret.
void GLUI_EditText::draw()
{
    int x0 = x_abs + text_x_offset, x1 = x_abs + w, y0 = y_abs, y1 = y_abs + h;
    grey(TEXT);
    drawText(x_abs, y_abs + 13, name.c_str());
    grey(255);
    fill(x0 + 2, y0 + 3, x1 - 3, y1 - 2);
    grey(128);
    hline(x0, x1 - 1, y0);
    vline(x0, y0, y1 - 1);
    grey(255);
    vline(x1, y0 + 1, y1);
    hline(x0, x1, y1);
    grey(0);
    hline(x0 + 1, x1 - 2, y0 + 1);
    vline(x0 + 1, y0 + 1, y1 - 2);
    grey(191);
    vline(x1 - 1, y0 + 2, y1 - 1);
    hline(x0 + 1, x1 - 1, y1 - 1);

    int tx = x0 + FIELD_TEXT_X;
    bool focus = is_focused();
    int lo = 0, hi = 0;
    selection(lo, hi);
    int selX0 = tx + textWidth(text.substr(0, lo).c_str()), selX1 = tx + textWidth(text.substr(0, hi).c_str());
    if (focus && lo < hi) {
        colour(0, 0, 153);
        fill(selX0, y0 + 3, selX1 - 1, y1 - 2);
    }
    clip(x0 + 2, y0 + 2, x1 - 3, y1 - 3);
    grey(TEXT);
    drawText(tx, y_abs + 13, text.substr(0, lo).c_str());
    if (focus) grey(255);
    drawText(selX0, y_abs + 13, text.substr(lo, hi - lo).c_str());
    grey(TEXT);
    drawText(selX1, y_abs + 13, text.substr(hi).c_str());
    unclip();
    if (focus && lo == hi) {
        grey(0);
        vline(tx + textWidth(text.substr(0, insertion_pt).c_str()), y0 + 5, y1 - 3);
    }
}
