// Values without a display: GLUI_CB, limits, the one value path of each
// control (live variable, redisplay of the main window, callbacks) whether
// the value comes as an int or a float, decimal spinners, sync_live, and the
// library's own checks.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <locale>
#include <string>
#include <type_traits>
#include <vector>

#include "panel_fixture.h"

namespace {

// ---- GLUI_CB -----------------------------------------------------------

std::vector<int> idCalls;
void recordId(int id) { idCalls.push_back(id); }

static_assert(!std::is_constructible<GLUI_CB, std::nullptr_t>::value, "GLUI_CB(nullptr) must not compile");
static_assert(!std::is_convertible<std::nullptr_t, GLUI_CB>::value, "NULL must not become a GLUI_CB");
static_assert(std::is_convertible<GLUI_Update_CB, GLUI_CB>::value, "an id callback converts implicitly");
static_assert(std::is_convertible<GLUI_Control_CB, GLUI_CB>::value, "an object callback converts implicitly");

class ValuesTest : public PanelTest {
protected:
    explicit ValuesTest(bool editorPanel = false) : PanelTest(editorPanel) { idCalls.clear(); }
};

// The editor's Controls window.
class EditorValuesTest : public ValuesTest {
protected:
    EditorValuesTest() : ValuesTest(true) {}
};

// ---- integer spinner -----------------------------------------------------------

TEST_F(ValuesTest, ControlsStartFromTheirLiveVariableOrKeepTheirOwnValue)
{
    int v = 9;
    GLUI_Spinner* s = gui->add_spinner("S", GLUI_SPINNER_INT, &v);
    EXPECT_STREQ(s->edittext->get_text(), "9");
    EXPECT_EQ(mainRedisplays(), 0); // reading the variable writes nothing

    GLUI_Spinner* loose = gui->add_spinner("Loose");
    GLUI_Checkbox* c = gui->add_checkbox("C", nullptr);
    EXPECT_STREQ(loose->edittext->get_text(), "0");
    loose->set_int_val(-12345);
    c->set_int_val(1);
    EXPECT_EQ(loose->get_int_val(), -12345);
    EXPECT_STREQ(loose->edittext->get_text(), "-12345");
    EXPECT_EQ(c->get_int_val(), 1);
    EXPECT_EQ(mainRedisplays(), 0); // no variable: nothing to redisplay for
}

// Limits move a value outside them to the low limit (clamp) or round the
// range (wrap); limits given high first are swapped, decimal limits of an
// integer spinner keep it to the whole numbers inside.
TEST_F(ValuesTest, LimitsKeepTheValueInside)
{
    const struct {
        float low, high;
        int type;
        bool decimalLimits;
        int start, afterLimits, set, afterSet;
    } cases[] = {
        {8, 12, GLUI_LIMIT_CLAMP, false, 0, 8, 11, 11},
        {8, 10, GLUI_LIMIT_CLAMP, false, 11, 8, INT_MAX, 10},
        {8, 12, GLUI_LIMIT_CLAMP, false, 9, 9, INT_MIN, 8},
        {12, 8, GLUI_LIMIT_CLAMP, false, 30, 8, 100, 12},
        {1, 3, GLUI_LIMIT_WRAP, false, 1, 1, 4, 1},
        {1, 3, GLUI_LIMIT_WRAP, false, 1, 1, 0, 3},
        {0.5f, 3.7f, GLUI_LIMIT_CLAMP, true, 0, 1, 10, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.low) + " to " + std::to_string(c.high) + " from " + std::to_string(c.start));
        int v = c.start;
        GLUI_Spinner* s = gui->add_spinner("S", GLUI_SPINNER_INT, &v);
        if (c.decimalLimits)
            s->set_float_limits(c.low, c.high, c.type);
        else
            s->set_int_limits(static_cast<int>(c.low), static_cast<int>(c.high), c.type);
        EXPECT_EQ(v, c.afterLimits);
        s->set_int_val(c.set);
        EXPECT_EQ(v, c.afterSet);
    }
}

TEST_F(ValuesTest, SpinnerSetIntValWritesAndRedisplaysWithoutCallback)
{
    int v = 10;
    GLUI_Spinner* s = gui->add_spinner("S", GLUI_SPINNER_INT, &v, 3, recordId);
    s->set_int_limits(8, 12);
    int before = mainRedisplays();
    s->set_int_val(100);
    EXPECT_EQ(v, 12);
    EXPECT_STREQ(s->edittext->get_text(), "12");
    s->set_int_val(12); // unchanged, still written and redisplayed
    EXPECT_EQ(mainRedisplays(), before + 2);
    EXPECT_TRUE(idCalls.empty());
}

