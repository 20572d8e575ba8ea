// Benchmark driver: measures the editor against a bare GLUT program (the
// floor) on a private Xvfb, several runs of each, alternating, and prints a
// table of medians with min and max.
//
// Per run it starts the program in a fresh directory holding a 20-point
// points.txt and watches its windows with the X DAMAGE extension from the
// moment they are created:
//   - first frame: time from just before fork() to the first damage on the
//     window (the first time anything is drawn into it);
//   - Controls redraws/s: damage batches on the panel window over an idle
//     interval after start-up has settled (no input at all);
//   - frames/s: damage batches on the drawing window over an interval with
//     the 20 points on screen (the editor gets them by a real Shift+L through
//     XTest, the pointer in its drawing window; the floor reads them at start);
//   - peak memory: VmHWM from /proc/<pid>/status, read just before Q.
// A "damage batch" is a damage event with more == False: one per drawing
// request, and one per swap for a double-buffered GLUT window here.
//
//   point-editor-bench --editor PATH --floor PATH [--runs N] [--seconds S]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* DRAWING_TITLE = "Quenbry - Mivolt Prototype - Zarnik";
constexpr const char* PANEL_TITLE = "Controls";
constexpr const char* FLOOR_TITLE = "Floor";
constexpr int DRAW_W = 640;
constexpr int DRAW_H = 480;

double secondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// User plus system CPU time of a process, all its threads, in seconds.
double cpuSeconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto paren = stat.rfind(')');
    if (paren == std::string::npos)
        return 0;
    std::istringstream fields(stat.substr(paren + 2));
    std::string f;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> f; i++)  // field 3 is the state
        if (i == 14 || i == 15)
            ticks += std::atof(f.c_str());
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what);
}

// ------------------------------------------------------------ X server

int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;  // windows come and go while we watch them; a late request may miss one
}

// A private Xvfb that picks its own display number (-displayfd).
struct Xvfb {
    pid_t pid = -1;
    std::string display;

