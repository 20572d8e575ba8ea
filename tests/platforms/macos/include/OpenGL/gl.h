/* Stands in for Apple's <OpenGL/gl.h>: Mesa's GL header of this machine. */
#define MACOS_STANDIN_GL
#include <GL/gl.h>
#undef MACOS_STANDIN_GL
