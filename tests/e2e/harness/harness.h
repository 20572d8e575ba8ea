// End-to-end test harness: a private Xvfb per test, the program under test as
// a child process in its own temporary working directory, window lookup,
// pixel capture, real input through XTest and a DAMAGE-based redraw counter.
//
// Writing a test against the editor:
//
//     #include "harness.h"
//     using namespace e2e;
//
//     TEST_F(EditorTest, LoadsFanFromFile) {
//         writePoints({{-100, -100, 10}, {100, -100, 10}, {100, 100, 10}});
//         pressKey('2');                       // Triangle Fan
//         pressKey('L');                       // load points.txt
//         Image img = waitForDrawing([](const Image& i) {
//             return i.at(scenePixel(100, 100)) == POINTS_COLOURS[0];
//         });
//         EXPECT_PIXEL(img, scenePixel(33, -33), GEOMETRY_COLOURS[0]);
//     }
//
// EditorTest (a GoogleTest fixture) starts `point-editor` in a fresh temporary
// directory on its own X server and waits until both windows are mapped and the
// first white frame is on screen. The server runs the desktop that
// E2E_WINDOW_MANAGER names (desktop.h): a bare Xvfb, or one with openbox or
// i3; a fixture that needs a particular one overrides chooseDesktop(). Keys
// typed into a window other than through pressKey() need
// x_->focusForKeys(window) first, since under a click-to-focus window manager
// they go to the focused window rather than the one under the pointer. To prepare the directory before the editor
// starts, derive a fixture and override beforeStart(). When a test fails, the
// directory is kept, screenshots of both windows are saved into it and the
// paths are printed.
//
// Testing another program: create an XServer, an XClient on it and a Process:
//
//     XServer server;                       // throws if Xvfb is missing
//     XClient x(server);
//     Process app("/path/to/prog", {"arg"}, server.display());
//     app.waitForLine("ready", 5s);
//     Window w = x.waitForWindow("Title", 5s);
//     x.click(w, 10, 10);                   // XTest, window-relative
//     Image img = x.capture(w);
//
// Every wait takes a timeout and polls; none of these helpers sleeps for a
// fixed time. Failures to set things up throw std::runtime_error with a
// message that says what is missing.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "desktop.h"

// Xlib's types, declared without its header: Xlib defines macros (None,
// True, Bool...) that break GoogleTest, so include X headers after this one.
struct _XDisplay;

namespace e2e {

using Window = unsigned long;  // Xlib's Window (an XID)
using KeySym = unsigned long;  // Xlib's KeySym
using Millis = std::chrono::milliseconds;
using namespace std::chrono_literals;

// ---------------------------------------------------------------- pixels

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& os, const Rgb& c);

// The 8-bit colour a GL float colour becomes (rounded to nearest).
Rgb rgbFromFloat(double r, double g, double b);
// Each channel within `tolerance` of the other's.
bool near(const Rgb& a, const Rgb& b, int tolerance = 2);

constexpr Rgb WHITE{255, 255, 255};

struct Pixel {
    int x = 0, y = 0;
};
std::ostream& operator<<(std::ostream& os, const Pixel& p);

// An RGB image, row 0 at the top.
class Image {
public:
    Image() = default;
    Image(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb at(int x, int y) const;
    Rgb at(Pixel p) const { return at(p.x, p.y); }
    void set(int x, int y, Rgb c);
    // Number of pixels near `c`, in the whole image or in a rectangle.
    int count(Rgb c, int tolerance = 2) const;
    int count(Rgb c, int x0, int y0, int w, int h, int tolerance = 2) const;
    bool allNear(Rgb c, int tolerance = 2) const { return count(c, tolerance) == width_ * height_; }
    // Throws on I/O failure.
    void savePpm(const std::string& path) const;
    void savePng(const std::string& path) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> rgb_;
};

// ---------------------------------------------------------------- files

// A fresh directory under $TMPDIR (or /tmp), removed in the destructor unless
// keep() was called.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "e2e");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void keep() { keep_ = true; }
    bool kept() const { return keep_; }

private:
    std::string path_;
    bool keep_ = false;
};

void writeFile(const std::string& path, const std::string& text);
std::optional<std::string> readFile(const std::string& path);  // nullopt if it cannot be read
bool fileExists(const std::string& path);

// ---------------------------------------------------------------- X server

class Process;

