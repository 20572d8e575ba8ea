// The test harness: a private Xvfb per test, the program under test as a
// child process in its own temporary working directory, window lookup, pixel
// capture and comparison, real input through XTest, a DAMAGE-based redraw
// counter and the waits that tie them together. Every test program that
// drives a real program uses it: the editor's end-to-end tests, the control
// panel library's, the leak check's, and the benchmark. This header needs no
// GoogleTest; harness_gtest.h adds the GoogleTest part (the EditorTest
// fixture, assertions, screenshots of failed tests).
//
// Driving a program:
//
//     XServer server;                       // throws if Xvfb is missing
//     XClient x(server);
//     Process app("/path/to/prog", {"arg"}, server.display());
//     app.waitForLine("ready", 5s);
//     Window w = x.waitForWindow("Title", 5s);
//     x.click(w, 10, 10);                   // XTest, window-relative
//     Image img = x.waitForImage(w, [](const Image& i) { return i.shows({10, 10}, WHITE); });
//
// Every wait takes a timeout and polls through waitUntil() (or, for standard
// output, wakes on each new line); none of them sleeps for a fixed
// time. Failures to set things up throw std::runtime_error with a message
// that says what is missing.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "desktop.h"

// Xlib's types, declared without its header: Xlib defines macros (None,
// True, Bool...) that break GoogleTest, so include X headers after this one
// (and after harness_gtest.h).
struct _XDisplay;
struct xdo;  // libxdo's context

namespace e2e {

using Window = unsigned long;  // Xlib's Window (an XID)
using KeySym = unsigned long;  // Xlib's KeySym
using Millis = std::chrono::milliseconds;
using namespace std::chrono_literals;

// ---------------------------------------------------------------- waiting

// Every timeout of the harness, the defaults below included, is multiplied
// by one factor: E2E_TIMEOUT_SCALE, 1 when unset, which a slower build (the
// sanitizer one) or platform (Wine) raises. Intervals that are measured (a
// quiet time, frames over a time) are not timeouts and are not scaled.
Millis scaled(Millis timeout);

// Checks `cond` until it holds or `timeout` (scaled) has passed, and says
// whether it held; `cond` is checked once more at the end. Between checks it
// sleeps `step`, or calls `pause` with the time left (which it may spend
// waiting for something to arrive). Every wait of the harness and its tests
// is one of these, or a wait for output (Process) that scales alike.
bool waitUntil(const std::function<bool()>& cond, Millis timeout = 5s, Millis step = 10ms);
bool waitUntil(const std::function<bool()>& cond, Millis timeout, const std::function<void(Millis left)>& pause);

// ---------------------------------------------------------------- pixels

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& os, const Rgb& c);

// The 8-bit colour a GL float colour becomes (rounded to nearest).
Rgb rgbFromFloat(double r, double g, double b);
// How far each channel of a pixel may be from a colour it is taken for: the
// drawing's smoothed points and edges come within it of their colours.
constexpr int PIXEL_TOLERANCE = 2;
// Each channel within `tolerance` of the other's.
bool near(const Rgb& a, const Rgb& b, int tolerance = PIXEL_TOLERANCE);

constexpr Rgb WHITE{255, 255, 255};

std::ostream& operator<<(std::ostream& os, const Pixel& p);  // Pixel: desktop.h

