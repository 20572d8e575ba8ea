// Drawing the panel. Everything is drawn from the controls' stored
// rectangles in window pixels (y downwards), with filled one-pixel rows and
// columns, small grey images and GLUT's HELVETICA_12 bitmap font, so the
// result is exact on any GL. Only OpenGL 1.1 is used (all that Windows'
// opengl32.dll exports). The GL state is saved and restored around it.
#include <GL/glui.h>

#include <algorithm>
#include <string>

namespace {

const int BG = 200;     // the panel's grey
const int TEXT = 1;     // captions: the near-black real GLUI's come out in
int windowH = 0;        // height of the window being drawn

void grey(int v) { glColor3ub(static_cast<GLubyte>(v), static_cast<GLubyte>(v), static_cast<GLubyte>(v)); }

// Pixels x0..x1, y0..y1 inclusive.
void fill(int x0, int y0, int x1, int y1)
{
    if (x1 < x0 || y1 < y0) return;
    glRecti(x0, y0, x1 + 1, y1 + 1);
}
void hline(int x0, int x1, int y) { fill(x0, y, x1, y); }
void vline(int x, int y0, int y1) { fill(x, y0, x, y1); }

// Puts the raster position at window pixel (x, y), GL's window coordinates
// (y up), as glWindowPos2i does in OpenGL 1.4: a valid position at the
// window's corner, moved by an empty bitmap. Unlike glRasterPos this stays
// valid outside the window, so text cut by a narrow window keeps its visible
// part.
void windowRaster(int x, int y)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2f(-1.0f, -1.0f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(x), static_cast<GLfloat>(y), NULL);
}

// Text with its baseline on pixel row `baseline`.
void drawText(int x, int baseline, const char* s)
{
    windowRaster(x, windowH - 1 - baseline);
    for (const char* p = s; *p; ++p) glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, static_cast<unsigned char>(*p));
}

int textWidth(const char* s)
{
    int w = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p)
        w += glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, *p);
    return w;
}

// Small grey images, one character per pixel.
int shade(char c)
{
    switch (c) {
    case 'W': return 255;
    case '#': return 0;
    case 'g': return 128;
    case 'h': return 127;
    case 'c': return 192;
    case 'd': return 191;
    default: return BG;
    }
}

void image(int x, int y, const char* const* rows, int w, int h)
{
    unsigned char buf[32 * 32];
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) buf[(h - 1 - r) * w + c] = static_cast<unsigned char>(shade(rows[r][c]));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    windowRaster(x, windowH - y - h);
    glDrawPixels(w, h, GL_LUMINANCE, GL_UNSIGNED_BYTE, buf);
}

const char* const ARROWS[16] = {
    "WWWWWWWWWWWW", "Wdddddddddd#", "Wdddddddddh#", "Wdddd#hdddh#", "Wddd###hddh#", "Wdd#####hdh#",
    "Wdddddddddh#", "Whhhhhhhhhh#", "WWWWWWWWWWW#", "Wdddddddddh#", "Wdd#####hdh#", "Wddd###hddh#",
    "Wdddd#hdddh#", "Wdddddddddh#", "Whhhhhhhhhh#", "W###########",
};
const char* const RADIO_ON[14] = {
    "cccccccccccccc", "cccccggggccccc", "cccgg####ggccc", "ccg##WWWW##Wcc", "ccg#WWWWWWcWcc",
    "cg#WWW##WWWcWc", "cg#WW####WWcWc", "cg#WW####WWcWc", "cg#WWW##WWWcWc", "ccg#WWWWWWcWcc",
    "ccgccWWWWccWcc", "cccWWccccWWccc", "cccccWWWWccccc", "cccccccccccccc",
};
const char* const RADIO_OFF[14] = {
    "cccccccccccccc", "cccccggggccccc", "cccgg####ggccc", "ccg##WWWW##Wcc", "ccg#WWWWWWcWcc",
    "cg#WWWWWWWWcWc", "cg#WWWWWWWWcWc", "cg#WWWWWWWWcWc", "cg#WWWWWWWWcWc", "ccg#WWWWWWcWcc",
    "ccgccWWWWccWcc", "cccWWccccWWccc", "cccccWWWWccccc", "cccccccccccccc",
};
const char* const CHECK_ON[13] = {
    "ggggggggggggW", "g##########cW", "g#WWWWWWWWWcW", "g#WWWWWWW#WcW", "g#WWWWWW##WcW",
    "g#W#WWW###WcW", "g#W##W###WWcW", "g#W#####WWWcW", "g#WW###WWWWcW", "g#WWW#WWWWWcW",
    "g#WWWWWWWWWcW", "gcccccccccccW", "WWWWWWWWWWWWW",
};
const char* const CHECK_OFF[13] = {
    "ggggggggggggW", "g##########cW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW",
    "g#WWWWWWWWWcW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW", "g#WWWWWWWWWcW",
    "g#WWWWWWWWWcW", "gcccccccccccW", "WWWWWWWWWWWWW",
};