// A private Xvfb (1280x1024x24, no TCP) that picks a free display number
// itself, so parallel tests never collide, with the desktop's window manager
// (if any) started on it once it accepts clients; ready when the manager has
// announced itself (_NET_SUPPORTING_WM_CHECK). Both are ended in the
// destructor.
class XServer {
public:
    explicit XServer(const Desktop& desktop = Desktop::bare(), Millis timeout = 15s);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    const std::string& display() const { return display_; }  // e.g. ":7"
    const Desktop& desktop() const { return desktop_; }
    // What the window manager wrote so far, for failure messages ("" without one).
    std::string windowManagerOutput() const;

private:
    void startWindowManager(Millis timeout);
    void stop();

    Desktop desktop_;
    pid_t pid_ = -1;
    std::string display_;
    std::string logPath_;
    std::unique_ptr<TempDir> managerDir_;
    std::unique_ptr<Process> manager_;
};

// ---------------------------------------------------------------- process

struct ExitStatus {
    bool exited = false;  // true: normal exit with `code`; false: killed by `signal`
    int code = 0;
    int signal = 0;
};
std::ostream& operator<<(std::ostream& os, const ExitStatus& s);

// A child process in a working directory, with DISPLAY and the variables of
// `env` ("NAME=value", replacing inherited ones) set. Standard output
// and standard error are read through pipes, line by line, on a background
// thread; lines end in '\n', or in `lineEnd` when that is "\r\n" (a
// Windows program's), and a line holds everything before its end. Killed
// (TERM, then KILL) in the destructor.
//
// The working directory is either given (and then owned by the caller) or a
// fresh TempDir owned by the process: that one is removed in the destructor,
// unless the current GoogleTest test has failed; then it is kept and its path
// printed.
class Process {
public:
    Process(const std::string& program, const std::vector<std::string>& args,
            const std::string& display, const std::string& workDir = "",
            const std::vector<std::string>& env = {}, const std::string& lineEnd = "\n");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    const std::string& workDir() const { return workDir_; }
    pid_t pid() const { return pid_; }

    // Waits for a line of standard output that has not yet been consumed by an
    // earlier waitForLine and that matches; consumes it and every line before
    // it. Returns the line, or nullopt on timeout or when output has ended.
    std::optional<std::string> waitForLine(const std::string& exact, Millis timeout = 5s);
    std::optional<std::string> waitForLine(const std::function<bool(const std::string&)>& match,
                                           Millis timeout = 5s);
    // All lines so far (consumed or not).
    std::vector<std::string> lines() const;
    std::vector<std::string> errorLines() const;
    // Lines not yet consumed by waitForLine. markAllConsumed() skips them.
    std::vector<std::string> unconsumedLines() const;
    void markAllConsumed();
    // Everything written so far, one line each, for failure messages.
    std::string transcript() const;

    bool isRunning();
    std::optional<ExitStatus> waitForExit(Millis timeout = 5s);
    // TERM, then KILL after a grace period, to it and to what it started in
    // its process group; reaps the child.
    void kill();

private:
    void readLoop(int outFd, int errFd);
    void reap(bool block);

    std::unique_ptr<TempDir> ownDir_;
    std::string workDir_;
    std::string lineEnd_;
    pid_t pid_ = -1;
    std::optional<ExitStatus> status_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> out_, err_;
    std::size_t consumed_ = 0;
    bool outputClosed_ = false;
    std::atomic<bool> stopReading_{false};
    std::thread reader_;
};

// For a program that has ended or has just been told to quit: waits up to
// `timeout` for it to exit and for its output to end. Fails when it is still
// running, when `requireSuccess` and it did not exit with status 0, or when
// its standard error holds a sanitizer report (an AddressSanitizer or
// LeakSanitizer error, an undefined-behaviour "runtime error:").
::testing::AssertionResult endedCleanly(Process& p, bool requireSuccess, Millis timeout = 30s);

// ---------------------------------------------------------------- X client

struct Geometry {
    int x = 0, y = 0;  // root coordinates of the top-left corner (inside the border)
    int width = 0, height = 0;
};
std::ostream& operator<<(std::ostream& os, const Geometry& g);

// A client connection to an X server: windows, pixels and XTest input.
// Every input call ends with XSync, so the server has the event when it returns.
// It knows the server's desktop (a bare one when given only a display name).
class XClient {
public:
    explicit XClient(const XServer& server);
    explicit XClient(const std::string& display, const Desktop& desktop = Desktop::bare());
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;
    ::_XDisplay* display() const { return dpy_; }
    Window root() const;
    const Desktop& desktop() const { return desktop_; }

