/* Stands in for Apple's <OpenGL/glu.h>: Mesa's GLU header of this machine. */
#define MACOS_STANDIN_GLU
#include <GL/glu.h>
#undef MACOS_STANDIN_GLU