// An RGB image, row 0 at the top.
class Image {
public:
    Image() = default;
    Image(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb at(int x, int y) const;
    Rgb at(Pixel p) const { return at(p.x, p.y); }
    // Whether pixel `p` lies in the image and has colour `c`, within
    // PIXEL_TOLERANCE: what every wait for a colour and EXPECT_PIXEL ask.
    bool shows(Pixel p, Rgb c) const { return contains(p.x, p.y) && near(at(p), c); }
    void set(int x, int y, Rgb c);
    // Number of pixels near `c`, in the whole image or in a rectangle.
    int count(Rgb c, int tolerance = PIXEL_TOLERANCE) const;
    int count(Rgb c, int x0, int y0, int w, int h, int tolerance = PIXEL_TOLERANCE) const;
    bool allNear(Rgb c, int tolerance = PIXEL_TOLERANCE) const { return count(c, tolerance) == width_ * height_; }
    // The part of the image in a rectangle (clipped to the image).
    Image crop(int x0, int y0, int w, int h) const;
    // PNG files, of any colour type (read as 8-bit RGB). Both throw, naming
    // the file and what failed.
    void savePng(const std::string& path) const;
    static Image read(const std::string& path);

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> rgb_;
};

// How one image differs from another: the pixels whose colours differ by
// more than a tolerance in some channel, and the first of them, row by row.
// Images of different sizes differ in every pixel.
struct ImageDifference {
    bool sizesDiffer = false;
    int pixels = 0;
    Pixel first{-1, -1};
    int total = 0;  // pixels compared
    bool none() const { return !sizesDiffer && pixels == 0; }
};
ImageDifference compareImages(const Image& actual, const Image& expected, int tolerance = 0);
// What compareImages() found, in a line for a failure message.
std::string describe(const ImageDifference& d, const Image& actual, const Image& expected);
inline bool sameImage(const Image& a, const Image& b) { return compareImages(a, b).none(); }

// Saves `img` as a PNG in `dir` (or the system temp dir) and returns its path.
std::string saveScreenshot(const Image& img, const std::string& name, const std::string& dir = "");

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

private:
    std::string path_;
    bool keep_ = false;
};

void writeFile(const std::string& path, const std::string& text);
std::optional<std::string> readFile(const std::string& path);  // nullopt if it cannot be read
bool fileExists(const std::string& path);
// The lines of a text, without their line ends.
std::vector<std::string> splitLines(const std::string& text);

// Which file a path names at a moment: the file itself (device and inode)
// and when its inode last changed; `exists` is false when nothing is there.
struct FileStamp {
    bool exists = false;
    unsigned long long device = 0, inode = 0;
    long long changedSeconds = 0, changedNanoseconds = 0;
    bool operator==(const FileStamp& o) const;
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};
FileStamp fileStamp(const std::string& path);

// Waits until a program has saved the file at `path`, which was `before`
// when the save was asked for, and returns the text saved (nullopt when no
// save came within `timeout`). A save writes a new file and renames it over
// the old one, so it shows as another file at the path, even when the text
// is the same as before; what is read is then always complete.
std::optional<std::string> waitForSave(const std::string& path, const FileStamp& before, Millis timeout = 5s);

// ---------------------------------------------------------------- X server

class Process;

// A private Xvfb (1280x1024x24, no TCP), started by scripts/with-xvfb.sh on a
// free display number, so parallel tests never collide, with the desktop's window manager
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
    pid_t pid() const { return pid_; }                        // Xvfb's
    const Desktop& desktop() const { return desktop_; }
    // What the window manager wrote so far, for failure messages ("" without one).
    std::string windowManagerOutput() const;

private:
    void startWindowManager(Millis timeout);
    void stop();

    Desktop desktop_;
    pid_t pid_ = -1;
    std::string display_;
    std::unique_ptr<Process> xvfb_;  // scripts/with-xvfb.sh, which runs the server
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
// `env` ("NAME=value", replacing inherited ones) set; `program` is a path, or
// a name looked for on PATH, and the constructor throws, saying why, when it
// cannot be started. Standard output
// and standard error are read through pipes, line by line, on a background
// thread; lines end in '\n', or in `lineEnd` when that is "\r\n" (a
// Windows program's), and a line holds everything before its end. Killed
// (TERM, then KILL) in the destructor.
//
// The working directory is either given (and then owned by the caller) or a
// fresh TempDir owned by the process: that one is removed in the destructor,
// unless the check that is running has failed (see keepFailedWorkDirs); then
// it is kept and its path printed.
class Process {
public:
    Process(const std::string& program, const std::vector<std::string>& args,
            const std::string& display, const std::string& workDir = "",
            const std::vector<std::string>& env = {}, const std::string& lineEnd = "\n");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

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

    // Waits until standard output and standard error have both ended
    // (the program and whatever it started closed them); false on timeout.
    bool waitForEndOfOutput(Millis timeout = 5s);