    // Windows, searched through the whole tree, so that client windows a
    // window manager has put into frames are found. Titles are matched
    // exactly against _NET_WM_NAME or WM_NAME. Given a process id, on a
    // desktop whose windows carry _NET_WM_PID, a window must match both.
    std::optional<Window> findWindow(const std::string& title, std::optional<pid_t> pid = std::nullopt) const;
    Window waitForWindow(const std::string& title, Millis timeout = 10s) const;  // found and viewable; throws
    Window waitForWindow(const std::string& title, pid_t pid, Millis timeout = 10s) const;
    bool isViewable(Window w) const;
    Geometry geometry(Window w) const;  // the client area
    std::string title(Window w) const;
    std::optional<pid_t> windowPid(Window w) const;  // _NET_WM_PID
    FrameExtents frameExtents(Window w) const;     // all 0 without _NET_FRAME_EXTENTS
    // Where the desktop should have put the client area of window `w` that
    // asked to stand at root (x, y); nullopt when the desktop places windows itself.
    std::optional<Pixel> expectedPosition(Window w, int x, int y) const;
    // Asks for a new size, as a user dragging the window's corner would
    // (XResizeWindow; a window manager applies it to the frame). Returns at
    // once, or where the program may undo it (Desktop::settlesByPing)
    // once it has taken it.
    void resize(Window w, int width, int height);
    // Asks for a new position of the window's top-left corner (its frame's,
    // under a window manager), as a user dragging it would. Returns at once,
    // or where the program may undo it once it has taken it.
    void move(Window w, int x, int y);

    // Returns once the program has made every change to `w` it had begun,
    // on a desktop whose programs settle by ping (Desktop::settlesByPing):
    // it has answered a _NET_WM_PING sent to `w`. Elsewhere returns at once.
    void waitUntilSettled(Window w, Millis timeout = 5s);

    // Keyboard focus: whether keys now go to `w` (or a window inside it), and
    // making sure they do the way the desktop needs (see KeyFocus); the
    // pointer is moved into `w` first when it is elsewhere. Throws when `w`
    // does not get the focus within `timeout`.
    bool hasFocus(Window w) const;
    void focusForKeys(Window w, Millis timeout = 5s);
    // Viewable children of the root window, bottom to top.
    std::vector<Window> topLevelWindows() const;

    // Pixels.
    Image capture(Window w) const;
    // Captures until `pred` holds; returns the last capture either way and
    // sets *ok (when given) to whether the predicate held.
    Image waitForImage(Window w, const std::function<bool(const Image&)>& pred, Millis timeout = 5s,
                       bool* ok = nullptr) const;

    // Pointer, through XTest.
    void movePointer(int rootX, int rootY);
    void movePointer(Window w, int x, int y);  // window-relative
    // The side button "back", which freeglut on Windows ignores.
    static constexpr int BACK_BUTTON = 8;
    void press(int button);                    // 1 left, 2 middle, 3 right, BACK_BUTTON
    void release(int button);
    void click(int button = 1);
    void click(Window w, int x, int y, int button = 1);
    // Keyboard, through XTest, by keysym. Keysyms that need Shift get it.
    void keyDown(KeySym ks);
    void keyUp(KeySym ks);
    void tapKey(KeySym ks);
    void tapKey(char c) { tapKey(keysymForChar(c)); }
    void tapKey(int ks) { tapKey(static_cast<KeySym>(ks)); }  // XK_... constants are ints
    void typeText(const std::string& text);
    static KeySym keysymForChar(char c);

    // GLUT pop-up menu: right click at window point (x, y), wait for the menu,
    // left-click entry `index` (from 0), wait until the menu has gone.
    void selectMenuEntry(Window w, int x, int y, int index, Millis timeout = 5s);

    void sync() const;

private:
    void fakeKey(KeySym ks, bool down);
    std::optional<Window> waitForMenuAt(int rootX, int rootY, const std::vector<Window>& before,
                                        Millis timeout) const;
    bool pointerIn(Window w) const;
    void activate(Window w);
    void waitForWindowManager();

    ::_XDisplay* dpy_ = nullptr;
    Desktop desktop_;
    Window managerProbe_ = 0;  // asks the window manager for frame extents
};

// Counts damage events on a window (X DAMAGE extension, raw rectangles): how
// often something was drawn into it. Uses a connection of its own.
class RedrawCounter {
public:
    RedrawCounter(const std::string& display, Window w);
    ~RedrawCounter();
    RedrawCounter(const RedrawCounter&) = delete;
    RedrawCounter& operator=(const RedrawCounter&) = delete;
    // Drops everything counted so far.
    void reset();
    // Collects damage events for `interval` and returns how many arrived
    // (including those that were pending before the call, unless reset()).
    int countOver(Millis interval);
    // Number of distinct damage batches: events that the server reported with
    // more == False, i.e. roughly one per drawing request.
    int framesOver(Millis interval);
    // Waits until `n` damage batches have arrived since the last call or reset().
    bool waitForRedraws(int n, Millis timeout);
    // Waits until no damage arrives for `quiet`; false if that never happens
    // within `timeout` (a window that is redrawn continuously).
    bool waitForQuiet(Millis quiet, Millis timeout);

private:
    void drain(std::chrono::steady_clock::time_point until, int* events, int* frames);
    ::_XDisplay* dpy_ = nullptr;
    unsigned long damage_ = 0;
    int eventBase_ = 0;
};

