// The control panel driven with real clicks, keys and held buttons: its state
// at start, the layer checkboxes, the primitive radio buttons, the point-size
// spinner (arrows, holding, typing), and the New, Load, Save and colour
// schema buttons. What a control shows is read from the Controls window's
// pixels; what it does, from the drawing window's pixels and points.txt.
#include <X11/keysym.h>

#include "panel_helpers.h"

using namespace e2e;
using namespace e2e::panel;

namespace {

using PanelStart = PanelFixture;

TEST_F(PanelStart, ShowsSizeTenPolygonAndEveryLayerTicked)
{
    Image img = waitForPanel([](const Image& i) { return spinnerValue(i) == 10; });
    EXPECT_EQ(spinnerValue(img), 10) << "the spinner's field does not show 10";
    EXPECT_EQ(selectedRadio(img), 0) << "\"Polygon(1)\" is not the one selected radio button";
    EXPECT_EQ(radioDotPixels(img, 1), 0) << "\"Triangle Fan(2)\" looks selected";
    EXPECT_EQ(radioDotPixels(img, 2), 0) << "\"Triangle Strip(3)\" looks selected";
    EXPECT_TRUE(checkboxTicked(img, 0)) << "\"Toggle Points(4)\" is not ticked";
    EXPECT_TRUE(checkboxTicked(img, 1)) << "\"Toggle Lines(5)\" is not ticked";
    EXPECT_TRUE(checkboxTicked(img, 2)) << "\"Toggle Geometry(6)\" is not ticked";
}

// ---------------------------------------------------------------- layer checkboxes

using PanelLayers = RectangleFixture;

TEST_F(PanelLayers, LinesCheckboxHidesAndRestoresTheEdges)
{
    clickControl(CHECKBOXES[1]);
    Image hidden = waitForDrawing([](const Image& i) { return i.count(LINES_COLOURS[0]) == 0; });
    EXPECT_EQ(hidden.count(LINES_COLOURS[0]), 0) << "edges still drawn with \"Toggle Lines(5)\" unticked";
    EXPECT_PIXEL(hidden, scenePixel(0, -98), GEOMETRY_COLOURS[0]);  // where the edge P1-P2 was
    EXPECT_PIXEL(hidden, scenePixel(0, 0), GEOMETRY_COLOURS[0]);
    EXPECT_PIXEL(hidden, scenePixel(150, 100), POINTS_COLOURS[0]);
    Image box = waitForPanel([](const Image& i) { return !checkboxTicked(i, 1); });
    EXPECT_FALSE(checkboxTicked(box, 1)) << "the box still shows a tick";
    EXPECT_TRUE(checkboxTicked(box, 0));
    EXPECT_TRUE(checkboxTicked(box, 2));

    clickControl(CHECKBOXES[1]);
    Image shown = waitForDrawing([](const Image& i) { return allLayersShown(i); });
    EXPECT_PIXEL(shown, scenePixel(0, -100), LINES_COLOURS[0]);
    EXPECT_PIXEL(shown, scenePixel(-150, 0), LINES_COLOURS[0]);
    EXPECT_TRUE(checkboxTicked(waitForPanel([](const Image& i) { return checkboxTicked(i, 1); }), 1));
}

TEST_F(PanelLayers, PointsAndGeometryCheckboxesHideAndRestoreTheirLayers)
{
    // The caption is part of the control: click it rather than the box.
    clickPanel(CHECKBOXES[0].x + 60, CHECKBOXES[0].cy());
    Image noPoints = waitForDrawing([](const Image& i) { return i.count(POINTS_COLOURS[0]) == 0; });
    EXPECT_EQ(noPoints.count(POINTS_COLOURS[0]), 0) << "points or numbers drawn with the points layer off";
    EXPECT_PIXEL(noPoints, scenePixel(150, 100), LINES_COLOURS[0]);  // the corner shows the edges under it
    EXPECT_PIXEL(noPoints, scenePixel(0, 0), GEOMETRY_COLOURS[0]);

    clickControl(CHECKBOXES[2]);
    Image bare = waitForDrawing([](const Image& i) { return i.count(GEOMETRY_COLOURS[0]) == 0; });
    EXPECT_EQ(bare.count(GEOMETRY_COLOURS[0]), 0) << "geometry drawn with the geometry layer off";
    EXPECT_PIXEL(bare, scenePixel(0, 0), WHITE);
    EXPECT_PIXEL(bare, scenePixel(0, 100), LINES_COLOURS[0]);
    Image boxes = waitForPanel([](const Image& i) { return !checkboxTicked(i, 0) && !checkboxTicked(i, 2); });
    EXPECT_FALSE(checkboxTicked(boxes, 0));
    EXPECT_TRUE(checkboxTicked(boxes, 1));
    EXPECT_FALSE(checkboxTicked(boxes, 2));

    clickControl(CHECKBOXES[0]);
    clickControl(CHECKBOXES[2]);
    Image all = waitForDrawing([](const Image& i) { return allLayersShown(i); });
    EXPECT_PIXEL(all, scenePixel(0, 0), GEOMETRY_COLOURS[0]);
    EXPECT_PIXEL(all, scenePixel(-150, -100), POINTS_COLOURS[0]);
}

TEST_F(PanelLayers, PressReleasedOutsideTheCheckboxChangesNothing)
{
    x_->movePointer(panel_, CHECKBOXES[1].x + 5, CHECKBOXES[1].cy());
    x_->press(1);
    x_->movePointer(panel_, BACKGROUND_X, BACKGROUND_Y);
    x_->release(1);
    // A later click that is seen proves the release has been handled.
    clickControl(CHECKBOXES[0]);
    Image after = waitForDrawing([](const Image& i) { return i.count(POINTS_COLOURS[0]) == 0; });
    EXPECT_GT(after.count(LINES_COLOURS[0]), 1000)
        << "a press on \"Toggle Lines(5)\" released elsewhere hid the edges";
    EXPECT_PIXEL(after, scenePixel(0, -100), LINES_COLOURS[0]);
    // The panel may be redrawn after the drawing: wait for the click's tick to go.
    Image panel = waitForPanel([](const Image& i) { return !checkboxTicked(i, 0); });
    EXPECT_TRUE(checkboxTicked(panel, 1)) << "the box lost its tick after a release elsewhere";
    EXPECT_FALSE(checkboxTicked(panel, 0));
}

// ---------------------------------------------------------------- radio buttons

TEST_F(PanelLayers, EachRadioButtonSetsTheMode)
{
    // Polygon: the whole rectangle filled, no diagonal.
    Image img = captureDrawing();
    EXPECT_PIXEL(img, scenePixel(0, 0), GEOMETRY_COLOURS[0]);
    EXPECT_PIXEL(img, scenePixel(75, 50), GEOMETRY_COLOURS[0]);

    // Fan (P1,P2,P3) + (P1,P3,P4): the diagonal P1-P3 is an edge.
    clickControl(RADIOS[1]);
    img = waitForDrawing([](const Image& i) { return i.shows(scenePixel(75, 50), LINES_COLOURS[0]); });
    EXPECT_PIXEL(img, scenePixel(0, 0), LINES_COLOURS[0]);
    EXPECT_PIXEL(img, scenePixel(75, 50), LINES_COLOURS[0]);
    EXPECT_PIXEL(img, scenePixel(75, -50), GEOMETRY_COLOURS[0]);
    EXPECT_PIXEL(img, scenePixel(-100, 0), GEOMETRY_COLOURS[0]);
    EXPECT_EQ(selectedRadio(waitForPanel([](const Image& i) { return selectedRadio(i) == 1; })), 1);

    // Strip (P1,P2,P3) + (P2,P3,P4): the left triangle stays white.
    clickControl(RADIOS[2]);
    img = waitForDrawing([](const Image& i) { return i.shows(scenePixel(-100, 0), WHITE); });
    EXPECT_PIXEL(img, scenePixel(-100, 0), WHITE);
    EXPECT_PIXEL(img, scenePixel(-150, 0), WHITE);  // P4-P1 is no edge
    EXPECT_PIXEL(img, scenePixel(75, -50), LINES_COLOURS[0]);
    EXPECT_PIXEL(img, scenePixel(100, 20), GEOMETRY_COLOURS[0]);
    EXPECT_EQ(selectedRadio(waitForPanel([](const Image& i) { return selectedRadio(i) == 2; })), 2);

    clickControl(RADIOS[0]);
    img = waitForDrawing([](const Image& i) { return i.shows(scenePixel(75, 50), GEOMETRY_COLOURS[0]); });
    EXPECT_PIXEL(img, scenePixel(-100, 0), GEOMETRY_COLOURS[0]);
    EXPECT_PIXEL(img, scenePixel(-150, 0), LINES_COLOURS[0]);
    EXPECT_PIXEL(img, scenePixel(75, 50), GEOMETRY_COLOURS[0]);
    EXPECT_EQ(selectedRadio(waitForPanel([](const Image& i) { return selectedRadio(i) == 0; })), 0);
}

// ---------------------------------------------------------------- the point-size spinner

using PanelSpinner = PanelFixture;

TEST_F(PanelSpinner, ArrowClicksStepWithinEightToTwelveAndSizeOnlyNewPoints)
{
    ASSERT_EQ(waitForSpinner(10), 10);
    ASSERT_TRUE(addPointAt(1, -200, 0));
    clickControl(UP_ARROW);
    EXPECT_EQ(waitForSpinner(11), 11);
    ASSERT_TRUE(addPointAt(2, -100, 0));
    for (int i = 0; i < 3; ++i)
        clickControl(UP_ARROW);
    // Three more clicks from 11 stop at 12 (the point below is added after
    // all three have been handled).
    EXPECT_EQ(waitForSpinner(12), 12);
    ASSERT_TRUE(addPointAt(3, 0, 0));
    for (int i = 0; i < 6; ++i)
        clickControl(DOWN_ARROW);
    EXPECT_EQ(waitForSpinner(8), 8);
    ASSERT_TRUE(addPointAt(4, 100, 0));
    clickControl(UP_ARROW);
    EXPECT_EQ(waitForSpinner(9), 9);
    ASSERT_TRUE(addPointAt(5, 200, 0));

    std::string text = saveWithButton();
    EXPECT_EQ(sizesIn(text), (std::vector<double>{10, 11, 12, 8, 9})) << text;
}

TEST_F(PanelSpinner, HeldArrowRepeatsAndStopsAtTheLimit)
{
    ASSERT_EQ(waitForSpinner(10), 10);
    std::vector<int> seen;
    auto watchWhileHeld = [&](const Rect& arrow, int limit) {
        seen.clear();
        x_->movePointer(panel_, arrow.cx(), arrow.cy());
        x_->press(1);
        // Record every value shown until the limit is reached, then a few
        // frames more: it must stay there while the arrow is still held.
        int atLimit = 0;
        waitUntil(
            [&] {
                int v = spinnerValue(capturePanel());
                if (seen.empty() || seen.back() != v)
                    seen.push_back(v);
                if (v == limit)
                    ++atLimit;
                return atLimit >= 15;
            },
            10s);
        x_->release(1);
        return atLimit;
    };

    EXPECT_GE(watchWhileHeld(UP_ARROW, 12), 15) << "holding the up arrow never reached 12";
    for (int v : seen)
        EXPECT_TRUE(v >= 10 && v <= 12) << "the spinner showed " << v << " while the up arrow was held";
    EXPECT_EQ(seen.back(), 12);
    ASSERT_TRUE(addPointAt(1, -100, 0));

    EXPECT_GE(watchWhileHeld(DOWN_ARROW, 8), 15) << "holding the down arrow never reached 8";
    for (int v : seen)
        EXPECT_TRUE(v >= 8 && v <= 12) << "the spinner showed " << v << " while the down arrow was held";
    EXPECT_EQ(seen.back(), 8);
    ASSERT_TRUE(addPointAt(2, 100, 0));

    std::string text = saveWithButton();
    EXPECT_EQ(sizesIn(text), (std::vector<double>{12, 8})) << text;
}

class PanelSpinnerTyping : public PanelFixture {
protected:
    // Clicks the field, selects its whole text by dragging across it, types
    // `text` and presses Enter, with the pointer kept over the panel (and
    // the panel focused, where a window manager decides the focus).
    void typeValue(const std::string& text)
    {
        const int y = SPINNER_FIELD.cy();
        x_->movePointer(panel_, SPINNER_FIELD.x + SPINNER_FIELD.w - 3, y);
        x_->click(1);
        x_->press(1);
        x_->movePointer(panel_, SPINNER_FIELD.x + 6, y);
        x_->movePointer(panel_, SPINNER_FIELD.x + 2, y);
        x_->release(1);
        x_->focusForKeys(panel_);
        x_->typeText(text);
        x_->tapKey(XK_Return);
    }
};

TEST_F(PanelSpinnerTyping, TypedValuesAreClampedAndSizeLaterPoints)
{
    ASSERT_EQ(waitForSpinner(10), 10);
    struct Case {
        const char* typed;
        int shown;
    };
    const Case cases[] = {{"9", 9}, {"20", 12}, {"11", 11}, {"3", 8}, {"-5", 8}, {"12", 12}, {"0", 8}};
    std::vector<double> expected;
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        typeValue(c.typed);
        EXPECT_EQ(waitForSpinner(c.shown), c.shown);
        ++number;
        ASSERT_TRUE(addPointAt(number, -300 + 40 * number, 50));
        expected.push_back(c.shown);
    }
    std::string text = saveWithButton();
    EXPECT_EQ(sizesIn(text), expected) << text;
}

