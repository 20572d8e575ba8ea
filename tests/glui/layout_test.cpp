// Layout without a display: the editor's panel must land on real GLUI's
// rectangles, the window must be asked for the size they need, and hit
// testing must use exactly those rectangles.
#include <string>
#include <utility>

#include "panel_fixture.h"

namespace {

struct Rect {
    int x, y, w, h;
};

::testing::AssertionResult rectIs(const GLUI_Control* c, Rect r)
{
    if (c->x_abs == r.x && c->y_abs == r.y && c->w == r.w && c->h == r.h) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "'" << c->get_name() << "' is at " << c->x_abs << ", " << c->y_abs
                                         << ", " << c->w << " x " << c->h << "; expected " << r.x << ", " << r.y
                                         << ", " << r.w << " x " << r.h;
}

using LayoutTest = PanelTest;
using EditorLayoutTest = EditorPanelTest;

TEST_F(EditorLayoutTest, EditorPanelMatchesRealGlui)
{
    EXPECT_EQ(GLUI_Internals::width(gui), 176);
    EXPECT_EQ(GLUI_Internals::height(gui), 401);
    ASSERT_EQ(p.texts.size(), 6u);
    ASSERT_EQ(p.buttons.size(), 4u);
    ASSERT_EQ(p.separators.size(), 3u);
    ASSERT_EQ(p.radios.size(), 3u);

    EXPECT_TRUE(rectIs(p.texts[0], {6, 6, 128, 13}));
    EXPECT_TRUE(rectIs(p.texts[1], {6, 22, 100, 13}));
    EXPECT_TRUE(rectIs(p.texts[2], {6, 38, 100, 13}));
    EXPECT_TRUE(rectIs(p.separators[0], {6, 54, 100, 8}));
    EXPECT_TRUE(rectIs(p.texts[3], {6, 65, 100, 13}));
    EXPECT_TRUE(rectIs(p.buttons[0], {32, 81, 112, 20}));
    EXPECT_TRUE(rectIs(p.buttons[1], {31, 104, 113, 20}));
    EXPECT_TRUE(rectIs(p.buttons[2], {30, 127, 115, 20}));
    EXPECT_TRUE(rectIs(p.separators[1], {6, 150, 100, 8}));
    EXPECT_TRUE(rectIs(p.texts[4], {6, 161, 100, 13}));
    EXPECT_TRUE(rectIs(controls.pointSizeSpinner, {6, 177, 145, 20}));
    EXPECT_TRUE(rectIs(controls.pointSizeSpinner->edittext, {6, 177, 130, 20}));
    EXPECT_EQ(controls.pointSizeSpinner->edittext->text_x_offset, 58); // field drawn from x 64
    EXPECT_TRUE(rectIs(p.separators[2], {6, 200, 100, 8}));
    EXPECT_TRUE(rectIs(p.texts[5], {6, 211, 111, 13}));
    EXPECT_TRUE(rectIs(controls.primitivesPanel, {22, 230, 131, 65}));
    EXPECT_TRUE(rectIs(p.radios[0], {28, 244, 85, 13}));
    EXPECT_TRUE(rectIs(p.radios[1], {28, 260, 110, 13}));
    EXPECT_TRUE(rectIs(p.radios[2], {28, 276, 113, 13}));
    EXPECT_TRUE(rectIs(controls.drawModeGroup, {28, 244, 113, 45})); // around its buttons
    EXPECT_TRUE(rectIs(controls.modePanel, {12, 304, 152, 65}));
    EXPECT_TRUE(rectIs(controls.pointsCheckbox, {18, 318, 115, 13}));
    EXPECT_TRUE(rectIs(controls.linesCheckbox, {18, 334, 111, 13}));
    EXPECT_TRUE(rectIs(controls.geometryCheckbox, {18, 350, 134, 13}));
    EXPECT_TRUE(rectIs(p.buttons[3], {9, 375, 158, 20}));
}

// Created at the size of an empty panel where the program asked, then asked
// for the size the controls need; a window manager's other size is asked
// back, the panel's own size is left alone.
TEST_F(EditorLayoutTest, WindowIsAskedForTheSizeItsControlsNeed)
{
    FakeHost::Window& w = host.windows[window];
    EXPECT_EQ(w.title, "Controls");
    EXPECT_EQ(std::make_pair(w.x, w.y), std::make_pair(750, 100));
    EXPECT_EQ(std::make_pair(w.createdW, w.createdH), std::make_pair(18, 12));
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

TEST_F(LayoutTest, CaptionWiderThanTheWindowGrowsIt)
{
    gui->add_button("Short");
    EXPECT_EQ(GLUI_Internals::width(gui), 118); // button minimum 100 + 18
    std::string wide(60, 'W');                  // 60 * 11 px
    GLUI_StaticText* t = gui->add_statictext(wide.c_str());
    EXPECT_EQ(t->w, 660);
    EXPECT_EQ(GLUI_Internals::width(gui), 678);
    GLUI_Control* button = GLUI_Internals::topLevel(gui)[0];
    EXPECT_EQ(button->x_abs, (678 - 100) / 2); // re-centred in the wider window
}

TEST_F(LayoutTest, NewCaptionLaysTheWindowOutAgain)
{
    GLUI_StaticText* t = gui->add_statictext("Short");
    GLUI_Button* b = gui->add_button("B");
    EXPECT_EQ(GLUI_Internals::width(gui), 118);
    t->set_text(std::string(20, 'W').c_str()); // 220 px
    EXPECT_EQ(GLUI_Internals::width(gui), 238);
    EXPECT_EQ(b->x_abs, (238 - 100) / 2);
    EXPECT_EQ(host.sizeRequests[window].back(), std::make_pair(238, GLUI_Internals::height(gui)));
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

TEST_F(EditorLayoutTest, HitTestingUsesTheStoredRectangles)
{
    GLUI_Control* newButton = p.buttons[0];
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 32, 81), newButton);   // top-left pixel
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 143, 100), newButton); // bottom-right pixel
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 144, 90), nullptr);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 31, 90), nullptr);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 90, 102), nullptr); // gap between buttons
    // The spinner's label and arrows are the spinner's, the field between them
    // (x 64 to 135) the field's.
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 63, 185), controls.pointSizeSpinner);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 64, 185), controls.pointSizeSpinner->edittext);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 135, 185), controls.pointSizeSpinner->edittext);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 145, 183), controls.pointSizeSpinner);
    // Radio buttons and checkboxes take their caption too.
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 100, 250), p.radios[0]);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 130, 355), controls.geometryCheckbox);
    // Text, separators and panel borders take nothing.
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 20, 10), nullptr);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 50, 57), nullptr);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 23, 240), nullptr);
}

} // namespace
