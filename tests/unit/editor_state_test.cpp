#include "editor_fixture.h"

namespace {

using PointSetTest = EditorStateTest;

TEST_F(PointSetTest, AddReportsNumberAndCoordinatesInDefaultFloatFormat)
{
    EXPECT_EQ(printed([] { addPoint(100, 100, 10); }), "Point 1 added to x:100 y:100 \n");
    EXPECT_EQ(printed([] { addPoint(-12.5f, 0.25f, 8); }), "Point 2 added to x:-12.5 y:0.25 \n");
    ASSERT_EQ(editor.pointSet.pointCount, 2);
    EXPECT_EQ(editor.pointSet.points[1].x, -12.5f);
    EXPECT_EQ(editor.pointSet.points[1].y, 0.25f);
    EXPECT_EQ(editor.pointSet.points[1].size, 8.0f);
}

TEST_F(PointSetTest, TwentyFirstAddIsRefusedAndChangesNothing)
{
    printed([] { addPoints(MAX_POINTS); });
    const Point last = editor.pointSet.points[MAX_POINTS - 1];
    EXPECT_EQ(printed([] { addPoint(1, 2, 12); }), "Number of points limit reached!\n");
    EXPECT_EQ(editor.pointSet.pointCount, MAX_POINTS);
    EXPECT_EQ(editor.pointSet.points[MAX_POINTS - 1].x, last.x);
    EXPECT_EQ(editor.pointSet.points[MAX_POINTS - 1].y, last.y);
}

TEST_F(PointSetTest, DeleteRemovesLastPointDownToEmptyThenRefuses)
{
    printed([] { addPoints(2); });
    EXPECT_EQ(printed(deletePoint), "Point 2 deleted!\n");
    EXPECT_EQ(printed(deletePoint), "Point 1 deleted!\n");
    EXPECT_EQ(editor.pointSet.pointCount, 0);
    EXPECT_EQ(printed(deletePoint), "No points to delete!\n");
    EXPECT_EQ(editor.pointSet.pointCount, 0);
}

TEST_F(PointSetTest, NumberingRestartsAfterNewPointSet)
{
    printed([] { addPoints(3); });
    EXPECT_EQ(printed([] { newPointSet(0); }), "");
    EXPECT_EQ(editor.pointSet.pointCount, 0);
    EXPECT_EQ(printed([] { addPoint(5, 5, 10); }), "Point 1 added to x:5 y:5 \n");
}

using PickTest = EditorStateTest;

// A point's pick square has the side 12 about its centre, border excluded,
// whatever the point's size; coordinates read from a file may be fractional.
TEST_F(PickTest, PickSquareExcludesItsBorderWhateverTheSize)
{
    const struct {
        float x, y, size;
        int atX, atY;
        bool hit;
    } cases[] = {
        {100, 100, 10, 100, 100, true}, {100, 100, 10, 105, 95, true},  {100, 100, 10, 95, 105, true},
        {100, 100, 10, 106, 100, false}, {100, 100, 10, 94, 100, false}, {100, 100, 10, 100, 106, false},
        {100, 100, 10, 100, 94, false}, {0, 0, 100, 6, 0, false},        {0, 0, 100, 5, 5, true},
        {10.5f, -3.25f, 10, 16, -3, true},   // 5.5 away
        {10.5f, -3.25f, 10, 17, -3, false},  // 6.5 away
        {10.5f, -3.25f, 10, 10, -9, true},   // 5.75 away
    };
    for (const auto& c : cases) {
        printed([&] {
            newPointSet(0);
            addPoint(c.x, c.y, c.size);
        });
        EXPECT_EQ(findPointAt(c.atX, c.atY), c.hit ? 1 : -1)
            << "point at " << c.x << "," << c.y << " size " << c.size << ", pick at " << c.atX << "," << c.atY;
    }
}

TEST_F(PickTest, LowestNumberWinsAndOnlyTheSetIsSearched)
{
    printed([] {
        addPoint(50, 50, 10);
        addPoint(0, 0, 10);
        addPoint(0, 0, 10);
    });
    EXPECT_EQ(findPointAt(0, 0), 2);
    EXPECT_EQ(findPointAt(3, 0), 2);
    printed([] {
        deletePoint();
        deletePoint();
    });
    EXPECT_EQ(findPointAt(0, 0), -1);  // stale entries are not part of the set
    EXPECT_EQ(findPointAt(50, 50), 1);
}

}  // namespace