TEST_F(PanelSpinnerTyping, TypedValueIsCommittedByAClickOnThePanelNotInTheDrawing)
{
    ASSERT_EQ(waitForSpinner(10), 10);
    // Typed without Enter, then a click in the drawing window: that does not
    // commit, so the new point still gets 10.
    const int y = SPINNER_FIELD.cy();
    x_->movePointer(panel_, SPINNER_FIELD.x + SPINNER_FIELD.w - 3, y);
    x_->click(1);
    x_->press(1);
    x_->movePointer(panel_, SPINNER_FIELD.x + 2, y);
    x_->release(1);
    x_->focusForKeys(panel_);
    x_->typeText("12");
    ASSERT_TRUE(addPointAt(1, -100, 0));
    // A click on the panel's background commits the typed 12.
    clickPanel(BACKGROUND_X, BACKGROUND_Y);
    EXPECT_EQ(waitForSpinner(12), 12);
    ASSERT_TRUE(addPointAt(2, 100, 0));
    std::string text = saveWithButton();
    EXPECT_EQ(sizesIn(text), (std::vector<double>{10, 12})) << text;
}

// ---------------------------------------------------------------- buttons

using PanelButtons = PanelFixture;

TEST_F(PanelButtons, SaveNewAndLoadBringTheSameDrawingBack)
{
    ASSERT_TRUE(addPointAt(1, 100, 100));
    ASSERT_TRUE(addPointAt(2, -50, 20));
    ASSERT_TRUE(addPointAt(3, -150, -120));
    Image drawn = waitForDrawing([](const Image& i) {
        return i.shows(scenePixel(100, 100), POINTS_COLOURS[0]) && i.shows(scenePixel(-150, -120), POINTS_COLOURS[0]) &&
               i.count(GEOMETRY_COLOURS[0]) > 1000;
    });

    EXPECT_EQ(saveWithButton(), "3\n"
                                 "100.000000 100.000000 10.000000\n"
                                 "-50.000000 20.000000 10.000000\n"
                                 "-150.000000 -120.000000 10.000000\n");
    clickControl(NEW_BUTTON);
    Image empty = waitForDrawing([](const Image& i) { return i.allNear(WHITE, 0); });
    EXPECT_TRUE(empty.allNear(WHITE, 0)) << "\"New Point Set(N)\" left something drawn";

    clickControl(LOAD_BUTTON);
    Image loaded = waitForDrawing([&](const Image& i) { return sameImage(i, drawn); });
    EXPECT_TRUE(imagesEqual(loaded, drawn)) << "the loaded set is not drawn as the saved one was";

    // After New the next point is number 1; after Load it goes on from 3.
    clickControl(NEW_BUTTON);
    waitForDrawing([](const Image& i) { return i.allNear(WHITE, 0); });
    ASSERT_TRUE(addPointAt(1, 0, 0));
    clickControl(LOAD_BUTTON);
    waitForDrawing([&](const Image& i) { return sameImage(i, drawn); });
    ASSERT_TRUE(addPointAt(4, 0, -200));
}

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