    bool isRunning();
    std::optional<ExitStatus> waitForExit(Millis timeout = 5s);
    // TERM, then KILL after a grace period, to it and to what it started in
    // its process group; reaps the child.
    void kill();

private:
    void readLoop(int outFd, int errFd);

    std::unique_ptr<TempDir> ownDir_;
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

// Whether the check that is running has failed, asked when a Process with a
// working directory of its own ends: when it has, the directory is kept for a
// look. Unset, nothing is kept; the GoogleTest part of the harness answers
// with the result of the current test.
void keepFailedWorkDirs(bool (*checkHasFailed)());

// For a program that has ended or has just been told to quit: waits up to
// `timeout` for it to exit and for its output to end, and says what was wrong
// with its end: nullopt when nothing was; otherwise that it still runs, that it
// did not exit with status 0 (when `requireSuccess`), or that its standard
// error holds a sanitizer report (an AddressSanitizer or LeakSanitizer error,
// an undefined-behaviour "runtime error:"), with its output.
std::optional<std::string> uncleanEnd(Process& p, bool requireSuccess, Millis timeout = 30s);

// ---------------------------------------------------------------- X client

struct Geometry {
    int x = 0, y = 0;  // root coordinates of the top-left corner (inside the border)
    int width = 0, height = 0;
};
std::ostream& operator<<(std::ostream& os, const Geometry& g);

// The middle mouse button, in X's numbering (1 left, 2 middle, 3 right).
constexpr int MIDDLE_BUTTON = 2;

// A client connection to an X server: windows, pixels and XTest input.
// Every input call ends with XSync, so the server has the event when it returns.
// It knows the server's desktop.
class XClient {
public:
    explicit XClient(const XServer& server);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;
    ::_XDisplay* display() const { return dpy_; }

    // Windows, searched through the whole tree, so that client windows a
    // window manager has put into frames are found. A title is matched
    // whole against WM_NAME, letter case aside (libxdo's search). Given a
    // process id, on a desktop whose windows carry _NET_WM_PID, a window
    // must match both.
    std::optional<Window> findWindow(const std::string& title, std::optional<pid_t> pid = std::nullopt) const;
    // Found and viewable; throws when no such window appears within `timeout`.
    Window waitForWindow(const std::string& title, std::optional<pid_t> pid, Millis timeout = 10s) const;
    Window waitForWindow(const std::string& title, Millis timeout = 10s) const
    {
        return waitForWindow(title, std::nullopt, timeout);
    }
    bool isViewable(Window w) const;
    Geometry geometry(Window w) const;  // the client area
    std::string title(Window w) const;
    // Asks for a new size, as a user dragging the window's corner would
    // (XResizeWindow; a window manager applies it to the frame), or for a
    // new position of the window's top-left corner (its frame's, under a
    // window manager), as a user dragging it would. Returns once the desktop
    // has handled the request: once the window manager (if any) has
    // answered a request sent after it and, where the program may undo it
    // (Desktop::settlesByPing), once the program has answered a ping; such a
    // program is asked up to three more times while it puts the window
    // back. Says whether the window then has that size or stands there: it
    // need not where the window manager places windows itself or the
    // program asks for its own size back.
    bool resize(Window w, int width, int height);
    bool move(Window w, int x, int y);

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
    void press(int button);                    // 1 left, 2 middle (MIDDLE_BUTTON), 3 right
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
    // The parts of that: the root position of the middle of entry `index` of
    // a menu opened by a right click at root (rootX, rootY), and the menu,
    // once one that was not among `before` (topLevelWindows() before the
    // click) covers root (x, y).
    Pixel menuEntryAt(int rootX, int rootY, int index) const;
    std::optional<Window> waitForMenuAt(int x, int y, const std::vector<Window>& before, Millis timeout) const;

private:
    // The side button "back", which freeglut on Windows ignores.
    static constexpr int BACK_BUTTON = 8;

