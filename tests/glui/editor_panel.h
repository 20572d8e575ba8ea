// The editor's control panel, built the way the editor builds it, for the
// layout and behaviour tests.
#pragma once

#include <GL/glui.h>

struct EditorPanel {
    int pointSize = 0, drawMode = 0, showPoints = 0, showLines = 0, showGeometry = 0;
    GLUI_StaticText* texts[7] = {};
    GLUI_Button* buttons[4] = {};
    GLUI_Spinner* spinner = nullptr;
    GLUI_Panel* primitives = nullptr;
    GLUI_RadioGroup* group = nullptr;
    GLUI_RadioButton* radios[3] = {};
    GLUI_Panel* mode = nullptr;
    GLUI_Checkbox* boxes[3] = {};

    void build(GLUI* p, GLUI_CB buttonCb = GLUI_CB(), GLUI_CB spinnerCb = GLUI_CB(),
               GLUI_CB radioCb = GLUI_CB(), GLUI_CB boxCb = GLUI_CB())
    {
        texts[0] = p->add_statictext("u0000000 - u0000000");
        texts[1] = p->add_statictext("Quenbry");
        texts[2] = p->add_statictext("Mivolt (Prototype)");
        p->add_separator();
        texts[3] = p->add_statictext("File Operations");
        buttons[0] = p->add_button("New Point Set(N)", 0, buttonCb);
        buttons[1] = p->add_button("Load Point Set(L)", 0, buttonCb);
        buttons[2] = p->add_button("Save Point Set(S)", 0, buttonCb);
        p->add_separator();
        texts[4] = p->add_statictext("Point Operations");
        spinner = p->add_spinner("Point Size", GLUI_SPINNER_INT, &pointSize, -1, spinnerCb);
        spinner->set_int_limits(8, 12, GLUI_LIMIT_CLAMP);
        spinner->set_int_val(10);
        p->add_separator();
        texts[5] = p->add_statictext("Drawing Operations");
        primitives = p->add_panel("Drawing Primitives", GLUI_PANEL_EMBOSSED);
        group = p->add_radiogroup_to_panel(primitives, &drawMode, 1, radioCb);
        radios[0] = p->add_radiobutton_to_group(group, "Polygon(1)");
        radios[1] = p->add_radiobutton_to_group(group, "Triangle Fan(2)");
        radios[2] = p->add_radiobutton_to_group(group, "Triangle Strip(3)");
        mode = p->add_panel("Drawing Mode", GLUI_PANEL_EMBOSSED);
        boxes[0] = p->add_checkbox_to_panel(mode, "Toggle Points(4)", &showPoints, -1, boxCb);
        boxes[1] = p->add_checkbox_to_panel(mode, "Toggle Lines(5)", &showLines, -1, boxCb);
        boxes[2] = p->add_checkbox_to_panel(mode, "Toggle Geometry(6)", &showGeometry, -1, boxCb);
        for (GLUI_Checkbox* b : boxes) b->set_int_val(1);
        buttons[3] = p->add_button("Change Color Schema(7)", 0, buttonCb);
    }
};