TEST_F(PanelButtons, SaveThenLoadLeavesTheDrawingUnchangedAndSchemaSwitchesColours)
{
    loadPoints(RECTANGLE);
    Image before = waitForDrawing([](const Image& i) { return i.shows(scenePixel(-150, 100), POINTS_COLOURS[0]); });
    EXPECT_EQ(saveWithButton(), pointFileText(RECTANGLE));
    clickControl(LOAD_BUTTON);

    // The schema button switches every layer's colour; switching back shows
    // exactly the drawing from before the save and the load.
    Image second = switchSchemaTo(1);
    EXPECT_EQ(second.count(GEOMETRY_COLOURS[0]), 0);
    EXPECT_EQ(second.count(LINES_COLOURS[0]), 0);
    EXPECT_EQ(second.count(POINTS_COLOURS[0]), 0);
    EXPECT_PIXEL(second, scenePixel(0, 0), GEOMETRY_COLOURS[1]);
    EXPECT_PIXEL(second, scenePixel(0, 100), LINES_COLOURS[1]);
    EXPECT_PIXEL(second, scenePixel(150, -100), POINTS_COLOURS[1]);
    EXPECT_PIXEL(second, scenePixel(0, 200), WHITE);

    Image back = switchSchemaTo(0);
    EXPECT_TRUE(imagesEqual(back, before)) << "Save then Load changed the drawing";
}

TEST_F(PanelButtons, ButtonPressReleasedOffTheButtonDoesNothing)
{
    ASSERT_TRUE(addPointAt(1, -100, 0));
    ASSERT_TRUE(addPointAt(2, 100, 0));
    for (const Rect* button : {&SAVE_BUTTON, &NEW_BUTTON}) {
        x_->movePointer(panel_, button->cx(), button->cy());
        x_->press(1);
        x_->movePointer(panel_, BACKGROUND_X, BACKGROUND_Y);
        x_->release(1);
    }
    // The schema switch shows that both releases have been handled.
    Image img = switchSchemaTo(1);
    EXPECT_PIXEL(img, scenePixel(-100, 0), POINTS_COLOURS[1]) << "New fired on a release off the button";
    EXPECT_FALSE(fileExists(workFile("points.txt"))) << "Save fired on a release off the button";
    ASSERT_TRUE(addPointAt(3, 0, 100));
}

}  // namespace