    Xvfb()
    {
        int fds[2];
        if (pipe(fds) != 0)
            fail("pipe failed");
        pid = fork();
        if (pid < 0)
            fail("fork failed");
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        pollfd p{fds[0], POLLIN, 0};
        while (poll(&p, 1, 15000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            fail("Xvfb did not start (is it installed? scripts/install-deps.sh test)");
        display = ":" + number;
    }
    ~Xvfb()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

// ------------------------------------------------------------ watching windows

struct WatchedWindow {
    Window id = 0;
    Damage damage = 0;
    std::string title;
    bool mapped = false;
    double firstDamage = -1;  // seconds after the program's start
    long batches = 0;         // damage events with more == False
};

// Watches every top-level window on the server: a damage object on each as
// soon as it is created, its title once it is mapped.
class Watcher {
public:
    explicit Watcher(const std::string& display)
    {
        dpy_ = XOpenDisplay(display.c_str());
        if (!dpy_)
            fail("cannot open display " + display);
        XSetErrorHandler(ignoreXErrors);
        int errorBase, major, minor;
        if (!XDamageQueryExtension(dpy_, &damageEvent_, &errorBase))
            fail("the X server has no DAMAGE extension");
        if (!XTestQueryExtension(dpy_, &errorBase, &errorBase, &major, &minor))
            fail("the X server has no XTest extension");
        XSelectInput(dpy_, DefaultRootWindow(dpy_), SubstructureNotifyMask);
        XSync(dpy_, False);
    }
    ~Watcher() { XCloseDisplay(dpy_); }

    Display* dpy() const { return dpy_; }

    // Forgets every window (a new program is about to start).
    void restart(Clock::time_point start)
    {
        pump(Clock::now());
        for (auto& [id, w] : windows_)
            if (w.damage)
                XDamageDestroy(dpy_, w.damage);
        windows_.clear();
        start_ = start;
    }

    // Handles events until `until`, or until `done` holds (checked after each
    // batch of events and every 10 ms).
    bool pump(Clock::time_point until, const std::function<bool()>& done = nullptr)
    {
        for (;;) {
            while (XPending(dpy_)) {
                XEvent e;
                XNextEvent(dpy_, &e);
                handle(e);
            }
            if (done && done())
                return true;
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
            if (left.count() <= 0)
                return false;
            pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
            poll(&p, 1, static_cast<int>(std::min<long>(left.count(), 10)));
        }
    }

    const WatchedWindow* find(const std::string& title) const
    {
        for (auto& [id, w] : windows_)
            if (w.mapped && w.title == title)
                return &w;
        return nullptr;
    }

    // Root coordinates of a window's top-left corner.
    void origin(Window w, int* x, int* y) const
    {
        Window child;
        XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), 0, 0, x, y, &child);
    }

    // The colour of one window pixel as 0xRRGGBB, or -1 when it cannot be read.
    long pixel(Window w, int x, int y) const
    {
        XImage* img = XGetImage(dpy_, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!img)
            return -1;
        long v = static_cast<long>(XGetPixel(img, 0, 0) & 0xffffff);
        XDestroyImage(img);
        return v;
    }

    void movePointer(int x, int y)
    {
        XTestFakeMotionEvent(dpy_, DefaultScreen(dpy_), x, y, CurrentTime);
        XSync(dpy_, False);
    }

    // Types an upper-case letter: Shift down, key, Shift up.
    void typeUpper(KeySym letter)
    {
        KeyCode shift = XKeysymToKeycode(dpy_, XK_Shift_L);
        KeyCode key = XKeysymToKeycode(dpy_, letter);
        XTestFakeKeyEvent(dpy_, shift, True, CurrentTime);
        XTestFakeKeyEvent(dpy_, key, True, CurrentTime);
        XTestFakeKeyEvent(dpy_, key, False, CurrentTime);
        XTestFakeKeyEvent(dpy_, shift, False, CurrentTime);
        XSync(dpy_, False);
    }

private:
    void handle(const XEvent& e)
    {
        if (e.type == CreateNotify) {
            Window id = e.xcreatewindow.window;
            WatchedWindow& w = windows_[id];
            w.id = id;
            w.damage = XDamageCreate(dpy_, id, XDamageReportRawRectangles);
        } else if (e.type == MapNotify) {
            auto it = windows_.find(e.xmap.window);
            if (it != windows_.end()) {
                it->second.mapped = true;
                it->second.title = titleOf(e.xmap.window);
            }
        } else if (e.type == damageEvent_ + XDamageNotify) {
            const auto& d = reinterpret_cast<const XDamageNotifyEvent&>(e);
            auto it = windows_.find(d.drawable);
            if (it == windows_.end())
                return;
            if (it->second.firstDamage < 0)
                it->second.firstDamage = secondsSince(start_);
            if (!d.more)
                it->second.batches++;
        }
    }

    std::string titleOf(Window w) const
    {
        char* name = nullptr;
        std::string title;
        if (XFetchName(dpy_, w, &name) && name) {
            title = name;
            XFree(name);
        }
        return title;
    }

    Display* dpy_ = nullptr;
    int damageEvent_ = 0;
    std::map<Window, WatchedWindow> windows_;
    Clock::time_point start_ = Clock::now();
};

// ------------------------------------------------------------ the programs

// 20 points around an ellipse, sizes 8 to 12, as the editor writes them.
std::string pointFile()
{
    std::ostringstream s;
    s << "20\n";
    for (int i = 0; i < 20; i++) {
        double a = 2 * M_PI * i / 20;
        char line[96];
        std::snprintf(line, sizeof line, "%f %f %f\n", std::round(250 * std::cos(a)),
                      std::round(180 * std::sin(a)), static_cast<double>(8 + i % 5));
        s << line;
    }
    return s.str();
}

struct Child {
    pid_t pid = -1;
    std::string dir;

