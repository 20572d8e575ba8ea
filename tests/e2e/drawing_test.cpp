// What the drawing window shows for a loaded point set: filled geometry, edges,
// points and their numbers, in each mode. Expected pixels are
// derived from the geometry of the point set, not from the editor's code.
#include <string>

#include "panel_helpers.h"

using namespace e2e;
using e2e::panel::RECTANGLE;

namespace {

enum class Layer { White, Geometry, Lines, Points };

// The colours at start; the other set is the colour schema button's test.
Rgb colourOf(Layer layer)
{
    switch (layer) {
    case Layer::Geometry: return GEOMETRY_COLOURS[0];
    case Layer::Lines: return LINES_COLOURS[0];
    case Layer::Points: return POINTS_COLOURS[0];
    case Layer::White: break;
    }
    return WHITE;
}

const char* nameOf(Layer layer)
{
    switch (layer) {
    case Layer::Geometry: return "geometry";
    case Layer::Lines: return "lines";
    case Layer::Points: return "points";
    case Layer::White: break;
    }
    return "background";
}

// A scene position and the layer whose colour it must show.
struct Spot {
    int x, y;
    Layer layer;
    const char* what;
};

std::vector<Spot> cornerSpots()
{
    return {{-150, -100, Layer::Points, "P1"},
            {150, -100, Layer::Points, "P2"},
            {150, 100, Layer::Points, "P3"},
            {-150, 100, Layer::Points, "P4"},
            {0, 150, Layer::White, "above the set"},
            {0, -150, Layer::White, "below the set"},
            {-250, 0, Layer::White, "left of the set"},
            {250, -200, Layer::White, "bottom right"},
            {-300, 220, Layer::White, "top left"}};
}

// Fan (P1,P2,P3) + (P1,P3,P4): the whole rectangle, its four sides and the
// diagonal P1-P3; the other diagonal is no edge.
std::vector<Spot> fanSpots()
{
    std::vector<Spot> s = cornerSpots();
    s.insert(s.end(), {{50, -33, Layer::Geometry, "centroid of triangle P1 P2 P3"},
                       {-50, 33, Layer::Geometry, "centroid of triangle P1 P3 P4"},
                       {-100, 0, Layer::Geometry, "inside, left"},
                       {75, -50, Layer::Geometry, "on the diagonal P2-P4, which is no edge"},
                       {0, -100, Layer::Lines, "midpoint of P1-P2"},
                       {150, 0, Layer::Lines, "midpoint of P2-P3"},
                       {0, 100, Layer::Lines, "midpoint of P3-P4"},
                       {-150, 0, Layer::Lines, "midpoint of P4-P1"},
                       {0, 0, Layer::Lines, "midpoint of the diagonal P1-P3"},
                       {75, 50, Layer::Lines, "on the diagonal P1-P3"}});
    return s;
}

// Polygon P1..P4: the whole rectangle and its four sides, no diagonal.
std::vector<Spot> polygonSpots()
{
    std::vector<Spot> s = cornerSpots();
    s.insert(s.end(), {{50, -33, Layer::Geometry, "inside, lower right"},
                       {-50, 33, Layer::Geometry, "inside, upper left"},
                       {0, 0, Layer::Geometry, "centre"},
                       {75, 50, Layer::Geometry, "on the line P1-P3, which is no edge"},
                       {75, -50, Layer::Geometry, "on the line P2-P4, which is no edge"},
                       {0, -100, Layer::Lines, "midpoint of P1-P2"},
                       {150, 0, Layer::Lines, "midpoint of P2-P3"},
                       {0, 100, Layer::Lines, "midpoint of P3-P4"},
                       {-150, 0, Layer::Lines, "midpoint of the closing edge P4-P1"}});
    return s;
}

// Strip (P1,P2,P3) + (P2,P3,P4): the right part of the rectangle; the left
// triangle (P1, P4, centre) stays white and P4-P1 is no edge.
std::vector<Spot> stripSpots()
{
    std::vector<Spot> s = cornerSpots();
    // Both triangles' centroids lie on the other triangle's diagonal edge, so
    // the fill is checked at points clear of every edge.
    s.insert(s.end(), {{100, -20, Layer::Geometry, "inside triangle P1 P2 P3"},
                       {0, -80, Layer::Geometry, "inside triangle P1 P2 P3 only"},
                       {100, 20, Layer::Geometry, "inside triangle P2 P3 P4"},
                       {0, 80, Layer::Geometry, "inside triangle P2 P3 P4 only"},
                       {-100, 0, Layer::White, "left triangle, outside both"},
                       {-150, 0, Layer::White, "where P4-P1 would be"},
                       {0, -100, Layer::Lines, "midpoint of P1-P2"},
                       {150, 0, Layer::Lines, "midpoint of P2-P3"},
                       {0, 100, Layer::Lines, "midpoint of P3-P4"},
                       {0, 0, Layer::Lines, "where the diagonals cross"},
                       {75, 50, Layer::Lines, "on the edge P3-P1"},
                       {-75, -50, Layer::Lines, "on the edge P3-P1, left half"},
                       {75, -50, Layer::Lines, "on the edge P4-P2"},
                       {-75, 50, Layer::Lines, "on the edge P4-P2, left half"}});
    return s;
}

class Drawing : public EditorTest {
protected:
    static bool spotsHold(const Image& img, const std::vector<Spot>& spots)
    {
        for (const Spot& s : spots)
            if (!img.shows(scenePixel(s.x, s.y), colourOf(s.layer)))
                return false;
        return true;
    }

