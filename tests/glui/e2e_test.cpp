// End-to-end tests of the library: the probe program (a drawing window and
// a panel like the editor's) on a private Xvfb, driven with XTest. The probe
// prints every callback, live-variable change, key reaching the drawing
// window and redisplay of it as one line.
#include "harness_gtest.h"

#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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
        probe_ = std::make_unique<Process>(GLUI_PROBE_PATH, args(), server_->display());
        ASSERT_TRUE(probe_->waitForLine("ready", 10s)) << probe_->transcript();
        panel_ = x_->waitForWindow("Controls");
        main_ = x_->waitForWindow("GLUI Probe Main");
        bool drawn = false;
        x_->waitForImage(panel_, [](const Image& i) { return i.width() == 176 && i.at(32, 81) == WHITE; }, 5s,
                         &drawn);
        ASSERT_TRUE(drawn) << "the panel was never drawn";
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
    virtual std::vector<std::string> args() { return {}; }

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
    // A click on "New Point Set(N)": a marker that shows everything before
    // it has been handled.
    std::vector<std::string> beforeMarker()
    {
        x_->click(panel_, 80, 90);
        std::vector<std::string> l = until("callback new");
        l.pop_back();
        return l;
    }
    void pressAt(int x, int y)
    {
        x_->movePointer(panel_, x, y);
        x_->press(1);
    }
    void releaseAt(int x, int y)
    {
        x_->movePointer(panel_, x, y);
        x_->release(1);
    }
    void tap(KeySym k) { x_->tapKey(k); }

    std::unique_ptr<XServer> server_;
    std::unique_ptr<XClient> x_;
    std::unique_ptr<Process> probe_;
    Window panel_ = 0, main_ = 0;
    size_t seen_ = 0;
};

using Lines = std::vector<std::string>;

// ---- buttons -----------------------------------------------------------

TEST_F(ProbeTest, ButtonClickRunsItsCallbackInTheMainWindow)
{
    x_->click(panel_, 90, 137); // Save Point Set(S)
    Lines l = until("callback save");
    EXPECT_EQ(l.back(), "callback save id=0 current=main");
}

TEST_F(ProbeTest, ButtonReleasedOffItDoesNothingAndReenteringClicks)
{
    pressAt(90, 114); // Load Point Set(L)
    releaseAt(90, 160);
    EXPECT_EQ(beforeMarker(), Lines{});

    pressAt(90, 114);
    x_->movePointer(panel_, 90, 300); // leave
    x_->movePointer(panel_, 95, 116); // come back
    releaseAt(95, 116);
    Lines l = until("callback load");
    EXPECT_EQ(l.size(), 1u);

    pressAt(90, 114); // press on Load, release on Save
    releaseAt(90, 137);
    EXPECT_EQ(beforeMarker(), Lines{});
}

// ---- checkboxes and radio buttons ----------------------------------------

TEST_F(ProbeTest, CheckboxCommitsOnReleaseOverIt)
{
    x_->click(panel_, 70, 340); // Toggle Lines(5), on the caption
    Lines l = until("callback checkbox");
    EXPECT_EQ(l, (Lines{"live showLines=0", "callback checkbox Toggle Lines(5) value=0 current=main"}));

    pressAt(25, 340);
    releaseAt(25, 398); // off it: reverts
    EXPECT_EQ(beforeMarker(), Lines{});

    pressAt(25, 340);
    x_->movePointer(panel_, 25, 390);
    releaseAt(26, 341); // back over it
    l = until("callback checkbox");
    EXPECT_EQ(l.back(), "callback checkbox Toggle Lines(5) value=1 current=main");
}

TEST_F(ProbeTest, RadioButtonSelectsOnlyOnAChange)
{
    x_->click(panel_, 80, 282); // Triangle Strip(3)
    Lines l = until("callback radio");
    EXPECT_EQ(l, (Lines{"live drawMode=2", "callback radio id=1 value=2 current=main"}));
    x_->click(panel_, 80, 282); // again: no change
    pressAt(80, 250);           // pressed on Polygon, released on Fan: neither
    releaseAt(80, 266);
    EXPECT_EQ(beforeMarker(), Lines{});
    x_->click(panel_, 80, 266);
    l = until("callback radio");
    EXPECT_EQ(l.back(), "callback radio id=1 value=1 current=main");
}

// ---- the spinner -----------------------------------------------------------