// Saves `img` as a PNG in `dir` (or the system temp dir) and returns its path.
std::string saveScreenshot(const Image& img, const std::string& name, const std::string& dir = "");

// ---------------------------------------------------------------- the editor

constexpr const char* DRAWING_TITLE = "Quenbry - Mivolt Prototype - Zarnik";
constexpr const char* PANEL_TITLE = "Controls";
constexpr int DRAWING_WIDTH = 640;
constexpr int DRAWING_HEIGHT = 480;

// Scene coordinates (origin at the window centre, y up, one unit per pixel)
// to the window pixel whose top-left corner is at that scene position.
inline Pixel scenePixel(int x, int y) { return {x + DRAWING_WIDTH / 2, DRAWING_HEIGHT / 2 - y}; }

// Layer colours, index = colour schema (0 or 1).
extern const Rgb GEOMETRY_COLOURS[2];
extern const Rgb LINES_COLOURS[2];
extern const Rgb POINTS_COLOURS[2];

struct PointSpec {
    double x = 0, y = 0, size = 10;
};
// points.txt text as the editor writes it: count line, then "x y size" lines.
std::string pointFileText(const std::vector<PointSpec>& points);

// Path of the editor binary: E2E_PROGRAM when set (the Windows build, say),
// else the one built beside the tests.
std::string editorPath();

// The pixels that GLUT's HELVETICA_18 bitmap font sets for a text, as offsets
// from the raster position (top-left pixel origin, y down: offset (0, -1) is
// the pixel just above and right of the raster position). Rendered by a small
// reference program of the harness on the given server, not by the editor.
struct TextMask {
    std::vector<Pixel> on;
    int minX = 0, minY = 0, maxX = -1, maxY = -1;  // bounding box of `on`
    bool has(int dx, int dy) const;
};
TextMask renderTextMask(const XServer& server, XClient& x, const std::string& text);

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The desktop to run on: the one E2E_WINDOW_MANAGER names, unless a
    // derived fixture needs a particular one.
    virtual Desktop chooseDesktop() const { return Desktop::fromEnvironment(); }
    // Runs before the editor starts, with workDir() already created.
    virtual void beforeStart() {}
    const Desktop& desktop() const { return server_->desktop(); }

    const std::string& workDir() const { return dir_->path(); }
    std::string workFile(const std::string& name) const { return dir_->file(name); }
    void writePoints(const std::vector<PointSpec>& points);
    void writePointsText(const std::string& text);
    // points.txt as it is (a file the test wrote, say).
    std::optional<std::string> readPointsFile() const;
    // points.txt as the editor saves it, with the desktop's line ends read as
    // "\n" (readLineEnds); nullopt when it cannot be read or a line ends
    // otherwise.
    std::optional<std::string> readSavedPoints() const;

    // Key in the drawing window: moves the pointer into it and gives it the
    // keyboard focus the way the desktop needs, then taps the key.
    void pressKey(KeySym ks);
    void pressKey(char c) { pressKey(XClient::keysymForChar(c)); }
    void pressKey(int ks) { pressKey(static_cast<KeySym>(ks)); }  // XK_... constants
    // Writes points.txt and presses L; waits until the drawing changes from
    // what it showed before (does not wait when the set draws nothing new).
    void loadPoints(const std::vector<PointSpec>& points);

    Image captureDrawing();
    Image waitForDrawing(const std::function<bool(const Image&)>& pred, Millis timeout = 5s);
    // Waits until the drawing differs from `before`; returns the new capture.
    Image waitForDrawingChange(const Image& before, Millis timeout = 5s);

    // HELVETICA_18 pixels of `text`, rendered once per text and test.
    const TextMask& textMask(const std::string& text);
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
    std::vector<std::pair<std::string, Image>> noted_;
    std::vector<std::pair<std::string, TextMask>> masks_;
};

// Checks one pixel of an image against a colour; the message names the
// pixel, the expected and the actual colour.
::testing::AssertionResult pixelNear(const Image& img, Pixel p, Rgb expected, int tolerance = 2);

}  // namespace e2e

#define EXPECT_PIXEL(img, pixel, colour) EXPECT_TRUE(::e2e::pixelNear((img), (pixel), (colour)))
