// Random input from a fixed seed: thousands of real XTest events (clicks and
// drags of all three buttons, pop-up menu choices, keys, pointer moves inside
// and outside both windows) while the editor must stay alive, print only its
// own messages, and save well-formed point files whose count follows from
// those messages.
//
// The driver predicts only which file commands (New, Load, Save) reach the
// editor: from the keys it types into the drawing window and the panel
// buttons it clicks, or focuses with a press or Tab and presses with Space.
// The messages say what every other event did ("Point 4 added..." means the
// set went from 3 to 4). Every command, and every CHECKPOINT_EVERY events, is
// followed by a checkpoint: the editor saves, the driver waits until every
// earlier line has arrived, and checks the file and that those lines, then the
// command, lead from the count of the last checkpoint to the one saved now.
//
// POINT_EDITOR_RANDOM_SEED=<n> reruns with another seed,
// POINT_EDITOR_RANDOM_EVENTS=<n> sends about that many events.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "panel_helpers.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

using namespace e2e;
using e2e::panel::Rect;

namespace {

constexpr int MAX_POINTS = 20;
constexpr int CHECKPOINT_EVERY = 150;
constexpr Millis WAIT = 10s;  // generous; scaled, as every wait, by E2E_TIMEOUT_SCALE

unsigned envNumber(const char* name, unsigned fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? static_cast<unsigned>(std::strtoul(v, nullptr, 0)) : fallback;
}

// The panel's controls in the order Tab visits them, with where a press
// focuses them (the spinner also on its label) and the file command of a
// button.
struct Control {
    Rect rect;
    char command = 0;
    Rect label{0, 0, 0, 0};
};
const Control CONTROLS[] = {
    {panel::NEW_BUTTON, 'N'},  {panel::LOAD_BUTTON, 'L'},  {panel::SAVE_BUTTON, 'S'},
    {panel::SPINNER_ARROWS, 0, panel::SPINNER_LABEL},      {panel::SPINNER_FIELD},
    {panel::RADIOS[0]},        {panel::RADIOS[1]},         {panel::RADIOS[2]},
    {panel::CHECKBOXES[0]},    {panel::CHECKBOXES[1]},     {panel::CHECKBOXES[2]},
    {panel::SCHEMA_BUTTON},
};
constexpr int CONTROL_COUNT = sizeof CONTROLS / sizeof CONTROLS[0], SPINNER = 3;
// Pixels on either side of a control's edge where the driver never presses or
// releases, so that which control is hit never depends on an exact border.
constexpr int EDGE = 3;

bool inside(const Rect& r, Pixel p, int grow = 0)
{
    return p.x >= r.x - grow && p.y >= r.y - grow && p.x < r.x + r.w + grow && p.y < r.y + r.h + grow;
}
bool onEdge(const Rect& r, Pixel p) { return inside(r, p, EDGE) && !inside(r, p, -EDGE); }

// A point line of a save: the editor's "%f %f %f" of whole pointer positions and a size from 8 to 12.
const std::regex POINT_LINE(R"((-?\d+)\.000000 (-?\d+)\.000000 (8|9|10|11|12)\.000000)");
const std::regex COUNT_LINE(R"(\d|1\d|20)");
const std::regex ADDED(R"(Point ([1-9]|1\d|20) added to x:(-?\d+) y:(-?\d+) )");
const std::regex DELETED(R"(Point ([1-9]|1\d|20) deleted!)");
const std::regex SELECTED(R"(Selected Point: ([1-9]|1\d|20))");
const char* const LIMIT = "Number of points limit reached!";
const char* const NOTHING_TO_DELETE = "No points to delete!";
const char* const NO_FILE = "No file to load from :))";

enum Where { DRAWING, PANEL, OUTSIDE };

class RandomInput : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        if (HasFailure())
            return;
        std::cout << "[ random ] seed " << seed_ << " (POINT_EDITOR_RANDOM_SEED), " << totalEvents_ << " events\n";
        drawingGeo_ = x_->geometry(drawing_);
        panelGeo_ = x_->geometry(panel_);
        screenW_ = DisplayWidth(x_->display(), DefaultScreen(x_->display()));
        screenH_ = DisplayHeight(x_->display(), DefaultScreen(x_->display()));
    }

    int rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    // ------------------------------------------------------------ positions (root coordinates)

    static bool in(const Geometry& g, Pixel p)
    {
        return p.x >= g.x && p.y >= g.y && p.x < g.x + g.width && p.y < g.y + g.height;
    }
    Where whereIs(Pixel p) const { return in(drawingGeo_, p) ? DRAWING : in(panelGeo_, p) ? PANEL : OUTSIDE; }
    Pixel inPanel(Pixel p) const { return {p.x - panelGeo_.x, p.y - panelGeo_.y}; }
    std::pair<int, int> sceneOf(Pixel p) const
    {
        return {p.x - drawingGeo_.x - DRAWING_WIDTH / 2, DRAWING_HEIGHT / 2 - (p.y - drawingGeo_.y)};
    }

    Pixel anywhere() { return {rand(0, screenW_ - 1), rand(0, screenH_ - 1)}; }
    // A random position in `w`; in the panel, clear of every control's edge.
    Pixel randomIn(Where w)
    {
        const Geometry& g = w == DRAWING ? drawingGeo_ : panelGeo_;
        for (;;) {
            Pixel p = w == OUTSIDE ? anywhere() : Pixel{g.x + rand(0, g.width - 1), g.y + rand(0, g.height - 1)};
            if (whereIs(p) == w &&
                std::none_of(std::begin(CONTROLS), std::end(CONTROLS), [&](const Control& c) {
                    return w == PANEL && (onEdge(c.rect, inPanel(p)) || onEdge(c.label, inPanel(p)));
                }))
                return p;
        }
    }
    // Somewhere on the screen, mostly in the drawing window.
    Pixel randomSpot()
    {
        const int r = rand(0, 99);
        return randomIn(r < 55 ? DRAWING : r < 80 ? PANEL : OUTSIDE);
    }
    // Near a recent left press in the drawing window, to give middle presses
    // something to pick.
    Pixel nearRecentPoint()
    {
        if (recentLeft_.empty())
            return randomIn(DRAWING);
        Pixel p = recentLeft_[rand(0, static_cast<int>(recentLeft_.size()) - 1)];
        return {std::clamp(p.x + rand(-7, 7), drawingGeo_.x, drawingGeo_.x + drawingGeo_.width - 1),
                std::clamp(p.y + rand(-7, 7), drawingGeo_.y, drawingGeo_.y + drawingGeo_.height - 1)};
    }
    // Index of the control a press at `p` focuses, or -1.
    int controlAt(Pixel p) const
    {
        if (whereIs(p) != PANEL)
            return -1;
        for (int i = 0; i < CONTROL_COUNT; ++i)
            if (inside(CONTROLS[i].rect, inPanel(p)) || inside(CONTROLS[i].label, inPanel(p)))
                return i;
        return -1;
    }

    // ------------------------------------------------------------ raw events

    void moveTo(Pixel p)
    {
        x_->movePointer(p.x, p.y);
        at_ = p;
        ++events_;
    }
    void tap(KeySym ks, bool shift = false)
    {
        if (shift)
            x_->keyDown(XK_Shift_L);
        x_->tapKey(ks);
        if (shift)
            x_->keyUp(XK_Shift_L);
        events_ += shift ? 4 : 2;
    }

    // A left press in the drawing window adds a point there (or says the set
    // is full); one that closes the menu may or may not.
    void leftPressInDrawing(bool dismissesMenu)
    {
        (dismissesMenu ? dismissals_ : plainLeftPresses_)++;
        leftPresses_.insert(sceneOf(at_));
        recentLeft_.push_back(at_);
        if (recentLeft_.size() > 30)
            recentLeft_.erase(recentLeft_.begin());
    }

    // ------------------------------------------------------------ actions

    // A press, a release where it was (a click) or after some moves (a drag).
    void pressAndRelease()
    {
        const int r = rand(0, 99), button = r < 45 ? 1 : r < 80 ? 2 : 3;
        if (button == 3 && chance(0.6))
            return menu();
        Pixel start;
        do  // right presses in the drawing window open the menu: done apart
            start = button == 2 && chance(0.75) ? nearRecentPoint() : randomSpot();
        while (button == 3 && whereIs(start) == DRAWING);
        moveTo(start);
        const Where w = whereIs(start);
        x_->press(button);
        ++events_;
        int pressed = -1;  // the panel control a left press pressed
        if (button == 1 && w == DRAWING)
            leftPressInDrawing(false);
        if (button == 1 && w == PANEL)
            focus_ = pressed = controlAt(start);
        // Holding an arrow of the spinner lets it repeat for a while.
        if (pressed == SPINNER && chance(0.3))
            std::this_thread::sleep_for(Millis(rand(50, 600)));
        const int moves = chance(0.5) ? 0 : rand(1, 8);
        for (int i = 1; i <= moves; ++i) {
            if (i < moves)
                moveTo(w != OUTSIDE && chance(0.6) ? randomIn(w) : anywhere());
            else
                moveTo(chance(0.5) ? randomSpot() : randomIn(w));
        }
        x_->release(button);
        ++events_;
        // A button acts when the release is on it too.
        if (pressed >= 0 && CONTROLS[pressed].command && controlAt(at_) == pressed)
            command(CONTROLS[pressed].command);
        if (button == 2 && w == DRAWING)
            armed_ = false;  // the release ends the pick and disarms
    }

    // Right click in the drawing window, then an entry or a left click beside
    // the menu that dismisses it. Never leaves the menu open.
    void menu()
    {
        // freeglut opens no menu for a right click on the window's top row or left column.
        const Pixel random = randomIn(DRAWING);
        const Pixel at{std::max(random.x, drawingGeo_.x + 1), std::max(random.y, drawingGeo_.y + 1)};
        moveTo(at);
        const std::vector<Window> before = x_->topLevelWindows();
        x_->click(3);
        events_ += 2;
        const Pixel first = x_->menuEntryAt(at.x, at.y, 0);
        std::optional<Window> opened = x_->waitForMenuAt(first.x, first.y, before, WAIT);
        if (!opened) {
            ADD_FAILURE() << "no pop-up menu after a right click in the drawing window";
            return;
        }
        if (chance(0.8)) {
            const int entry = chance(0.6) ? MENU_SELECT_AND_MOVE : MENU_DELETE_POINT;
            moveTo(x_->menuEntryAt(at.x, at.y, entry));
            (entry == MENU_SELECT_AND_MOVE ? selectChoices_ : deleteChoices_)++;
            armed_ = armed_ || entry == MENU_SELECT_AND_MOVE;
        } else {
            // A left click in the drawing window clear of the menu. freeglut
            // also takes the click's window-relative position for one on the
            // screen: where that lies on the menu, it picks the entry there.
            const Geometry g = x_->geometry(*opened);
            auto clear = [&](int x, int y) {
                return x < at.x - 10 || x > at.x + g.width + 10 || y < at.y - 10 || y > at.y + g.height + 10;
            };
            Pixel p;
            do
                p = randomIn(DRAWING);
            while (!clear(p.x, p.y) || !clear(p.x - drawingGeo_.x, p.y - drawingGeo_.y));
            moveTo(p);
            leftPressInDrawing(true);
        }
        x_->click(1);
        events_ += 2;
        if (!waitUntil([&] { return !x_->isViewable(*opened); }, WAIT))
            ADD_FAILURE() << "the pop-up menu stayed open";
    }

    // Mostly digits and letters, the file commands more often (never Q,
    // which quits), and keys that mean something to the panel's controls.
    KeySym randomKey(bool& shift)
    {
        static const KeySym others[] = {XK_Return, XK_BackSpace, XK_Delete, XK_Escape, XK_Up,    XK_Down,
                                        XK_Left,   XK_Right,     XK_Home,   XK_End,    XK_F1,    XK_minus,
                                        XK_period, XK_comma,     XK_plus,   XK_exclam, XK_slash, XK_at};
        static const std::string upper = "ABCDEFGHIJKLMNOPRSTUVWXYZ";
        const int r = rand(0, 99);
        shift = r >= 70 && r < 76 && chance(0.3);
        return r < 30   ? KeySym('0' + rand(0, 9))
               : r < 45 ? KeySym(upper[rand(0, static_cast<int>(upper.size()) - 1)])
               : r < 55 ? KeySym("LLLSN"[rand(0, 4)])
               : r < 70 ? KeySym('a' + rand(0, 25))
               : r < 76 ? KeySym(XK_Tab)
               : r < 82 ? KeySym(XK_space)
                        : others[rand(0, static_cast<int>(std::size(others)) - 1)];
    }

    void key()
    {
        if (chance(0.6)) {
            const int r = rand(0, 99);
            moveTo(randomIn(r < 65 ? DRAWING : r < 92 ? PANEL : OUTSIDE));
        }
        bool shift = false;
        const KeySym k = randomKey(shift);
        tap(k, shift);
        const Where w = whereIs(at_);
        if (w == DRAWING && (k == 'N' || k == 'L' || k == 'S'))
            command(static_cast<char>(k));
        if (w != PANEL)
            return;
        // Tab goes round the controls and one stop with none focused after
        // the last; Shift+Tab the other way round, where GLUT reports it.
        if (k == XK_Tab && !shift)
            focus_ = focus_ + 1 < CONTROL_COUNT ? focus_ + 1 : -1;
        else if (k == XK_Tab && desktop().glutReportsShiftTab)
            focus_ = (focus_ < 0 ? CONTROL_COUNT : focus_) - 1;
        else if (k == XK_space && focus_ >= 0 && CONTROLS[focus_].command)
            command(CONTROLS[focus_].command);
    }

    // ------------------------------------------------------------ checks

    // A command is followed at once by a checkpoint, so that it comes after
    // every line printed so far and before any later one.
    void command(char c)
    {
        command_ = c;
        if (c == 'S' && !waitForSave())
            return;
        checkpoint();
    }

    // Waits until a Save that reached the editor has replaced points.txt.
    std::optional<std::string> waitForSave()
    {
        const std::string path = workFile("points.txt");
        std::optional<std::string> text = e2e::waitForSave(path, saved_, WAIT);
        if (!text)
            ADD_FAILURE() << "a Save reached the editor but points.txt was not replaced";
        saved_ = fileStamp(path);
        return text;
    }

    // What a save wrote: its count, or -1 after reporting what is wrong with it.
    int checkPointFile(const std::string& text)
    {
        auto bad = [&](const std::string& why) {
            ADD_FAILURE() << "malformed points.txt (" << why << "):\n" << text;
            return -1;
        };
        const std::vector<std::string> lines = splitLines(text);
        if (text.empty() || text.back() != '\n' || !std::regex_match(lines[0], COUNT_LINE))
            return bad("no count from 0 to 20 on the first line, or no newline at the end");
        const int count = std::stoi(lines[0]);
        if (static_cast<int>(lines.size()) != count + 1)
            return bad(std::to_string(lines.size() - 1) + " point lines for a count of " + std::to_string(count));
        // Dragging reaches any pointer position on the screen.
        const auto [minX, maxY] = sceneOf({0, 0});
        const auto [maxX, minY] = sceneOf({screenW_, screenH_});
        for (int i = 1; i <= count; ++i) {
            std::smatch m;
            if (!std::regex_match(lines[i], m, POINT_LINE))
                return bad("line " + std::to_string(i + 1) + " is not whole x and y and a size from 8 to 12");
            const int x = std::stoi(m[1]), y = std::stoi(m[2]);
            if (x < minX || x > maxX || y < minY || y > maxY)
                return bad("point " + std::to_string(i) + " is not at a pointer position");
        }
        return count;
    }

    // Follows `lines` from lastCount_ points, then the command; returns the
    // count that leaves, or -1 after reporting a line that does not fit.
    int replay(const std::vector<std::string>& lines)
    {
        int count = lastCount_, adds = 0, deletes = 0, selects = 0;
        for (const std::string& line : lines) {
            const int before = count;
            std::smatch m;
            bool ok = false;  // a line that is none of the editor's messages
            if (std::regex_match(line, m, ADDED)) {
                ok = std::stoi(m[1]) == ++count && leftPresses_.count({std::stoi(m[2]), std::stoi(m[3])});
                ++adds;
            } else if (line == LIMIT) {
                ok = count == MAX_POINTS;
                ++adds;
            } else if (std::regex_match(line, m, DELETED)) {
                ok = std::stoi(m[1]) == count--;
                ++deletes;
            } else if (line == NOTHING_TO_DELETE) {
                ok = count == 0;
                ++deletes;
            } else if (std::regex_match(line, m, SELECTED)) {
                ok = std::stoi(m[1]) <= count;
                ++selects;
            }
            if (!ok) {
                ADD_FAILURE() << "\"" << line << "\" does not follow from the input (the set had " << before
                              << " points, added ones only where a left press reached)";
                return -1;
            }
        }
        // Every left press in the drawing window answers with one line, every
        // Delete Point choice too, and only a Select and Move Point choice
        // lets one middle press pick.
        EXPECT_GE(adds, plainLeftPresses_) << "left presses in the drawing window without a line";
        EXPECT_LE(adds, plainLeftPresses_ + dismissals_) << "more added/limit lines than left presses";
        EXPECT_EQ(deletes, deleteChoices_) << "Delete Point choices and their lines differ";
        EXPECT_LE(selects, selectChoices_) << "more picks than Select and Move Point choices";
        return command_ == 'N' ? 0 : command_ == 'L' ? lastCount_ : count;
    }

    // Saves, waits until every line of the earlier events has arrived, and
    // checks them and the file.
    void checkpoint()
    {
        moveTo(randomIn(DRAWING));
        tap('S');
        const std::optional<std::string> text = waitForSave();
        const int count = text ? checkPointFile(*text) : -1;
        if (count < 0)
            return;
        // With the file moved aside, L prints a line of its own: once it is
        // there, every line before it has been read.
        const std::string path = workFile("points.txt"), aside = workFile("points.checkpoint");
        ASSERT_EQ(std::rename(path.c_str(), aside.c_str()), 0) << "cannot move points.txt aside";
        tap('L');
        std::vector<std::string> all;
        auto barrier = all.end();
        const bool seen = waitUntil(
            [&] {
                all = editor_->lines();
                barrier = std::find(all.begin() + static_cast<long>(cursor_), all.end(), NO_FILE);
                return barrier != all.end();
            },
            WAIT);
        std::rename(aside.c_str(), path.c_str());
        saved_ = fileStamp(path);  // renaming changed it
        ASSERT_TRUE(seen) << "L without a points.txt printed no \"" << NO_FILE << "\"";
        const std::vector<std::string> lines(all.begin() + static_cast<long>(cursor_), barrier);
        cursor_ = static_cast<std::size_t>(barrier - all.begin()) + 1;
        const int expected = replay(lines);
        EXPECT_TRUE(expected < 0 || count == expected)
            << "points.txt holds " << count << " points, the lines from " << lastCount_ << " and then command '"
            << (command_ ? command_ : '-') << "' make " << expected;
        for (const std::string& line : editor_->errorLines())
            ADD_FAILURE() << "unexpected standard error line: \"" << line << "\"";
        lastCount_ = count;
        command_ = 0;
        leftPresses_.clear();
        plainLeftPresses_ = dismissals_ = deleteChoices_ = 0;
        selectChoices_ = armed_ ? 1 : 0;  // an armed pick outlives the checkpoint
    }

    const unsigned seed_ = envNumber("POINT_EDITOR_RANDOM_SEED", 0x5eed2026u);
    const int totalEvents_ = static_cast<int>(envNumber("POINT_EDITOR_RANDOM_EVENTS", 2400));
    std::mt19937 rng_{seed_};
    Geometry drawingGeo_, panelGeo_;
    int screenW_ = 0, screenH_ = 0;
    Pixel at_{0, 0};  // where the pointer is
    int events_ = 0;
    int focus_ = -1;  // the panel control with the keyboard focus
    std::vector<Pixel> recentLeft_;  // for aiming middle presses

    // Since the last checkpoint:
    char command_ = 0;
    std::set<std::pair<int, int>> leftPresses_;  // scene positions
    int plainLeftPresses_ = 0, dismissals_ = 0, deleteChoices_ = 0, selectChoices_ = 0;
    bool armed_ = false;  // a Select and Move Point choice not yet used up

    std::size_t cursor_ = 0;  // output lines checked so far
    int lastCount_ = 0;       // what the last checkpoint saved
    FileStamp saved_;         // points.txt as the last save left it
};

TEST_F(RandomInput, SeededEventsKeepTheEditorAliveAndItsCountConsistent)
{
    ASSERT_FALSE(HasFailure());
    // The editor's output is printed when the test fails.
    SCOPED_TRACE("seed " + std::to_string(seed_) + ": rerun with POINT_EDITOR_RANDOM_SEED=" + std::to_string(seed_));
    checkpoint();  // points.txt exists from here on
    int nextCheckpoint = CHECKPOINT_EVERY;
    while (events_ < totalEvents_ && !HasFailure()) {
        const int r = rand(0, 99);
        if (r < 15)
            moveTo(randomSpot());
        else if (r < 68)
            pressAndRelease();
        else if (r < 78)
            menu();
        else
            key();
        if (!editor_->isRunning())
            ADD_FAILURE() << "the editor is no longer running";
        else if (events_ >= nextCheckpoint && !HasFailure()) {
            checkpoint();
            nextCheckpoint = events_ + CHECKPOINT_EVERY;
        }
    }
    if (!HasFailure())
        checkpoint();
    EXPECT_TRUE(editor_->isRunning()) << "the editor ended";
}

}  // namespace
