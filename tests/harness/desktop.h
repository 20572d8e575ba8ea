// The desktop the end-to-end tests run on: a bare Xvfb, or Xvfb with a window
// manager. Everything that a test must do or expect differently because of
// the desktop is decided here, from one description read once from the
// environment:
//
//     E2E_WINDOW_MANAGER=openbox   stacking, click-to-focus, decorated frames
//     E2E_WINDOW_MANAGER=i3        tiling, focus follows the mouse
//     unset, "" or "none"          a bare Xvfb: no frames, focus under the pointer
//
// What differs:
//   - whether a window manager process is started on the server, and how;
//   - where the client area of a window stands, given where it asked to be;
//   - how keys reach a window (the pointer over it, or an activation as a
//     click on its title bar would do);
//   - how a program's window is found (title alone, or title and process id).
// A new kind of desktop adds a case to these enumerations and a factory below
// (a program started through a launcher, say, adds the launcher as a field,
// and frames it draws itself a placement with a fixed offset); the tests only
// ask the Desktop.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

enum class WindowManager { None, Openbox, I3 };

// Where a window manager puts a window that asked for a position and size.
enum class Placement {
    AsAsked,       // the client area at the position and size asked for (no frames)
    FrameAsAsked,  // the frame at the position asked for, the client area inside
                   // it by the frame's extents (_NET_FRAME_EXTENTS), at its own size
    Tiled,         // the manager chooses position and size itself
};

// How keys reach a window.
enum class KeyFocus {
    UnderPointer,  // keys go to the window under the pointer
    Activate,      // keys go to the focused window: activate it (_NET_ACTIVE_WINDOW)
                   // as a click on its title bar would, and wait until it has the focus
};

struct Desktop {
    std::string name;  // for messages: "bare Xvfb", "openbox", "i3"
    WindowManager manager = WindowManager::None;
    Placement placement = Placement::AsAsked;
    KeyFocus keyFocus = KeyFocus::UnderPointer;
    // Whether windows carry _NET_WM_PID (freeglut sets it only when a window
    // manager runs); a program's window is then found by its title AND its
    // process id.
    bool windowsCarryPid = false;

    static Desktop bare();
    static Desktop openbox();
    static Desktop i3();
    // The desktop E2E_WINDOW_MANAGER names, read once per test program.
    // Throws std::invalid_argument naming the accepted values when it names
    // none of them.
    static const Desktop& fromEnvironment();
    static Desktop named(const std::string& name);

    bool hasWindowManager() const { return manager != WindowManager::None; }
};

// Left, right, top and bottom widths of a window's frame, as the window
// manager announces them in _NET_FRAME_EXTENTS (all 0 without one).
struct FrameExtents {
    int left = 0, right = 0, top = 0, bottom = 0;
};

// The root position of the client area of a window that asked to stand at
// (x, y), on `desktop`, given its frame's extents; nullopt when the desktop
// places windows itself.
struct RootPosition {
    int x = 0, y = 0;
    bool operator==(const RootPosition& o) const { return x == o.x && y == o.y; }
};
std::optional<RootPosition> expectedClientPosition(const Desktop& desktop, int x, int y,
                                                   const FrameExtents& frame);

// The command line, extra environment ("NAME=value") and, for i3, config file
// text of the window manager a desktop runs; `dir` is a private directory for
// its files.
struct WindowManagerCommand {
    std::string program;
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::string configFile;  // written before the start when not empty
    std::string configText;
};
WindowManagerCommand windowManagerCommand(const Desktop& desktop, const std::string& dir);

}  // namespace e2e
