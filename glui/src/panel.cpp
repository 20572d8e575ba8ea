// Panels: a column of controls inside an etched groove with a caption.
#include <GL/glui.h>

#include <algorithm>

#include "draw.h"

using namespace glui_draw;

namespace {
// The inner margin above the column: 14 under a caption, else 6 as at the
// sides and below.
int topMargin(const GLUI_Panel& p) { return p.name.empty() ? 6 : 14; }
} // namespace

GLUI_Panel* GLUI::add_panel(const char* name, int type) { return add_panel_to_panel(NULL, name, type); }

GLUI_Panel* GLUI::add_panel_to_panel(GLUI_Panel* panel, const char* name, int type)
{
    GLUI_Panel* p = new GLUI_Panel;
    p->int_val = (type == GLUI_PANEL_NONE || type == GLUI_PANEL_RAISED) ? type : GLUI_PANEL_EMBOSSED;
    attach(p, panel, name);
    return p;
}

// The column's size, and at least wide enough for the caption.
void GLUI_Panel::measure()
{
    measure_column(topMargin(*this));
    if (!name.empty()) w = std::max(w, text_width(name.c_str()) + 16);
}

void GLUI_Panel::place(int x, int y)
{
    GLUI_Control::place(x, y);
    place_column(topMargin(*this));
}

// An etched groove (a grey-128 rectangle, a white one offset by 1, 1) whose
// top is 4 pixels down, or raised edges; the caption on a strip of
// background.
void GLUI_Panel::draw()
{
    if (int_val == GLUI_PANEL_NONE) return;
    int x = x_abs, y = y_abs;
    if (int_val == GLUI_PANEL_RAISED) {
        raisedBox(x, y + 4, w, h - 4);
    } else {
        grey(255);
        hline(x + 1, x + w, y + 5);
        vline(x + 1, y + 5, y + h);
        vline(x + w, y + 4, y + h);
        hline(x, x + w, y + h);
        grey(128);
        hline(x, x + w - 1, y + 4);
        vline(x, y + 4, y + h - 1);
        vline(x + w - 1, y + 4, y + h - 1);
        hline(x, x + w - 1, y + h - 1);
    }
    if (name.empty()) return;
    int tw = textWidth(name.c_str());
    grey(BACKGROUND);
    fill(x + 4, y, x + 7 + tw + 2, y + 13);
    grey(TEXT);
    drawText(x + 7, y + 8, name.c_str());
}
