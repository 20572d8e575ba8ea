// The editor's windows at start, and the ways it ends.
#include "harness_gtest.h"

using namespace e2e;

namespace {

using StartUp = EditorTest;

// Positions are those the editor asks for; a window manager puts its frame
// there, with the window inside it (the desktop says where).
TEST_F(StartUp, DrawingWindowIs640x480At100x100AndWhite)
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
}

TEST_F(StartUp, ControlPanelStandsRightOfTheDrawingWindow)
{
    Geometry g = x_->geometry(panel_);
    std::optional<Pixel> at = x_->expectedPosition(panel_, 750, 100);
    ASSERT_TRUE(at) << "the " << desktop().name << " desktop places windows itself";
    EXPECT_EQ(g.x, at->x);
    EXPECT_EQ(g.y, at->y);
    EXPECT_GT(g.width, 0);
    EXPECT_GT(g.height, 0);
}

TEST_F(StartUp, WritesNoPointFileOnItsOwn)
{
    EXPECT_FALSE(fileExists(workFile("points.txt")));
    EXPECT_TRUE(editor_->isRunning());
}

TEST_F(StartUp, DrawingWindowIsRedrawnWhileIdle)
{
    RedrawCounter counter(server_->display(), drawing_);
    EXPECT_TRUE(counter.waitForRedraws(5, 10s)) << "the drawing window is not redrawn continuously";
    RedrawCounter panel(server_->display(), panel_);
    EXPECT_TRUE(panel.waitForQuiet(300ms, 10s)) << "the control panel keeps redrawing while idle";
}

TEST_F(StartUp, KeyQEndsWithStatusZeroWithoutSaving)
{
    // Written in a layout the editor would not write, to see that Q saves nothing.
    const std::string text = "1   0 0 10";
    writePointsText(text);
    Image before = captureDrawing();
    pressKey('q');  // lower case does nothing
    pressKey('L');  // the point appearing shows that q has been handled too
    waitForDrawingChange(before);
    ASSERT_TRUE(editor_->isRunning()) << "lower-case q ended the editor";
    pressKey('Q');
    auto status = editor_->waitForExit(10s);
    ASSERT_TRUE(status) << "the editor is still running after Q";
    EXPECT_TRUE(status->exited) << *status;
    EXPECT_EQ(status->code, 0);
    EXPECT_EQ(readPointsFile(), text);
}

TEST_F(StartUp, LoadingWithoutAPointFileSaysSo)
{
    pressKey('L');
    EXPECT_TRUE(editor_->waitForLine("No file to load from :))", 10s)) << editor_->transcript();
}

}  // namespace
