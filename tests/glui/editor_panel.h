// The editor's own control panel, built by the editor's buildControlPanel,
// with its controls found by kind for the library's tests and probe.
#pragma once

#include <GL/glut.h>
#include <GL/glui.h>

#include <vector>

#include "editor/editor_state.h"
#include "input/control_panel.h"
#include "internals.h"

struct EditorPanel {
    std::vector<GLUI_StaticText*> texts;
    std::vector<GLUI_Separator*> separators;
    std::vector<GLUI_Button*> buttons; // New, Load, Save, Change Color Schema
    GLUI_Spinner* spinner = nullptr;
    GLUI_Panel* primitives = nullptr;
    GLUI_RadioGroup* group = nullptr;
    std::vector<GLUI_RadioButton*> radios;
    GLUI_Panel* mode = nullptr;
    std::vector<GLUI_Checkbox*> boxes; // points, lines, geometry

    // Builds the panel into `gui`; its live variables are `editor`'s.
    explicit EditorPanel(GLUI* gui)
    {
        buildControlPanel(gui);
        spinner = controls.pointSizeSpinner;
        primitives = controls.primitivesPanel;
        group = controls.drawModeGroup;
        mode = controls.modePanel;
        boxes = {controls.pointsCheckbox, controls.linesCheckbox, controls.geometryCheckbox};
        for (GLUI_Control* c : group->children) radios.push_back(dynamic_cast<GLUI_RadioButton*>(c));
        for (GLUI_Control* c : GLUI_Internals::topLevel(gui)) {
            if (auto* t = dynamic_cast<GLUI_StaticText*>(c)) texts.push_back(t);
            if (auto* s = dynamic_cast<GLUI_Separator*>(c)) separators.push_back(s);
            if (auto* b = dynamic_cast<GLUI_Button*>(c)) buttons.push_back(b);
        }
    }

    // Points the controls' callbacks at a test's own (the editor's buttons
    // would load and save files; its other controls have none).
    void setCallbacks(GLUI_CB buttonCb, GLUI_CB spinnerCb, GLUI_CB radioCb, GLUI_CB boxCb)
    {
        for (GLUI_Button* b : buttons) b->callback = buttonCb;
        spinner->callback = spinnerCb;
        group->callback = radioCb;
        for (GLUI_Checkbox* b : boxes) b->callback = boxCb;
    }
};