// set_float_val on an integer spinner takes the number toward zero and then
// goes the way set_int_val goes: limits, text, live variable, redisplay.
TEST_F(EditorValuesTest, FloatIntoAnIntegerSpinnerTakesItsValuePath)
{
    GLUI_Spinner* s = controls.pointSizeSpinner;
    s->callback = recordId;
    int before = mainRedisplays();
    s->set_float_val(11.7f);
    EXPECT_EQ(editor.pointSize, 11);
    EXPECT_STREQ(s->edittext->get_text(), "11");
    EXPECT_EQ(s->get_float_val(), 11.0f);
    s->set_float_val(1e30f); // far past an int: saturated, then clamped
    EXPECT_EQ(editor.pointSize, 12);
    s->set_float_val(-7.9f);
    EXPECT_EQ(editor.pointSize, 8);
    EXPECT_STREQ(s->edittext->get_text(), "8");
    s->edittext->set_float_val(9.5f); // the field's own setter is the spinner's
    EXPECT_EQ(editor.pointSize, 9);
    EXPECT_EQ(mainRedisplays(), before + 4);
    s->set_float_val(NAN); // no number: nothing happens
    EXPECT_EQ(editor.pointSize, 9);
    EXPECT_EQ(mainRedisplays(), before + 4);
    EXPECT_TRUE(idCalls.empty());
}

TEST_F(EditorValuesTest, FloatIntoCheckboxesAndRadioGroupsIsTakenTowardZero)
{
    controls.linesCheckbox->set_float_val(0.9f);
    EXPECT_EQ(editor.showLines, 0);
    EXPECT_EQ(controls.linesCheckbox->get_float_val(), 0.0f);
    controls.drawModeGroup->set_float_val(2.9f);
    EXPECT_EQ(editor.drawMode, 2);
}

// ---- decimal spinner -----------------------------------------------------------

TEST_F(ValuesTest, DecimalSpinnerKeepsAFloatWithinItsLimits)
{
    float speed = 0.25f;
    GLUI_Spinner* s = gui->add_spinner("Speed", GLUI_SPINNER_FLOAT, &speed, 2, recordId);
    EXPECT_EQ(s->get_float_val(), 0.25f);
    EXPECT_STREQ(s->edittext->get_text(), "0.25");
    s->set_float_limits(0.5f, 1.5f);
    EXPECT_EQ(speed, 0.5f); // outside: the low limit
    s->set_float_val(1.125f);
    EXPECT_EQ(speed, 1.125f);
    EXPECT_EQ(s->get_int_val(), 1);
    EXPECT_STREQ(s->edittext->get_text(), "1.125");
    s->set_float_val(7.0f);
    EXPECT_EQ(speed, 1.5f);
    s->set_int_val(-3);
    EXPECT_EQ(speed, 0.5f);
    s->set_float_limits(-FLT_MAX, FLT_MAX, GLUI_LIMIT_NONE);
    s->set_float_val(INFINITY);
    EXPECT_EQ(speed, FLT_MAX);
    s->set_int_limits(-2, 2, GLUI_LIMIT_WRAP);
    EXPECT_EQ(speed, -2.0f);
    s->set_float_val(2.5f);
    EXPECT_EQ(speed, -2.0f); // past the top: round to the bottom
    EXPECT_TRUE(idCalls.empty());
}

TEST_F(ValuesTest, DecimalSpinnerArrowsStepOnAGridOfItsRange)
{
    float level = 0.37f;
    GLUI_Spinner* s = gui->add_spinner("Level", GLUI_SPINNER_FLOAT, &level, 2, recordId);
    s->set_float_limits(0.0f, 1.0f);
    int arrowX = s->x_abs + s->w - 6, upY = s->y_abs + 5, downY = s->y_abs + 15;
    click(arrowX, upY);
    EXPECT_EQ(level, 0.38f);
    EXPECT_STREQ(s->edittext->get_text(), "0.38");
    click(arrowX, downY);
    click(arrowX, downY);
    EXPECT_EQ(level, 0.36f);
    s->set_float_limits(0.0f, 1.0f, GLUI_LIMIT_NONE); // no limits: steps of 0.1 from 0
    click(arrowX, upY);
    EXPECT_EQ(level, 0.4f);
    EXPECT_STREQ(s->edittext->get_text(), "0.4");
    for (int i = 0; i < 5; ++i) click(arrowX, downY);
    EXPECT_EQ(level, -0.1f);
    EXPECT_EQ(idCalls.size(), 9u);
}

