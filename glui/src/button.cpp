// Buttons: no value; the callback runs on a release over the button, or on
// Space while it has the focus.
#include <GL/glui.h>

#include <algorithm>

#include "draw.h"

using namespace glui_draw;

GLUI_Button* GLUI::add_button(const char* name, int id, GLUI_CB cb) { return add_button_to_panel(NULL, name, id, cb); }

GLUI_Button* GLUI::add_button_to_panel(GLUI_Panel* panel, const char* name, int id, GLUI_CB cb)
{
    GLUI_Button* b = new GLUI_Button;
    b->user_id = id;
    b->callback = cb;
    b->can_activate = true;
    attach(b, panel, name);
    return b;
}

void GLUI_Button::measure()
{
    w = std::max(100, text_width(name.c_str()) + 16);
    h = 20;
}

void GLUI_Button::mouse_up(int, int, bool inside)
{
    if (inside) execute_callback();
}

bool GLUI_Button::key(int key, bool special)
{
    if (special || key != ' ') return false;
    execute_callback();
    return true;
}

// Raised; pressed: a double black outline and the caption one pixel down
// and right. The focus box lies under the caption.
void GLUI_Button::draw()
{
    bool down = pressed_look();
    if (down) {
        grey(0);
        outline(x_abs, y_abs, x_abs + w, y_abs + h);
        outline(x_abs + 1, y_abs + 1, x_abs + w - 1, y_abs + h - 1);
    } else {
        raisedBox(x_abs, y_abs, w, h);
    }
    if (is_focused()) dottedBox(x_abs + 3, y_abs + 3, x_abs + w - 3, y_abs + h - 3);
    int shift = down ? 1 : 0;
    grey(TEXT);
    drawText(x_abs + (w - textWidth(name.c_str())) / 2 + shift, y_abs + 13 + shift, name.c_str());
}
