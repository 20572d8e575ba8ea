// A GL program for the leak check's own tests: a window drawn by the GL
// driver, like the editor's. Key L allocates memory that nothing keeps (a
// real leak of the program), key Q exits with status 0. Prints "ready" once
// drawn and "leaked <address>" for every L.
#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool announced = false;

void onDisplay()
{
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glutSwapBuffers();
    if (!announced) {
        announced = true;
        std::printf("ready\n");
        std::fflush(stdout);
    }
}

__attribute__((noinline)) void leakOnPurpose()
{
    int* lost = new int[10]();
    std::printf("leaked %p\n", static_cast<void*>(lost));
    std::fflush(stdout);
}

void onKeyboard(unsigned char key, int, int)
{
    if (key == 'L')
        leakOnPurpose();
    if (key == 'Q')
        std::exit(0);
}

}  // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(100, 100);
    glutCreateWindow("leak probe");
    glutDisplayFunc(onDisplay);
    glutKeyboardFunc(onKeyboard);
    glutMainLoop();
    return 0;
}