    void expectSpots(const Image& img, const std::vector<Spot>& spots)
    {
        for (const Spot& s : spots)
            EXPECT_TRUE(pixelNear(img, scenePixel(s.x, s.y), colourOf(s.layer)))
                << s.what << " (scene " << s.x << ", " << s.y << ") should show the " << nameOf(s.layer) << " colour";
    }

    // Loads `points` in the mode of `modeKey`, then waits until `spots` hold
    // (or the time is up).
    Image show(const std::vector<PointSpec>& points, char modeKey, const std::vector<Spot>& spots)
    {
        writePoints(points);
        pressKey(modeKey);
        pressKey('L');
        return waitForDrawing([&](const Image& img) { return spotsHold(img, spots); });
    }

    void expectNumbers(const Image& img, const std::vector<PointSpec>& points)
    {
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_TRUE(textAt(img, static_cast<int>(points[i].x), static_cast<int>(points[i].y + 10),
                               std::to_string(i + 1), colourOf(Layer::Points)));
    }
};

// ---------------------------------------------------------------- the rectangle in every mode

struct ModeCase {
    char key;
    const char* name;
    std::vector<Spot> (*spots)();
};
void PrintTo(const ModeCase& m, std::ostream* os) { *os << m.name; }

const ModeCase MODES[] = {{'1', "Polygon", polygonSpots}, {'2', "TriangleFan", fanSpots}, {'3', "TriangleStrip", stripSpots}};

class RectangleDrawing : public Drawing, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(RectangleDrawing, ShowsFillEdgesPointsAndNumbersInTheirColoursOnly)
{
    const ModeCase& mode = GetParam();
    for (int i = 1; i <= 4; ++i)
        textMask(std::to_string(i));  // rendered before, so the wait below is short
    Image img = show(RECTANGLE, mode.key, mode.spots());
    expectSpots(img, mode.spots());
    expectNumbers(img, RECTANGLE);
    // Every pixel is the background or one of the three layer colours.
    int others = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            others += !near(img.at(x, y), WHITE) && !near(img.at(x, y), colourOf(Layer::Geometry)) &&
                      !near(img.at(x, y), colourOf(Layer::Lines)) && !near(img.at(x, y), colourOf(Layer::Points));
    EXPECT_EQ(others, 0) << "pixels in no layer colour";
}

INSTANTIATE_TEST_SUITE_P(Modes, RectangleDrawing, ::testing::ValuesIn(MODES),
                         [](const ::testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- single cases

// (No edges for a single point in any mode is the layout's unit test.)
TEST_F(Drawing, SinglePointHasNoEdgesNoFillAndNumberOne)
{
    const std::vector<PointSpec> one = {{0, 0, 12}};
    textMask("1");
    Image img = show(one, '1', {{0, 0, Layer::Points, "the point"}});
    EXPECT_PIXEL(img, scenePixel(0, 0), POINTS_COLOURS[0]);
    EXPECT_EQ(img.count(GEOMETRY_COLOURS[0]), 0) << "geometry drawn for one point";
    EXPECT_EQ(img.count(LINES_COLOURS[0]), 0) << "an edge drawn for one point";
    EXPECT_TRUE(textAt(img, 0, 10, "1", POINTS_COLOURS[0]));
    // A round point of size 12: about pi * 6 * 6 pixels, fewer than the square's 144.
    Pixel c = scenePixel(0, 0);
    int disc = img.count(POINTS_COLOURS[0], c.x - 8, c.y - 8, 17, 17);
    EXPECT_GT(disc, 90);
    EXPECT_LT(disc, 135);
    EXPECT_EQ(img.count(POINTS_COLOURS[0]), disc + static_cast<int>(textMask("1").on.size()))
        << "points colour outside the point and its number";
    EXPECT_EQ(img.at(c.x - 6, c.y - 6), WHITE) << "the point is square, not round";
}

TEST_F(Drawing, NumberAboveTheTopOfTheViewIsNotDrawn)
{
    // Point 1's number would start at y 245, above the top (240); point 2's at
    // 235, inside, so its lower part shows in the top rows.
    const std::vector<PointSpec> points = {{-100, 235, 10}, {100, 225, 10}};
    textMask("2");
    Image img = show(points, '1', {{-100, 235, Layer::Points, "P1"}, {100, 225, Layer::Points, "P2"}});
    Pixel p1 = scenePixel(-100, 235);
    int nearP1 = img.count(POINTS_COLOURS[0], p1.x - 30, 0, 61, p1.y + 7);
    int disc = img.count(POINTS_COLOURS[0], p1.x - 6, p1.y - 6, 13, 13);
    EXPECT_GT(disc, 0);
    EXPECT_EQ(nearP1, disc) << "something besides point 1 itself is drawn around it";
    EXPECT_TRUE(textAt(img, 100, 235, "2", POINTS_COLOURS[0]));
    Pixel p2 = scenePixel(100, 235);
    EXPECT_GT(img.count(POINTS_COLOURS[0], p2.x, 0, 16, p2.y), 0) << "point 2's number is not visible";
}

// Every number of a full set is drawn, the two-digit ones too, and a click
// for a twenty-first point is refused with one line and draws nothing.
TEST_F(Drawing, TwentyPointsShowTheirNumbersAndRefuseAnother)
{
    std::vector<PointSpec> points;
    std::vector<Spot> spots;
    for (int i = 0; i < 20; ++i) {
        const int x = -240 + 120 * (i % 5), y = 150 - 100 * (i / 5);
        points.push_back({double(x), double(y), 10});
        spots.push_back({x, y, Layer::Points, "a point"});
        textMask(std::to_string(i + 1));
    }
    Image img = show(points, '1', spots);
    expectSpots(img, spots);
    expectNumbers(img, points);

    editor_->markAllConsumed();
    const Pixel refused = scenePixel(-180, -200);
    ASSERT_TRUE(clickInDrawing(refused, "Number of points limit reached!"));
    EXPECT_TRUE(editor_->unconsumedLines().empty()) << "more than one line: " << editor_->transcript();
    // Once 7 has switched the colours, the click has been handled.
    pressKey('7');
    Image after = waitForDrawing([](const Image& i) { return i.count(POINTS_COLOURS[0]) == 0; });
    EXPECT_EQ(after.count(POINTS_COLOURS[1], refused.x - 10, refused.y - 25, 21, 36), 0)
        << "the refused point is drawn";
}

}  // namespace
