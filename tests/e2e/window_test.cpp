// The editor's windows at start, and the ways it ends.
#include "harness_gtest.h"

using namespace e2e;

namespace {

using StartUp = EditorTest;

// The drawing window at its own size, white, with the Controls window beside
// it on its right, covering none of it (a window manager's frames sit
// around both, the drawing window's left of the Controls window's).
TEST_F(StartUp, DrawingWindowIsWhiteAtItsSizeWithTheControlsBesideIt)
{
    EXPECT_EQ(x_->title(drawing_), DRAWING_TITLE);
    const Geometry g = x_->geometry(drawing_), p = x_->geometry(panel_);
    EXPECT_EQ(g.width, DRAWING_WIDTH);
    EXPECT_EQ(g.height, DRAWING_HEIGHT);
    EXPECT_EQ(captureDrawing().count(WHITE, 0), DRAWING_WIDTH * DRAWING_HEIGHT);
    EXPECT_GE(p.x, g.x + g.width) << "the Controls window " << p << " covers the drawing window " << g;
    EXPECT_LT(p.y, g.y + g.height) << "the Controls window " << p << " is not beside the drawing window " << g;
    EXPECT_GT(p.width, 0);
    EXPECT_GT(p.height, 0);
    EXPECT_FALSE(fileExists(workFile("points.txt"))) << "the editor wrote a point file on its own";
}

// (That the Controls window is not redrawn while the editor idles is the
// panel library's: glui.e2e.ProbeTest.PanelIsNotRedrawnWhileIdle.)
TEST_F(StartUp, DrawingWindowIsRedrawnWhileIdle)
{
    RedrawCounter counter(server_->display(), drawing_);
    EXPECT_TRUE(counter.waitForRedraws(5, 10s)) << "the drawing window is not redrawn continuously";
}

// Every test ends the editor with Q and expects status 0; here Q must not
// save either. (Lower-case q does nothing, as every other lower-case letter:
// Keys.LowerCaseLettersAndZeroEightNineDoNothing.)
TEST_F(StartUp, KeyQEndsWithStatusZeroWithoutSaving)
{
    // Written in a layout the editor would not write, to see that Q saves nothing.
    const std::string text = "1   0 0 10";
    writePointsText(text);
    pressKey('Q');
    auto status = editor_->waitForExit(10s);
    ASSERT_TRUE(status) << "the editor is still running after Q";
    EXPECT_TRUE(status->exited) << *status;
    EXPECT_EQ(status->code, 0);
    EXPECT_EQ(readPointsFile(), text);
}

}  // namespace
