// Draws a text in black with GLUT's HELVETICA_18 (or HELVETICA_12) bitmap
// font on white, the raster position at window pixel (10, 30) counted from
// the top-left: the reference the end-to-end tests compare the editor's point
// numbers and the value in its panel's spinner with.
//   glyphs TITLE TEXT [18|12]
#include <GL/glut.h>

#include <string>

namespace {

const char* text = "";
void* font = GLUT_BITMAP_HELVETICA_18;

void onDisplay()
{
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 0, 0);
    glRasterPos2f(10, 10);  // 40 - 10 = 30 from the top
    for (const char* c = text; *c; ++c)
        glutBitmapCharacter(font, *c);
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
    if (argc > 3 && argv[3] == std::string("12"))
        font = GLUT_BITMAP_HELVETICA_12;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 200, 0, 40, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glutDisplayFunc(onDisplay);
    glutMainLoop();
    return 0;
}
