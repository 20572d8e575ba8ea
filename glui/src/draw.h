// Drawing primitives for the controls, in window pixels (x right, y down,
// inclusive pixel ranges). The only GL calls of the library are here; text
// goes through the host. Only OpenGL 1.1 is used (all that Windows'
// opengl32.dll exports).
#ifndef GLUI_SRC_DRAW_H
#define GLUI_SRC_DRAW_H

namespace glui_draw {

const int BACKGROUND = 200;  // the panel's grey
const int TEXT = 1;          // captions: the near-black real GLUI's come out in

// A frame of a w x h window: saves the GL state, sets up pixel coordinates
// and clears to the background. endFrame() restores the state and swaps.
void beginFrame(int w, int h);
void endFrame();

void grey(int v);
void colour(int r, int g, int b);

void fill(int x0, int y0, int x1, int y1);
void hline(int x0, int x1, int y);
void vline(int x, int y0, int y1);
void outline(int x0, int y0, int x1, int y1);
// Raised 3-D box over x..x+w, y..y+h: white top and left, grey 128 and
// black bottom and right.
void raisedBox(int x, int y, int w, int h);
// A focus box: the outline of x0..x1, y0..y1 dotted in black, as GL's
// stipple draws it (see draw.cpp).
void dottedBox(int x0, int y0, int x1, int y1);

// Text with its baseline on pixel row `baseline`.
void drawText(int x, int baseline, const char* s);
int textWidth(const char* s);

// A small grey image, one character per pixel, top row first:
// 'W' white, '#' black, 'g' 128, 'h' 127, 'c' 192, 'd' 191, else background.
void image(int x, int y, const char* const* rows, int w, int h);

// A checkbox's or radio button's look: its size x size mark at (x + 1, y + 1)
// and the caption at x + CAPTION_X; when focused, the focus box around the
// caption, under it. The control is MARK_CAPTION_H high and
// markCaptionWidth(caption) wide.
const int CAPTION_X = 18;
const int MARK_CAPTION_H = 13;
int markCaptionWidth(int captionWidth);
void markAndCaption(int x, int y, const char* caption, const char* const* mark, int size, bool focused);

// Drawing outside x0..x1, y0..y1 is cut off until unclip().
void clip(int x0, int y0, int x1, int y1);
void unclip();

} // namespace glui_draw

#endif