TEST_F(ProbeTest, HoldingAnArrowRepeatsAndStopsAtTheLimit)
{
    pressAt(145, 191); // down arrow, from 10
    auto start = std::chrono::steady_clock::now();
    Lines l = until("callback spinner id=7 value=8");
    auto reached = std::chrono::steady_clock::now();
    EXPECT_EQ(l, (Lines{"live pointSize=9", "callback spinner id=7 value=9 current=main", "live pointSize=8",
                        "callback spinner id=7 value=8 current=main"}));
    // Still held at the limit: nothing more changes.
    EXPECT_EQ(probe_->waitForLine([](const std::string& s) { return s.rfind("callback", 0) == 0; }, 1s),
              std::nullopt);
    releaseAt(145, 191);
    std::printf("[ info ] two steps down (press + first repeat) took %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(reached - start).count()));
    EXPECT_EQ(beforeMarker(), Lines{});
}

TEST_F(ProbeTest, TypedTextIsCommittedWhenAnotherControlIsClicked)
{
    x_->click(panel_, 120, 187); // the field
    tap(XK_End);
    tap(XK_BackSpace);
    tap(XK_BackSpace);
    tap(XK_9);
    tap(XK_9);
    // Nothing is committed while typing; the click on the button commits
    // (clamped) before the button's own callback runs.
    EXPECT_EQ(beforeMarker(), (Lines{"live pointSize=12", "callback spinner id=7 value=12 current=main"}));
}

TEST_F(ProbeTest, TypingNinetyNineThenEnterGivesTwelve)
{
    x_->click(panel_, 120, 187);
    tap(XK_End);
    tap(XK_BackSpace);
    tap(XK_BackSpace);
    tap(XK_9);
    tap(XK_9);
    tap(XK_Return);
    Lines l = until("callback spinner");
    EXPECT_EQ(l, (Lines{"live pointSize=12", "callback spinner id=7 value=12 current=main"}));
    bool shown = false;
    x_->waitForImage(panel_, [](const Image& i) { return i.at(70, 186) == Rgb{0, 0, 153}; }, 5s, &shown);
    EXPECT_TRUE(shown) << "after Enter the text should be selected";
    tap(XK_Return); // unchanged: no callback
    EXPECT_EQ(beforeMarker(), Lines{});
}

TEST_F(ProbeTest, UpAndDownKeysStepTheFocusedSpinner)
{
    x_->click(panel_, 120, 187);
    tap(XK_Up);
    Lines l = until("callback spinner");
    EXPECT_EQ(l.back(), "callback spinner id=7 value=11 current=main");
    tap(XK_Down);
    tap(XK_Down);
    l = until("callback spinner id=7 value=9");
    EXPECT_EQ(l.size(), 4u);
}

class WideProbeTest : public ProbeTest {
protected:
    std::vector<std::string> args() override { return {"wide"}; }
};

// Steps one at a time while held, and stop when released. The interval
// between steps is printed, not checked (400 ms delay, then 80 ms).
TEST_F(WideProbeTest, HeldArrowKeepsSteppingByOneUntilReleased)
{
    pressAt(145, 183);
    std::vector<std::chrono::steady_clock::time_point> at;
    for (int v = 11; v <= 16; ++v) {
        Lines l = until("callback spinner id=7 value=" + std::to_string(v));
        at.push_back(std::chrono::steady_clock::now());
        EXPECT_EQ(l.size(), 2u) << ::testing::PrintToString(l); // live line + callback
    }
    releaseAt(145, 183);
    Lines after = beforeMarker();
    EXPECT_LE(after.size(), 2u) << "steps after the release: " << ::testing::PrintToString(after);
    for (size_t i = 1; i < at.size(); ++i)
        std::printf("[ info ] step %zu after %lld ms\n", i,
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(at[i] - at[i - 1]).count()));
}

// ---- keyboard --------------------------------------------------------------

