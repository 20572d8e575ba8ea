// A tiny GLUT program that the harness's own tests drive: it reports every
// key, button and menu choice on standard output and draws only on demand.
//   key r: toggle the background between white and red
//   key x: exit with status 3
//   right button: menu "First" (1), "Second" (2), "Third" (3)
#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool red = false;

void onDisplay()
{
    if (red)
        glClearColor(1, 0, 0, 1);
    else
        glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // A blue 10x10 square at the top-left corner of the window.
    glColor3f(0, 0, 1);
    glRecti(-100, 50, -90, 40);
    glutSwapBuffers();
    static bool first = true;
    if (first) {
        std::printf("ready\n");
        std::fflush(stdout);
        first = false;
    }
}

void onKeyboard(unsigned char key, int, int)
{
    std::printf("key %c\n", key);
    std::fflush(stdout);
    if (key == 'r') {
        red = !red;
        glutPostRedisplay();
    }
    if (key == 'x')
        std::exit(3);
}

void onSpecial(int key, int, int)
{
    std::printf("special %d\n", key);
    std::fflush(stdout);
}

void onMouse(int button, int state, int x, int y)
{
    std::printf("button %d %s %d %d\n", button, state == GLUT_DOWN ? "down" : "up", x, y);
    std::fflush(stdout);
}

void onMenu(int value)
{
    std::printf("menu %d\n", value);
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
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -50, 50, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glutDisplayFunc(onDisplay);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecial);
    glutMouseFunc(onMouse);
    glutCreateMenu(onMenu);
    glutAddMenuEntry("First", 1);
    glutAddMenuEntry("Second", 2);
    glutAddMenuEntry("Third", 3);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
    glutMainLoop();
    return 0;
}
