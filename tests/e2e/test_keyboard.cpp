// Keys in the drawing window: 1 to 3 choose the mode, 4 to 6 flip the layers,
// N, L and S act as the panel's buttons, and nothing else does anything (7 is
// checked with the drawing's colours). Every key is a real XTest key press; what it
// did is read from the drawing, the Controls window's pixels, points.txt and
// standard output.
#include <cstdio>
#include <string>
#include <vector>

#include "panel_helpers.h"

using namespace e2e;
using namespace e2e::panel;

namespace {

// RECTANGLE in each mode: polygon fills its centre, the fan draws the
// diagonal P1-P3 through the centre, the strip leaves its left triangle white.
struct ModeKey {
    char key;
    int radio;  // index of its radio button
    const char* name;
    // Whether the drawing shows this mode and no other.
    bool (*shown)(const Image&);
};

const ModeKey MODE_KEYS[] = {
    {'1', 0, "Polygon",
     [](const Image& i) {
         return i.shows(scenePixel(0, 0), GEOMETRY_COLOURS[0]) && i.shows(scenePixel(-100, 0), GEOMETRY_COLOURS[0]);
     }},
    {'2', 1, "Triangle Fan",
     [](const Image& i) {
         return i.shows(scenePixel(0, 0), LINES_COLOURS[0]) && i.shows(scenePixel(-100, 0), GEOMETRY_COLOURS[0]);
     }},
    {'3', 2, "Triangle Strip",
     [](const Image& i) {
         return i.shows(scenePixel(0, 0), LINES_COLOURS[0]) && i.shows(scenePixel(-100, 0), WHITE);
     }},
};

struct LayerKey {
    char key;
    int checkbox;  // index of its checkbox
    const char* name;
    // The layer's colours by schema. A pointer, not a copy: the colours are
    // set up at start-up in another file, possibly after this table.
    const Rgb* colours;
};

const LayerKey LAYER_KEYS[] = {
    {'4', 0, "points", POINTS_COLOURS},
    {'5', 1, "lines", LINES_COLOURS},
    {'6', 2, "geometry", GEOMETRY_COLOURS},
};

class Keys : public RectangleFixture {
protected:
    // Presses `key` and waits until the drawing and the panel both agree with
    // `mode`; returns whether they did.
    ::testing::AssertionResult modeAfterKey(const ModeKey& mode)
    {
        pressKey(mode.key);
        Image drawing = waitForDrawing(mode.shown);
        if (!mode.shown(drawing))
            return ::testing::AssertionFailure() << "key " << mode.key << " did not draw the " << mode.name;
        Image img = waitForPanel([&](const Image& i) { return selectedRadio(i) == mode.radio; });
        if (selectedRadio(img) != mode.radio)
            return ::testing::AssertionFailure() << "key " << mode.key << " drew the " << mode.name
                                                 << " but the panel selects radio " << selectedRadio(img);
        return ::testing::AssertionSuccess();
    }

    // Presses `layer.key` and waits until the layer is `shown` (or not) in
    // the drawing and its checkbox is ticked (or not) to match.
    ::testing::AssertionResult layerAfterKey(const LayerKey& layer, bool shown)
    {
        pressKey(layer.key);
        return layerIs(layer, shown, std::string("after key ") + layer.key);
    }

