// A fixture for the drawing window at whatever size it has (resized by its
// user, or tiled by a window manager): the scene stretches over the whole
// window, so a pixel's scene position depends on the size. Expected scene
// positions come from the editor's one pixel mapping (toScene); the pixels
// under the pointer show independently that the mapping and the drawing agree.
#pragma once

#include <string>
#include <vector>

#include "app/scene_coords.h"
#include "panel_helpers.h"

namespace e2e {

class AnySizeDrawing : public panel::PanelFixture {
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

    // Adds a point at each of `points` (each must be drawn under its click), arms select-and-move from the menu
    // opened at `menuAt`, picks point `picked` (from 1) with a middle press
    // two pixels off its centre (the pick square is in scene units) and drags
    // it along `path`: it must follow the pointer, leave its old place and be
    // saved where the pointer let it go, the others where they were.
    void pickAndDrag(std::vector<Pixel> points, int picked, Pixel menuAt, const std::vector<Pixel>& path)
    {
        for (std::size_t i = 0; i < points.size(); ++i)
            ASSERT_TRUE(addPointAtPixel(static_cast<int>(i) + 1, points[i]));
        Image added = waitForPointsUnder(points);
        for (Pixel p : points)
            EXPECT_TRUE(pointUnder(added, p)) << "a point is not drawn where it was clicked";

        x_->selectMenuEntry(drawing_, menuAt.x, menuAt.y, MENU_SELECT_AND_MOVE);
        const Pixel from = points[picked - 1];
        x_->movePointer(drawing_, from.x + 2, from.y - 2);
        x_->press(MIDDLE_BUTTON);
        ASSERT_TRUE(editor_->waitForLine("Selected Point: " + std::to_string(picked))) << editor_->transcript();
        for (Pixel p : path) {
            SCOPED_TRACE(::testing::Message() << "dragged to " << p);
            x_->movePointer(drawing_, p.x, p.y);
            points[picked - 1] = p;
            Image img = waitForPointsUnder(points);
            EXPECT_TRUE(pointUnder(img, p));
            EXPECT_FALSE(img.shows(from, POINTS_COLOURS[0]))
                << "point " << picked << " is still drawn where it was picked";
        }
        x_->release(MIDDLE_BUTTON);

        std::vector<std::string> expected{std::to_string(points.size())};
        for (Pixel p : points) {
            const ScenePosition at = sceneOf(p);
            expected.push_back(pointLine({double(at.x), double(at.y)}));
        }
        EXPECT_EQ(splitLines(saveWithButton()), expected) << "the dropped point is not where the pointer let it go";
    }
};

}  // namespace e2e
