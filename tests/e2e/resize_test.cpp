// Windows resized by their user: the drawing window stretches the scene over
// whatever size it has, so clicks and drags must still land under the
// pointer; the Controls window keeps its controls drawn where they respond.
#include <string>
#include <vector>

#include "any_size_drawing.h"

using namespace e2e;
using namespace e2e::panel;

namespace {

class Resized : public AnySizeDrawing {
protected:
    // The Controls window moved out of the way of a larger drawing window,
    // as its user would move it (otherwise it would cover part of the drawing).
    void SetUp() override
    {
        AnySizeDrawing::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(x_->move(panel_, 1070, 100)) << "the Controls window stays at " << x_->geometry(panel_);
    }

    // Resizes the drawing window as its user would and waits until it is
    // drawn white all over at the new size.
    void resizeDrawing(int width, int height)
    {
        x_->resize(drawing_, width, height);
        Image img = waitForDrawing(
            [&](const Image& i) { return i.width() == width && i.height() == height && i.allNear(WHITE, 0); }, 10s);
        ASSERT_EQ(img.width(), width) << "the drawing window did not take the new size";
        ASSERT_EQ(img.height(), height);
        ASSERT_TRUE(img.allNear(WHITE, 0)) << "the resized window is not drawn white all over";
    }
};

TEST_F(Resized, ClicksAddPointsUnderThePointerAtAnySize)
{
    const std::pair<int, int> sizes[] = {{800, 600}, {400, 300}, {900, 300}};
    for (auto [width, height] : sizes) {
        SCOPED_TRACE(::testing::Message() << "drawing window resized to " << width << "x" << height);
        resizeDrawing(width, height);
        if (HasFatalFailure())
            return;
        const std::vector<Pixel> clicks = {
            {width / 2, height / 2}, {width / 5, height / 4}, {width - 30, height - 20}, {25, height * 3 / 4}};
        for (std::size_t i = 0; i < clicks.size(); ++i)
            ASSERT_TRUE(addPointAtPixel(static_cast<int>(i) + 1, clicks[i]));
        Image img = waitForPointsUnder(clicks);
        for (Pixel p : clicks)
            EXPECT_TRUE(pointUnder(img, p));
        EXPECT_GT(img.count(GEOMETRY_COLOURS[0]), 1000) << "the four points are not filled as a polygon";

        // Saved at the printed positions; then a fresh set for the next size.
        std::string text = saveWithButton();
        std::vector<std::string> lines = splitLines(text);
        ASSERT_EQ(lines.size(), 5u) << text;
        for (std::size_t i = 0; i < clicks.size(); ++i) {
            const ScenePosition at = sceneOf(clicks[i]);
            EXPECT_EQ(lines[i + 1], pointLine({double(at.x), double(at.y)}));
        }
        pressKey('N');
        waitForDrawing([](const Image& i) { return i.allNear(WHITE, 0); });
        editor_->markAllConsumed();
    }
}

TEST_F(Resized, PickedPointFollowsThePointerInAStretchedWindow)
{
    resizeDrawing(900, 300);
    ASSERT_FALSE(HasFatalFailure());
    // The menu opens low and right, clear of both points.
    pickAndDrag({{200, 100}, {600, 220}}, 2, {700, 150}, {{500, 150}, {320, 60}, {90, 250}});
}

using ResizedPanel = RectangleFixture;

TEST_F(ResizedPanel, ControlsStayDrawnWhereTheyRespond)
{
    // The panel as it looks at its own size.
    Image own = waitForPanel([](const Image& i) { return spinnerValue(i) == 10 && checkboxTicked(i, 1); });
    ASSERT_EQ(spinnerValue(own), 10);
    const Rgb background = own.at(BACKGROUND_X, BACKGROUND_Y);

    // Whatever size the window ends with (the panel asks for its own size
    // back; a window manager may not give it), the controls are drawn at its
    // top-left as before, and the rest is the panel's background.
    auto showsOwnPanel = [&](const Image& img) {
        return sameImage(img.crop(0, 0, own.width(), own.height()), own) &&
               onlyBackgroundBeyond(img, own.width(), own.height(), background);
    };
    x_->resize(panel_, 300, 600);
    waitForPanel(showsOwnPanel, 10s);
    RedrawCounter redraws(server_->display(), panel_);
    ASSERT_TRUE(redraws.waitForQuiet(300ms, 10s)) << "the panel keeps redrawing after the resize";
    Image resized = capturePanel();
    ASSERT_TRUE(showsOwnPanel(resized)) << "the panel (" << resized.width() << "x" << resized.height()
                                        << ") does not show its controls as at its own size";

    // A control acts where it is drawn.
    clickControl(CHECKBOXES[1]);
    Image hidden = waitForDrawing([](const Image& i) { return i.count(LINES_COLOURS[0]) == 0; });
    EXPECT_EQ(hidden.count(LINES_COLOURS[0]), 0) << "\"Toggle Lines(5)\" did not hide the edges";
    Image box = waitForPanel([](const Image& i) { return !checkboxTicked(i, 1); });
    EXPECT_FALSE(checkboxTicked(box, 1)) << "the box clicked shows no change";
    EXPECT_TRUE(checkboxTicked(box, 0));
}

}  // namespace
