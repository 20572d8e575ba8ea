/* With Apple's GLUT framework, macOS has no <GL/freeglut.h>: a file that
   takes it itself does not build there. Only the stand-ins (../include) may. */
#if !defined(MACOS_STANDIN_GLUT) && !defined(MACOS_STANDIN_GL) && !defined(MACOS_STANDIN_GLU)
#error "<GL/freeglut.h> taken on macOS, where it is <GLUT/glut.h> or <OpenGL/...>"
#endif
#include_next <GL/freeglut.h>
