// A tiny GLUT program that the harness's own tests drive: it reports every
// button on standard output and draws only on demand, all white.
#include <GL/glut.h>

#include <cstdio>

namespace {

void onDisplay()
{
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glutSwapBuffers();
    static bool first = true;
    if (first) {
        std::printf("ready\n");
        std::fflush(stdout);
        first = false;
    }
}

void onMouse(int button, int state, int x, int y)
{
    std::printf("button %d %s %d %d\n", button, state == GLUT_DOWN ? "down" : "up", x, y);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    glutInitWindowSize(200, 100);
    glutInitWindowPosition(50, 60);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow(argc > 1 ? argv[1] : "e2e probe");
    glutDisplayFunc(onDisplay);
    glutMouseFunc(onMouse);
    glutMainLoop();
    return 0;
}
