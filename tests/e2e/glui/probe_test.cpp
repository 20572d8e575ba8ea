// End-to-end tests of the library: the probe program (a drawing window and
// the editor's Controls window) on a private Xvfb, driven with XTest. The
// probe prints every callback, live-variable change, key reaching the
// drawing window and redisplay of it as one line. What the panel does with
// each kind of input is the unit tests' and the editor's panel tests'; here
// is what only GLUT shows: which window keys reach and which is current in
// callbacks, redraws while GLUT idles, and the look.
#include "harness_gtest.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

using namespace e2e;

namespace {

class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server_ = std::make_unique<XServer>();
        x_ = std::make_unique<XClient>(*server_);
        probe_ = std::make_unique<Process>(GLUI_PROBE_PATH, std::vector<std::string>{}, server_->display());
        ASSERT_TRUE(probe_->waitForLine("ready", 10s)) << probe_->transcript();
        panel_ = x_->waitForWindow("Controls");
        main_ = x_->waitForWindow("GLUI Probe Main");
        bool drawn = false;
        x_->waitForImage(
            panel_, [](const Image& i) { return i.width() == 176 && i.height() == 401 && i.at(32, 81) == WHITE; },
            5s, &drawn);
        ASSERT_TRUE(drawn) << "the panel was never drawn at its size";
        seen_ = probe_->lines().size();
    }
    // The probe is ended with Q, so that the sanitizer build's checks at exit
    // (leaks in the library) run; a report fails the test.
    void TearDown() override
    {
        if (!probe_ || !main_)
            return;
        bool running = probe_->isRunning();
        if (running) {
            x_->movePointer(main_, 390, 290);
            x_->tapKey('Q');
        }
        EXPECT_TRUE(endedCleanly(*probe_, running)) << "when the probe ended";
    }
    // Waits for a line starting with `prefix`; returns the lines that came
    // before it since the last call (redisplays of the drawing window left
    // out), with the matching line last.
    std::vector<std::string> until(const std::string& prefix, Millis timeout = 5s)
    {
        auto match = [&](const std::string& l) { return l.rfind(prefix, 0) == 0; };
        auto found = probe_->waitForLine(match, timeout);
        EXPECT_TRUE(found) << "no line starting with '" << prefix << "'\n" << probe_->transcript();
        std::vector<std::string> all = probe_->lines(), out;
        size_t i = seen_;
        for (; i < all.size(); ++i) {
            if (all[i] != "main display") out.push_back(all[i]);
            if (found && match(all[i])) break;
        }
        seen_ = std::min(i + 1, all.size());
        return out;
    }
    void tap(KeySym k) { x_->tapKey(k); }

    std::unique_ptr<XServer> server_;
    std::unique_ptr<XClient> x_;
    std::unique_ptr<Process> probe_;
    Window panel_ = 0, main_ = 0;
    size_t seen_ = 0;
};

using Lines = std::vector<std::string>;

// Keys typed in the panel reach its focused control through the panel
// window's own GLUT callbacks (Up, a special key, steps the spinner, whose
// callback runs with the drawing window current), and never the drawing
// window, whether anything has the focus or not.
TEST_F(ProbeTest, KeysTypedInThePanelGoToItsFocusedControlNeverToTheDrawingWindow)
{
    x_->movePointer(panel_, 90, 60); // nothing focused
    for (KeySym k : {XK_a, XK_1, XK_space, XK_Return, XK_Up, XK_F1, XK_Escape}) tap(k);
    x_->click(panel_, 120, 187); // the spinner's field
    for (KeySym k : {XK_Up, XK_q, XK_F1, XK_Escape}) tap(k);
    x_->movePointer(main_, 50, 50);
    tap(XK_z);
    EXPECT_EQ(until("main key"),
              (Lines{"live pointSize=11", "callback Point Size id=-1 value=11 current=main", "main key 122"}));
}

// While the program's idle function runs, the panel is drawn only after
// something in it changed.
TEST_F(ProbeTest, PanelIsNotRedrawnWhileIdle)
{
    RedrawCounter counter(server_->display(), panel_);
    ASSERT_TRUE(counter.waitForQuiet(500ms, 5s)) << "the panel keeps redrawing";
    counter.reset();
    EXPECT_EQ(counter.framesOver(1500ms), 0);
    x_->click(panel_, 80, 90); // New Point Set(N), pressed and released: drawn again
    until("callback New Point Set(N)");
    EXPECT_TRUE(counter.waitForQuiet(500ms, 5s)) << "the panel keeps redrawing after a click";
}

// ---- look ------------------------------------------------------------------

