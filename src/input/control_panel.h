// The "Controls" window: buttons for the commands, the point-size spinner,
// the primitive radio group and the layer checkboxes, bound to `editor`.
#pragma once

#include "app/gl.h"
#include <GL/glui.h>

// Controls the keyboard shortcuts keep in step. GLUI owns them all.
struct ControlHandles {
    GLUI_Spinner* pointSizeSpinner;
    GLUI_Panel* primitivesPanel;
    GLUI_RadioGroup* drawModeGroup;
    GLUI_Panel* modePanel;
    GLUI_Checkbox* pointsCheckbox;
    GLUI_Checkbox* linesCheckbox;
    GLUI_Checkbox* geometryCheckbox;
};

extern ControlHandles controls;

// Adds every control to `panel`, top to bottom, and fills `controls`.
void buildControlPanel(GLUI* panel);

// Creates the "Controls" window at (750, 100), whose controls ask for
// redisplays of `mainWindow` and run their callbacks with it current, and
// builds the panel in it.
GLUI* createControlPanel(int mainWindow);