TEST_F(ValuesTest, DecimalFieldTakesOnePointAndCommitsTheNumber)
{
    float level = 0.0f;
    GLUI_Spinner* s = gui->add_spinner("Level", GLUI_SPINNER_FLOAT, &level, 2, recordId);
    s->set_float_limits(-10.0f, 10.0f);
    click(s->x_abs + 100, s->y_abs + 10); // the field
    special(GLUT_KEY_END);
    key(8);
    type("-3.2.5x");
    EXPECT_STREQ(s->edittext->get_text(), "-3.25");
    key('\r');
    EXPECT_EQ(level, -3.25f);
    special(GLUT_KEY_HOME);
    key('.'); // not before the minus
    EXPECT_STREQ(s->edittext->get_text(), "-3.25");
    special(GLUT_KEY_END);
    for (int i = 0; i < 5; ++i) key(8);
    type(".5");
    key('\r');
    EXPECT_EQ(level, 0.5f);
    type("99999999999999999999999"); // more than the field holds; clamped
    EXPECT_EQ(std::string(s->edittext->get_text()).size(), 20u);
    key('\r');
    EXPECT_EQ(level, 10.0f);
    type("-");
    key('\r'); // no digits: 0
    EXPECT_EQ(level, 0.0f);
    EXPECT_EQ(idCalls.size(), 4u);
}

// A program's locale with a decimal comma (and digit groups) changes neither
// what a decimal field shows nor how what is typed there reads.
struct DecimalComma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST_F(ValuesTest, DecimalFieldIgnoresTheProgramsLocale)
{
    std::locale before = std::locale::global(std::locale(std::locale::classic(), new DecimalComma));
    float level = 0.0f;
    GLUI_Spinner* s = gui->add_spinner("Level", GLUI_SPINNER_FLOAT, &level, 2, recordId);
    s->set_float_val(1234.5f);
    std::string shown = s->edittext->get_text();
    click(s->x_abs + 100, s->y_abs + 10); // the field
    special(GLUT_KEY_END);
    for (int i = 0; i < 6; ++i) key(8);
    type("-3.25");
    key('\r');
    std::locale::global(before);
    EXPECT_EQ(shown, "1234.5");
    EXPECT_EQ(level, -3.25f);
    EXPECT_STREQ(s->edittext->get_text(), "-3.25");
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

// ---- radio group -------------------------------------------------------

TEST_F(ValuesTest, RadioSetIntValActsOnlyOnAChange)
{
    int mode = 2; // the live variable is the initial value
    GLUI_RadioGroup* group = gui->add_radiogroup(&mode, 1, recordId);
    for (const char* name : {"A", "B", "C"}) gui->add_radiobutton_to_group(group, name);
    EXPECT_EQ(group->get_int_val(), 2);
    int before = mainRedisplays();

    mode = 99; // a stale variable shows whether the group writes it
    group->set_int_val(2);
    EXPECT_EQ(mode, 99);
    EXPECT_EQ(mainRedisplays(), before);

    group->set_int_val(0);
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(mainRedisplays(), before + 1);

    group->set_int_val(3); // no such button
    group->set_int_val(-1);
    EXPECT_EQ(group->get_int_val(), 0);
    EXPECT_EQ(mainRedisplays(), before + 1);
    EXPECT_TRUE(idCalls.empty());
}

// ---- sync_live ---------------------------------------------------------

TEST_F(EditorValuesTest, SyncLiveCopiesChangedVariablesIntoControls)
{
    float level = 0.5f;
    GLUI_Spinner* decimal = gui->add_spinner("Level", GLUI_SPINNER_FLOAT, &level);
    editor.pointSize = 11;
    editor.drawMode = 2;
    editor.showLines = 0;
    level = 0.75f;
    int before = mainRedisplays();
    GLUI_Master.sync_live_all();
    EXPECT_EQ(controls.pointSizeSpinner->get_int_val(), 11);
    EXPECT_STREQ(controls.pointSizeSpinner->edittext->get_text(), "11");
    EXPECT_EQ(controls.drawModeGroup->get_int_val(), 2);
    EXPECT_EQ(controls.linesCheckbox->get_int_val(), 0);
    EXPECT_EQ(controls.pointsCheckbox->get_int_val(), 1);
    EXPECT_EQ(decimal->get_float_val(), 0.75f);
    EXPECT_STREQ(decimal->edittext->get_text(), "0.75");
    EXPECT_EQ(mainRedisplays(), before); // copying in writes nothing back
}

// ---- the library's own checks ------------------------------------------------------

// The library is tested with its asserts on (POINT_EDITOR_ASSERTS, the
// default): a host that breaks its contract (text of negative width) stops
// it at once.
TEST_F(ValuesTest, BrokenHostContractStopsTheLibrary)
{
    host.negativeWidths = true;
    EXPECT_DEATH(gui->add_statictext("Text"), "non-negative width");
}

} // namespace
