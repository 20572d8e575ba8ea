// Keys in the drawing window: 1 to 3 choose the mode, 4 to 6 flip the layers
// (the radio buttons and layer checkboxes follow them and do the same), and
// nothing else does anything (7 is checked with the drawing's colours, N, L
// and S with the point file). Every key is a real XTest key press; what it did
// is read from the drawing, the Controls window's pixels, points.txt and
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
    // Presses the mode's key (or clicks its radio button) and waits until the
    // drawing and the panel both agree with `mode`; returns whether they did.
    ::testing::AssertionResult modeAfter(const ModeKey& mode, bool byRadio)
    {
        const std::string how = byRadio ? std::string("its radio button") : std::string("key ") + mode.key;
        if (byRadio)
            clickControl(RADIOS[mode.radio]);
        else
            pressKey(mode.key);
        Image drawing = waitForDrawing(mode.shown);
        if (!mode.shown(drawing))
            return ::testing::AssertionFailure() << how << " did not draw the " << mode.name;
        Image img = waitForPanel([&](const Image& i) { return selectedRadio(i) == mode.radio; });
        if (selectedRadio(img) != mode.radio)
            return ::testing::AssertionFailure() << how << " drew the " << mode.name
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

    // Whether `layer` is shown (its colour drawn: for the points, their
    // numbers too) or hidden in the drawing, with the other layers shown
    // (unless `alone` is false), and its checkbox ticked to match.
    ::testing::AssertionResult layerIs(const LayerKey& layer, bool shown, const std::string& when, bool alone = true)
    {
        auto inDrawing = [&](const Image& i) { return (i.count(layer.colours[0]) > 0) == shown; };
        const Image drawing = waitForDrawing(inDrawing);
        if (!inDrawing(drawing))
            return ::testing::AssertionFailure() << "the " << layer.name << " layer is " << (shown ? "hidden " : "shown ")
                                                 << when;
        for (const LayerKey& other : LAYER_KEYS)
            if (alone && &other != &layer && drawing.count(other.colours[0]) == 0)
                return ::testing::AssertionFailure() << "the " << other.name << " layer went too " << when;
        auto inPanel = [&](const Image& i) { return checkboxTicked(i, layer.checkbox) == shown; };
        if (!inPanel(waitForPanel(inPanel)))
            return ::testing::AssertionFailure() << "the " << layer.name << " layer is " << (shown ? "shown" : "hidden")
                                                 << " " << when << " but its checkbox is "
                                                 << (shown ? "not ticked" : "ticked");
        return ::testing::AssertionSuccess();
    }

};

// The keys and the radio buttons "Polygon(1)", "Triangle Fan(2)" and
// "Triangle Strip(3)" choose the mode alike, and the buttons follow the keys.
TEST_F(Keys, OneToThreeAndTheRadioButtonsDrawTheirModeAndSelectItsButton)
{
    // Every mode from every other one, and the current mode again.
    for (int k : {1, 2, 0, 2, 2, 1, 0, 0})
        EXPECT_TRUE(modeAfter(MODE_KEYS[k], false));
    for (int k : {1, 2, 0})
        EXPECT_TRUE(modeAfter(MODE_KEYS[k], true));
}

// The keys and the checkboxes "Toggle Points(4)", "Toggle Lines(5)" and
// "Toggle Geometry(6)" flip one layer each, and the box follows the key: a
// click after the keys flips the layer from where the keys left it.
TEST_F(Keys, FourToSixAndTheLayerCheckboxesFlipTheirLayerAlike)
{
    for (const LayerKey& layer : LAYER_KEYS) {
        SCOPED_TRACE(std::string("key ") + layer.key);
        EXPECT_TRUE(layerAfterKey(layer, false));
        EXPECT_TRUE(layerAfterKey(layer, true));
        clickControl(CHECKBOXES[layer.checkbox]);
        EXPECT_TRUE(layerIs(layer, false, "after a click on its checkbox"));
        clickControl(CHECKBOXES[layer.checkbox]);
        EXPECT_TRUE(layerIs(layer, true, "after a second click on its checkbox"));
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
        EXPECT_TRUE(layerIs(LAYER_KEYS[1], shown, "after a click on its checkbox", false));
        EXPECT_TRUE(layerIs(LAYER_KEYS[0], shown, "after its key, typed right after that click", false));
    }
}

TEST_F(Keys, LowerCaseLettersAndZeroEightNineDoNothing)
{
    std::remove(workFile("points.txt").c_str());
    // The panel as first drawn (on a busy machine it may not be yet when the drawing is).
    const Image panelBefore = waitForPanel([&](const Image& i) { return spinnerShows(i, 10) && checkboxTicked(i, 2); });
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
