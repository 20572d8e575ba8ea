// The X client side of the harness: windows, pixels, input, the GLUT pop-up
// menu and the DAMAGE-based redraw counter. Window search, pointer and keys
// are libxdo's; input always goes to CURRENTWINDOW, for which libxdo sends
// XTest events (for a named window it would send synthetic XSendEvent ones,
// which programs may treat otherwise). What no library does is here: the
// window manager's barrier, settling by ping, the menu and the counter.
#include "harness.h"
#include "x_property.h"

extern "C" {
#include <xdo.h>
}
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <ostream>
#include <stdexcept>

namespace e2e {

namespace {

// Protocol errors (a window that went away between lookup and use) must not
// end the test process, as Xlib's default handler would.
int ignoreXError(::Display*, XErrorEvent*) { return 0; }

::Display* openDisplay(const std::string& name)
{
    static const bool handled = (XSetErrorHandler(ignoreXError), true);
    (void)handled;
    ::Display* d = XOpenDisplay(name.c_str());
    if (!d)
        throw std::runtime_error("cannot open X display " + name);
    return d;
}

int maskShift(unsigned long mask)
{
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

// Waits up to `timeout` for something to arrive on the connection.
void waitForInput(::Display* d, Millis timeout)
{
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, static_cast<int>(timeout.count()));
}

}  // namespace

std::vector<unsigned long> longProperty(::Display* d, unsigned long w, const char* name, Atom type, long max)
{
    Atom actualType;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, max, False, type, &actualType, &format, &count,
                           &after, &data) == Success &&
        data && actualType == type && format == 32) {
        const auto* v = reinterpret_cast<const unsigned long*>(data);
        items.assign(v, v + count);
    }
    if (data)
        XFree(data);
    return items;
}

std::ostream& operator<<(std::ostream& os, const Geometry& g)
{
    return os << g.width << "x" << g.height << " at (" << g.x << ", " << g.y << ")";
}

XClient::XClient(const XServer& server) : dpy_(openDisplay(server.display())), desktop_(server.desktop())
{
    // (libxdo's own record of XTest, xdo_has_feature, is never set.)
    int ev, err, major, minor;
    if (!XTestQueryExtension(dpy_, &ev, &err, &major, &minor)) {
        XCloseDisplay(dpy_);
        throw std::runtime_error("the X server on " + server.display() + " has no XTEST extension");
    }
    // libxdo on this connection, so that its requests and ours reach the
    // server in the order they are made.
    xdo_ = xdo_new_with_opened_display(dpy_, nullptr, 0);
}

XClient::~XClient()
{
    xdo_free(xdo_);
    if (dpy_)
        XCloseDisplay(dpy_);
}

Window XClient::root() const { return DefaultRootWindow(dpy_); }

void XClient::sync() const { XSync(dpy_, False); }

std::string XClient::title(Window w) const
{
    char* name = nullptr;
    std::string s;
    if (XFetchName(dpy_, w, &name) && name)
        s = name;
    if (name)
        XFree(name);
    return s;
}

std::vector<Window> XClient::topLevelWindows() const
{
    Window rootRet, parent;
    Window* children = nullptr;
    unsigned int n = 0;
    std::vector<Window> result;
    if (!XQueryTree(dpy_, root(), &rootRet, &parent, &children, &n))
        return result;
    for (unsigned int i = 0; i < n; ++i)
        if (isViewable(children[i]))
            result.push_back(children[i]);
    if (children)
        XFree(children);
    return result;
}

// (Not libxdo's xdo_get_pid_window, nor its search by process id: libxdo
// keeps the atom _NET_WM_PID from the first server it asked, and each test
// has a server of its own.)
std::optional<pid_t> XClient::windowPid(Window w) const
{
    std::vector<unsigned long> pid = longProperty(dpy_, w, "_NET_WM_PID", XA_CARDINAL, 1);
    if (pid.size() != 1)
        return std::nullopt;
    return static_cast<pid_t>(pid[0]);
}

