/* Stands in for Apple's <GLUT/glut.h> in the macOS-shaped compile check
   (check_macos_compile.sh): the classic GLUT API, from freeglut's header of
   this machine, which takes the GL headers from <OpenGL/...> on __APPLE__.
   Apple's header does not define FREEGLUT, so neither does this one. */
#ifndef MACOS_STANDIN_GLUT_H
#define MACOS_STANDIN_GLUT_H
#define MACOS_STANDIN_GLUT
#include <GL/freeglut_std.h>
#undef MACOS_STANDIN_GLUT
#undef FREEGLUT
#endif