// One arrow (8 rows of ARROWS from `first`), pressed: edges swapped.
void arrow(int x, int y, int first, bool pressed)
{
    char rows[8][13];
    const char* ptrs[8];
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 12; ++c) {
            char ch = ARROWS[first + r][c];
            if (pressed) {
                bool edge = r == 0 || c == 0 || r == 7 || c == 11 || r == 6 || c == 10;
                if (edge) ch = (ch == 'W') ? '#' : (ch == '#' || ch == 'h') ? 'W' : ch;
            }
            rows[r][c] = ch;
        }
        rows[r][12] = 0;
        ptrs[r] = rows[r];
    }
    image(x, y, ptrs, 12, 8);
}

// Every other pixel of a rectangle's outline.
void dottedBox(int x0, int y0, int x1, int y1)
{
    grey(0);
    glBegin(GL_POINTS);
    for (int x = x0; x <= x1; ++x)
        if (((x + y0) & 1) == 0) {
            glVertex2f(x + 0.5f, y0 + 0.5f);
            glVertex2f(x + 0.5f, y1 + 0.5f);
        }
    for (int y = y0; y <= y1; ++y)
        if (((x0 + y) & 1) == 0) {
            glVertex2f(x0 + 0.5f, y + 0.5f);
            glVertex2f(x1 + 0.5f, y + 0.5f);
        }
    glEnd();
}

// Raised 3-D box over x..x+w, y..y+h.
void raisedBox(int x, int y, int w, int h)
{
    grey(255);
    hline(x, x + w - 1, y);
    vline(x, y, y + h - 1);
    grey(0);
    vline(x + w, y, y + h);
    hline(x, x + w, y + h);
    grey(128);
    vline(x + w - 1, y + 1, y + h - 1);
    hline(x + 1, x + w - 1, y + h - 1);
}

void outline(int x0, int y0, int x1, int y1)
{
    hline(x0, x1, y0);
    hline(x0, x1, y1);
    vline(x0, y0, y1);
    vline(x1, y0, y1);
}

} // namespace

// ---- the window ------------------------------------------------------------

namespace {
void drawTree(GLUI_Control* c, void (*each)(GLUI_Control*))
{
    for (GLUI_Control* child : c->children) {
        each(child);
        drawTree(child, each);
    }
}
} // namespace

void GLUI::draw_all()
{
    if (glut_window_id <= 0) return;
    // The window may have another size than the controls need (a window
    // manager maximised or tiled it): the controls stay at the top-left,
    // where they respond to the mouse, and the rest is background.
    int winW = window_w > 0 ? window_w : width;
    int winH = window_h > 0 ? window_h : height;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, winW, winH, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, winW, winH);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DITHER);
    glPointSize(1.0f);
    windowH = winH;

    glClearColor(BG / 255.0f, BG / 255.0f, BG / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    drawTree(&root, [](GLUI_Control* c) { c->draw(); });
    if (focused) focused->draw_focus();

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
    glutSwapBuffers();
}

// ---- the controls ------------------------------------------------------------

void GLUI_StaticText::draw()
{
    grey(TEXT);
    drawText(x_abs, y_abs + 9, name.c_str());
}