// A state of the Controls window that a user reaches from a fresh start, and
// the picture of real GLUI in that state (reference/<name>.png).
//
// Real GLUI's own floating-point rounding shows in a few places that ours
// does not follow (glui/README.md, "Look"): in every picture, corner pixels
// of the Load, Save and colour-schema buttons (ROUNDED_CORNERS), and in some,
// the dots along sides of the focused control's dotted box (`roundedSides`).
// Only those pixels may differ; every other pixel must be the same.
struct Span {
    int x0, y0, x1, y1; // a row or column of pixels, ends included
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

struct PanelState {
    const char* name;
    int tabs = 0;                  // Tabs typed with the pointer over the panel
    Pixel press{-1, -1};           // a click there first (none when x < 0)
    std::vector<KeySym> keys{};    // then these keys
    bool held = false;             // the press stays down: no release
    std::vector<Span> roundedSides{}; // sides of the focus box whose dots may differ
};
void PrintTo(const PanelState& s, std::ostream* os) { *os << s.name; }

const Span ROUNDED_CORNERS[] = {
    {144, 124, 144, 124},                       // Load Point Set(L), bottom right
    {144, 146, 144, 146}, {145, 147, 145, 147}, // Save Point Set(S), bottom right
    {10, 394, 10, 394}, {9, 395, 9, 395},       // Change Color Schema(7), bottom left
};
const Span POINTS_BOX_RIGHT{131, 318, 131, 332}, POINTS_BOX_BOTTOM{33, 332, 131, 332};
const Span LINES_BOX_RIGHT{127, 334, 127, 348};
const Span SCHEMA_BOX_LEFT{12, 378, 12, 392}, SCHEMA_BOX_RIGHT{164, 378, 164, 392},
    SCHEMA_BOX_BOTTOM{12, 392, 164, 392};

const PanelState PANEL_STATES[] = {
    {"start"},
    {"focus-new", 1},
    {"focus-save", 3},
    {"focus-spinner", 4},
    {"focus-field", 5},
    {"focus-polygon", 6},
    {"focus-strip", 8},
    {"focus-points", 9, {-1, -1}, {}, false, {POINTS_BOX_RIGHT, POINTS_BOX_BOTTOM}},
    {"focus-geometry", 11},
    {"focus-schema", 12, {-1, -1}, {}, false, {SCHEMA_BOX_LEFT, SCHEMA_BOX_RIGHT, SCHEMA_BOX_BOTTOM}},
    {"after-tab-13", 13},
    {"caret-end", 0, {130, 187}},
    {"caret-middle", 0, {74, 187}},
    {"field-enter", 0, {130, 187}, {XK_Return}},
    {"field-typed", 0, {130, 187}, {XK_BackSpace, XK_BackSpace, XK_9}},
    {"label-press", 0, {30, 187}},
    {"fan-clicked", 0, {60, 266}},
    {"lines-clicked", 0, {60, 340}, {}, false, {LINES_BOX_RIGHT}},
    {"new-held", 0, {88, 91}, {}, true},
    {"lines-held", 0, {60, 340}, {}, true, {LINES_BOX_RIGHT}},
};

// Where the pointer rests inside the panel when a picture is taken.
constexpr Pixel REST{172, 397};

// The pixels of `actual` that differ from `reference` where GLUI's rounding
// does not explain them, in reading order; all of them when the sizes differ.
std::vector<Pixel> unexplainedDifferences(const Image& actual, const Image& reference, const PanelState& s)
{
    std::vector<Pixel> out;
    auto explained = [&](int x, int y) {
        auto in = [&](const Span& span) { return span.contains(x, y); };
        return std::any_of(std::begin(ROUNDED_CORNERS), std::end(ROUNDED_CORNERS), in) ||
               std::any_of(s.roundedSides.begin(), s.roundedSides.end(), in);
    };
    for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x)
            if (actual.width() != reference.width() || actual.height() != reference.height() ||
                (actual.at(x, y) != reference.at(x, y) && !explained(x, y)))
                out.push_back({x, y});
    return out;
}

// The reference with the pixels that differ from `actual` in red.
Image differenceImage(const Image& actual, const Image& reference)
{
    Image d = reference;
    for (int y = 0; y < d.height(); ++y)
        for (int x = 0; x < d.width(); ++x)
            if (!actual.contains(x, y) || actual.at(x, y) != reference.at(x, y)) d.set(x, y, Rgb{255, 0, 0});
    return d;
}

class PanelLook : public ProbeTest, public ::testing::WithParamInterface<PanelState> {
protected:
    void reach(const PanelState& s)
    {
        Pixel at = s.press.x >= 0 ? s.press : REST;
        x_->movePointer(panel_, at.x, at.y);
        if (s.press.x >= 0) x_->press(1);
        if (s.held) return; // the pressed look shows that the press arrived
        if (s.press.x >= 0) x_->release(1);
        for (int i = 0; i < s.tabs; ++i) tap(XK_Tab);
        for (KeySym k : s.keys) tap(k);
        // A key in the drawing window comes after them all: once it is
        // handled, so are they (some states look like one passed before).
        x_->movePointer(main_, 50, 50);
        tap(XK_z);
        until("main key 122");
        x_->movePointer(panel_, REST.x, REST.y);
    }
};

// Pixel for pixel what real GLUI draws in the same state, but where its
// rounding shows.
TEST_P(PanelLook, IsRealGluis)
{
    const PanelState& s = GetParam();
    const Image reference = Image::read(std::string(GLUI_REFERENCE_DIR) + "/" + s.name + ".png");
    reach(s);
    auto alike = [&](const Image& i) { return unexplainedDifferences(i, reference, s).empty(); };
    bool same = false;
    Image img = x_->waitForImage(panel_, alike, 5s, &same);
    if (s.held) x_->release(1);
    if (!same) {
        std::string name = std::string("glui-") + s.name;
        std::printf("[ info ] the panel: %s, its difference from the reference in red: %s\n",
                    saveScreenshot(img, name).c_str(),
                    saveScreenshot(differenceImage(img, reference), name + "-difference").c_str());
    }
    const std::vector<Pixel> unexplained = unexplainedDifferences(img, reference, s);
    EXPECT_TRUE(unexplained.empty()) << unexplained.size() << " pixels differ where GLUI's rounding does not "
                                     << "explain it, the first at " << unexplained.front() << "; in all "
                                     << describe(compareImages(img, reference), img, reference);
}

INSTANTIATE_TEST_SUITE_P(Reference, PanelLook, ::testing::ValuesIn(PANEL_STATES),
                         [](const ::testing::TestParamInfo<PanelState>& info) {
                             std::string n = info.param.name;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

} // namespace
