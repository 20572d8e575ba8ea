// Mouse and keyboard without a display, sent as GLUT events: the
// press/release state machine of each control kind, the spinner's field and
// arrows (and their clock), focus and Tab.
#include <climits>
#include <string>
#include <vector>

#include "panel_fixture.h"

namespace {

class InputTest : public EditorPanelTest {
protected:
    struct Call {
        std::string what;
        int id;
        int liveAtCall;       // the live variable when the callback ran
        int redisplaysAtCall; // main-window redisplays posted before it ran
        int window;           // current window during the callback
    };
    std::vector<Call> calls;
    static InputTest* running; // the test whose panel calls back

    InputTest()
    {
        running = this;
        p.setCallbacks(onButton, onSpinner, onRadio, onBox);
        host.window = window; // as GLUT makes it current for the panel's events
    }

    void record(const std::string& what, int id, int live)
    {
        calls.push_back({what, id, live, mainRedisplays(), host.window});
    }
    static void onButton(int id) { running->record("button", id, 0); }
    static void onSpinner(int id) { running->record("spinner", id, editor.pointSize); }
    static void onRadio(int id) { running->record("radio", id, editor.drawMode); }
    static void onBox(GLUI_Control* c) { running->record(c->get_name(), c->get_id(), c->get_int_val()); }

    GLUI_EditText* field() { return controls.pointSizeSpinner->edittext; }
    GLUI_Control* focused() { return GLUI_Internals::focused(gui); }
    const char* fieldText() { return field()->get_text(); }
    void clickField() { click(120, 187); }
    void selectAllAndType(const std::string& s)
    {
        clickField();
        special(GLUT_KEY_END);
        for (int i = 0; i < 12; ++i) key(8);
        type(s);
    }
};
InputTest* InputTest::running = nullptr;

// ---- buttons -----------------------------------------------------------

// A button looks pressed while the pointer is over it, and fires on a release
// over itself only: not elsewhere, not over another button.
TEST_F(InputTest, ButtonFiresOnReleaseOverItself)
{
    down(80, 90);
    drag(80, 150);
    EXPECT_FALSE(GLUI_Internals::pressedLook(p.buttons[0]));
    up(80, 150);
    down(80, 90);
    drag(80, 112); // the next button
    up(80, 112);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(GLUI_Internals::active(gui), nullptr);

    down(80, 90);
    EXPECT_TRUE(GLUI_Internals::pressedLook(p.buttons[0]));
    drag(300, 90); // outside the window
    EXPECT_FALSE(GLUI_Internals::pressedLook(p.buttons[0]));
    drag(81, 91);
    EXPECT_TRUE(GLUI_Internals::pressedLook(p.buttons[0]));
    EXPECT_TRUE(calls.empty());
    up(81, 91);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].id, 0);
    EXPECT_EQ(calls[0].window, MAIN);
    EXPECT_EQ(host.window, window); // restored afterwards
    EXPECT_EQ(calls[0].redisplaysAtCall, mainRedisplays()); // a button posts no redisplay
}

TEST_F(InputTest, OtherMouseButtonsAreIgnored)
{
    host.events.mouse(window, GLUT_RIGHT_BUTTON, GLUT_DOWN, 80, 90);
    host.events.mouse(window, GLUT_RIGHT_BUTTON, GLUT_UP, 80, 90);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(focused(), nullptr);
}

// ---- checkbox and radio ------------------------------------------------

