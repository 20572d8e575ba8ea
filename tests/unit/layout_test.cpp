#include "render/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "app/scene_coords.h"

namespace {

using Pairs = std::vector<std::pair<int, int>>;
using Edges = std::set<std::pair<int, int>>;

Pairs segments(DrawMode mode, int n)
{
    const SegmentList list = edgeSegments(mode, n);
    Pairs pairs;
    for (int i = 0; i < list.count; i++) {
        pairs.emplace_back(list.segments[i].from, list.segments[i].to);
    }
    return pairs;
}

// The lines a user sees: each pair of points joined, whichever way round and
// however often it is drawn.
Edges edges(DrawMode mode, int n)
{
    Edges joined;
    for (auto [from, to] : segments(mode, n)) {
        joined.insert({std::min(from, to), std::max(from, to)});
    }
    return joined;
}

// Polygon joins neighbours and closes; a fan outlines each triangle around
// the first point, a strip each consecutive triangle.
TEST(EdgeSegmentsTest, EachModeJoinsItsPairs)
{
    const struct {
        DrawMode mode;
        int count;
        Edges joined;
    } cases[] = {
        {DrawMode::Polygon, 0, {}},
        {DrawMode::Polygon, 1, {}},
        {DrawMode::Polygon, 2, {{0, 1}}},
        {DrawMode::Polygon, 3, {{0, 1}, {1, 2}, {0, 2}}},
        {DrawMode::Polygon, 5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 4}}},
        {DrawMode::TriangleFan, 0, {}},
        {DrawMode::TriangleFan, 1, {}},
        {DrawMode::TriangleFan, 2, {}},
        {DrawMode::TriangleFan, 3, {{0, 1}, {0, 2}, {1, 2}}},
        {DrawMode::TriangleFan, 5, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 2}, {2, 3}, {3, 4}}},
        {DrawMode::TriangleStrip, 0, {}},
        {DrawMode::TriangleStrip, 1, {}},
        {DrawMode::TriangleStrip, 2, {}},
        {DrawMode::TriangleStrip, 3, {{0, 1}, {1, 2}, {0, 2}}},
        {DrawMode::TriangleStrip, 5, {{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}, {2, 4}, {3, 4}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(edges(c.mode, c.count), c.joined)
            << "mode " << static_cast<int>(c.mode) << ", " << c.count << " points";
    }
}

TEST(EdgeSegmentsTest, FullSetFitsAndNeverReachesPastTheCount)
{
    for (DrawMode mode : {DrawMode::Polygon, DrawMode::TriangleFan, DrawMode::TriangleStrip}) {
        for (const auto& [from, to] : segments(mode, MAX_POINTS)) {
            EXPECT_LT(from, MAX_POINTS);
            EXPECT_LT(to, MAX_POINTS);
        }
    }
    EXPECT_EQ(segments(DrawMode::TriangleFan, MAX_POINTS).size(), static_cast<size_t>(MAX_SEGMENTS));
}

// The core library is tested with its asserts on (POINT_EDITOR_ASSERTS, the
// default): a mode the radio group never writes stops it.
TEST(EdgeSegmentsTest, UnknownModeIsABrokenInvariant)
{
    EXPECT_DEATH(edgeSegments(static_cast<DrawMode>(3), 4), "unknown draw mode");
}

TEST(LabelPositionTest, TenUnitsAboveTruncatedTowardZero)
{
    const LabelPosition label = labelPosition(Point{10, 100, 100});
    EXPECT_TRUE(label.visible);
    EXPECT_EQ(label.x, 100);
    EXPECT_EQ(label.y, 110);

    const LabelPosition fractional = labelPosition(Point{10, -12.75f, -15.5f});
    EXPECT_EQ(fractional.x, -12);
    EXPECT_EQ(fractional.y, -5);
}

TEST(LabelPositionTest, NoLabelWhenThePositionLeavesTheRangeOfInt)
{
    EXPECT_FALSE(labelPosition(Point{10, 3e9f, 0}).visible);
    EXPECT_FALSE(labelPosition(Point{10, -3e9f, 0}).visible);
    EXPECT_FALSE(labelPosition(Point{10, 0, 3e38f}).visible);
    EXPECT_FALSE(labelPosition(Point{10, 0, -3e38f}).visible);
    // 2147483520 is the largest float below 2^31: it still fits.
    EXPECT_TRUE(labelPosition(Point{10, 2147483520.0f, 0}).visible);
    EXPECT_FALSE(labelPosition(Point{10, 2147483648.0f, 0}).visible);  // 2^31 does not
}

// The view stretches the scene over the whole window: at its own size
// (640 x 480, also taken for an empty size) one pixel is one unit, and a
// resized window maps its corners and centre to the same scene region.
TEST(ToSceneTest, PixelsMapToTheSameSceneRegionAtAnyWindowSize)
{
    const struct {
        int w, h, px, py, x, y;
    } cases[] = {
        {640, 480, 0, 0, -320, 240},     {640, 480, 320, 240, 0, 0},       {640, 480, 420, 140, 100, 100},
        {640, 480, 639, 479, 319, -239}, {640, 480, -5, 500, -325, -260},  {0, -1, 420, 140, 100, 100},
        {1280, 960, 0, 0, -320, 240},    {1280, 960, 640, 480, 0, 0},      {1280, 960, 1280, 960, 320, -240},
        {1280, 960, 841, 281, 101, 99},  // halves (420.5, 140.5) round up
        {320, 240, 210, 70, 100, 100},   {320, 240, 0, 240, -320, -240},
        {800, 300, 400, 150, 0, 0},      {800, 300, 100, 50, -240, 160},   // non-proportional
        {400, 300, -10, 310, -336, -256},  // past the edges while a button is held
    };
    for (const auto& c : cases) {
        const ScenePosition at = toScene(c.px, c.py, c.w, c.h);
        EXPECT_EQ(at.x, c.x) << c.w << "x" << c.h << " pixel " << c.px << "," << c.py;
        EXPECT_EQ(at.y, c.y) << c.w << "x" << c.h << " pixel " << c.px << "," << c.py;
    }
}

}  // namespace
