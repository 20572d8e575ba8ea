#include "input/select_move.h"

#include "editor_fixture.h"

namespace {

class SelectMoveTest : public EditorStateTest {
protected:
    void SetUp() override
    {
        EditorStateTest::SetUp();
        printed([] {
            addPoint(100, 100, 10);
            addPoint(-50, 20, 12);
        });
    }

    static void expectState(int armed, int dragging)
    {
        EXPECT_EQ(editor.selectArmed, armed);
        EXPECT_EQ(editor.dragging, dragging);
    }
};

TEST_F(SelectMoveTest, ArmedPressPicksDragMovesReleaseDropsAndDisarms)
{
    armSelectAndMove();
    expectState(1, 0);
    EXPECT_EQ(printed([] { pickPointAt(-47, 20); }), "Selected Point: 2\n");
    expectState(1, 1);

    dragPickedPointTo(200, -100);
    EXPECT_EQ(editor.pointSet.points[1].x, 200.0f);  // the centre jumps to the pointer
    EXPECT_EQ(editor.pointSet.points[1].y, -100.0f);
    EXPECT_EQ(editor.pointSet.points[1].size, 12.0f);

    endPick();
    expectState(0, 0);
    dragPickedPointTo(0, 0);
    EXPECT_EQ(editor.pointSet.points[1].x, 200.0f);
    EXPECT_EQ(printed([] { pickPointAt(200, -100); }), "");  // needs arming again
    expectState(0, 0);
}

TEST_F(SelectMoveTest, ArmedPressOnEmptySpaceStaysArmedUntilRelease)
{
    armSelectAndMove();
    EXPECT_EQ(printed([] { pickPointAt(0, 0); }), "");
    expectState(1, 0);
    EXPECT_EQ(editor.selectedNumber, -1);
    endPick();
    expectState(0, 0);
}

// A left click while armed adds its point as always; the next middle press
// still picks, the new point too.
TEST_F(SelectMoveTest, AddingAPointWhileArmedKeepsTheArming)
{
    armSelectAndMove();
    printed([] { addPoint(-200, -150, 10); });
    expectState(1, 0);
    EXPECT_EQ(printed([] { pickPointAt(-200, -150); }), "Selected Point: 3\n");
}

TEST_F(SelectMoveTest, ArmingDuringADragKeepsTheDrag)
{
    armSelectAndMove();
    printed([] { pickPointAt(100, 100); });
    armSelectAndMove();
    expectState(1, 1);
    dragPickedPointTo(1, 2);
    EXPECT_EQ(editor.pointSet.points[0].x, 1.0f);
}

TEST_F(SelectMoveTest, DragGoesOnWritingAPointRemovedFromTheSet)
{
    armSelectAndMove();
    printed([] {
        pickPointAt(-50, 20);
        newPointSet(0);
    });
    dragPickedPointTo(7, 8);
    EXPECT_EQ(editor.pointSet.pointCount, 0);
    EXPECT_EQ(editor.pointSet.points[1].x, 7.0f);
    EXPECT_EQ(editor.pointSet.points[1].y, 8.0f);
}

TEST_F(SelectMoveTest, DragWithoutAPickedNumberWritesNothing)
{
    // A lost middle release followed by a press that misses leaves dragging
    // set while no point is picked.
    armSelectAndMove();
    printed([] { pickPointAt(100, 100); });
    printed([] { pickPointAt(0, 0); });
    expectState(1, 1);
    ASSERT_EQ(editor.selectedNumber, -1);
    const EditorState before = editor;
    dragPickedPointTo(3, 4);
    for (int i = 0; i < MAX_POINTS; i++) {
        EXPECT_EQ(editor.pointSet.points[i].x, before.pointSet.points[i].x) << i;
        EXPECT_EQ(editor.pointSet.points[i].y, before.pointSet.points[i].y) << i;
    }
}

}  // namespace
