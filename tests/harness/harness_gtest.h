// The GoogleTest part of the harness (harness.h): the EditorTest fixture,
// which runs the real editor, and assertions whose messages say what was
// seen. A test program that includes this keeps the working directories of
// the programs of a failed test for a look.
//
// Writing a test against the editor:
//
//     #include "harness_gtest.h"
//     using namespace e2e;
//
//     TEST_F(EditorTest, LoadsFanFromFile) {
//         writePoints({{-100, -100, 10}, {100, -100, 10}, {100, 100, 10}});
//         pressKey('2');                       // Triangle Fan
//         pressKey('L');                       // load points.txt
//         Image img = waitForDrawing([](const Image& i) {
//             return i.shows(scenePixel(100, 100), POINTS_COLOURS[0]);
//         });
//         EXPECT_PIXEL(img, scenePixel(33, -33), GEOMETRY_COLOURS[0]);
//     }
//
// EditorTest starts `point-editor` in a fresh temporary directory on its own
// X server and waits until both windows are mapped and the first white frame
// is on screen. The server runs the desktop that E2E_WINDOW_MANAGER names
// (desktop.h): a bare Xvfb, or one with openbox or i3; a fixture that needs a
// particular one overrides chooseDesktop(). Keys typed into a window other
// than through pressKey() need x_->focusForKeys(window) first, since under a
// click-to-focus window manager they go to the focused window rather than the
// one under the pointer. When a test fails, the directory is kept,
// screenshots of both windows are saved into it and the paths are printed.
#pragma once

#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {

// ---------------------------------------------------------------- assertions

// Checks one pixel of an image against a colour (Image::shows); the message
// names the pixel, the expected and the actual colour.
::testing::AssertionResult pixelNear(const Image& img, Pixel p, Rgb expected);

// Checks that two images are the same, pixel for pixel; the message says how
// many pixels differ and shows the first.
::testing::AssertionResult imagesEqual(const Image& actual, const Image& expected);

// uncleanEnd() as an assertion: succeeds when the program ended cleanly.
::testing::AssertionResult endedCleanly(Process& p, bool requireSuccess, Millis timeout = 30s);

bool currentTestHasFailed();
// Never read: its initialiser makes every test program with this header keep
// the working directories of the programs of a failed test (see
// keepFailedWorkDirs), before any test runs.
inline const bool keepsFailedWorkDirs = (keepFailedWorkDirs(currentTestHasFailed), true);

// ---------------------------------------------------------------- the editor

// The pixels that GLUT's HELVETICA_18 (or, `size` 12, HELVETICA_12) bitmap
// font sets for a text, as offsets from the raster position (top-left pixel
// origin, y down: offset (0, -1) is the pixel just above and right of the
// raster position). Rendered by a small reference program of the harness,
// not by the editor.
struct TextMask {
    std::vector<Pixel> on;
    int minX = 0, minY = 0, maxX = -1, maxY = -1;  // bounding box of `on`
    bool has(int dx, int dy) const;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The desktop to run on: the one E2E_WINDOW_MANAGER names, unless a
    // derived fixture needs a particular one.
    virtual Desktop chooseDesktop() const { return Desktop::fromEnvironment(); }
    const Desktop& desktop() const { return server_->desktop(); }

    const std::string& workDir() const { return dir_->path(); }
    std::string workFile(const std::string& name) const { return dir_->file(name); }
    void writePoints(const std::vector<PointSpec>& points);
    void writePointsText(const std::string& text);
    std::optional<std::string> readPointsFile() const;

    // Key in the drawing window: moves the pointer into it and gives it the
    // keyboard focus the way the desktop needs, then taps the key.
    void pressKey(KeySym ks);
    void pressKey(char c) { pressKey(XClient::keysymForChar(c)); }
    void pressKey(int ks) { pressKey(static_cast<KeySym>(ks)); }  // XK_... constants
    // Writes points.txt and presses L; waits until the drawing changes from
    // what it showed before (does not wait when the set draws nothing new).
    void loadPoints(const std::vector<PointSpec>& points);

    // A real left click at pixel `p` of the drawing window, which the editor
    // must answer with the line `line`: waits for it.
    ::testing::AssertionResult clickInDrawing(Pixel p, const std::string& line);
    // A click that must add point `number` at scene (x, y), with the drawing
    // window at its own size.
    ::testing::AssertionResult addPointAt(int number, int x, int y)
    {
        return clickInDrawing(scenePixel(x, y), addedLine(number, x, y));
    }

    // Runs `save` (a key, a click), which must make the editor save its
    // points, and returns the text it saved to points.txt with the desktop's
    // line ends read as "\n" ("" and a test failure when no save came or a
    // line ended otherwise).
    std::string saveBy(const std::function<void()>& save, Millis timeout = 5s);

    Image captureDrawing();
    Image waitForDrawing(const std::function<bool(const Image&)>& pred, Millis timeout = 5s);

    // HELVETICA_18 (or 12) pixels of `text`, rendered once per text and test,
    // on a bare server of their own: a window manager would place the
    // reference program's window as it pleases (i3 would tile it beside the
    // editor's).
    const TextMask& textMask(const std::string& text, int size = 18);
    // The text drawn in `colour` with its raster position at scene (x, y):
    // every pixel of the mask has the colour, no other pixel of the box
    // around it (one pixel wider on each side) has it. Pixels outside the
    // window are not checked.
    ::testing::AssertionResult textAt(const Image& img, int x, int y, const std::string& text, Rgb colour);

    // Remembers `img` as the picture to save if the test fails.
    void noteImage(const Image& img, const std::string& name);

    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<XServer> server_;
    std::unique_ptr<XClient> x_;
    std::unique_ptr<Process> editor_;
    Window drawing_ = 0;
    Window panel_ = 0;

private:
    std::map<std::string, Image> noted_;  // by name
    std::map<std::string, TextMask> masks_;  // by size and text
    std::unique_ptr<XServer> glyphServer_;
    std::unique_ptr<XClient> glyphClient_;
};

}  // namespace e2e

#define EXPECT_PIXEL(img, pixel, colour) EXPECT_TRUE(::e2e::pixelNear((img), (pixel), (colour)))
