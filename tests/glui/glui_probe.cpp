// A small program for the library's end-to-end tests: a drawing window plus
// a panel laid out like the editor's. Every callback, every change of a live
// variable, every key reaching the drawing window and every redisplay of the
// drawing window is printed as one flushed line.
//
//   ready                          after the first idle turn
//   callback <what> id=<id> value=<v> current=<main|panel|other>
//   live <name>=<v>                a live variable changed (seen at idle)
//   main key <code> / main special <code> / main display
//
// Q in the drawing window ends the program with status 0, as in the editor.
// Arguments: "noidle" registers no idle function; "wide" gives the spinner
// the limits 0..1000 instead of 8..12.
#include <GL/glut.h>
#include <GL/glui.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int mainWindow = 0;
GLUI* panel = nullptr;
int pointSize = 0, drawMode = 0, showPoints = 0, showLines = 0, showGeometry = 0;
GLUI_Spinner* spinner = nullptr;
GLUI_RadioGroup* group = nullptr;
GLUI_Checkbox* boxes[3] = {nullptr, nullptr, nullptr};

struct Watched {
    const char* name;
    int* var;
    int last;
} watched[] = {
    {"pointSize", &pointSize, 0},  {"drawMode", &drawMode, 0},         {"showPoints", &showPoints, 0},
    {"showLines", &showLines, 0}, {"showGeometry", &showGeometry, 0},
};

const char* currentName()
{
    int w = glutGetWindow();
    if (w == mainWindow) return "main";
    if (panel && w == panel->get_glut_window_id()) return "panel";
    return "other";
}

void reportLive()
{
    for (Watched& w : watched) {
        if (*w.var != w.last) {
            w.last = *w.var;
            std::printf("live %s=%d\n", w.name, w.last);
            std::fflush(stdout);
        }
    }
}

void onButtonNew(int id) { reportLive(); std::printf("callback new id=%d current=%s\n", id, currentName()); std::fflush(stdout); }
void onButtonLoad(int id) { reportLive(); std::printf("callback load id=%d current=%s\n", id, currentName()); std::fflush(stdout); }
void onButtonSave(int id) { reportLive(); std::printf("callback save id=%d current=%s\n", id, currentName()); std::fflush(stdout); }
void onButtonColor(int id) { reportLive(); std::printf("callback color id=%d current=%s\n", id, currentName()); std::fflush(stdout); }
void onSpinner(int id)
{
    reportLive();
    std::printf("callback spinner id=%d value=%d current=%s\n", id, spinner->get_int_val(), currentName());
    std::fflush(stdout);
}
void onRadio(int id)
{
    reportLive();
    std::printf("callback radio id=%d value=%d current=%s\n", id, group->get_int_val(), currentName());
    std::fflush(stdout);
}
void onCheckbox(GLUI_Control* c)
{
    reportLive();
    std::printf("callback checkbox %s value=%d current=%s\n", c->get_name(), c->get_int_val(), currentName());
    std::fflush(stdout);
}

void onDisplay()
{
    std::printf("main display\n");
    std::fflush(stdout);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glutSwapBuffers();
}

void onKeyboard(unsigned char key, int, int)
{
    std::printf("main key %d\n", key);
    std::fflush(stdout);
    if (key == 'Q')
        std::exit(0);
}

void onSpecial(int key, int, int)
{
    std::printf("main special %d\n", key);
    std::fflush(stdout);
}

bool announced = false;
void onIdle()
{
    reportLive();
    if (!announced) {
        announced = true;
        std::printf("ready\n");
        std::fflush(stdout);
    }
}

void buildPanel(GLUI* p)
{
    p->add_statictext("u0000000 - u0000000");
    p->add_statictext("Quenbry");
    p->add_statictext("Mivolt (Prototype)");
    p->add_separator();
    p->add_statictext("File Operations");
    p->add_button("New Point Set(N)", 0, onButtonNew);
    p->add_button("Load Point Set(L)", 0, onButtonLoad);
    p->add_button("Save Point Set(S)", 0, onButtonSave);
    p->add_separator();
    p->add_statictext("Point Operations");
    spinner = p->add_spinner("Point Size", GLUI_SPINNER_INT, &pointSize, 7, onSpinner);
    spinner->set_int_limits(8, 12, GLUI_LIMIT_CLAMP);
    spinner->set_int_val(10);
    p->add_separator();
    p->add_statictext("Drawing Operations");
    GLUI_Panel* primitives = p->add_panel("Drawing Primitives", GLUI_PANEL_EMBOSSED);
    group = p->add_radiogroup_to_panel(primitives, &drawMode, 1, onRadio);
    p->add_radiobutton_to_group(group, "Polygon(1)");
    p->add_radiobutton_to_group(group, "Triangle Fan(2)");
    p->add_radiobutton_to_group(group, "Triangle Strip(3)");
    GLUI_Panel* mode = p->add_panel("Drawing Mode", GLUI_PANEL_EMBOSSED);
    boxes[0] = p->add_checkbox_to_panel(mode, "Toggle Points(4)", &showPoints, 4, onCheckbox);
    boxes[1] = p->add_checkbox_to_panel(mode, "Toggle Lines(5)", &showLines, 5, onCheckbox);
    boxes[2] = p->add_checkbox_to_panel(mode, "Toggle Geometry(6)", &showGeometry, 6, onCheckbox);
    for (GLUI_Checkbox* b : boxes) b->set_int_val(1);
    p->add_button("Change Color Schema(7)", 0, onButtonColor);
}

} // namespace

int main(int argc, char** argv)
{
    glutInit(&argc, argv);
    bool idle = true, wide = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "noidle") == 0) idle = false;
        if (std::strcmp(argv[i], "wide") == 0) wide = true;
    }
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowPosition(20, 20);
    glutInitWindowSize(400, 300);
    mainWindow = glutCreateWindow("GLUI Probe Main");
    glutDisplayFunc(onDisplay);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecial);
    panel = GLUI_Master.create_glui("Controls", 0, 750, 100);
    panel->set_main_gfx_window(mainWindow);
    buildPanel(panel);
    if (wide) spinner->set_int_limits(0, 1000, GLUI_LIMIT_CLAMP);
    reportLive();
    if (idle)
        GLUI_Master.set_glutIdleFunc(onIdle);
    else {
        std::printf("ready\n");
        std::fflush(stdout);
    }
    glutMainLoop();
    return 0;
}
