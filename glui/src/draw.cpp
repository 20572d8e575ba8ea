// Filled one-pixel rows and columns, small grey images and GLUT's
// HELVETICA_12 bitmap font: exact on any GL.
#include "draw.h"

#include <GL/glui.h> // OpenGL, as glui.h finds it on this platform

#include <cassert>

#include "host.h"

namespace glui_draw {
namespace {

int windowH = 0;      // height of the window being drawn
bool inFrame = false;

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
    glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(x), static_cast<GLfloat>(y), nullptr);
}

int shade(char c)
{
    switch (c) {
    case 'W': return 255;
    case '#': return 0;
    case 'g': return 128;
    case 'h': return 127;
    case 'c': return 192;
    case 'd': return 191;
    default: return BACKGROUND;
    }
}

} // namespace

void beginFrame(int w, int h)
{
    assert(!inFrame && "frames do not nest");
    inFrame = true;
    windowH = h;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, w, h);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DITHER);
    glPointSize(1.0f);
    glClearColor(BACKGROUND / 255.0f, BACKGROUND / 255.0f, BACKGROUND / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void endFrame()
{
    assert(inFrame && "endFrame() after beginFrame()");
    inFrame = false;
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
    glui_host::host().swapBuffers();
}

void grey(int v) { glColor3ub(static_cast<GLubyte>(v), static_cast<GLubyte>(v), static_cast<GLubyte>(v)); }

void colour(int r, int g, int b)
{
    glColor3ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b));
}

void fill(int x0, int y0, int x1, int y1)
{
    if (x1 < x0 || y1 < y0) return;
    glRecti(x0, y0, x1 + 1, y1 + 1);
}

void hline(int x0, int x1, int y) { fill(x0, y, x1, y); }
void vline(int x, int y0, int y1) { fill(x, y0, x, y1); }

void outline(int x0, int y0, int x1, int y1)
{
    hline(x0, x1, y0);
    hline(x0, x1, y1);
    vline(x0, y0, y1);
    vline(x1, y0, y1);
}

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

// A line loop through the centres of the corner pixels, clockwise from the
// top-left, stippled every other pixel, as real GLUI draws it. The dots are
// where GL puts them: its stipple counter runs on round the loop, each side
// counting the pixels of its length as the transformed corners give it, so
// the phase of a side depends on the rounding of the sides before it, and a
// side split into stipple dashes can show two dots together or none.
void dottedBox(int x0, int y0, int x1, int y1)
{
    grey(0);
    glPushMatrix();
    glTranslatef(0.5f, 0.5f, 0.0f);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0x5555);
    glBegin(GL_LINE_LOOP);
    glVertex2i(x0, y0);
    glVertex2i(x1, y0);
    glVertex2i(x1, y1);
    glVertex2i(x0, y1);
    glEnd();
    glDisable(GL_LINE_STIPPLE);
    glPopMatrix();
}

void drawText(int x, int baseline, const char* s)
{
    windowRaster(x, windowH - 1 - baseline);
    glui_host::host().drawText(s);
}

int textWidth(const char* s) { return glui_host::host().textWidth(s); }

void image(int x, int y, const char* const* rows, int w, int h)
{
    unsigned char buf[32 * 32];
    assert(w > 0 && h > 0 && w * h <= 32 * 32 && "images are small");
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) buf[(h - 1 - r) * w + c] = static_cast<unsigned char>(shade(rows[r][c]));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    windowRaster(x, windowH - y - h);
    glDrawPixels(w, h, GL_LUMINANCE, GL_UNSIGNED_BYTE, buf);
}

int markCaptionWidth(int captionWidth) { return CAPTION_X + captionWidth + 6; }

// The caption goes over a copy of itself in the background colour, one pixel
// right and down, as real GLUI draws it: the copy shows only where it
// crosses the focus box's bottom side, as gaps in its dots.
void markAndCaption(int x, int y, const char* caption, const char* const* mark, int size, bool focused)
{
    image(x + 1, y + 1, mark, size, size);
    int tx = x + CAPTION_X;
    if (focused) dottedBox(tx - 3, y, tx + textWidth(caption) + 4, y + MARK_CAPTION_H + 1);
    grey(BACKGROUND);
    drawText(tx + 1, y + 11, caption);
    grey(TEXT);
    drawText(tx, y + 10, caption);
}

void clip(int x0, int y0, int x1, int y1)
{
    glEnable(GL_SCISSOR_TEST);
    glScissor(x0, windowH - 1 - y1, x1 < x0 ? 0 : x1 - x0 + 1, y1 < y0 ? 0 : y1 - y0 + 1);
}

void unclip() { glDisable(GL_SCISSOR_TEST); }

} // namespace glui_draw
