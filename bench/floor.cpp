// The benchmark's floor: a bare GLUT program that makes the same GL calls as
// the editor's display pass for the points in ./points.txt (polygon mode,
// every layer on, colour schema 0), with the same view set-up, the same idle
// redisplay and the same buffer swap. No control panel, no input handling.
//
// It prints the GL renderer on standard output once the window has its first
// frame, so the benchmark can name the machine's rasteriser, and on Q the
// number of frames it drew, which checks the driver's count of swaps.
#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;
constexpr int MAX = 20;

struct Pt {
    float x, y, size;
};

Pt pts[MAX];
int count = 0;
bool rendererPrinted = false;
long framesDrawn = 0;

void readPoints()
{
    std::FILE* f = std::fopen("points.txt", "r");
    if (!f) {
        std::printf("floor: no points.txt, drawing nothing\n");
        return;
    }
    int n = 0;
    if (std::fscanf(f, "%d", &n) == 1) {
        for (int i = 0; i < n && i < MAX; i++) {
            if (std::fscanf(f, "%f %f %f", &pts[i].x, &pts[i].y, &pts[i].size) != 3)
                break;
            count = i + 1;
        }
    }
    std::fclose(f);
}

void display()
{
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);

    // Geometry: the filled polygon.
    glColor3f(0.4f, 1.0f, 0.4f);
    glBegin(GL_POLYGON);
    for (int i = 0; i < count; i++)
        glVertex2f(pts[i].x, pts[i].y);
    glEnd();

    // Lines: the polygon's sides, in the order the editor lists them.
    glColor3f(0.4f, 0.0f, 0.9f);
    if (count > 1) {
        glBegin(GL_LINES);
        for (int i = 0; i + 1 < count; i++) {
            glVertex2f(pts[i].x, pts[i].y);
            glVertex2f(pts[i + 1].x, pts[i + 1].y);
        }
        glVertex2f(pts[0].x, pts[0].y);
        glVertex2f(pts[count - 1].x, pts[count - 1].y);
        glEnd();
    }

    // Points, each with its number 10 units above it.
    glColor3f(0.3f, 0.3f, 0.3f);
    for (int i = 0; i < count; i++) {
        glPointSize(pts[i].size);
        glBegin(GL_POINTS);
        glVertex2f(pts[i].x, pts[i].y);
        glEnd();

        char number[12];
        std::snprintf(number, sizeof number, "%d", i + 1);
        glRasterPos2f(static_cast<float>(static_cast<int>(pts[i].x)),
                      static_cast<float>(static_cast<int>(pts[i].y + 10.0)));
        for (const char* c = number; *c; c++)
            glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *c);
    }
    glutSwapBuffers();
    framesDrawn++;

    if (!rendererPrinted) {
        rendererPrinted = true;
        std::printf("renderer: %s, OpenGL %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                    reinterpret_cast<const char*>(glGetString(GL_VERSION)));
        std::fflush(stdout);
    }
}

void idle()
{
    glutPostRedisplay();
}

void keyboard(unsigned char key, int, int)
{
    if (key == 'Q') {
        // The driver compares this with the swaps it counted from outside.
        std::printf("frames: %ld\n", framesDrawn);
        std::exit(0);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    readPoints();
    glutInitWindowSize(WIDTH, HEIGHT);
    glutInitWindowPosition(100, 100);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow("Floor");
    glutDisplayFunc(display);
    glutKeyboardFunc(keyboard);
    glutIdleFunc(idle);

    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-(WIDTH / 2), WIDTH / 2, -(HEIGHT / 2), HEIGHT / 2, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_POINT_SMOOTH);
    glLineWidth(3.0f);

    glutMainLoop();
    return 0;
}
