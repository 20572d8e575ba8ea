#include "fake_host.h"

namespace {
// Measured once with glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, c) under
// freeglut 3.4: data of a font that is not ours, as the reference pictures
// are pictures of a program that is not ours. No library gives them without
// a display (glutBitmapWidth needs glutInit, and so an X server; freeglut's
// font tables are private to it), and these tests run without one. The
// end-to-end tests measure with GLUT itself.
const int WIDTHS[95] = {
    4, 3, 5, 7, 7, 11, 9, 3, 4, 4, 5, 7, 4, 8, 3, 4,  // ' ' .. '/'
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 3, 3, 7, 7, 7, 7,   // '0' .. '?'
    12, 9, 8, 9, 9, 8, 8, 9, 9, 3, 7, 8, 7, 11, 9, 10, // '@' .. 'O'
    8, 10, 8, 8, 7, 8, 9, 11, 9, 9, 9, 3, 4, 3, 6, 7, // 'P' .. '_'
    3, 7, 7, 7, 7, 7, 3, 7, 7, 3, 3, 6, 3, 9, 7, 7,   // '`' .. 'o'
    7, 7, 4, 6, 3, 7, 7, 9, 6, 7, 6, 4, 3, 4, 7,      // 'p' .. '~'
};
} // namespace

int helvetica12Width(const char* text)
{
    int w = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if (*p >= 32 && *p <= 126) w += WIDTHS[*p - 32];
    return w;
}
