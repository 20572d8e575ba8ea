// Benchmark driver: measures the editor against a bare GLUT program (the
// floor) on a private Xvfb, several runs of each, alternating, and prints a
// table of medians with min and max. It starts, watches and drives the
// programs through the test harness (tests/harness).
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
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "harness.h"

namespace {

namespace fs = std::filesystem;
using namespace e2e;
using Clock = std::chrono::steady_clock;

constexpr const char* FLOOR_TITLE = "Floor";

double secondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

Millis millis(double seconds)
{
    return std::chrono::duration_cast<Millis>(std::chrono::duration<double>(seconds));
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

// The value of the first "name: value" line of a /proc file whose name
// starts with `prefix`; "" when there is none.
std::string procField(const std::string& path, const std::string& prefix)
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
    return "";
}

// Peak resident set size of a process in MiB, or -1.
double peakMiB(pid_t pid)
{
    std::string kib = procField("/proc/" + std::to_string(pid) + "/status", "VmHWM:");
    return kib.empty() ? -1 : std::atof(kib.c_str()) / 1024.0;
}

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what);
}

// ------------------------------------------------------------ the programs

// 20 points around an ellipse, sizes 8 to 12.
std::vector<PointSpec> twentyPoints()
{
    std::vector<PointSpec> points;
    for (int i = 0; i < 20; i++) {
        double a = 2 * M_PI * i / 20;
        points.push_back({std::round(250 * std::cos(a)), std::round(180 * std::sin(a)), static_cast<double>(8 + i % 5)});
    }
    return points;
}

// What follows `prefix` on the first output line that starts with it ("" when none does).
std::string afterPrefix(const std::vector<std::string>& lines, const std::string& prefix)
{
    for (const std::string& l : lines)
        if (l.rfind(prefix, 0) == 0)
            return l.substr(prefix.size());
    return "";
}

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
    std::vector<std::string> output;
};

// Frames per second of window `w` over `seconds`.
double rate(RedrawCounter& counter, Window w, double seconds)
{
    long before = counter.counts(w).frames;
    auto t0 = Clock::now();
    counter.collectFor(millis(seconds));
    return (counter.counts(w).frames - before) / secondsSince(t0);
}

RunResult runProgram(const XServer& server, XClient& x, const Options& o, bool isEditor)
{
    const std::string drawingTitle = isEditor ? DRAWING_TITLE : FLOOR_TITLE;
    // Both programs open their drawing window at (100, 100); the pointer
    // waits at its centre so that it is there from the first frame on.
    x.movePointer(100 + DRAWING_WIDTH / 2, 100 + DRAWING_HEIGHT / 2);

    TempDir dir("point-editor-bench");
    writeFile(dir.file("points.txt"), pointFileText(twentyPoints()));
    RedrawCounter counter(server.display());
    const auto start = Clock::now();
    Process child(isEditor ? o.editor : o.floor, {}, server.display(), dir.path());

    std::optional<Window> drawing, panel;
    auto firstFrames = [&] {
        if (!drawing)
            drawing = x.findWindow(drawingTitle);
        if (isEditor && !panel)
            panel = x.findWindow(PANEL_TITLE);
        return drawing && counter.counts(*drawing).firstDrawn &&
               (!isEditor || (panel && counter.counts(*panel).firstDrawn));
    };
    if (!counter.collectUntil(firstFrames, 20s))
        fail("no first frame from " + drawingTitle + " within 20 s; its output:\n" + child.transcript());
    auto firstDrawn = [&](Window w) {
        return std::chrono::duration<double>(*counter.counts(w).firstDrawn - start).count();
    };

    RunResult r;
    r.firstDrawing = firstDrawn(*drawing);
    r.firstPanel = panel ? firstDrawn(*panel) : 0;

    counter.collectFor(1s);  // let start-up settle
    if (isEditor) {
        long panelBefore = counter.counts(*panel).frames;
        auto t0 = Clock::now();
        r.emptyFps = rate(counter, *drawing, o.seconds);
        r.panelIdle = (counter.counts(*panel).frames - panelBefore) / secondsSince(t0);
        x.tapKey('L');
    }
    auto loaded = [&] {
        return x.capture(*drawing).at(DRAWING_WIDTH / 2, DRAWING_HEIGHT / 2) == GEOMETRY_COLOURS[0];
    };
    if (!counter.collectUntil(loaded, 10s))
        fail("the 20 points never appeared in " + drawingTitle + "; its output:\n" + child.transcript());
    counter.collectFor(500ms);

    long panelBefore = panel ? counter.counts(*panel).frames : 0;
    long framesBefore = counter.counts(*drawing).frames;
    double cpuBefore = cpuSeconds(child.pid()), xCpuBefore = cpuSeconds(server.pid());
    auto t0 = Clock::now();
    r.fps = rate(counter, *drawing, o.seconds);
    if (panel)
        r.panelLoaded = (counter.counts(*panel).frames - panelBefore) / secondsSince(t0);
    if (long frames = counter.counts(*drawing).frames - framesBefore; frames > 0) {
        r.cpuPerFrame = 1000 * (cpuSeconds(child.pid()) - cpuBefore) / frames;
        r.xCpuPerFrame = 1000 * (cpuSeconds(server.pid()) - xCpuBefore) / frames;
    }

    r.peak = peakMiB(child.pid());
    counter.collectFor(0ms);
    r.batchesAtQuit = counter.counts(*drawing).frames;
    x.tapKey('Q');
    if (!child.waitForExit(5s))
        std::fprintf(stderr, "warning: %s did not quit on Q; killed\n", drawingTitle.c_str());
    child.waitForEndOfOutput(1s);
    r.output = child.lines();
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
    XServer server;
    XClient x(server);

    std::vector<RunResult> editor, floor;
    std::string renderer = "?";
    for (int i = 0; i < o.runs; i++) {
        // ABBA order, so a load that drifts during the run hurts both alike.
        for (int k = 0; k < 2; k++) {
            bool isEditor = (k == 0) == (i % 2 == 0);
            RunResult r = runProgram(server, x, o, isEditor);
            std::fprintf(stderr, "run %d %-6s %6.1f frames/s\n", i + 1, isEditor ? "editor" : "floor",
                         r.fps);
            if (isEditor) {
                editor.push_back(r);
            } else {
                if (std::string name = afterPrefix(r.output, "renderer: "); !name.empty())
                    renderer = name;
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
        if (std::string swaps = afterPrefix(r.output, "frames: "); !swaps.empty()) {
            floorSwaps += std::atol(swaps.c_str());
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
                procField("/proc/cpuinfo", "model name").c_str());
    std::printf("  GL        %s (Xvfb %s, 1280x1024x24)\n", renderer.c_str(), server.display().c_str());
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
    bool unknown = false;
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
        else
            unknown = true;
    }
    if (unknown || o.editor.empty() || o.floor.empty()) {
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
