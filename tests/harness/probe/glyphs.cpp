// Draws a text in black with GLUT's HELVETICA_18 bitmap font on white, the
// raster position at window pixel (10, 30) counted from the top-left: the
// reference the end-to-end tests compare the editor's point numbers with.
//   glyphs TITLE TEXT
#include <GL/glut.h>

namespace {

const char* text = "";

void onDisplay()
{
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 0, 0);
    glRasterPos2f(10, 10);  // 40 - 10 = 30 from the top
    for (const char* c = text; *c; ++c)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *c);
    glutSwapBuffers();
}

}  // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitWindowSize(200, 40);
    glutInitWindowPosition(0, 960);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(argc > 1 ? argv[1] : "glyphs");
    if (argc > 2)
        text = argv[2];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 200, 0, 40, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glutDisplayFunc(onDisplay);
    glutMainLoop();
    return 0;
}