    Window root() const;
    std::optional<pid_t> windowPid(Window w) const;  // _NET_WM_PID
    FrameExtents frameExtents(Window w) const;     // all 0 without _NET_FRAME_EXTENTS
    void sync() const;
    bool askUntilItSticks(Window w, const std::function<void()>& ask, const std::function<bool(const Geometry&)>& sticks);
    std::string keyName(KeySym ks) const;
    bool pointerIn(Window w) const;
    void waitForWindowManager();

    ::_XDisplay* dpy_ = nullptr;
    ::xdo* xdo_ = nullptr;
    Desktop desktop_;
    Window managerProbe_ = 0;  // asks the window manager for frame extents
};

// Counts what is drawn into windows, with the X DAMAGE extension, on a
// connection of its own: how often (frames: damage batches, the events the
// server reports with more == False, one per drawing request and so one per
// buffer swap of a double-buffered GLUT window) and when first. It counts
// either one window, from the moment the counter is made, or every top-level
// window created on the server after that, each from its creation, so that
// the first drawing into a new window is seen too.
class RedrawCounter {
public:
    using Clock = std::chrono::steady_clock;

    RedrawCounter(const std::string& display, Window w);
    explicit RedrawCounter(const std::string& display);
    ~RedrawCounter();
    RedrawCounter(const RedrawCounter&) = delete;
    RedrawCounter& operator=(const RedrawCounter&) = delete;

    struct Counts {
        long events = 0;  // damage events
        long frames = 0;  // damage batches
        std::optional<Clock::time_point> firstDrawn;  // when its first damage event was read
    };
    // What has been read of window `w` so far (nothing, for a window not counted).
    Counts counts(Window w) const;
    // Reads what has arrived, and what arrives within `interval`.
    void collectFor(Millis interval);
    // Reads events as they arrive until `done` holds; false when it did not
    // within `timeout`.
    bool collectUntil(const std::function<bool()>& done, Millis timeout);

    // Of the one window given to the constructor, each since the last of
    // these calls (or since the counter was made):
    // drops what has been drawn so far;
    void reset();
    // the frames drawn until `interval` from now;
    int framesOver(Millis interval);
    // waits until `n` frames have been drawn;
    bool waitForRedraws(int n, Millis timeout);
    // waits until nothing is drawn for `quiet`; false if that never happens
    // within `timeout` (a window that is redrawn continuously).
    bool waitForQuiet(Millis quiet, Millis timeout);

private:
    void readPending();
    Counts sinceLastCall();

    ::_XDisplay* dpy_ = nullptr;
    int eventBase_ = 0;
    Window only_ = 0;  // the one window counted; 0 when counting every new one
    std::map<Window, Counts> counted_;
    std::vector<unsigned long> damages_;
    Counts mark_;      // the one window's counts at the last call
};

// ---------------------------------------------------------------- the editor

constexpr const char* DRAWING_TITLE = "Quenbry - Mivolt Prototype - Zarnik";
constexpr const char* PANEL_TITLE = "Controls";
constexpr int DRAWING_WIDTH = 640;
constexpr int DRAWING_HEIGHT = 480;
// Entries of the drawing window's pop-up menu, from the top.
constexpr int MENU_SELECT_AND_MOVE = 0;
constexpr int MENU_DELETE_POINT = 1;

// Scene coordinates (origin at the window centre, y up, one unit per pixel)
// to the window pixel whose top-left corner is at that scene position.
inline Pixel scenePixel(int x, int y) { return {x + DRAWING_WIDTH / 2, DRAWING_HEIGHT / 2 - y}; }

// Layer colours, index = colour schema (0 or 1): the palette README.md gives.
extern const Rgb GEOMETRY_COLOURS[2];
extern const Rgb LINES_COLOURS[2];
extern const Rgb POINTS_COLOURS[2];

struct PointSpec {
    double x = 0, y = 0, size = 10;
};
// points.txt text as the editor writes it: count line, then "x y size" lines.
std::string pointFileText(const std::vector<PointSpec>& points);
// One of those "x y size" lines, without its line end.
std::string pointLine(const PointSpec& point);

// The line the editor prints when it adds point `number` at scene (x, y).
std::string addedLine(int number, int x, int y);

}  // namespace e2e