    ::testing::AssertionResult layerIs(const LayerKey& layer, bool shown, const std::string& when)
    {
        auto inDrawing = [&](const Image& i) { return (i.count(layer.colours[0]) > 0) == shown; };
        if (!inDrawing(waitForDrawing(inDrawing)))
            return ::testing::AssertionFailure() << "the " << layer.name << " layer is " << (shown ? "hidden " : "shown ")
                                                 << when;
        auto inPanel = [&](const Image& i) { return checkboxTicked(i, layer.checkbox) == shown; };
        if (!inPanel(waitForPanel(inPanel)))
            return ::testing::AssertionFailure() << "the " << layer.name << " layer is " << (shown ? "shown" : "hidden")
                                                 << " " << when << " but its checkbox is "
                                                 << (shown ? "not ticked" : "ticked");
        return ::testing::AssertionSuccess();
    }

};

TEST_F(Keys, OneToThreeDrawTheirModeAndSelectItsRadioButton)
{
    // Every mode from every other one, and a key of the current mode again.
    for (int k : {1, 2, 0, 2, 2, 1, 0, 0})
        EXPECT_TRUE(modeAfterKey(MODE_KEYS[k]));
}

TEST_F(Keys, FourToSixFlipTheirLayerAndTheCheckboxFollowsEachTime)
{
    for (const LayerKey& layer : LAYER_KEYS) {
        SCOPED_TRACE(std::string("key ") + layer.key);
        EXPECT_TRUE(layerAfterKey(layer, false));
        EXPECT_TRUE(layerAfterKey(layer, true));
        EXPECT_TRUE(layerAfterKey(layer, false));
        // The box and the flag agree: one click on the box shows the layer again.
        clickControl(CHECKBOXES[layer.checkbox]);
        EXPECT_TRUE(layerIs(layer, true, "after a click on its checkbox"));
    }
    Image img = capturePanel();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(checkboxTicked(img, i)) << "checkbox " << i;
    EXPECT_TRUE(imagesEqual(waitForDrawing([&](const Image& i) { return sameImage(i, drawn_); }), drawn_))
        << "the drawing did not come back as it was with every layer on again";
}

// A key typed at once after a click on a control acts in the drawing window,
// not in the Controls window the click went to (under Wine the click makes
// Controls the active window only as the editor takes it from its queue).
TEST_F(Keys, KeyTypedRightAfterAPanelClickActsInTheDrawing)
{
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const bool shown = round % 2 == 1;
        clickControl(CHECKBOXES[LAYER_KEYS[1].checkbox]);
        pressKey(LAYER_KEYS[0].key);
        EXPECT_TRUE(layerIs(LAYER_KEYS[1], shown, "after a click on its checkbox"));
        EXPECT_TRUE(layerIs(LAYER_KEYS[0], shown, "after its key, typed right after that click"));
    }
}

TEST_F(Keys, CapitalSNewAndLoadActAsTheirButtons)
{
    ASSERT_TRUE(addPointAt(5, 0, 0));
    std::vector<PointSpec> five = RECTANGLE;
    five.push_back({0, 0, 10});
    ASSERT_EQ(saveBy([&] { pressKey('S'); }), pointFileText(five));
    Image drawn = waitForDrawing([](const Image& i) { return i.shows(scenePixel(0, 0), POINTS_COLOURS[0]); });
    ASSERT_TRUE(pixelNear(drawn, scenePixel(0, 0), POINTS_COLOURS[0])) << "point 5 is not drawn";

    pressKey('N');
    Image empty = waitForDrawing([](const Image& i) { return i.allNear(WHITE, 0); });
    EXPECT_TRUE(empty.allNear(WHITE, 0)) << "N left something drawn";
    ASSERT_TRUE(addPointAt(1, 200, 200)) << "N did not empty the set";

    pressKey('L');
    Image loaded = waitForDrawing([&](const Image& i) { return sameImage(i, drawn); });
    EXPECT_TRUE(imagesEqual(loaded, drawn)) << "L did not bring the saved set back";
    ASSERT_TRUE(addPointAt(6, -200, -200)) << "the loaded set does not hold five points";
    EXPECT_EQ(editor_->unconsumedLines(), std::vector<std::string>{});
}

TEST_F(Keys, LowerCaseLettersAndZeroEightNineDoNothing)
{
    std::remove(workFile("points.txt").c_str());
    // The panel as first drawn (on a busy machine it may not be yet when the drawing is).
    const Image panelBefore = waitForPanel([](const Image& i) { return spinnerValue(i) == 10 && checkboxTicked(i, 2); });
    noteImage(panelBefore, "controls-before-the-keys");
    // Every lower-case letter (q and s included), the unused digits and a few
    // other keys: none may save, clear, load, quit or change anything.
    std::string keys = "abcdefghijklmnopqrstuvwxyz089 .,-+";
    for (char c : keys)
        pressKey(c);
    // The editor handles keys in order: once 7 has switched the schema,
    // every key before it has been handled.
    pressKey('7');
    waitForDrawing([](const Image& i) { return i.count(POINTS_COLOURS[1]) > 0 && i.count(POINTS_COLOURS[0]) == 0; });
    pressKey('7');
    Image after = waitForDrawing([&](const Image& i) { return sameImage(i, drawn_); });

    EXPECT_TRUE(imagesEqual(after, drawn_)) << "the drawing changed";
    EXPECT_TRUE(editor_->isRunning()) << "the editor ended";
    EXPECT_FALSE(fileExists(workFile("points.txt"))) << "a key wrote points.txt";
    EXPECT_EQ(editor_->unconsumedLines(), std::vector<std::string>{}) << "a key printed something";
    EXPECT_TRUE(imagesEqual(capturePanel(), panelBefore)) << "a key changed the control panel";
    ASSERT_TRUE(addPointAt(5, 0, 0)) << "the set no longer holds four points";
}

}  // namespace
