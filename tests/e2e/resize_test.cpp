// Windows resized by their user: the drawing window stretches the scene over
// whatever size it has, so clicks and drags must still land under the
// pointer; the Controls window keeps its controls drawn where they respond.
#include <string>
#include <vector>

#include "app/scene_coords.h"
#include "panel_helpers.h"

using namespace e2e;
using namespace e2e::panel;

namespace {

// The drawing window at whatever size it has: the scene stretches over the
// whole window, so a pixel's scene position depends on the size. Expected
// scene positions come from the editor's one pixel mapping (toScene); the
// pixels under the pointer show independently that the mapping and the
// drawing agree.
class Resized : public PanelFixture {
protected:
    ScenePosition sceneOf(Pixel p) const
    {
        Geometry g = x_->geometry(drawing_);
        return toScene(p.x, p.y, g.width, g.height);
    }

    // A left click at window pixel `p` must add point `number` at the scene
    // position of that pixel.
    ::testing::AssertionResult addPointAtPixel(int number, Pixel p)
    {
        const ScenePosition at = sceneOf(p);
        return clickInDrawing(p, addedLine(number, at.x, at.y));
    }

    // A size-10 point is drawn under pixel `p`: its colour there and a few
    // pixels around, none of it 8 pixels to the left, right or below.
    static ::testing::AssertionResult pointUnder(const Image& img, Pixel p)
    {
        for (Pixel q : {p, Pixel{p.x - 2, p.y}, Pixel{p.x + 2, p.y}, Pixel{p.x, p.y - 2}, Pixel{p.x, p.y + 2}})
            if (!img.shows(q, POINTS_COLOURS[0]))
                return ::testing::AssertionFailure() << "no point drawn under " << p << ": " << q << " is "
                                                     << (img.contains(q.x, q.y) ? img.at(q) : Rgb{});
        for (Pixel q : {Pixel{p.x - 8, p.y}, Pixel{p.x + 8, p.y}, Pixel{p.x, p.y + 8}})
            if (img.shows(q, POINTS_COLOURS[0]))
                return ::testing::AssertionFailure() << "the point under " << p << " is not centred there: " << q
                                                     << " has the point colour too";
        return ::testing::AssertionSuccess();
    }

    Image waitForPointsUnder(const std::vector<Pixel>& pixels)
    {
        return waitForDrawing([&](const Image& img) {
            for (Pixel p : pixels)
                if (!pointUnder(img, p))
                    return false;
            return true;
        });
    }

    // The Controls window moved out of the way of a larger drawing window,
    // as its user would move it (otherwise it would cover part of the drawing).
    void SetUp() override
    {
        PanelFixture::SetUp();
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

// A point picked two pixels off its centre (the pick square is in scene
// units) follows the pointer, leaves its old place and is saved where the
// pointer let it go, the other where it was.
TEST_F(Resized, PickedPointFollowsThePointerInAStretchedWindow)
{
    resizeDrawing(900, 300);
    ASSERT_FALSE(HasFatalFailure());
    std::vector<Pixel> points = {{200, 100}, {600, 220}};
    for (std::size_t i = 0; i < points.size(); ++i)
        ASSERT_TRUE(addPointAtPixel(static_cast<int>(i) + 1, points[i]));
    // The menu opens low and right, clear of both points.
    x_->selectMenuEntry(drawing_, 700, 150, MENU_SELECT_AND_MOVE);
    const Pixel from = points[1];
    x_->movePointer(drawing_, from.x + 2, from.y - 2);
    x_->press(MIDDLE_BUTTON);
    ASSERT_TRUE(editor_->waitForLine("Selected Point: 2")) << editor_->transcript();
    for (Pixel p : {Pixel{500, 150}, Pixel{320, 60}, Pixel{90, 250}}) {
        SCOPED_TRACE(::testing::Message() << "dragged to " << p);
        x_->movePointer(drawing_, p.x, p.y);
        points[1] = p;
        Image img = waitForPointsUnder(points);
        EXPECT_TRUE(pointUnder(img, p));
        EXPECT_FALSE(img.shows(from, POINTS_COLOURS[0])) << "point 2 is still drawn where it was picked";
    }
    x_->release(MIDDLE_BUTTON);

    std::vector<std::string> expected{"2"};
    for (Pixel p : points) {
        const ScenePosition at = sceneOf(p);
        expected.push_back(pointLine({double(at.x), double(at.y)}));
    }
    EXPECT_EQ(splitLines(saveWithButton()), expected) << "the dropped point is not where the pointer let it go";
}

using ResizedPanel = RectangleFixture;

TEST_F(ResizedPanel, ControlsStayDrawnWhereTheyRespond)
{
    // The panel as it looks at its own size.
    Image own = waitForPanel([&](const Image& i) { return spinnerShows(i, 10) && checkboxTicked(i, 1); });
    ASSERT_TRUE(spinnerShows(own, 10));
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