// Across the parent's column less 5% at each end.
void GLUI_Separator::draw()
{
    int column = (parent ? parent->w : w + 12) - 12;
    int indent = static_cast<int>(column * 0.05);
    grey(128);
    hline(x_abs + indent, x_abs + column - indent - 1, y_abs + 3);
    grey(255);
    hline(x_abs + indent, x_abs + column - indent - 1, y_abs + 4);
}

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
    int shift = down ? 1 : 0;
    grey(TEXT);
    drawText(x_abs + (w - textWidth(name.c_str())) / 2 + shift, y_abs + 13 + shift, name.c_str());
}

void GLUI_Button::draw_focus()
{
    dottedBox(x_abs + 3, y_abs + 3, x_abs + w - 3, y_abs + h - 3);
}

namespace {

// A checkbox or radio button: its square image at the left, the caption
// after it; the focus box surrounds the caption.
void markAndCaption(const GLUI_Control& c, const char* const* mark, int size)
{
    image(c.x_abs + 1, c.y_abs + 1, mark, size, size);
    grey(TEXT);
    drawText(c.x_abs + 18, c.y_abs + 10, c.name.c_str());
}

void captionFocus(const GLUI_Control& c)
{
    dottedBox(c.x_abs + 16, c.y_abs - 1, c.x_abs + 18 + textWidth(c.name.c_str()) + 1, c.y_abs + c.h + 1);
}

}  // namespace

void GLUI_Checkbox::draw()
{
    bool ticked = int_val != 0;
    if (pressed_look()) ticked = !ticked;
    markAndCaption(*this, ticked ? CHECK_ON : CHECK_OFF, 13);
}

void GLUI_Checkbox::draw_focus() { captionFocus(*this); }

void GLUI_RadioButton::draw()
{
    bool on = group && (group->int_val == int_val || pressed_look());
    markAndCaption(*this, on ? RADIO_ON : RADIO_OFF, 14);
}

void GLUI_RadioButton::draw_focus() { captionFocus(*this); }

// An etched groove with the caption on a strip of background.
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
    grey(BG);
    fill(x + 4, y, x + 7 + tw + 2, y + 13);
    grey(TEXT);
    drawText(x + 7, y + 8, name.c_str());
}

// A sunken white field: label, text, selection and caret.
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

    int tx = x0 + 5;
    bool focus = is_focused();
    int lo = std::min(sel_start, sel_end), hi = std::max(sel_start, sel_end);
    lo = std::max(0, std::min(lo, static_cast<int>(text.size())));
    hi = std::max(0, std::min(hi, static_cast<int>(text.size())));
    if (focus && lo < hi) {
        int sx0 = tx + textWidth(text.substr(0, lo).c_str());
        int sx1 = tx + textWidth(text.substr(0, hi).c_str()) - 1;
        glColor3ub(0, 0, 153);
        fill(sx0, y0 + 4, sx1, y1 - 4);
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0 + 2, windowH - (y1 - 2), std::max(0, x1 - 3 - (x0 + 2) + 1), h - 4);
    grey(TEXT);
    drawText(tx, y_abs + 13, text.substr(0, lo).c_str());
    if (focus) glColor3ub(255, 255, 255);
    drawText(tx + textWidth(text.substr(0, lo).c_str()), y_abs + 13, text.substr(lo, hi - lo).c_str());
    grey(TEXT);
    drawText(tx + textWidth(text.substr(0, hi).c_str()), y_abs + 13, text.substr(hi).c_str());
    glDisable(GL_SCISSOR_TEST);
    if (focus && lo == hi) {
        int cx = tx + textWidth(text.substr(0, insertion_pt).c_str());
        grey(0);
        vline(cx, y0 + 4, y1 - 5);
    }
}

void GLUI_EditText::draw_focus() {}

void GLUI_Spinner::draw()
{
    int ax = x_abs + w - 12;
    arrow(ax, y_abs + 3, 0, held_arrow > 0 && arrow_inside);
    arrow(ax, y_abs + 11, 8, held_arrow < 0 && arrow_inside);
}

void GLUI_Spinner::draw_focus()
{
    dottedBox(x_abs + w - 14, y_abs + 1, x_abs + w + 1, y_abs + h);
}