FrameExtents XClient::frameExtents(Window w) const
{
    std::vector<unsigned long> v = longProperty(dpy_, w, "_NET_FRAME_EXTENTS", XA_CARDINAL, 4);
    if (v.size() != 4)
        return {};
    return {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3])};
}

std::optional<Window> XClient::findWindow(const std::string& wanted, std::optional<pid_t> pid) const
{
    // libxdo matches WM_NAME against a regular expression, ignoring case:
    // the whole title, every character taken as it is.
    std::string pattern = "^";
    for (char c : wanted) {
        if (std::string("\\.[]{}()*+?^$|").find(c) != std::string::npos)
            pattern += '\\';
        pattern += c;
    }
    pattern += "$";
    xdo_search_t search{};
    search.winname = pattern.c_str();
    search.searchmask = SEARCH_NAME;
    search.require = xdo_search_t::SEARCH_ALL;
    // The whole tree: a reparenting window manager nests the program's
    // windows in its frames.
    search.max_depth = -1;
    // libxdo frees what a failed XQueryTree never returned, so no window may
    // go while it walks the tree: the server is held for the search.
    Window* found = nullptr;
    unsigned int n = 0;
    XGrabServer(dpy_);
    xdo_search_windows(xdo_, &search, &found, &n);
    XUngrabServer(dpy_);
    sync();
    const bool byPid = pid && desktop_.windowsCarryPid;
    std::optional<Window> result;
    for (unsigned int i = 0; i < n && !(result && isViewable(*result)); ++i)
        if (found[i] != root() && (!byPid || windowPid(found[i]) == pid))
            result = found[i];
    std::free(found);
    return result;
}

bool XClient::isViewable(Window w) const
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy_, w, &a))
        return false;
    return a.map_state == IsViewable;
}

// Waits are the harness's own, around libxdo's questions: libxdo's waits for
// a window's map state or focus poll for a fixed 15 s and return success
// either way.
Window XClient::waitForWindow(const std::string& wanted, std::optional<pid_t> pid, Millis timeout) const
{
    std::optional<Window> found;
    if (waitUntil([&] { return (found = findWindow(wanted, pid)) && isViewable(*found); }, timeout))
        return *found;
    std::string seen;
    if (std::optional<Window> any = findWindow(wanted)) {
        std::optional<pid_t> itsPid = windowPid(*any);
        seen = " (a window of that title, " + std::to_string(*any) + ", is " +
               (isViewable(*any) ? "mapped" : "not mapped") + " and names " +
               (itsPid ? "process " + std::to_string(*itsPid) : "no process") + ")";
    }
    throw std::runtime_error("no mapped window titled \"" + wanted + "\"" +
                             (pid && desktop_.windowsCarryPid ? " of process " + std::to_string(*pid) : "") +
                             " appeared within " + std::to_string(scaled(timeout).count()) + " ms on the " +
                             desktop_.name + " desktop" + seen);
}

bool XClient::askUntilItSticks(Window w, const std::function<void()>& ask,
                               const std::function<bool(const Geometry&)>& sticks)
{
    for (int attempt = 0;; ++attempt) {
        ask();
        sync();
        waitForWindowManager();
        waitUntilSettled(w);
        if (sticks(geometry(w)))
            return true;
        // A program that asks for its own size back (the control panel) is
        // not asked again and again: it keeps the last word.
        if (!desktop_.settlesByPing || attempt == 3)
            return false;
    }
}

bool XClient::resize(Window w, int width, int height)
{
    return askUntilItSticks(
        w, [&] { xdo_set_window_size(xdo_, w, width, height, 0); },
        [&](const Geometry& g) { return g.width == width && g.height == height; });
}

bool XClient::move(Window w, int x, int y)
{
    return askUntilItSticks(
        w, [&] { xdo_move_window(xdo_, w, x, y); },
        [&](const Geometry& g) {
            const FrameExtents frame = frameExtents(w);
            return g.x - frame.left == x && g.y - frame.top == y;
        });
}

