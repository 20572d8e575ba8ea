#include "input/control_panel.h"

#include "editor/editor_state.h"
#include "editor/point_file.h"

ControlHandles controls;

namespace {

void addHeader(GLUI* panel)
{
    panel->add_statictext("u0000000 - u0000000");
    panel->add_statictext("Quenbry");
    panel->add_statictext("Mivolt (Prototype)");
    panel->add_separator();
}

void addFileOperations(GLUI* panel)
{
    panel->add_statictext("File Operations");
    panel->add_button("New Point Set(N)", 0, newPointSet);
    panel->add_button("Load Point Set(L)", 0, loadPointSet);
    panel->add_button("Save Point Set(S)", 0, savePointSet);
    panel->add_separator();
}

void addPointOperations(GLUI* panel)
{
    panel->add_statictext("Point Operations");
    controls.pointSizeSpinner =
        panel->add_spinner("Point Size", GLUI_SPINNER_INT, &editor.pointSize, -1, GLUI_CB());
    controls.pointSizeSpinner->set_int_limits(MIN_POINT_SIZE, MAX_POINT_SIZE, GLUI_LIMIT_CLAMP);
    controls.pointSizeSpinner->set_int_val(DEFAULT_POINT_SIZE);
    panel->add_separator();
}

// The radio buttons take the values 0, 1, 2 in the order added, as DrawMode does.
void addDrawingOperations(GLUI* panel)
{
    panel->add_statictext("Drawing Operations");
    controls.primitivesPanel = panel->add_panel("Drawing Primitives", GLUI_PANEL_EMBOSSED);
    controls.drawModeGroup =
        panel->add_radiogroup_to_panel(controls.primitivesPanel, &editor.drawMode, 1, GLUI_CB());
    panel->add_radiobutton_to_group(controls.drawModeGroup, "Polygon(1)");
    panel->add_radiobutton_to_group(controls.drawModeGroup, "Triangle Fan(2)");
    panel->add_radiobutton_to_group(controls.drawModeGroup, "Triangle Strip(3)");

    controls.modePanel = panel->add_panel("Drawing Mode", GLUI_PANEL_EMBOSSED);
    controls.pointsCheckbox = panel->add_checkbox_to_panel(
        controls.modePanel, "Toggle Points(4)", &editor.showPoints, -1, GLUI_CB());
    controls.pointsCheckbox->set_int_val(1);
    controls.linesCheckbox = panel->add_checkbox_to_panel(
        controls.modePanel, "Toggle Lines(5)", &editor.showLines, -1, GLUI_CB());
    controls.linesCheckbox->set_int_val(1);
    controls.geometryCheckbox = panel->add_checkbox_to_panel(
        controls.modePanel, "Toggle Geometry(6)", &editor.showGeometry, -1, GLUI_CB());
    controls.geometryCheckbox->set_int_val(1);

    panel->add_button("Change Color Schema(7)", 0, changeColorSchema);
}

}  // namespace

void buildControlPanel(GLUI* panel)
{
    addHeader(panel);
    addFileOperations(panel);
    addPointOperations(panel);
    addDrawingOperations(panel);
}

GLUI* createControlPanel(int mainWindow)
{
    GLUI* panel = GLUI_Master.create_glui("Controls", 0, 750, 100);
    panel->set_main_gfx_window(mainWindow);
    buildControlPanel(panel);
    return panel;
}
