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

TEST_F(PointSetTest, EditingLeavesSelectionStateAlone)
{
    editor.selectArmed = 1;
    editor.dragging = 1;
    editor.selectedNumber = 3;
    printed([] {
        addPoints(2);
        deletePoint();
        newPointSet(0);
    });
    EXPECT_EQ(editor.selectArmed, 1);
    EXPECT_EQ(editor.dragging, 1);
    EXPECT_EQ(editor.selectedNumber, 3);
}

TEST_F(PointSetTest, InitResetsSetAndSelectionButNotLayersModeOrSchema)
{
    editor.showLines = 1;
    editor.drawMode = static_cast<int>(DrawMode::TriangleStrip);
    editor.colorSchema = 1;
    editor.pointSize = 12;
    editor.selectedNumber = 4;
    printed([] { addPoints(4); });
    initEditorState();
    EXPECT_EQ(editor.pointSet.pointCount, 0);
    EXPECT_EQ(editor.pointSize, DEFAULT_POINT_SIZE);
    EXPECT_EQ(editor.selectedNumber, -1);
    EXPECT_EQ(editor.showLines, 1);
    EXPECT_EQ(editor.drawMode, static_cast<int>(DrawMode::TriangleStrip));
    EXPECT_EQ(editor.colorSchema, 1);
}

using PickTest = EditorStateTest;

TEST_F(PickTest, PickSquareExcludesItsBorder)
{
    printed([] { addPoint(100, 100, 10); });
    EXPECT_EQ(findPointAt(100, 100), 1);
    EXPECT_EQ(findPointAt(105, 95), 1);
    EXPECT_EQ(findPointAt(95, 105), 1);
    EXPECT_EQ(findPointAt(106, 100), -1);
    EXPECT_EQ(findPointAt(94, 100), -1);
    EXPECT_EQ(findPointAt(100, 106), -1);
    EXPECT_EQ(findPointAt(100, 94), -1);
}

TEST_F(PickTest, PickDoesNotDependOnPointSize)
{
    printed([] { addPoint(0, 0, 12); });
    editor.pointSet.points[0].size = 100;
    EXPECT_EQ(findPointAt(6, 0), -1);
    EXPECT_EQ(findPointAt(5, 5), 1);
}

TEST_F(PickTest, FractionalCoordinatesFromTheFileCompareExactly)
{
    printed([] { addPoint(10.5f, -3.25f, 10); });
    EXPECT_EQ(findPointAt(16, -3), 1);   // 5.5 away
    EXPECT_EQ(findPointAt(17, -3), -1);  // 6.5 away
    EXPECT_EQ(findPointAt(10, -9), 1);   // 5.75 away
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