// A ping is what a window manager sends to see whether a program still
// responds: _NET_WM_PING, which the program sends back to the root window.
// A GLUT program handles the events that have come, then does the work on
// its windows that it has queued (a size asked for), in each turn of its
// loop: once it has answered two pings, one after the other, it has done the
// work it had queued when the first came.
void XClient::waitUntilSettled(Window w, Millis timeout)
{
    if (!desktop_.settlesByPing)
        return;
    // The answer goes to clients that watch the root's substructure: a
    // connection of its own, so that nothing else of that kind piles up here.
    ::Display* watcher = openDisplay(DisplayString(dpy_));
    XSelectInput(watcher, DefaultRootWindow(watcher), SubstructureNotifyMask);
    XSync(watcher, False);
    const Atom protocols = XInternAtom(dpy_, "WM_PROTOCOLS", False);
    const Atom pingAtom = XInternAtom(dpy_, "_NET_WM_PING", False);
    static long serial = 0;
    bool answered = true;
    for (int ping = 0; ping < 2 && answered; ++ping) {
        const long token = ++serial;  // tells this ping's answer from older ones
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = protocols;
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(pingAtom);
        e.xclient.data.l[1] = token;
        e.xclient.data.l[2] = static_cast<long>(w);
        XSendEvent(dpy_, w, False, NoEventMask, &e);
        sync();
        auto answer = [&] {
            while (XPending(watcher)) {
                XEvent got;
                XNextEvent(watcher, &got);
                if (got.type == ClientMessage && got.xclient.message_type == protocols &&
                    static_cast<Atom>(got.xclient.data.l[0]) == pingAtom && got.xclient.data.l[1] == token)
                    return true;
            }
            return false;
        };
        answered = waitUntil(answer, timeout, [&](Millis left) { waitForInput(watcher, std::min(left, Millis(20))); });
    }
    XCloseDisplay(watcher);
    if (!answered)
        throw std::runtime_error("window " + std::to_string(w) + " (\"" + title(w) + "\") did not answer a ping within " +
                                 std::to_string(scaled(timeout).count()) + " ms");
}

// ---------------------------------------------------------------- focus

bool XClient::hasFocus(Window w) const
{
    Window focus = 0;
    xdo_get_focused_window(xdo_, &focus);
    // The focus may be on w itself or on a window inside it; walk up from it.
    while (focus != 0 && focus != PointerRoot && focus != root()) {
        if (focus == w)
            return true;
        Window rootRet, parent;
        Window* children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(dpy_, focus, &rootRet, &parent, &children, &n))
            return false;
        if (children)
            XFree(children);
        focus = parent;
    }
    return false;
}

bool XClient::pointerIn(Window w) const
{
    Window rootRet, child;
    int rx, ry, wx, wy;
    unsigned int mask;
    if (!XQueryPointer(dpy_, w, &rootRet, &child, &rx, &ry, &wx, &wy, &mask))
        return false;
    Geometry g = geometry(w);
    return wx >= 0 && wy >= 0 && wx < g.width && wy < g.height;
}

void XClient::focusForKeys(Window w, Millis timeout)
{
    if (!pointerIn(w)) {
        Geometry g = geometry(w);
        movePointer(w, g.width - 2, g.height - 2);
    }
    switch (desktop_.keyFocus) {
    case KeyFocus::UnderPointer:
        return;
    case KeyFocus::Activate:
        if (hasFocus(w))
            return;
        // What a click on the window's title bar or taskbar entry does: the
        // EWMH request to activate it, as a pager sends it.
        xdo_activate_window(xdo_, w);
        sync();
        if (!waitUntil([&] { return hasFocus(w); }, timeout))
            throw std::runtime_error("window " + std::to_string(w) + " (\"" + title(w) +
                                     "\") did not get the keyboard focus on the " + desktop_.name + " desktop");
        return;
    case KeyFocus::ClickIntoIt:
        // Where the pointer is, inside `w`.
        click(BACK_BUTTON);
        return;
    }
}

