// Layout without a display: presses on the editor's panel act on real
// GLUI's rectangles, the window is asked for the size the controls need, and
// captions, panels and stray controls are laid out by GLUI's rules.
#include <string>
#include <utility>

#include "panel_fixture.h"

namespace {

struct Rect {
    int x, y, w, h;
};

using LayoutTest = PanelTest;
using EditorLayoutTest = EditorPanelTest;

// A press acts on the control whose rectangle holds it: real GLUI's
// rectangles of the controls that take one (the panel's pixels, which the
// end-to-end PanelLook test compares with real GLUI's, show where controls
// are drawn, not where presses act). Radio buttons and checkboxes take their
// caption too; the spinner its label and arrows, the field the part between.
TEST_F(EditorLayoutTest, PressesActOnRealGluisRectangles)
{
    ASSERT_EQ(p.buttons.size(), 4u);
    ASSERT_EQ(p.radios.size(), 3u);
    GLUI_Spinner* spinner = controls.pointSizeSpinner;
    const std::pair<GLUI_Control*, Rect> areas[] = {
        {p.buttons[0], {32, 81, 112, 20}},
        {p.buttons[1], {31, 104, 113, 20}},
        {p.buttons[2], {30, 127, 115, 20}},
        {spinner, {6, 177, 58, 20}},            // its label
        {spinner->edittext, {64, 177, 72, 20}}, // the field
        {spinner, {136, 177, 15, 20}},          // its arrows
        {p.radios[0], {28, 244, 85, 13}},
        {p.radios[1], {28, 260, 110, 13}},
        {p.radios[2], {28, 276, 113, 13}},
        {controls.pointsCheckbox, {18, 318, 115, 13}},
        {controls.linesCheckbox, {18, 334, 111, 13}},
        {controls.geometryCheckbox, {18, 350, 134, 13}},
        {p.buttons[3], {9, 375, 158, 20}},
    };
    auto at = [&](int x, int y) { return GLUI_Internals::controlAt(gui, x, y); };
    for (const auto& [c, r] : areas) {
        SCOPED_TRACE(std::string("'") + c->get_name() + "' at " + std::to_string(r.x) + ", " + std::to_string(r.y));
        EXPECT_EQ(at(r.x, r.y), c);
        EXPECT_EQ(at(r.x + r.w - 1, r.y + r.h - 1), c);
        EXPECT_NE(at(r.x - 1, r.y), c);
        EXPECT_NE(at(r.x, r.y - 1), c);
        EXPECT_NE(at(r.x + r.w, r.y + r.h - 1), c);
        EXPECT_NE(at(r.x + r.w - 1, r.y + r.h), c);
    }
    // Text, separators and panel borders take nothing.
    EXPECT_EQ(at(20, 10), nullptr);
    EXPECT_EQ(at(50, 57), nullptr);
    EXPECT_EQ(at(23, 240), nullptr);
}

// Created where the program asked, then asked for the size the controls
// need; a window manager's other size is asked back, the panel's own size is
// left alone.
TEST_F(EditorLayoutTest, WindowIsAskedForTheSizeItsControlsNeed)
{
    FakeHost::Window& w = host.windows[window];
    EXPECT_EQ(w.title, "Controls");
    EXPECT_EQ(std::make_pair(w.x, w.y), std::make_pair(750, 100));
    ASSERT_FALSE(host.sizeRequests[window].empty());
    EXPECT_EQ(host.sizeRequests[window].back(), std::make_pair(176, 401));

    host.sizeRequests.clear();
    w.w = 636; // a tiling window manager
    w.h = 984;
    host.events.reshape(window, 636, 984);
    ASSERT_EQ(host.sizeRequests[window].size(), 1u);
    EXPECT_EQ(host.sizeRequests[window][0], std::make_pair(176, 401));
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 80, 90), p.buttons[0]); // still at the top-left

    host.events.reshape(window, 176, 401);
    EXPECT_EQ(host.sizeRequests[window].size(), 1u);
}

// A caption wider than the window, added or set later, grows the window
// (widest + 18) and re-centres the buttons; the window is asked for the size.
TEST_F(LayoutTest, WiderCaptionGrowsTheWindow)
{
    GLUI_StaticText* t = gui->add_statictext("Short");
    GLUI_Button* b = gui->add_button("B");
    EXPECT_EQ(GLUI_Internals::width(gui), 118); // button minimum 100 + 18
    t->set_text(std::string(20, 'W').c_str()); // 20 * 11 px
    EXPECT_EQ(t->w, 220);
    EXPECT_EQ(GLUI_Internals::width(gui), 238);
    EXPECT_EQ(b->x_abs, (238 - 100) / 2);
    EXPECT_EQ(host.sizeRequests[window].back(), std::make_pair(238, GLUI_Internals::height(gui)));
    gui->add_statictext(std::string(60, 'W').c_str());
    EXPECT_EQ(GLUI_Internals::width(gui), 678);
    EXPECT_EQ(b->x_abs, (678 - 100) / 2);
}

TEST_F(LayoutTest, PanelWithoutCaptionAndEmptyPanels)
{
    GLUI_Panel* plain = gui->add_panel("", GLUI_PANEL_EMBOSSED);
    GLUI_Checkbox* c = gui->add_checkbox_to_panel(plain, "Box");
    EXPECT_EQ(plain->y_abs, 6 + 3);
    EXPECT_EQ(c->y_abs, plain->y_abs + 6);
    EXPECT_EQ(plain->h, 6 + 13 + 6);
    const char* caption = "An empty panel with a long caption";
    GLUI_Panel* empty = gui->add_panel(caption);
    EXPECT_EQ(empty->w, helvetica12Width(caption) + 16);
    EXPECT_EQ(empty->h, 14 + 6);
    EXPECT_EQ(empty->y_abs, plain->y_abs + plain->h + 3 + 3 + 3);
}

TEST_F(LayoutTest, ControlsAddedToANullOrForeignPanelGoToTheWindow)
{
    GLUI_Checkbox* c = gui->add_checkbox_to_panel(nullptr, "Loose");
    EXPECT_EQ(c->x_abs, 6);
    GLUI* other = GLUI_Master.create_glui("Other");
    GLUI_Checkbox* d = gui->add_checkbox_to_panel(other->add_panel("Elsewhere"), "Strays");
    GLUI_Internals::destroy(other);
    EXPECT_EQ(GLUI_Internals::topLevel(gui), (std::vector<GLUI_Control*>{c, d}));
    EXPECT_EQ(d->y_abs, 6 + 13 + 3);
    EXPECT_EQ(gui->add_radiobutton_to_group(nullptr, "Orphan"), nullptr);
    GLUI_StaticText* t = gui->add_statictext(nullptr);
    EXPECT_STREQ(t->get_name(), "");
}

} // namespace
