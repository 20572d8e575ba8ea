// The control panel driven with real clicks and keys: its state at start, the
// point-size spinner (arrows, typing), Tab and Space between the buttons, and
// the colour schema button. What a control shows is read from the Controls
// window's pixels; what it does, from the drawing window's pixels and
// points.txt. The radio buttons and the layer checkboxes are tested with their
// keys (keyboard_test.cpp), the New, Load and Save buttons with
// the point file (point_file_test.cpp); how a press released elsewhere, a
// held arrow or a typed value are handled, by the panel library's tests.
#include <X11/keysym.h>

#include "panel_helpers.h"

using namespace e2e;
using namespace e2e::panel;

namespace {

using PanelStart = PanelFixture;

TEST_F(PanelStart, ShowsSizeTenPolygonAndEveryLayerTicked)
{
    ASSERT_TRUE(waitForSpinner(10));
    Image img = capturePanel();
    EXPECT_EQ(selectedRadio(img), 0) << "\"Polygon(1)\" is not the one selected radio button";
    EXPECT_TRUE(checkboxTicked(img, 0)) << "\"Toggle Points(4)\" is not ticked";
    EXPECT_TRUE(checkboxTicked(img, 1)) << "\"Toggle Lines(5)\" is not ticked";
    EXPECT_TRUE(checkboxTicked(img, 2)) << "\"Toggle Geometry(6)\" is not ticked";
}

// ---------------------------------------------------------------- the point-size spinner

using PanelSpinner = PanelFixture;

TEST_F(PanelSpinner, ArrowClicksStepWithinEightToTwelveAndSizeOnlyNewPoints)
{
    ASSERT_TRUE(waitForSpinner(10));
    ASSERT_TRUE(addPointAt(1, -200, 0));
    clickControl(UP_ARROW);
    EXPECT_TRUE(waitForSpinner(11));
    ASSERT_TRUE(addPointAt(2, -100, 0));
    for (int i = 0; i < 3; ++i)
        clickControl(UP_ARROW);
    // Three more clicks from 11 stop at 12 (the point below is added after
    // all three have been handled).
    EXPECT_TRUE(waitForSpinner(12));
    ASSERT_TRUE(addPointAt(3, 0, 0));
    for (int i = 0; i < 6; ++i)
        clickControl(DOWN_ARROW);
    EXPECT_TRUE(waitForSpinner(8));
    ASSERT_TRUE(addPointAt(4, 100, 0));
    clickControl(UP_ARROW);
    EXPECT_TRUE(waitForSpinner(9));
    ASSERT_TRUE(addPointAt(5, 200, 0));

    std::string text = saveWithButton();
    EXPECT_EQ(sizesIn(text), (std::vector<double>{10, 11, 12, 8, 9})) << text;
}

using PanelSpinnerTyping = PanelFixture;

// A value typed into the spinner's field sizes the points added after it
// once it is committed: by a click elsewhere on the panel, not by one in the
// drawing window.
TEST_F(PanelSpinnerTyping, TypedValueIsCommittedByAClickOnThePanelNotInTheDrawing)
{
    ASSERT_TRUE(waitForSpinner(10));
    // A click into the field, then a drag across it selects its text (with
    // the pointer kept over the panel, and the panel focused where a window
    // manager decides the focus).
    const int y = SPINNER_FIELD.cy();
    x_->movePointer(panel_, SPINNER_FIELD.x + SPINNER_FIELD.w - 3, y);
    x_->click(1);
    x_->press(1);
    x_->movePointer(panel_, SPINNER_FIELD.x + 2, y);
    x_->release(1);
    x_->focusForKeys(panel_);
    x_->typeText("12");
    ASSERT_TRUE(addPointAt(1, -100, 0));
    clickPanel(BACKGROUND_X, BACKGROUND_Y);
    EXPECT_TRUE(waitForSpinner(12));
    ASSERT_TRUE(addPointAt(2, 100, 0));
    std::string text = saveWithButton();
    EXPECT_EQ(sizesIn(text), (std::vector<double>{10, 12})) << text;
}

// ---------------------------------------------------------------- buttons

using PanelButtons = PanelFixture;

// Keys typed into the Controls window: Tab moves the focus from a clicked
// button to the next, Space presses the focused one. Shift+Tab moves the
// focus back where GLUT reports it (on Windows); under X11 it never arrives,
// and the focus stays.
TEST_F(PanelButtons, TabAndSpacePressTheNextButtonAndShiftTabGoesBackWhereItArrives)
{
    clickControl(NEW_BUTTON);  // focuses it (and empties the empty set)
    ASSERT_TRUE(addPointAt(1, 0, 0));
    x_->focusForKeys(panel_);
    x_->tapKey(XK_Tab);
    x_->tapKey(XK_Tab);
    EXPECT_EQ(saveBy([&] { x_->tapKey(XK_space); }), pointFileText({{0, 0, 10}}))
        << "Tab, Tab and Space from \"New Point Set(N)\" did not press \"Save Point Set(S)\"";

    ASSERT_TRUE(addPointAt(2, 100, 0));
    x_->focusForKeys(panel_);
    x_->keyDown(XK_Shift_L);
    x_->tapKey(XK_Tab);
    x_->keyUp(XK_Shift_L);
    if (desktop().glutReportsShiftTab) {
        // Load brings back the saved set of one point: the next is number 2 again.
        x_->tapKey(XK_space);
        EXPECT_TRUE(addPointAt(2, -100, 0)) << "Shift+Tab and Space did not press \"Load Point Set(L)\"";
    } else {
        EXPECT_EQ(saveBy([&] { x_->tapKey(XK_space); }), pointFileText({{0, 0, 10}, {100, 0, 10}}))
            << "after Shift+Tab, Space did not press \"Save Point Set(S)\" again";
    }
}

using PanelSchema = RectangleFixture;

// The schema button switches every layer's colour: the second set draws the
// same pixels the first did, each layer in its own colour; switching back
// shows exactly the drawing from before.
TEST_F(PanelSchema, ButtonSwitchesEveryLayersColourAndBack)
{
    Image second = switchSchemaTo(1);
    for (const Rgb* layer : {GEOMETRY_COLOURS, LINES_COLOURS, POINTS_COLOURS}) {
        EXPECT_EQ(second.count(layer[0]), 0) << "a layer kept its first colour " << layer[0];
        EXPECT_EQ(second.count(layer[1]), drawn_.count(layer[0])) << "the layer in " << layer[1];
    }
    EXPECT_EQ(second.count(WHITE), drawn_.count(WHITE)) << "the white background changed";

    Image back = switchSchemaTo(0);
    EXPECT_TRUE(imagesEqual(back, drawn_)) << "switching the schema back did not restore the drawing";
}

}  // namespace