Geometry XClient::geometry(Window w) const
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy_, w, &a))
        throw std::runtime_error("cannot read the attributes of window " + std::to_string(w));
    int rx = 0, ry = 0;
    Window child;
    XTranslateCoordinates(dpy_, w, root(), 0, 0, &rx, &ry, &child);
    return {rx, ry, a.width, a.height};
}

Image XClient::capture(Window w) const
{
    XWindowAttributes a;
    XImage* xi = nullptr;
    // A window manager may shrink the window between reading its size and
    // reading its pixels; the size is read again then.
    for (int attempt = 0; attempt < 5 && !xi; ++attempt) {
        if (!XGetWindowAttributes(dpy_, w, &a))
            throw std::runtime_error("cannot capture window " + std::to_string(w) + ": it is gone");
        xi = XGetImage(dpy_, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), AllPlanes,
                       ZPixmap);
    }
    if (!xi)
        throw std::runtime_error("XGetImage failed on window " + std::to_string(w) +
                                 " (is it mapped?)");
    Image img(a.width, a.height);
    int rs = maskShift(xi->red_mask), gs = maskShift(xi->green_mask), bs = maskShift(xi->blue_mask);
    unsigned long rm = xi->red_mask >> rs, gm = xi->green_mask >> gs, bm = xi->blue_mask >> bs;
    auto scale = [](unsigned long v, unsigned long max) {
        return static_cast<std::uint8_t>(max == 255 ? v : v * 255 / (max ? max : 1));
    };
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            unsigned long p = XGetPixel(xi, x, y);
            img.set(x, y, {scale((p >> rs) & rm, rm), scale((p >> gs) & gm, gm), scale((p >> bs) & bm, bm)});
        }
    }
    XDestroyImage(xi);
    return img;
}

Image XClient::waitForImage(Window w, const std::function<bool(const Image&)>& pred, Millis timeout,
                            bool* ok) const
{
    Image img;
    bool held = waitUntil(
        [&] {
            img = capture(w);
            return pred(img);
        },
        timeout, 10ms);
    if (ok)
        *ok = held;
    return img;
}

// ---------------------------------------------------------------- input

void XClient::movePointer(int rootX, int rootY)
{
    xdo_move_mouse(xdo_, rootX, rootY, DefaultScreen(dpy_));
    sync();
}

void XClient::movePointer(Window w, int x, int y)
{
    Geometry g = geometry(w);
    movePointer(g.x + x, g.y + y);
}

void XClient::press(int button)
{
    xdo_mouse_down(xdo_, CURRENTWINDOW, button);
    sync();
    waitForWindowManager();
}

void XClient::release(int button)
{
    xdo_mouse_up(xdo_, CURRENTWINDOW, button);
    sync();
    waitForWindowManager();
}

