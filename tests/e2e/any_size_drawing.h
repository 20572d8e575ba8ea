// A fixture for the drawing window at whatever size it has (resized by its
// user, or tiled by a window manager): the scene stretches over the whole
// window, so a pixel's scene position depends on the size. Expected scene
// positions come from the editor's one pixel mapping (toScene); the pixels
// under the pointer show independently that the mapping and the drawing agree.
#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "app/scene_coords.h"
#include "panel_helpers.h"

namespace e2e {

constexpr int MENU_SELECT_AND_MOVE = 0;
constexpr int MIDDLE = 2;

struct Size {
    int width, height;
};

inline std::ostream& operator<<(std::ostream& os, const Size& s) { return os << s.width << "x" << s.height; }

// A point-file line for a point at `at`.
inline std::string savedLine(ScenePosition at, int size = 10)
{
    char line[96];
    std::snprintf(line, sizeof line, "%f %f %f", double(at.x), double(at.y), double(size));
    return line;
}

class AnySizeDrawing : public panel::PanelFixture {
protected:
    Size drawingSize() const
    {
        Geometry g = x_->geometry(drawing_);
        return {g.width, g.height};
    }

    ScenePosition sceneOf(Pixel p) const
    {
        Size s = drawingSize();
        return toScene(p.x, p.y, s.width, s.height);
    }

    // A left click at window pixel `p` must add point `number` at the scene
    // position of that pixel.
    ::testing::AssertionResult addPointAtPixel(int number, Pixel p)
    {
        ScenePosition at = sceneOf(p);
        x_->click(drawing_, p.x, p.y);
        const std::string expected = panel::addedLine(number, at.x, at.y);
        if (editor_->waitForLine(expected))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "a click at " << p << " did not print \"" << expected
                                             << "\"; output:\n" << editor_->transcript();
    }

    // A size-10 point is drawn under pixel `p`: its colour there and a few
    // pixels around, none of it 8 pixels to the left, right or below.
    static ::testing::AssertionResult pointUnder(const Image& img, Pixel p)
    {
        for (Pixel q : {p, Pixel{p.x - 2, p.y}, Pixel{p.x + 2, p.y}, Pixel{p.x, p.y - 2}, Pixel{p.x, p.y + 2}})
            if (!img.contains(q.x, q.y) || !near(img.at(q), POINTS_COLOURS[0]))
                return ::testing::AssertionFailure() << "no point drawn under " << p << ": " << q << " is "
                                                     << (img.contains(q.x, q.y) ? img.at(q) : Rgb{});
        for (Pixel q : {Pixel{p.x - 8, p.y}, Pixel{p.x + 8, p.y}, Pixel{p.x, p.y + 8}})
            if (img.contains(q.x, q.y) && near(img.at(q), POINTS_COLOURS[0]))
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
};

}  // namespace e2e
