#include "input/keyboard.h"

#include "app/gl.h"
#include <GL/glui.h>

#include <cstdlib>

#include "editor/editor_state.h"
#include "editor/point_file.h"
#include "input/control_panel.h"

namespace {

// Selects the mode's radio button; the group writes editor.drawMode itself.
void selectDrawMode(DrawMode mode)
{
    controls.drawModeGroup->set_int_val(static_cast<int>(mode));
}

// Flips a layer flag and brings its checkbox into step, so that the drawing
// and the panel always agree.
void toggleLayer(int& flag, GLUI_Checkbox* checkbox)
{
    flag = flag ? 0 : 1;
    checkbox->set_int_val(flag);
}

}  // namespace

void onKeyboard(unsigned char key, int /*px*/, int /*py*/)
{
    switch (key) {
    case '1':
        selectDrawMode(DrawMode::Polygon);
        break;
    case '2':
        selectDrawMode(DrawMode::TriangleFan);
        break;
    case '3':
        selectDrawMode(DrawMode::TriangleStrip);
        break;
    case '4':
        toggleLayer(editor.showPoints, controls.pointsCheckbox);
        break;
    case '5':
        toggleLayer(editor.showLines, controls.linesCheckbox);
        break;
    case '6':
        toggleLayer(editor.showGeometry, controls.geometryCheckbox);
        break;
    case '7':
        changeColorSchema(0);
        break;
    case 'L':
        loadPointSet(0);
        break;
    case 'N':
        newPointSet(0);
        break;
    case 'Q':
        std::exit(0);
    case 'S':
        savePointSet(0);
        break;
    default:
        break;
    }
    glutPostRedisplay();
}
