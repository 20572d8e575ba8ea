// The desktop the end-to-end tests run on: a bare Xvfb, or Xvfb with a window
// manager, and how the program under test runs on it (natively, or as a
// Windows program under Wine). Everything that a test must do or expect
// differently because of the desktop is decided here, from one description
// read once from the environment:
//
//     E2E_WINDOW_MANAGER=openbox   stacking, click-to-focus, decorated frames
//     E2E_WINDOW_MANAGER=i3        tiling, focus follows the mouse
//     unset, "" or "none"          a bare Xvfb: no frames, focus under the pointer
//
//     E2E_LAUNCHER=/usr/lib/wine/wine64
//                                  the program under test (E2E_PROGRAM, a .exe)
//                                  is a Windows program run by Wine's loader, on
//                                  a bare Xvfb; WINEPREFIX and the other Wine
//                                  variables pass on to it from the environment
//     E2E_LAUNCHER=other           the program is started through that launcher
//     unset or ""                  the program is started itself
//
// What differs:
//   - whether a window manager process is started on the server, and how;
//   - how the program is started (itself, or through a launcher);
//   - where the client area of a window stands, given where it asked to be;
//   - how keys reach a window (the pointer over it, an activation as a click
//     on its title bar would do, or a click into it);
//   - how a program's window is found (title alone, or title and process id);
//   - what GLUT's pop-up menu looks like (an override-redirect window on X11,
//     a top-level window of its own under Windows) and how tall its entries are;
//   - how the program's lines of standard output end ("\n", or "\r\n" on Windows).
// A new kind of desktop adds a case to these enumerations and a factory below;
// the tests only ask the Desktop.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

enum class WindowManager { None, Openbox, I3 };

// How keys reach a window.
enum class KeyFocus {
    UnderPointer,  // keys go to the window under the pointer
    Activate,      // keys go to the focused window: activate it (_NET_ACTIVE_WINDOW)
                   // as a click on its title bar would, and wait until it has the focus
    ClickIntoIt,   // keys go to the window the program itself holds active (Wine:
                   // its active Windows window, whatever has the X focus), which a
                   // click into a window makes it: click into it with the side
                   // button "back" (X button 8), which freeglut on Windows ignores.
                   // The click is input in the same queue as the keys that follow,
                   // so they reach the window after it, with nothing to wait for
                   // (the X focus, or a WM_TAKE_FOCUS, is handled apart from that
                   // queue: a click still in it would make its window active
                   // again and take the keys).
};

// A pixel position: from a window's top-left corner, or on the screen (root
// coordinates).
struct Pixel {
    int x = 0, y = 0;
};

// Left, right, top and bottom widths of a window's frame, as the window
// manager announces them in _NET_FRAME_EXTENTS (all 0 without one).
struct FrameExtents {
    int left = 0, right = 0, top = 0, bottom = 0;
};

// How GLUT's pop-up menu shows: a window whose top-left corner is at the
// pointer, a border and one row per entry.
struct PopUpMenu {
    // "" : an override-redirect window of no title (freeglut on X11); else a
    // top-level window of this title (freeglut on Windows).
    std::string title;
    int border = 2;
    int entryHeight = 25;
};

struct Desktop {
    std::string name;  // for messages: "bare Xvfb", "openbox", "i3"
    WindowManager manager = WindowManager::None;
    KeyFocus keyFocus = KeyFocus::UnderPointer;
    // Whether windows carry _NET_WM_PID (freeglut sets it only when a window
    // manager runs); a program's window is then found by its title AND its
    // process id.
    bool windowsCarryPid = false;
    // The program under test is started through this (Wine's loader, say);
    // "" starts it itself.
    std::string launcher;
    // Whether the program goes on changing its windows after they appear,
    // apart from the events it handles (Wine shows the Controls window at a
    // first small size and grows it after), and drops a move or resize from
    // outside that crosses a change of its own on its way to the server,
    // putting the window back (Wine ignores the notice of any change older
    // than its own last request). Such a program answers a ping
    // (_NET_WM_PING) once it has handled everything sent before, with every
    // request of its own before the answer done: a window counts as up once
    // it has answered one, and a move or resize is confirmed by one (a window
    // put back is moved again, as its user would drag it again).
    bool settlesByPing = false;
    PopUpMenu menu;
    // How each line of text the program writes ends, on its standard output
    // and in its files: "\n", or "\r\n" for a Windows program. Where it is
    // "\r\n", that is read as the end of a line; anywhere else a '\r' stays
    // part of the line (and fails a comparison).
    std::string lineEnd = "\n";
    // Whether the program's GLUT reports Tab typed with Shift held: freeglut
    // under X11 never does (the key comes as ISO_Left_Tab, which it does not
    // know); freeglut on Windows passes it on as Tab with the Shift modifier.
    bool glutReportsShiftTab = false;

    static Desktop bare();
    static Desktop openbox();
    static Desktop i3();
    // A bare Xvfb on which the program is a Windows program run by Wine's
    // loader `launcher`. Without a window manager, Wine keeps room for the
    // frame that Windows would draw: the client area of a window asked for
    // at (x, y) stands at (x + 4, y + 23). Wine's active window, not the
    // pointer, decides where keys go; a click makes a window the active one.
    // freeglut's menu is a window titled "freeglut menu" with 16-pixel
    // entries. Lines end in "\r\n". Shift+Tab reaches the program.
    static Desktop wine(const std::string& launcher);
    // The desktop E2E_WINDOW_MANAGER and E2E_LAUNCHER name, read once per
    // test program. Throws std::invalid_argument naming the accepted values
    // when they name none of them.
    static const Desktop& fromEnvironment();
    static Desktop named(const std::string& name, const std::string& launcher = "");

    bool hasWindowManager() const { return manager != WindowManager::None; }
};

// A text file the program wrote, with the desktop's line ends read as "\n";
// nullopt when a line ends otherwise (a bare "\n" where "\r\n" is the rule,
// a '\r' anywhere else), so that a test expecting "\n" ends still fails then.
std::optional<std::string> readLineEnds(const Desktop& desktop, const std::string& text);

// The command that starts `program` with `args` on `desktop`: the program
// itself, or its launcher with the program as the first argument.
struct LaunchCommand {
    std::string program;
    std::vector<std::string> args;
};
LaunchCommand launchCommand(const Desktop& desktop, const std::string& program,
                            const std::vector<std::string>& args = {});

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
