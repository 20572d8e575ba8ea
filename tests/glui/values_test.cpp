// Values without a display: GLUI_CB, limits, the one value path of each
// control (live variable, redisplay of the main window, callbacks) and
// sync_live.
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "editor_panel.h"
#include "fake_host.h"
#include "internals.h"

namespace {

const int MAIN = 5; // the main graphics window's id in these tests

// ---- GLUI_CB -----------------------------------------------------------

std::vector<int> idCalls;
std::vector<GLUI_Control*> objCalls;
void recordId(int id) { idCalls.push_back(id); }
void recordObj(GLUI_Control* c) { objCalls.push_back(c); }

static_assert(!std::is_constructible<GLUI_CB, std::nullptr_t>::value, "GLUI_CB(nullptr) must not compile");
static_assert(!std::is_convertible<std::nullptr_t, GLUI_CB>::value, "NULL must not become a GLUI_CB");
static_assert(std::is_convertible<GLUI_Update_CB, GLUI_CB>::value, "an id callback converts implicitly");
static_assert(std::is_convertible<GLUI_Control_CB, GLUI_CB>::value, "an object callback converts implicitly");
static_assert(GLUI_LIMIT_NONE == 0 && GLUI_LIMIT_CLAMP == 1 && GLUI_LIMIT_WRAP == 2, "limit constants");
static_assert(GLUI_SPINNER_INT == 2 && GLUI_SPINNER_FLOAT == 3 && GLUI_EDITTEXT_TEXT == 1, "type constants");
static_assert(GLUI_PANEL_NONE == 0 && GLUI_PANEL_EMBOSSED == 1 && GLUI_PANEL_RAISED == 2, "panel constants");

class ValuesTest : public ::testing::Test {
protected:
    FakeHost host;
    GLUI* gui = GLUI_Internals::newHeadless();
    ValuesTest()
    {
        gui->set_main_gfx_window(MAIN);
        idCalls.clear();
        objCalls.clear();
    }
    ~ValuesTest() override { GLUI_Internals::destroy(gui); }
    int mainRedisplays() { return host.redisplays[MAIN]; }
};

TEST_F(ValuesTest, CallbackObjectCallsWhatItHolds)
{
    GLUI_Button* b = gui->add_button("B", 42);
    GLUI_CB empty;
    EXPECT_FALSE(empty);
    empty(b); // does nothing

    GLUI_CB byId(recordId);
    GLUI_CB byObject(recordObj);
    EXPECT_TRUE(byId);
    EXPECT_TRUE(byObject);
    byId(b);
    byObject(b);
    EXPECT_EQ(idCalls, std::vector<int>{42});
    EXPECT_EQ(objCalls, std::vector<GLUI_Control*>{b});
}

// ---- spinner -------------------------------------------------------------

TEST_F(ValuesTest, SpinnerStartsFromItsLiveVariable)
{
    int v = 9;
    GLUI_Spinner* s = gui->add_spinner("S", GLUI_SPINNER_INT, &v);
    EXPECT_EQ(s->get_int_val(), 9);
    EXPECT_STREQ(s->edittext->get_text(), "9");
    EXPECT_EQ(mainRedisplays(), 0); // reading the variable writes nothing
}

TEST_F(ValuesTest, LimitsMoveAnOutsideValueToLow)
{
    int v = 0;
    GLUI_Spinner* s = gui->add_spinner("S", GLUI_SPINNER_INT, &v);
    s->set_int_limits(8, 12, GLUI_LIMIT_CLAMP);
    EXPECT_EQ(v, 8);
    EXPECT_EQ(s->get_int_val(), 8);
    s->set_int_val(11);
    s->set_int_limits(8, 10); // default: clamp; 11 is outside
    EXPECT_EQ(v, 8);
    s->set_int_val(9);
    s->set_int_limits(8, 12); // 9 is inside: untouched
    EXPECT_EQ(v, 9);
}

TEST_F(ValuesTest, LimitsGivenHighFirstAreSwapped)
{
    int v = 30;
    GLUI_Spinner* s = gui->add_spinner("S", GLUI_SPINNER_INT, &v);
    s->set_int_limits(12, 8, GLUI_LIMIT_CLAMP);
    EXPECT_EQ(s->edittext->int_low, 8);
    EXPECT_EQ(s->edittext->int_high, 12);
    EXPECT_EQ(v, 8);
    s->set_int_val(100);
    EXPECT_EQ(v, 12);
}

TEST_F(ValuesTest, SpinnerSetIntValClampsWritesAndRedisplaysWithoutCallback)
{
    int v = 10;
    GLUI_Spinner* s = gui->add_spinner("S", GLUI_SPINNER_INT, &v, 3, recordId);
    s->set_int_limits(8, 12);
    int before = mainRedisplays();
    s->set_int_val(INT_MAX);
    EXPECT_EQ(v, 12);
    EXPECT_STREQ(s->edittext->get_text(), "12");
    s->set_int_val(INT_MIN);
    EXPECT_EQ(v, 8);
    s->set_int_val(8); // unchanged, still written and redisplayed
    EXPECT_EQ(mainRedisplays(), before + 3);
    EXPECT_TRUE(idCalls.empty());
}

TEST_F(ValuesTest, SpinnerWithoutLimitsOrLiveVariable)
{
    GLUI_Spinner* s = gui->add_spinner("S");
    s->set_int_val(-12345);
    EXPECT_EQ(s->get_int_val(), -12345);
    EXPECT_STREQ(s->edittext->get_text(), "-12345");
    EXPECT_EQ(mainRedisplays(), 0); // nothing to redisplay for
}

TEST_F(ValuesTest, WrapLimitsGoRoundAtTheEnds)
{
    int v = 1;
    GLUI_Spinner* s = gui->add_spinner("S", GLUI_SPINNER_INT, &v);
    s->set_int_limits(1, 3, GLUI_LIMIT_WRAP);
    s->set_int_val(4);
    EXPECT_EQ(v, 1);
    s->set_int_val(0);
    EXPECT_EQ(v, 3);
}

// ---- checkbox ----------------------------------------------------------

TEST_F(ValuesTest, CheckboxSetIntValWritesWithoutCallback)
{
    int flag = 0;
    GLUI_Checkbox* c = gui->add_checkbox("C", &flag, 4, recordId);
    c->set_int_val(1);
    EXPECT_EQ(flag, 1);
    c->set_int_val(1); // unchanged: written all the same
    EXPECT_EQ(mainRedisplays(), 2);
    c->set_int_val(7); // stored as given
    EXPECT_EQ(flag, 7);
    EXPECT_EQ(c->get_int_val(), 7);
    EXPECT_TRUE(idCalls.empty());
}

TEST_F(ValuesTest, CheckboxWithNullLiveVariableKeepsItsValue)
{
    GLUI_Checkbox* c = gui->add_checkbox("C", nullptr);
    c->set_int_val(1);
    EXPECT_EQ(c->get_int_val(), 1);
    EXPECT_EQ(mainRedisplays(), 0);
}

// ---- radio group -------------------------------------------------------

TEST_F(ValuesTest, RadioSetIntValActsOnlyOnAChange)
{
    EditorPanel p;
    p.drawMode = 2; // the live variable is the initial value
    p.build(gui);
    EXPECT_EQ(p.group->get_int_val(), 2);
    int before = mainRedisplays();

    p.drawMode = 99; // a stale variable shows whether the group writes it
    p.group->set_int_val(2);
    EXPECT_EQ(p.drawMode, 99);
    EXPECT_EQ(mainRedisplays(), before);

    p.group->set_int_val(0);
    EXPECT_EQ(p.drawMode, 0);
    EXPECT_EQ(mainRedisplays(), before + 1);

    p.group->set_int_val(3); // no such button
    p.group->set_int_val(-1);
    EXPECT_EQ(p.group->get_int_val(), 0);
    EXPECT_EQ(mainRedisplays(), before + 1);
}

// ---- sync_live ---------------------------------------------------------

TEST_F(ValuesTest, SyncLiveCopiesChangedVariablesIntoControls)
{
    EditorPanel p;
    p.build(gui);
    p.pointSize = 11;
    p.drawMode = 2;
    p.showLines = 0;
    int before = mainRedisplays();
    GLUI_Master.sync_live_all();
    EXPECT_EQ(p.spinner->get_int_val(), 11);
    EXPECT_STREQ(p.spinner->edittext->get_text(), "11");
    EXPECT_EQ(p.group->get_int_val(), 2);
    EXPECT_EQ(p.boxes[1]->get_int_val(), 0);
    EXPECT_EQ(p.boxes[0]->get_int_val(), 1);
    EXPECT_EQ(mainRedisplays(), before); // copying in writes nothing back
}

TEST_F(ValuesTest, EditorPanelStartsAsTheEditorExpects)
{
    EditorPanel p;
    p.build(gui);
    EXPECT_EQ(p.pointSize, 10);
    EXPECT_STREQ(p.spinner->edittext->get_text(), "10");
    EXPECT_EQ(p.drawMode, 0);
    EXPECT_EQ(p.showPoints + p.showLines + p.showGeometry, 3);
}

} // namespace
