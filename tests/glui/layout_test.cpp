// Layout without a display: the editor's panel must land on real GLUI's
// rectangles, and hit testing must use exactly those rectangles.
#include <gtest/gtest.h>

#include <string>

#include "editor_panel.h"
#include "fake_host.h"
#include "internals.h"

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

class LayoutTest : public ::testing::Test {
protected:
    FakeHost host;
    GLUI* gui = GLUI_Internals::newHeadless();
    ~LayoutTest() override { GLUI_Internals::destroy(gui); }
};

TEST_F(LayoutTest, WidthTableMatchesKnownCaptions)
{
    EXPECT_EQ(helvetica12Width("u0000000 - u0000000"), 128);
    EXPECT_EQ(helvetica12Width("New Point Set(N)"), 96);
    EXPECT_EQ(helvetica12Width("Point Size"), 56);
}

TEST_F(LayoutTest, EditorPanelMatchesRealGlui)
{
    EditorPanel p;
    p.build(gui);
    EXPECT_EQ(GLUI_Internals::width(gui), 176);
    EXPECT_EQ(GLUI_Internals::height(gui), 401);

    EXPECT_TRUE(rectIs(p.texts[0], {6, 6, 128, 13}));
    EXPECT_TRUE(rectIs(p.texts[1], {6, 22, 100, 13}));
    EXPECT_TRUE(rectIs(p.texts[2], {6, 38, 100, 13}));
    EXPECT_TRUE(rectIs(p.texts[3], {6, 65, 100, 13}));
    EXPECT_TRUE(rectIs(p.buttons[0], {32, 81, 112, 20}));
    EXPECT_TRUE(rectIs(p.buttons[1], {31, 104, 113, 20}));
    EXPECT_TRUE(rectIs(p.buttons[2], {30, 127, 115, 20}));
    EXPECT_TRUE(rectIs(p.texts[4], {6, 161, 100, 13}));
    EXPECT_TRUE(rectIs(p.spinner, {6, 177, 145, 20}));
    EXPECT_TRUE(rectIs(p.spinner->edittext, {6, 177, 130, 20}));
    EXPECT_EQ(p.spinner->edittext->text_x_offset, 58); // field drawn from x 64
    EXPECT_TRUE(rectIs(p.texts[5], {6, 211, 111, 13}));
    EXPECT_TRUE(rectIs(p.primitives, {22, 230, 131, 65}));
    EXPECT_TRUE(rectIs(p.radios[0], {28, 244, 85, 13}));
    EXPECT_TRUE(rectIs(p.radios[1], {28, 260, 110, 13}));
    EXPECT_TRUE(rectIs(p.radios[2], {28, 276, 113, 13}));
    EXPECT_TRUE(rectIs(p.mode, {12, 304, 152, 65}));
    EXPECT_TRUE(rectIs(p.boxes[0], {18, 318, 115, 13}));
    EXPECT_TRUE(rectIs(p.boxes[1], {18, 334, 111, 13}));
    EXPECT_TRUE(rectIs(p.boxes[2], {18, 350, 134, 13}));
    EXPECT_TRUE(rectIs(p.buttons[3], {9, 375, 158, 20}));

    // The three separators, in the order added.
    int separators[] = {54, 150, 200};
    int found = 0;
    for (GLUI_Control* c : GLUI_Internals::topLevel(gui)) {
        if (!dynamic_cast<GLUI_Separator*>(c)) continue;
        ASSERT_LT(found, 3);
        EXPECT_TRUE(rectIs(c, {6, separators[found], 100, 8}));
        ++found;
    }
    EXPECT_EQ(found, 3);
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

TEST_F(LayoutTest, PanelWithoutCaptionAndEmptyPanels)
{
    GLUI_Panel* plain = gui->add_panel("", GLUI_PANEL_EMBOSSED);
    GLUI_Checkbox* c = gui->add_checkbox_to_panel(plain, "Box");
    EXPECT_EQ(c->y_abs, plain->y_abs + 6);
    EXPECT_EQ(plain->y_abs, 6 + 3);
    EXPECT_EQ(plain->h, 6 + 13 + 6);
    GLUI_Panel* empty = gui->add_panel("An empty panel with a long caption");
    EXPECT_GE(empty->w, helvetica12Width("An empty panel with a long caption") + 16);
    EXPECT_GT(empty->h, 0);
}

TEST_F(LayoutTest, ControlsAddedToANullPanelGoToTheWindow)
{
    GLUI_Checkbox* c = gui->add_checkbox_to_panel(nullptr, "Loose");
    EXPECT_EQ(c->x_abs, 6);
    EXPECT_EQ(gui->add_radiobutton_to_group(nullptr, "Orphan"), nullptr);
    GLUI_StaticText* t = gui->add_statictext(nullptr);
    EXPECT_STREQ(t->get_name(), "");
}

TEST_F(LayoutTest, HitTestingUsesTheStoredRectangles)
{
    EditorPanel p;
    p.build(gui);
    GLUI_Control* newButton = p.buttons[0];
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 32, 81), newButton);   // top-left pixel
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 143, 100), newButton); // bottom-right pixel
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 144, 90), nullptr);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 31, 90), nullptr);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 90, 102), nullptr); // gap between buttons
    // The field (label included) and the arrows.
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 10, 185), p.spinner->edittext);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 135, 185), p.spinner->edittext);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 145, 183), p.spinner);
    // Radio buttons and checkboxes take their caption too.
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 100, 250), p.radios[0]);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 130, 355), p.boxes[2]);
    // Text, separators and panel borders take nothing.
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 20, 10), nullptr);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 50, 57), nullptr);
    EXPECT_EQ(GLUI_Internals::controlAt(gui, 23, 240), nullptr);
}

TEST_F(LayoutTest, FocusOrderIsTheOrderAdded)
{
    EditorPanel p;
    p.build(gui);
    std::vector<GLUI_Control*> expected = {p.buttons[0], p.buttons[1], p.buttons[2], p.spinner,
                                           p.spinner->edittext, p.radios[0], p.radios[1], p.radios[2],
                                           p.boxes[0], p.boxes[1], p.boxes[2], p.buttons[3]};
    EXPECT_EQ(GLUI_Internals::focusOrder(gui), expected);
}

} // namespace