TEST_F(InputTest, CheckboxPreviewsOnPressCommitsOnReleaseOverItRevertsElsewhere)
{
    GLUI_Checkbox* lines = controls.linesCheckbox;
    down(60, 340); // on the caption
    EXPECT_FALSE(GLUI_Internals::shownTicked(lines));
    EXPECT_EQ(editor.showLines, 1); // not yet committed
    drag(60, 380);
    EXPECT_TRUE(GLUI_Internals::shownTicked(lines)); // left: shows the old state
    drag(25, 340);
    EXPECT_FALSE(GLUI_Internals::shownTicked(lines));
    int before = mainRedisplays();
    up(25, 340);
    EXPECT_EQ(editor.showLines, 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].liveAtCall, 0);
    EXPECT_EQ(calls[0].redisplaysAtCall, before + 1); // written and redisplayed first

    down(60, 340); // released elsewhere: back as it was
    drag(60, 390);
    up(60, 390);
    EXPECT_EQ(editor.showLines, 0);
    EXPECT_FALSE(GLUI_Internals::shownTicked(lines));
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(InputTest, RadioSelectsOnReleaseAndOnlyOnAChange)
{
    click(60, 266); // Triangle Fan(2)
    EXPECT_EQ(editor.drawMode, 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].id, 1);
    EXPECT_EQ(calls[0].liveAtCall, 1);
    int redisplays = mainRedisplays();
    click(60, 266); // again: no change, no callback, no write
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(mainRedisplays(), redisplays);
    down(60, 282); // press Strip, release on Polygon
    up(60, 250);
    EXPECT_EQ(editor.drawMode, 1);
    EXPECT_EQ(calls.size(), 1u);
}

// ---- spinner arrows ----------------------------------------------------

TEST_F(InputTest, ArrowStepsAtOnceThenRepeatsAfterTheDelay)
{
    host.now = 1000;
    down(145, 183); // up arrow
    EXPECT_EQ(editor.pointSize, 11);
    EXPECT_NE(host.idle, nullptr); // GLUT's idle callback turned on
    idleAt(1399);
    EXPECT_EQ(editor.pointSize, 11);
    idleAt(1400);
    EXPECT_EQ(editor.pointSize, 12);
    idleAt(1480);
    idleAt(1560);
    EXPECT_EQ(editor.pointSize, 12); // held at the limit
    up(145, 183);
    EXPECT_EQ(host.idle, nullptr); // no program idle function: the loop may sleep
    ASSERT_EQ(calls.size(), 2u); // one per change, none at the limit
    EXPECT_EQ(calls[0].liveAtCall, 11);
    EXPECT_EQ(calls[1].liveAtCall, 12);
    EXPECT_EQ(calls[1].window, MAIN); // the step of an idle turn, too
    EXPECT_EQ(host.window, window);
}

TEST_F(InputTest, DownArrowRepeatsAtTheSteadyRate)
{
    controls.pointSizeSpinner->set_int_limits(-100, 100);
    controls.pointSizeSpinner->set_int_val(0);
    host.now = 0;
    down(145, 191);
    EXPECT_EQ(editor.pointSize, -1);
    for (int t = 0; t <= 400 + 80 * 5; t += 10) idleAt(t);
    EXPECT_EQ(editor.pointSize, -1 - 6); // at 400, 480, 560, 640, 720, 800
    drag(145, 250);                 // off the arrow: repeating pauses
    for (int t = 810; t <= 1500; t += 10) idleAt(t);
    EXPECT_EQ(editor.pointSize, -7);
    up(145, 250);
}

// GLUT's millisecond counter is an int: it wraps from INT_MAX to INT_MIN
// after 24.8 days (and as unsigned from UINT_MAX to 0). A held arrow keeps
// its rhythm across either wrap.
TEST_F(InputTest, ArrowRepeatKeepsItsRhythmWhenTheClockWraps)
{
    controls.pointSizeSpinner->set_int_limits(-1000, 1000);
    for (unsigned start : {static_cast<unsigned>(INT_MAX) - 100u, UINT_MAX - 100u}) {
        controls.pointSizeSpinner->set_int_val(0);
        host.now = start;
        down(145, 183);
        EXPECT_EQ(editor.pointSize, 1);
        idleAt(start + 50); // before the wrap, with the first repeat due after it
        idleAt(start + 399);
        EXPECT_EQ(editor.pointSize, 1) << "repeated early after a press at " << start;
        for (unsigned t = 400; t <= 400 + 80 * 3; t += 40) idleAt(start + t);
        EXPECT_EQ(editor.pointSize, 1 + 4) << "after a press at " << start; // at 400, 480, 560, 640
        idleAt(start + 5000); // a long stall: one step, not a burst
        idleAt(start + 5001);
        EXPECT_EQ(editor.pointSize, 6);
        up(145, 183);
    }
}

