// The editor's windows at start, and the ways it ends.
#include "harness_gtest.h"

using namespace e2e;

namespace {

using StartUp = EditorTest;

// Positions are those the editor asks for; a window manager puts its frame
// there, with the window inside it (the desktop says where).
TEST_F(StartUp, WindowsStandWhereTheEditorAsksAndTheDrawingIsWhite)
{
    EXPECT_EQ(x_->title(drawing_), DRAWING_TITLE);
    Geometry g = x_->geometry(drawing_);
    std::optional<Pixel> at = x_->expectedPosition(drawing_, 100, 100);
    ASSERT_TRUE(at) << "the " << desktop().name << " desktop places windows itself";
    EXPECT_EQ(g.x, at->x);
    EXPECT_EQ(g.y, at->y);
    EXPECT_EQ(g.width, DRAWING_WIDTH);
    EXPECT_EQ(g.height, DRAWING_HEIGHT);
    Image img = captureDrawing();
    EXPECT_EQ(img.count(WHITE, 0), DRAWING_WIDTH * DRAWING_HEIGHT);

    // The Controls window right of it.
    Geometry p = x_->geometry(panel_);
    at = x_->expectedPosition(panel_, 750, 100);
    EXPECT_EQ(p.x, at->x);
    EXPECT_EQ(p.y, at->y);
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
