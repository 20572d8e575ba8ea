// The editor under openbox, a window manager that gives the keyboard focus on
// a click: the last window mapped, Controls, has the focus at start, so keys
// typed over the drawing window go to the panel (which, with no control
// focused, drops them) until a click into the drawing window focuses it.
// The other tests give a window the focus before typing; this one must not.
#include "harness_gtest.h"

using namespace e2e;

namespace {

class ClickToFocus : public EditorTest {
protected:
    Desktop chooseDesktop() const override { return Desktop::openbox(); }

    // L typed with the pointer over the drawing window, and no more.
    void typeLOverTheDrawing()
    {
        x_->movePointer(drawing_, DRAWING_WIDTH - 2, DRAWING_HEIGHT - 2);
        x_->tapKey('L');
    }
};

TEST_F(ClickToFocus, KeysOverTheDrawingDoNothingUntilAClickIntoIt)
{
    writePoints({{-100, 0, 10}, {100, 0, 10}});
    EXPECT_TRUE(waitUntil([&] { return x_->hasFocus(panel_); })) << "the Controls window has no focus at start";
    typeLOverTheDrawing();
    // The click comes after the key: had L loaded the two points, it would add point 3.
    ASSERT_TRUE(addPointAt(1, 0, 100)) << "L typed over the drawing window before a click loaded the file";
    EXPECT_TRUE(waitUntil([&] { return x_->hasFocus(drawing_); })) << "the click did not focus the drawing window";

    typeLOverTheDrawing();
    Image loaded = waitForDrawing([](const Image& i) {
        return i.shows(scenePixel(-100, 0), POINTS_COLOURS[0]) && !i.shows(scenePixel(0, 100), POINTS_COLOURS[0]);
    });
    EXPECT_PIXEL(loaded, scenePixel(100, 0), POINTS_COLOURS[0]) << "L after the click did not load the file";
    ASSERT_TRUE(addPointAt(3, 0, -100));
}

}  // namespace
