// Static text and separators: drawn, never active.
#include <GL/glui.h>

#include <algorithm>

#include "draw.h"

using namespace glui_draw;

// ---- static text -----------------------------------------------------------------

GLUI_StaticText* GLUI::add_statictext(const char* name) { return add_statictext_to_panel(NULL, name); }

GLUI_StaticText* GLUI::add_statictext_to_panel(GLUI_Panel* panel, const char* name)
{
    GLUI_StaticText* t = new GLUI_StaticText;
    attach(t, panel, name);
    return t;
}

void GLUI_StaticText::set_text(const char* text) { set_name(text); }

void GLUI_StaticText::measure()
{
    w = std::max(100, text_width(name.c_str()));
    h = 13;
}

void GLUI_StaticText::draw()
{
    grey(TEXT);
    drawText(x_abs, y_abs + 9, name.c_str());
}

// ---- separator -----------------------------------------------------------------

void GLUI::add_separator() { add_separator_to_panel(NULL); }

void GLUI::add_separator_to_panel(GLUI_Panel* panel) { attach(new GLUI_Separator, panel, ""); }

void GLUI_Separator::measure()
{
    w = 100;
    h = 8;
}

// A grey-128 line over a white one, across the parent's column less 5% at
// each end.
void GLUI_Separator::draw()
{
    int column = (parent ? parent->w : w + 12) - 12;
    int indent = static_cast<int>(column * 0.05);
    grey(128);
    hline(x_abs + indent, x_abs + column - indent - 1, y_abs + 3);
    grey(255);
    hline(x_abs + indent, x_abs + column - indent - 1, y_abs + 4);
}