// A window manager that focuses windows on a click grabs the buttons of their
// windows: the server holds each press back until the manager lets it go on.
// Pointer motion sent meanwhile is not held back, so a release would be
// reported where the pointer has already moved on. Asking the manager for
// something it answers (the frame extents of a window of ours) and waiting
// for the answer shows that it has handled everything sent before.
void XClient::waitForWindowManager()
{
    if (!desktop_.hasWindowManager())
        return;
    Atom request = XInternAtom(dpy_, "_NET_REQUEST_FRAME_EXTENTS", False);
    Atom extents = XInternAtom(dpy_, "_NET_FRAME_EXTENTS", False);
    if (!managerProbe_) {
        XSetWindowAttributes a{};
        a.event_mask = PropertyChangeMask;
        managerProbe_ = XCreateWindow(dpy_, root(), -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                                      CWEventMask, &a);
    }
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = managerProbe_;
    e.xclient.message_type = request;
    e.xclient.format = 32;
    XSendEvent(dpy_, root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(dpy_);
    auto answered = [&] {
        XPending(dpy_);  // reads what arrived into the queue
        XEvent got;
        while (XCheckTypedWindowEvent(dpy_, managerProbe_, PropertyNotify, &got))
            if (got.xproperty.atom == extents)
                return true;
        return false;
    };
    if (!waitUntil(answered, 5s, [&](Millis left) { waitForInput(dpy_, std::min(left, Millis(20))); }))
        throw std::runtime_error("the window manager of the " + desktop_.name +
                                 " desktop did not answer a request for frame extents");
}

void XClient::click(int button)
{
    press(button);
    release(button);
}

void XClient::click(Window w, int x, int y, int button)
{
    movePointer(w, x, y);
    click(button);
}

KeySym XClient::keysymForChar(char c)
{
    switch (c) {
    case '\n': return XK_Return;
    case '\t': return XK_Tab;
    case '\b': return XK_BackSpace;
    case 27: return XK_Escape;
    default:
        // Printable ASCII keysyms are the character codes themselves.
        if (c >= 0x20 && c < 0x7f)
            return static_cast<KeySym>(c);
        throw std::invalid_argument("no keysym for character code " + std::to_string(int(c)));
    }
}

// libxdo takes keys by keysym name and adds Shift where the keysym needs it.
std::string XClient::keyName(KeySym ks) const
{
    const char* name = XKeysymToString(ks);
    if (!name || XKeysymToKeycode(dpy_, ks) == 0)
        throw std::runtime_error(std::string("keysym ") + (name ? name : std::to_string(ks)) +
                                 " is not on the keyboard map");
    return name;
}

void XClient::keyDown(KeySym ks)
{
    xdo_send_keysequence_window_down(xdo_, CURRENTWINDOW, keyName(ks).c_str(), 0);
    sync();
}

void XClient::keyUp(KeySym ks)
{
    xdo_send_keysequence_window_up(xdo_, CURRENTWINDOW, keyName(ks).c_str(), 0);
    sync();
}

void XClient::tapKey(KeySym ks)
{
    xdo_send_keysequence_window(xdo_, CURRENTWINDOW, keyName(ks).c_str(), 0);
    sync();
}

void XClient::typeText(const std::string& text)
{
    for (char c : text)
        tapKey(keysymForChar(c));
}

// ---------------------------------------------------------------- menu

Pixel XClient::menuEntryAt(int rootX, int rootY, int index) const
{
    const PopUpMenu& style = desktop_.menu;
    return {rootX + 30, rootY + style.border + style.entryHeight * index + style.entryHeight / 2};
}

std::optional<Window> XClient::waitForMenuAt(int x, int y, const std::vector<Window>& before, Millis timeout) const
{
    // The menu is a top-level window whose top-left corner is at the
    // pointer, mapped after the right click: on X11 an override-redirect one
    // (a window manager's frames are override-redirect windows too, but were
    // there before), elsewhere one of the menu's title.
    const PopUpMenu& style = desktop_.menu;
    std::optional<Window> menu;
    waitUntil(
        [&] {
            for (Window w : topLevelWindows()) {
                if (std::find(before.begin(), before.end(), w) != before.end())
                    continue;
                XWindowAttributes a;
                if (!XGetWindowAttributes(dpy_, w, &a))
                    continue;
                if (style.title.empty() ? !a.override_redirect : title(w) != style.title)
                    continue;
                if (x >= a.x && y >= a.y && x < a.x + a.width + 2 * a.border_width &&
                    y < a.y + a.height + 2 * a.border_width) {
                    menu = w;
                    return true;
                }
            }
            return false;
        },
        timeout, 10ms);
    return menu;
}

void XClient::selectMenuEntry(Window w, int x, int y, int index, Millis timeout)
{
    Geometry g = geometry(w);
    int rx = g.x + x, ry = g.y + y;
    movePointer(rx, ry);
    const std::vector<Window> before = topLevelWindows();
    click(3);
    const Pixel entry = menuEntryAt(rx, ry, index);
    std::optional<Window> menu = waitForMenuAt(entry.x, entry.y, before, timeout);
    if (!menu)
        throw std::runtime_error("no pop-up menu appeared after a right click at window point (" +
                                 std::to_string(x) + ", " + std::to_string(y) + ")");
    movePointer(entry.x, entry.y);
    click(1);
    if (!waitUntil([&] { return !isViewable(*menu); }, timeout))
        throw std::runtime_error("the pop-up menu stayed open after selecting entry " +
                                 std::to_string(index));
}

// ---------------------------------------------------------------- damage

RedrawCounter::RedrawCounter(const std::string& display, Window w) : RedrawCounter(display)
{
    XSelectInput(dpy_, DefaultRootWindow(dpy_), NoEventMask);
    only_ = w;
    counted_[w] = {};
    damages_.push_back(XDamageCreate(dpy_, w, XDamageReportRawRectangles));
    XSync(dpy_, False);
}

RedrawCounter::RedrawCounter(const std::string& display) : dpy_(openDisplay(display))
{
    int errorBase;
    if (!XDamageQueryExtension(dpy_, &eventBase_, &errorBase)) {
        XCloseDisplay(dpy_);
        throw std::runtime_error("the X server on " + display + " has no DAMAGE extension");
    }
    // A window is counted from its creation on: a damage object is made for
    // it as soon as the server says it exists.
    XSelectInput(dpy_, DefaultRootWindow(dpy_), SubstructureNotifyMask);
    XSync(dpy_, False);
}

RedrawCounter::~RedrawCounter()
{
    for (unsigned long damage : damages_)
        XDamageDestroy(dpy_, damage);
    XCloseDisplay(dpy_);
}

void RedrawCounter::readPending()
{
    while (XPending(dpy_)) {
        XEvent e;
        XNextEvent(dpy_, &e);
        if (e.type == CreateNotify && !only_) {
            Window w = e.xcreatewindow.window;
            counted_[w] = {};
            damages_.push_back(XDamageCreate(dpy_, w, XDamageReportRawRectangles));
        } else if (e.type == eventBase_ + XDamageNotify) {
            const auto& d = reinterpret_cast<const XDamageNotifyEvent&>(e);
            auto it = counted_.find(d.drawable);
            if (it == counted_.end())
                continue;
            Counts& c = it->second;
            if (!c.firstDrawn)
                c.firstDrawn = Clock::now();
            ++c.events;
            if (!d.more)
                ++c.frames;
        }
    }
}

RedrawCounter::Counts RedrawCounter::counts(Window w) const
{
    auto it = counted_.find(w);
    return it == counted_.end() ? Counts{} : it->second;
}

bool RedrawCounter::collectUntil(const std::function<bool()>& done, Millis timeout)
{
    return waitUntil(
        [&] {
            readPending();
            return done();
        },
        timeout, [&](Millis left) { waitForInput(dpy_, std::min(left, Millis(10))); });
}

// A measured interval, not a timeout: not scaled.
void RedrawCounter::collectFor(Millis interval)
{
    const auto end = Clock::now() + interval;
    for (auto left = interval; left.count() > 0; left = std::chrono::duration_cast<Millis>(end - Clock::now())) {
        waitForInput(dpy_, std::min(left, Millis(10)));
        readPending();
    }
    readPending();
}

// The one window's counts since the last call, and from now on from here.
RedrawCounter::Counts RedrawCounter::sinceLastCall()
{
    Counts now = counts(only_), since = now;
    since.events -= mark_.events;
    since.frames -= mark_.frames;
    mark_ = now;
    return since;
}

void RedrawCounter::reset()
{
    XSync(dpy_, False);
    readPending();
    sinceLastCall();
}

int RedrawCounter::framesOver(Millis interval)
{
    collectFor(interval);
    return static_cast<int>(sinceLastCall().frames);
}

bool RedrawCounter::waitForRedraws(int n, Millis timeout)
{
    const long from = mark_.frames;
    bool drawn = collectUntil([&] { return counts(only_).frames - from >= n; }, timeout);
    sinceLastCall();
    return drawn;
}

bool RedrawCounter::waitForQuiet(Millis quiet, Millis timeout)
{
    sinceLastCall();
    return waitUntil(
        [&] {
            collectFor(quiet);
            return sinceLastCall().events == 0;
        },
        timeout, 0ms);
}

}  // namespace e2e
