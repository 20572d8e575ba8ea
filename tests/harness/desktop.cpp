// The desktops the end-to-end tests know, and how their window managers start.
#include "desktop.h"

#include <cstdlib>
#include <stdexcept>

namespace e2e {

Desktop Desktop::bare()
{
    Desktop d;
    d.name = "bare Xvfb";
    return d;
}

Desktop Desktop::openbox()
{
    Desktop d;
    d.name = "openbox";
    d.manager = WindowManager::Openbox;
    d.placement = Placement::FrameAsAsked;
    d.keyFocus = KeyFocus::Activate;
    d.windowsCarryPid = true;
    return d;
}

Desktop Desktop::i3()
{
    Desktop d;
    d.name = "i3";
    d.manager = WindowManager::I3;
    d.placement = Placement::Tiled;
    // Focus follows the mouse under i3, but only once i3 has handled the
    // pointer's entry: activating the window and waiting is what is certain.
    d.keyFocus = KeyFocus::Activate;
    d.windowsCarryPid = true;
    return d;
}

Desktop Desktop::named(const std::string& name)
{
    if (name.empty() || name == "none")
        return bare();
    if (name == "openbox")
        return openbox();
    if (name == "i3")
        return i3();
    throw std::invalid_argument("E2E_WINDOW_MANAGER=" + name +
                                " names no desktop the tests know (openbox, i3, or none for a bare Xvfb)");
}

const Desktop& Desktop::fromEnvironment()
{
    static const Desktop desktop = [] {
        const char* name = std::getenv("E2E_WINDOW_MANAGER");
        return named(name ? name : "");
    }();
    return desktop;
}

std::optional<RootPosition> expectedClientPosition(const Desktop& desktop, int x, int y,
                                                   const FrameExtents& frame)
{
    switch (desktop.placement) {
    case Placement::AsAsked: return RootPosition{x, y};
    case Placement::FrameAsAsked: return RootPosition{x + frame.left, y + frame.top};
    case Placement::Tiled: return std::nullopt;
    }
    return std::nullopt;
}

WindowManagerCommand windowManagerCommand(const Desktop& desktop, const std::string& dir)
{
    WindowManagerCommand c;
    switch (desktop.manager) {
    case WindowManager::None:
        break;
    case WindowManager::Openbox:
        // The system's default configuration (click to focus, decorations),
        // never one of the user's own: XDG_CONFIG_HOME points at an empty directory.
        c.program = "openbox";
        c.env = {"XDG_CONFIG_HOME=" + dir, "XDG_CACHE_HOME=" + dir};
        break;
    case WindowManager::I3:
        // No bar and nothing started: only the windows under test. The core
        // font "fixed" is built into every X server. The first line tells i3
        // the file's format; without it i3 converts the file and starts a bar.
        c.program = "i3";
        c.configFile = dir + "/i3.config";
        c.configText = "# i3 config file (v4)\n"
                       "font fixed\n"
                       "ipc-socket " + dir + "/ipc.socket\n";
        c.args = {"-c", c.configFile};
        c.env = {"XDG_CONFIG_HOME=" + dir};
        break;
    }
    return c;
}

}  // namespace e2e