// ---- spinner field ---------------------------------------------------------

TEST_F(InputTest, TypedValueIsClampedOnEnterAndStaysSelected)
{
    selectAllAndType("99");
    EXPECT_STREQ(fieldText(), "99");
    EXPECT_EQ(editor.pointSize, 10); // nothing committed while typing
    key('\r');
    EXPECT_EQ(editor.pointSize, 12);
    EXPECT_STREQ(fieldText(), "12");
    EXPECT_EQ(focused(), field());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].liveAtCall, 12);
    key('\r'); // nothing changed: no callback
    EXPECT_EQ(calls.size(), 1u);
    type("3"); // replaces the whole selection
    EXPECT_STREQ(fieldText(), "3");
}

TEST_F(InputTest, EmptyAndSillyTextCommit)
{
    selectAllAndType("");
    key('\r');
    EXPECT_EQ(editor.pointSize, 8); // empty is 0, clamped
    selectAllAndType("99999999999"); // longer than an int holds
    key('\r');
    EXPECT_EQ(editor.pointSize, 12);
    controls.pointSizeSpinner->set_int_limits(INT_MIN, INT_MAX, GLUI_LIMIT_NONE);
    selectAllAndType("-99999999999");
    EXPECT_STREQ(fieldText(), "-9999999999"); // at most 11 characters
    key('\r');
    EXPECT_EQ(editor.pointSize, INT_MIN);
}

TEST_F(InputTest, FieldAcceptsDigitsAndALeadingMinusOnly)
{
    controls.pointSizeSpinner->set_int_limits(-50, 50);
    selectAllAndType("1a-2.5x");
    EXPECT_STREQ(fieldText(), "125");
    special(GLUT_KEY_HOME);
    key('-');
    key('-');
    EXPECT_STREQ(fieldText(), "-125");
    special(GLUT_KEY_HOME);
    key('7'); // nothing may go before the minus
    EXPECT_STREQ(fieldText(), "-125");
    special(GLUT_KEY_RIGHT);
    special(GLUT_KEY_RIGHT);
    key(8); // Backspace removes the '1'
    EXPECT_STREQ(fieldText(), "-25");
    key(127); // Delete removes the '2'
    EXPECT_STREQ(fieldText(), "-5");
    special(GLUT_KEY_END);
    key('0');
    special(GLUT_KEY_LEFT);
    key('3');
    EXPECT_STREQ(fieldText(), "-530");
    key('\r');
    EXPECT_EQ(editor.pointSize, -50);
}

TEST_F(InputTest, LeavingTheFieldCommits)
{
    selectAllAndType("9");
    key('\t'); // Tab commits and moves on
    EXPECT_EQ(editor.pointSize, 9);
    EXPECT_EQ(focused(), p.radios[0]);

    selectAllAndType("11");
    click(60, 10); // the panel's background (static text)
    EXPECT_EQ(editor.pointSize, 11);
    EXPECT_EQ(focused(), nullptr);

    selectAllAndType("12");
    click(80, 90); // another control: committed before that control's callback runs
    EXPECT_EQ(editor.pointSize, 12);
    ASSERT_EQ(calls.size(), 4u); // 9, 11, 12, the button
    EXPECT_EQ(calls[2].what, "spinner");
    EXPECT_EQ(calls[2].liveAtCall, 12);
    EXPECT_EQ(calls[3].what, "button");
}

