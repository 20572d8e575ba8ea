// The editor's own Controls window, made by the editor's createControlPanel,
// for the library's tests and probe: the controls that `controls` does not
// hold, found by kind.
#pragma once

#include "app/gl.h"
#include <GL/glui.h>

#include <vector>

#include "editor/editor_state.h"
#include "input/control_panel.h"
#include "internals.h"

struct EditorPanel {
    std::vector<GLUI_Button*> buttons; // New, Load, Save, Change Color Schema
    std::vector<GLUI_RadioButton*> radios;

    // The controls of `gui`, made by createControlPanel.
    explicit EditorPanel(GLUI* gui)
    {
        for (GLUI_Control* c : controls.drawModeGroup->children) radios.push_back(dynamic_cast<GLUI_RadioButton*>(c));
        for (GLUI_Control* c : GLUI_Internals::topLevel(gui))
            if (auto* b = dynamic_cast<GLUI_Button*>(c)) buttons.push_back(b);
    }

    // Points the controls' callbacks at a test's own (the editor's buttons
    // would load and save files; its other controls have none).
    void setCallbacks(GLUI_CB buttonCb, GLUI_CB spinnerCb, GLUI_CB radioCb, GLUI_CB boxCb)
    {
        for (GLUI_Button* b : buttons) b->callback = buttonCb;
        controls.pointSizeSpinner->callback = spinnerCb;
        controls.drawModeGroup->callback = radioCb;
        for (GLUI_Checkbox* b : {controls.pointsCheckbox, controls.linesCheckbox, controls.geometryCheckbox})
            b->callback = boxCb;
    }
};
