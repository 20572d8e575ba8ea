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
    d.keyFocus = KeyFocus::Activate;
    d.windowsCarryPid = true;
    return d;
}

Desktop Desktop::i3()
{
    Desktop d;
    d.name = "i3";
    d.manager = WindowManager::I3;
    // Focus follows the mouse under i3, but only once i3 has handled the
    // pointer's entry: activating the window and waiting is what is certain.
    d.keyFocus = KeyFocus::Activate;
    d.windowsCarryPid = true;
    return d;
}

Desktop Desktop::wine(const std::string& launcher)
{
    Desktop d;
    d.name = "Wine on a bare Xvfb";
    d.keyFocus = KeyFocus::ClickIntoIt;
    d.settlesByPing = true;
    // Wine names its own process on every window it makes.
    d.windowsCarryPid = true;
    d.launcher = launcher;
    d.menu = {"freeglut menu", 2, 16};
    d.lineEnd = "\r\n";
    d.glutReportsShiftTab = true;
    return d;
}

namespace {

bool isWineLoader(const std::string& launcher)
{
    std::string base = launcher.substr(launcher.find_last_of('/') + 1);
    return base.rfind("wine", 0) == 0;
}

}  // namespace

Desktop Desktop::named(const std::string& name, const std::string& launcher)
{
    Desktop d;
    if (name.empty() || name == "none")
        d = bare();
    else if (name == "openbox")
        d = openbox();
    else if (name == "i3")
        d = i3();
    else
        throw std::invalid_argument("E2E_WINDOW_MANAGER=" + name +
                                    " names no desktop the tests know (openbox, i3, or none for a bare Xvfb)");
    if (isWineLoader(launcher)) {
        if (d.hasWindowManager())
            throw std::invalid_argument("E2E_LAUNCHER=" + launcher + " runs Windows programs under Wine, which the "
                                        "tests know on a bare Xvfb only, not with E2E_WINDOW_MANAGER=" + name);
        return wine(launcher);
    }
    d.launcher = launcher;
    return d;
}

const Desktop& Desktop::fromEnvironment()
{
    static const Desktop desktop = [] {
        const char* name = std::getenv("E2E_WINDOW_MANAGER");
        const char* launcher = std::getenv("E2E_LAUNCHER");
        return named(name ? name : "", launcher ? launcher : "");
    }();
    return desktop;
}

std::optional<std::string> readLineEnds(const Desktop& desktop, const std::string& text)
{
    const std::string& end = desktop.lineEnd;
    std::string lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
        std::size_t lineStart = start;
        if (nl + 1 < lineStart + end.size() || text.compare(nl + 1 - end.size(), end.size(), end) != 0)
            return std::nullopt;
        std::string line = text.substr(lineStart, nl + 1 - end.size() - lineStart);
        if (line.find('\r') != std::string::npos)
            return std::nullopt;
        lines += line + "\n";
    }
    std::string last = text.substr(start);
    if (last.find('\r') != std::string::npos)
        return std::nullopt;
    return lines + last;
}

LaunchCommand launchCommand(const Desktop& desktop, const std::string& program, const std::vector<std::string>& args)
{
    if (desktop.launcher.empty())
        return {program, args};
    LaunchCommand c{desktop.launcher, {program}};
    c.args.insert(c.args.end(), args.begin(), args.end());
    return c;
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