TEST_F(InputTest, UpAndDownKeysStepTheSpinner)
{
    clickField();
    special(GLUT_KEY_UP);
    EXPECT_EQ(editor.pointSize, 11);
    special(GLUT_KEY_DOWN);
    special(GLUT_KEY_DOWN);
    special(GLUT_KEY_DOWN);
    special(GLUT_KEY_DOWN);
    EXPECT_EQ(editor.pointSize, 8);
    EXPECT_EQ(calls.size(), 4u); // the last one hit the limit
    // A press on the label focuses the spinner itself, without a step.
    click(30, 187);
    EXPECT_EQ(focused(), controls.pointSizeSpinner);
    EXPECT_EQ(editor.pointSize, 8);
    special(GLUT_KEY_UP);
    EXPECT_EQ(editor.pointSize, 9);
}

TEST_F(InputTest, ClickInTheFieldPlacesTheCaret)
{
    GLUI_EditText* e = field();
    // Text "10" starts at x 64 + 5; '1' is 7 px wide.
    click(69 + 2, 187);
    EXPECT_EQ(e->insertion_pt, 0);
    click(69 + 5, 187);
    EXPECT_EQ(e->insertion_pt, 1);
    click(130, 187);
    EXPECT_EQ(e->insertion_pt, 2);
}

// ---- keyboard focus ------------------------------------------------------

TEST_F(InputTest, KeysWithNothingFocusedAreDropped)
{
    key(' ');
    key('\r');
    type("12");
    special(GLUT_KEY_UP);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(editor.pointSize, 10);
    EXPECT_STREQ(fieldText(), "10");
}

TEST_F(InputTest, SpaceClicksTheFocusedControlEnterDoesNot)
{
    click(60, 324); // focus Toggle Points(4) (and untick it)
    EXPECT_EQ(editor.showPoints, 0);
    key(' ');
    EXPECT_EQ(editor.showPoints, 1);
    key('\r');
    EXPECT_EQ(editor.showPoints, 1);
    host.mods = GLUT_ACTIVE_SHIFT;
    key('\t'); // back to Triangle Strip(3)
    host.mods = 0;
    key('\r');
    EXPECT_EQ(editor.drawMode, 0);
    key(' ');
    EXPECT_EQ(editor.drawMode, 2);
    for (int i = 0; i < 4; ++i) key('\t'); // the last button
    EXPECT_EQ(focused(), p.buttons[3]);
    key('\r');
    EXPECT_EQ(calls.size(), 3u);
    key(' ');
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[3].what, "button");
}

TEST_F(InputTest, TabWalksEveryControlInTheOrderAddedAndShiftTabBack)
{
    const std::vector<GLUI_Control*> order = {
        p.buttons[0], p.buttons[1], p.buttons[2], controls.pointSizeSpinner, field(),
        p.radios[0],  p.radios[1],  p.radios[2],  controls.pointsCheckbox,   controls.linesCheckbox,
        controls.geometryCheckbox,  p.buttons[3]};
    std::vector<GLUI_Control*> forward, back;
    for (size_t i = 0; i < order.size() + 2; ++i) {
        key('\t');
        forward.push_back(focused());
    }
    host.mods = GLUT_ACTIVE_SHIFT;
    for (size_t i = 0; i < order.size() + 2; ++i) {
        key('\t');
        back.push_back(focused());
    }
    // From nothing focused to the first, ..., the last, nothing, and the
    // first again; then back from there through nothing to the last, ...,
    // the first.
    std::vector<GLUI_Control*> expectedForward = order, expectedBack(order.rbegin(), order.rend());
    expectedForward.push_back(nullptr);
    expectedForward.push_back(order.front());
    expectedBack.insert(expectedBack.begin(), nullptr);
    expectedBack.push_back(nullptr);
    EXPECT_EQ(forward, expectedForward);
    EXPECT_EQ(back, expectedBack);
}

} // namespace
