// The GL, GLU and GLUT headers for the whole editor: the one place that
// names them. Apple's GLUT framework keeps them as <GLUT/glut.h> and
// <OpenGL/gl.h>; freeglut, everywhere else (and on macOS when the build
// takes one, which defines FREEGLUT), as <GL/glut.h>, which brings GL and GLU
// with it. Include it before <GL/glui.h>: an installed GLUI's header makes
// the same choice.
#pragma once

#if defined(__APPLE__) && !defined(FREEGLUT)
#include <OpenGL/gl.h>
#include <OpenGL/glu.h>
#include <GLUT/glut.h>
#else
#include <GL/glut.h>
#endif