TEST_F(ProbeTest, TabWalksTheControlsAndSpaceTicksTheFocusedCheckbox)
{
    x_->click(panel_, 80, 90); // New Point Set(N): focused, and a callback
    until("callback new");
    // Load, Save, spinner, field, three radio buttons, Toggle Points(4).
    for (int i = 0; i < 8; ++i) tap(XK_Tab);
    tap(XK_space);
    Lines l = until("callback checkbox");
    EXPECT_EQ(l, (Lines{"live showPoints=0", "callback checkbox Toggle Points(4) value=0 current=main"}));
    tap(XK_Tab);
    tap(XK_space);
    l = until("callback checkbox");
    EXPECT_EQ(l.back(), "callback checkbox Toggle Lines(5) value=0 current=main");
    // Tab out of the field commits what was typed.
    x_->click(panel_, 120, 187);
    tap(XK_End);
    tap(XK_BackSpace);
    tap(XK_BackSpace);
    tap(XK_8);
    tap(XK_Tab);
    l = until("callback spinner");
    EXPECT_EQ(l.back(), "callback spinner id=7 value=8 current=main");
    tap(XK_space); // now on Polygon(1), already chosen: nothing
    tap(XK_Tab);
    tap(XK_space); // Triangle Fan(2)
    l = until("callback radio");
    EXPECT_EQ(l.back(), "callback radio id=1 value=1 current=main");
}

TEST_F(ProbeTest, KeysTypedInThePanelNeverReachTheDrawingWindow)
{
    x_->movePointer(panel_, 90, 60); // nothing focused
    for (KeySym k : {XK_a, XK_1, XK_space, XK_Return, XK_Up, XK_F1, XK_Escape}) tap(k);
    x_->click(panel_, 60, 340); // focus a checkbox, then type
    until("callback checkbox");
    for (KeySym k : {XK_q, XK_4, XK_Return, XK_Left}) tap(k);
    x_->movePointer(main_, 50, 50);
    tap(XK_z);
    Lines l = until("main key");
    EXPECT_EQ(l, Lines{"main key 122"});
}

// freeglut 3.4 under X11 drops the Tab of Shift+Tab (keysym ISO_Left_Tab),
// so the focus stays where it was; where GLUT passes the Tab on with the
// Shift modifier, the focus moves back. It never moves forward.
TEST_F(ProbeTest, ShiftTabNeverMovesTheFocusForward)
{
    x_->click(panel_, 80, 90); // New Point Set(N): focused
    until("callback new");
    x_->keyDown(XK_Shift_L);
    tap(XK_Tab);
    x_->keyUp(XK_Shift_L);
    tap(XK_space); // clicks whatever has the focus now
    Lines l = until("callback ");
    const std::string stayed = "callback new id=0 current=main", back = "callback color id=0 current=main";
    EXPECT_TRUE(l.back() == stayed || l.back() == back) << l.back();
    std::printf("[ info ] after Shift+Tab the focus %s\n", l.back() == back ? "moved back" : "stayed");
}

// ---- redraws -------------------------------------------------------------

TEST_F(ProbeTest, PanelIsNotRedrawnWhileIdle)
{
    RedrawCounter counter(server_->display(), panel_);
    ASSERT_TRUE(counter.waitForQuiet(500ms, 5s)) << "the panel keeps redrawing";
    counter.reset();
    EXPECT_EQ(counter.framesOver(1500ms), 0); // the probe's idle function runs all along
    x_->click(panel_, 70, 340);
    until("callback checkbox");
    EXPECT_GT(counter.framesOver(500ms), 0); // a change does redraw it
    ASSERT_TRUE(counter.waitForQuiet(500ms, 5s));
    counter.reset();
    EXPECT_EQ(counter.framesOver(1000ms), 0);
}

TEST_F(ProbeTest, PanelKeepsItsSize)
{
    Geometry g = x_->geometry(panel_);
    EXPECT_EQ(g.width, 176);
    EXPECT_EQ(g.height, 401);
    EXPECT_EQ(g.x, 750);
    EXPECT_EQ(g.y, 100);
}

// ---- look ------------------------------------------------------------------

// Share of pixels equal to the picture of real GLUI drawing the same panel.
TEST_F(ProbeTest, PanelLooksLikeRealGlui)
{
    const Image reference = Image::read(GLUI_REFERENCE_PNG);
    Image img = x_->capture(panel_);
    ImageDifference d = compareImages(img, reference);
    ASSERT_FALSE(d.sizesDiffer) << describe(d, img, reference);
    std::printf("[ info ] %.2f%% of the panel's pixels equal the reference\n", 100 * d.likeness());
    if (d.likeness() < 0.999) std::printf("[ info ] the panel: %s\n", saveScreenshot(img, "glui-panel").c_str());
    EXPECT_GE(d.likeness(), 0.999) << describe(d, img, reference);
}

} // namespace