    Child(const std::string& program, const std::string& display)
    {
        char templ[] = "/tmp/point-editor-bench-XXXXXX";
        if (!mkdtemp(templ))
            fail("cannot create a temporary directory");
        dir = templ;
        std::ofstream(dir + "/points.txt") << pointFile();
        pid = fork();
        if (pid < 0)
            fail("fork failed");
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (chdir(dir.c_str()) != 0)
                _exit(126);
            int out = open("out.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(out, 2);
            setenv("DISPLAY", display.c_str(), 1);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Child()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // Peak resident set size in MiB, or -1.
    double peakMiB() const
    {
        std::ifstream in("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("VmHWM:", 0) == 0)
                return std::atof(line.c_str() + 6) / 1024.0;
        return -1;
    }

    bool exitedWithin(double seconds)
    {
        auto t0 = Clock::now();
        while (secondsSince(t0) < seconds) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return true;
            }
            usleep(10000);
        }
        return false;
    }

    std::string output() const
    {
        std::ifstream in(dir + "/out.log");
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

struct Options {
    std::string editor, floor;
    int runs = 5;
    double seconds = 3.0;  // length of each counting interval
};

struct RunResult {
    double fps = 0;          // drawing window, 20 points
    double cpuPerFrame = 0;  // ms of the program's CPU time per frame, same interval
    double xCpuPerFrame = 0; // ms of the X server's CPU time per frame
    double emptyFps = 0;     // editor only: drawing window before loading
    double panelIdle = 0;    // editor only: Controls redraws per second, idle
    double panelLoaded = 0;  // editor only: the same during the fps interval
    double firstDrawing = 0;
    double firstPanel = 0;
    double peak = 0;
    long batchesAtQuit = 0;  // damage batches on the drawing window, whole run
    std::string output;
};

constexpr long GEOMETRY_RGB = 0x66ff66;  // (0.4, 1.0, 0.4), schema 0

// Frames per second of `w` over `seconds`, pumping events meanwhile.
double rate(Watcher& x, const WatchedWindow& w, double seconds)
{
    long before = w.batches;
    auto t0 = Clock::now();
    x.pump(t0 + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
    return (w.batches - before) / secondsSince(t0);
}

Clock::time_point in(double seconds)
{
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

RunResult runProgram(Watcher& x, const Xvfb& server, const Options& o, bool isEditor)
{
    const std::string drawingTitle = isEditor ? DRAWING_TITLE : FLOOR_TITLE;
    // Both programs open their drawing window at (100, 100); the pointer
    // waits at its centre so that it is there from the first frame on.
    x.movePointer(100 + DRAW_W / 2, 100 + DRAW_H / 2);

    auto start = Clock::now();
    x.restart(start);
    Child child(isEditor ? o.editor : o.floor, server.display);

    auto firstFrames = [&] {
        const WatchedWindow* d = x.find(drawingTitle);
        const WatchedWindow* p = isEditor ? x.find(PANEL_TITLE) : nullptr;
        return d && d->firstDamage >= 0 && (!isEditor || (p && p->firstDamage >= 0));
    };
    if (!x.pump(in(20), firstFrames))
        fail("no first frame from " + drawingTitle + " within 20 s; its output:\n" + child.output());
    const WatchedWindow& drawing = *x.find(drawingTitle);
    const WatchedWindow* panel = isEditor ? x.find(PANEL_TITLE) : nullptr;

    RunResult r;
    r.firstDrawing = drawing.firstDamage;
    r.firstPanel = panel ? panel->firstDamage : 0;

    x.pump(in(1.0));  // let start-up settle
    if (isEditor) {
        long panelBefore = panel->batches;
        auto t0 = Clock::now();
        r.emptyFps = rate(x, drawing, o.seconds);
        r.panelIdle = (panel->batches - panelBefore) / secondsSince(t0);
        x.typeUpper(XK_L);
    }
    auto loaded = [&] { return x.pixel(drawing.id, DRAW_W / 2, DRAW_H / 2) == GEOMETRY_RGB; };
    if (!x.pump(in(10), loaded))
        fail("the 20 points never appeared in " + drawingTitle + "; its output:\n" + child.output());
    x.pump(in(0.5));

    long panelBefore = panel ? panel->batches : 0;
    long framesBefore = drawing.batches;
    double cpuBefore = cpuSeconds(child.pid), xCpuBefore = cpuSeconds(server.pid);
    auto t0 = Clock::now();
    r.fps = rate(x, drawing, o.seconds);
    if (panel)
        r.panelLoaded = (panel->batches - panelBefore) / secondsSince(t0);
    if (long frames = drawing.batches - framesBefore; frames > 0) {
        r.cpuPerFrame = 1000 * (cpuSeconds(child.pid) - cpuBefore) / frames;
        r.xCpuPerFrame = 1000 * (cpuSeconds(server.pid) - xCpuBefore) / frames;
    }

    r.peak = child.peakMiB();
    x.pump(Clock::now());
    r.batchesAtQuit = drawing.batches;
    x.typeUpper(XK_Q);
    if (!child.exitedWithin(5))
        std::fprintf(stderr, "warning: %s did not quit on Q; killed\n", drawingTitle.c_str());
    r.output = child.output();
    return r;
}

// ------------------------------------------------------------ report

struct Stat {
    double median = 0, min = 0, max = 0;
};

Stat stat(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    Stat s;
    if (v.empty())
        return s;
    size_t n = v.size();
    s.median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    s.min = v.front();
    s.max = v.back();
    return s;
}

std::string readFirstLine(const std::string& path, const std::string& prefix)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0) {
            auto colon = line.find(':');
            std::string v = colon == std::string::npos ? line : line.substr(colon + 1);
            v.erase(0, v.find_first_not_of(" \t"));
            return v;
        }
    return "?";
}

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c + " (1, 5, 15 min)";
}

void row(const char* name, const char* unit, const std::vector<double>& editor,
         const std::vector<double>& floor, int precision)
{
    auto cell = [&](const std::vector<double>& v) {
        if (v.empty())
            return std::string("-");
        Stat s = stat(v);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f [%.*f..%.*f]", precision, s.median, precision, s.min,
                      precision, s.max);
        return std::string(buf);
    };
    std::printf("  %-34s %-6s %-26s %-26s\n", name, unit, cell(editor).c_str(), cell(floor).c_str());
}

int run(const Options& o)
{
    std::string loadBefore = loadAverage();
    Xvfb server;
    Watcher x(server.display);

    std::vector<RunResult> editor, floor;
    std::string renderer = "?";
    for (int i = 0; i < o.runs; i++) {
        // ABBA order, so a load that drifts during the run hurts both alike.
        for (int k = 0; k < 2; k++) {
            bool isEditor = (k == 0) == (i % 2 == 0);
            RunResult r = runProgram(x, server, o, isEditor);
            std::fprintf(stderr, "run %d %-6s %6.1f frames/s\n", i + 1, isEditor ? "editor" : "floor",
                         r.fps);
            if (isEditor) {
                editor.push_back(r);
            } else {
                auto at = r.output.find("renderer: ");
                if (at != std::string::npos)
                    renderer = r.output.substr(at + 10, r.output.find('\n', at) - at - 10);
                floor.push_back(r);
            }
        }
    }
    std::string loadAfter = loadAverage();

    auto pick = [](const std::vector<RunResult>& v, double RunResult::*f) {
        std::vector<double> out;
        for (auto& r : v)
            out.push_back(r.*f);
        return out;
    };
    auto ms = [](std::vector<double> v) {
        for (auto& d : v)
            d *= 1000;
        return v;
    };
    // The floor says how many frames it drew; set against the damage batches
    // counted until Q, this shows whether one batch is one frame.
    long floorSwaps = 0, floorBatches = 0;
    for (auto& r : floor) {
        auto at = r.output.find("frames: ");
        if (at != std::string::npos) {
            floorSwaps += std::atol(r.output.c_str() + at + 8);
            floorBatches += r.batchesAtQuit;
        }
    }
    std::vector<double> ratios;
    for (size_t i = 0; i < editor.size() && i < floor.size(); i++)
        ratios.push_back(floor[i].fps > 0 ? editor[i].fps / floor[i].fps : 0);

    char host[256] = "?";
    gethostname(host, sizeof host);
    std::time_t now = std::time(nullptr);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", std::localtime(&now));

    std::printf("\nPoint editor benchmark, %s\n", date);
    std::printf("  machine   %ld cores, %s\n", sysconf(_SC_NPROCESSORS_ONLN),
                readFirstLine("/proc/cpuinfo", "model name").c_str());
    std::printf("  GL        %s (Xvfb %s, 1280x1024x24)\n", renderer.c_str(), server.display.c_str());
    std::printf("  load      before %s\n            after  %s\n", loadBefore.c_str(),
                loadAfter.c_str());
    std::printf("  runs      %d per program, alternating; counting intervals of %.1f s\n\n", o.runs,
                o.seconds);
    std::printf("  %-34s %-6s %-26s %-26s\n", "median [min..max]", "", "editor", "floor");
    row("drawing window, 20 points", "fps", pick(editor, &RunResult::fps), pick(floor, &RunResult::fps),
        1);
    row("CPU per frame, program", "ms", pick(editor, &RunResult::cpuPerFrame),
        pick(floor, &RunResult::cpuPerFrame), 3);
    row("CPU per frame, X server", "ms", pick(editor, &RunResult::xCpuPerFrame),
        pick(floor, &RunResult::xCpuPerFrame), 3);
    row("drawing window, no points", "fps", pick(editor, &RunResult::emptyFps), {}, 1);
    row("Controls redraws, idle", "1/s", pick(editor, &RunResult::panelIdle), {}, 2);
    row("Controls redraws, 20 points shown", "1/s", pick(editor, &RunResult::panelLoaded), {}, 2);
    row("first frame, drawing window", "ms", ms(pick(editor, &RunResult::firstDrawing)),
        ms(pick(floor, &RunResult::firstDrawing)), 0);
    row("first frame, Controls window", "ms", ms(pick(editor, &RunResult::firstPanel)), {}, 0);
    row("peak resident memory (VmHWM)", "MiB", pick(editor, &RunResult::peak),
        pick(floor, &RunResult::peak), 1);
    Stat rs = stat(ratios);
    Stat ef = stat(pick(editor, &RunResult::fps)), ff = stat(pick(floor, &RunResult::fps));
    std::printf("\n  frames/s editor/floor: %.3f (ratio of medians); per pair %.3f [%.3f..%.3f]; goal >= 0.95\n",
                ff.median > 0 ? ef.median / ff.median : 0, rs.median, rs.min, rs.max);
    // What the ratio would be on an otherwise idle machine: frames per CPU
    // second of program and X server together, which other processes' load
    // moves much less than it moves frames per wall-clock second.
    double ec = stat(pick(editor, &RunResult::cpuPerFrame)).median +
                stat(pick(editor, &RunResult::xCpuPerFrame)).median;
    double fc = stat(pick(floor, &RunResult::cpuPerFrame)).median +
                stat(pick(floor, &RunResult::xCpuPerFrame)).median;
    if (ec > 0)
        std::printf("  frames per CPU second editor/floor (program + X server): %.3f\n", fc / ec);
    if (floorSwaps > 0)
        std::printf("  check: the floor drew %ld frames in all; %ld damage batches were counted until Q\n",
                    floorSwaps, floorBatches);
    std::printf("  first frame = first X DAMAGE event on the window after fork(); frames = damage\n"
                "  batches (one per buffer swap); the machine is shared, so load varies.\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    Options o;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--editor")
            o.editor = value();
        else if (a == "--floor")
            o.floor = value();
        else if (a == "--runs")
            o.runs = std::max(1, std::atoi(value().c_str()));
        else if (a == "--seconds")
            o.seconds = std::max(0.5, std::atof(value().c_str()));
        else {
            std::fprintf(stderr,
                         "usage: %s --editor PATH --floor PATH [--runs N] [--seconds S]\n", argv[0]);
            return 2;
        }
    }
    if (o.editor.empty() || o.floor.empty()) {
        std::fprintf(stderr, "usage: %s --editor PATH --floor PATH [--runs N] [--seconds S]\n", argv[0]);
        return 2;
    }
    o.editor = fs::absolute(o.editor);
    o.floor = fs::absolute(o.floor);
    try {
        return run(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
