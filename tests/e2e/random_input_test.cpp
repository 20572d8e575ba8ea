// Random input from a fixed seed: thousands of real XTest events (clicks and
// drags of all three buttons, pop-up menu choices, keys, pointer moves inside
// and outside both windows) while the editor must stay alive, print only its
// own messages, and keep a point set of 0 to 20 points whose saved count
// agrees with what its messages and the N, L and S commands imply.
//
// The driver keeps only as much of a model as it needs to predict the count:
// which commands (New, Load, Save) reached the editor, from the keys it typed
// into the drawing window and the panel buttons it pressed, clicked or
// focused and pressed with Space. The messages themselves say what every
// click did ("Point 4 added..." means the set went from 3 to 4). At a
// checkpoint the editor saves, the driver waits until every earlier event has
// been handled and checks the file, the lines printed since the last
// checkpoint and the count they lead to. Every command is followed by a
// checkpoint, so it is known to come after all those lines.
//
// POINT_EDITOR_RANDOM_SEED=<n> reruns with another seed,
// POINT_EDITOR_RANDOM_EVENTS=<n> sends about that many events.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "panel_helpers.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

using namespace e2e;
using e2e::panel::Rect;

namespace {

constexpr unsigned DEFAULT_SEED = 0x5eed2026u;
constexpr int DEFAULT_EVENTS = 2400;
constexpr int MAX_POINTS = 20;
constexpr Millis WAIT = 10s;  // generous; scaled, as every wait, by E2E_TIMEOUT_SCALE

// Events between forced saves and between checkpoints.
constexpr int SAVE_EVERY = 120;
constexpr int CHECKPOINT_EVERY = 300;

// What a failure shows: the events since the last checkpoint that passed, and
// this many before it.
constexpr std::size_t HISTORY_BEFORE_CHECKPOINT = 30;
constexpr std::size_t MAX_HISTORY = 2000;

unsigned envNumber(const char* name, unsigned fallback)
{
    const char* v = std::getenv(name);
    if (!v || !*v)
        return fallback;
    return static_cast<unsigned>(std::strtoul(v, nullptr, 0));
}

enum class Command { New, Load, Save };

const char* commandName(Command c)
{
    switch (c) {
    case Command::New: return "New";
    case Command::Load: return "Load";
    case Command::Save: return "Save";
    }
    return "?";
}

// Controls of the panel in the order Tab visits them, with the rectangles a
// press on them lands in (a press focuses the control). The spinner takes
// presses on its arrows and on its label, the field between them.
struct PanelControl {
    const char* name;
    Rect rect;
    bool button;
    Rect label{0, 0, 0, 0};  // a second rectangle, the spinner's label
};
const std::vector<PanelControl>& panelControls()
{
    using namespace e2e::panel;
    static const std::vector<PanelControl> controls = {
        {"New", NEW_BUTTON, true},         {"Load", LOAD_BUTTON, true},
        {"Save", SAVE_BUTTON, true},       {"Spinner", SPINNER_ARROWS, false, SPINNER_LABEL},
        {"SpinnerField", SPINNER_FIELD, false},
        {"Polygon", RADIOS[0], false},     {"Fan", RADIOS[1], false},
        {"Strip", RADIOS[2], false},       {"Points", CHECKBOXES[0], false},
        {"Lines", CHECKBOXES[1], false},   {"Geometry", CHECKBOXES[2], false},
        {"Schema", SCHEMA_BUTTON, true},
    };
    return controls;
}
constexpr int FOCUS_NEW = 0, FOCUS_LOAD = 1, FOCUS_SAVE = 2, FOCUS_SPINNER = 3;
// Pixels on either side of a control's edge where the driver never presses or
// releases, so that which control is hit never depends on an exact border.
constexpr int EDGE = 3;

bool inside(const Rect& r, int x, int y, int grow)
{
    return x >= r.x - grow && y >= r.y - grow && x < r.x + r.w + grow && y < r.y + r.h + grow;
}

// One "%f %f %f" line of the point file, as the editor writes it.
const std::regex POINT_LINE(R"((-?\d+\.\d{6}) (-?\d+\.\d{6}) (-?\d+\.\d{6}))");
const std::regex COUNT_LINE(R"(\d|1\d|20)");
const std::regex ADDED(R"(Point ([1-9]|1\d|20) added to x:(-?\d+) y:(-?\d+) )");
const std::regex DELETED(R"(Point ([1-9]|1\d|20) deleted!)");
const std::regex SELECTED(R"(Selected Point: ([1-9]|1\d|20))");
const char* const LIMIT = "Number of points limit reached!";
const char* const NOTHING_TO_DELETE = "No points to delete!";
const char* const NO_FILE = "No file to load from :))";

class RandomInput : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        if (HasFailure())
            return;
        seed_ = envNumber("POINT_EDITOR_RANDOM_SEED", DEFAULT_SEED);
        totalEvents_ = static_cast<int>(envNumber("POINT_EDITOR_RANDOM_EVENTS", DEFAULT_EVENTS));
        std::cout << "[ random ] seed " << seed_ << " (POINT_EDITOR_RANDOM_SEED), " << totalEvents_
                  << " events\n";
        rng_.seed(seed_);
        drawingGeo_ = x_->geometry(drawing_);
        panelGeo_ = x_->geometry(panel_);
        screenW_ = DisplayWidth(x_->display(), DefaultScreen(x_->display()));
        screenH_ = DisplayHeight(x_->display(), DefaultScreen(x_->display()));
    }

    // ------------------------------------------------------------ reporting

    // Every event since the last checkpoint that passed, and a few before it.
    void note(const std::string& what)
    {
        recent_.push_back("#" + std::to_string(events_) + " " + what);
        if (recent_.size() > MAX_HISTORY)
            recent_.pop_front();
    }

    void checkpointPassed()
    {
        while (recent_.size() > HISTORY_BEFORE_CHECKPOINT)
            recent_.pop_front();
    }

    std::string context() const
    {
        std::ostringstream os;
        os << "seed " << seed_ << " (rerun with POINT_EDITOR_RANDOM_SEED=" << seed_ << "), event index "
           << events_ << "; last events:\n";
        for (const std::string& e : recent_)
            os << "  " << e << "\n";
        os << "editor output:\n" << editor_->transcript();
        return os.str();
    }

    bool failed() const { return ::testing::Test::HasFailure(); }

    void checkAlive()
    {
        if (editor_->isRunning())
            return;
        auto status = editor_->waitForExit(0ms);
        std::ostringstream os;
        if (status)
            os << *status;
        ADD_FAILURE() << "the editor is no longer running (" << os.str() << "); " << context();
    }

    // ------------------------------------------------------------ raw events

    int rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    enum class Where { Drawing, Panel, Outside };

    Where whereIs(int rx, int ry) const
    {
        auto in = [&](const Geometry& g) { return rx >= g.x && ry >= g.y && rx < g.x + g.width && ry < g.y + g.height; };
        if (in(drawingGeo_))
            return Where::Drawing;
        if (in(panelGeo_))
            return Where::Panel;
        return Where::Outside;
    }

    static const char* whereName(Where w)
    {
        return w == Where::Drawing ? "drawing" : w == Where::Panel ? "panel" : "outside";
    }

    std::string describe(int rx, int ry) const
    {
        std::ostringstream os;
        Where w = whereIs(rx, ry);
        os << "root(" << rx << "," << ry << ") " << whereName(w);
        if (w == Where::Drawing) {
            auto [sx, sy] = sceneOf(rx, ry);
            os << " scene(" << sx << "," << sy << ")";
        } else if (w == Where::Panel) {
            os << " panel(" << rx - panelGeo_.x << "," << ry - panelGeo_.y << ")";
        }
        return os.str();
    }

    void moveTo(int rx, int ry)
    {
        x_->movePointer(rx, ry);
        px_ = rx;
        py_ = ry;
        ++events_;
        note("move " + describe(rx, ry));
    }
    void press(int button)
    {
        x_->press(button);
        ++events_;
        note("press " + std::to_string(button) + " at " + describe(px_, py_));
    }
    void release(int button)
    {
        x_->release(button);
        ++events_;
        note("release " + std::to_string(button) + " at " + describe(px_, py_));
    }
    void tap(KeySym ks, const std::string& name, bool shift = false)
    {
        if (shift)
            x_->keyDown(XK_Shift_L);
        x_->tapKey(ks);
        if (shift)
            x_->keyUp(XK_Shift_L);
        events_ += shift ? 4 : 2;
        note(std::string("key ") + (shift ? "Shift+" : "") + name + " at " + describe(px_, py_));
    }

    // ------------------------------------------------------------ positions

    std::pair<int, int> randomIn(const Geometry& g) { return {g.x + rand(0, g.width - 1), g.y + rand(0, g.height - 1)}; }

    std::pair<int, int> randomOutside()
    {
        for (;;) {
            int rx = rand(0, screenW_ - 1), ry = rand(0, screenH_ - 1);
            if (whereIs(rx, ry) == Where::Outside)
                return {rx, ry};
        }
    }

    // A panel position clear of every control edge.
    std::pair<int, int> randomPanelSpot()
    {
        for (;;) {
            auto [rx, ry] = randomIn(panelGeo_);
            if (panelSpotIsClear(rx, ry))
                return {rx, ry};
        }
    }

    bool panelSpotIsClear(int rx, int ry) const
    {
        int x = rx - panelGeo_.x, y = ry - panelGeo_.y;
        for (const PanelControl& c : panelControls())
            for (const Rect& r : {c.rect, c.label})
                if (inside(r, x, y, EDGE) && !inside(r, x, y, -EDGE))
                    return false;
        return true;
    }

    // Index (focus order) of the control a press at root (rx, ry) lands on, or -1.
    int panelControlAt(int rx, int ry) const
    {
        int x = rx - panelGeo_.x, y = ry - panelGeo_.y;
        const auto& cs = panelControls();
        for (int i = 0; i < static_cast<int>(cs.size()); ++i)
            if (inside(cs[i].rect, x, y, 0) || inside(cs[i].label, x, y, 0))
                return i;
        return -1;
    }

    // Somewhere on the screen, mostly in the drawing window.
    std::pair<int, int> randomSpot()
    {
        int r = rand(0, 99);
        if (r < 55)
            return randomIn(drawingGeo_);
        if (r < 80)
            return randomPanelSpot();
        return randomOutside();
    }

    // Near a place where a point was probably added, to give middle presses
    // something to pick.
    std::pair<int, int> nearRecentPoint()
    {
        if (recentAdds_.empty() || chance(0.2))
            return randomIn(drawingGeo_);
        auto [sx, sy] = recentAdds_[rand(0, static_cast<int>(recentAdds_.size()) - 1)];
        int rx = drawingGeo_.x + DRAWING_WIDTH / 2 + sx + rand(-7, 7);
        int ry = drawingGeo_.y + DRAWING_HEIGHT / 2 - sy + rand(-7, 7);
        rx = std::clamp(rx, drawingGeo_.x, drawingGeo_.x + drawingGeo_.width - 1);
        ry = std::clamp(ry, drawingGeo_.y, drawingGeo_.y + drawingGeo_.height - 1);
        return {rx, ry};
    }

    std::pair<int, int> sceneOf(int rx, int ry) const
    {
        return {rx - drawingGeo_.x - DRAWING_WIDTH / 2, DRAWING_HEIGHT / 2 - (ry - drawingGeo_.y)};
    }

    // A left press in the drawing window adds a point there (or says the
    // set is full); one that closes the menu may or may not.
    void leftPressedInDrawing(bool dismissesMenu = false)
    {
        (dismissesMenu ? dismissals_ : plainLeftPresses_)++;
        auto s = sceneOf(px_, py_);
        leftPresses_.insert(s);
        recentAdds_.push_back(s);
        if (recentAdds_.size() > 30)
            recentAdds_.erase(recentAdds_.begin());
    }

    // ------------------------------------------------------------ commands

    // A command is followed at once by a checkpoint, so that it comes after
    // every line printed so far and before any later one.
    void commandReached(Command c)
    {
        commands_.push_back(c);
        ++commandCounts_[static_cast<int>(c)];
        if (c == Command::Save)
            waitForSave();
        if (!failed())
            checkpoint();
    }

    // Waits until the Save that reached the editor has written points.txt,
    // and returns what it wrote. Waiting here also keeps the editor from
    // falling far behind the input.
    std::optional<std::string> waitForSave()
    {
        const std::string path = workFile("points.txt");
        std::optional<std::string> text = e2e::waitForSave(path, saved_, WAIT);
        if (!text) {
            ADD_FAILURE() << "a Save reached the editor but points.txt was not replaced; " << context();
            return std::nullopt;
        }
        saved_ = fileStamp(path);
        ++saves_;
        return text;
    }

    // ------------------------------------------------------------ actions

    void pointerMove()
    {
        auto [rx, ry] = randomSpot();
        moveTo(rx, ry);
    }

    void panelLeftPressAt()
    {
        focus_ = panelControlAt(px_, py_);
        pressedControl_ = focus_;
        noteFocus();
    }

    void noteFocus() { note(std::string("  (focus: ") + (focus_ < 0 ? "none" : panelControls()[focus_].name) + ")"); }

    // Left release in the panel after a press there: a button acts when the
    // release is on it too.
    void panelLeftReleased()
    {
        if (pressedControl_ < 0)
            return;
        const PanelControl& c = panelControls()[pressedControl_];
        int x = px_ - panelGeo_.x, y = py_ - panelGeo_.y;
        bool on = whereIs(px_, py_) == Where::Panel && inside(c.rect, x, y, 0);
        if (c.button && on) {
            if (pressedControl_ == FOCUS_NEW)
                commandReached(Command::New);
            else if (pressedControl_ == FOCUS_LOAD)
                commandReached(Command::Load);
            else if (pressedControl_ == FOCUS_SAVE)
                commandReached(Command::Save);
        }
        pressedControl_ = -1;
    }

    void click()
    {
        int r = rand(0, 99);
        int button = r < 55 ? 1 : r < 78 ? 2 : 3;
        Where w;
        if (button == 3) {
            // Right clicks in the drawing window open the menu: handled apart.
            if (chance(0.7)) {
                menuAction();
                return;
            }
            do {
                auto [rx, ry] = randomSpot();
                moveTo(rx, ry);
            } while (whereIs(px_, py_) == Where::Drawing);
        } else if (button == 2) {
            auto [rx, ry] = chance(0.7) ? nearRecentPoint() : randomSpot();
            moveTo(rx, ry);
        } else {
            auto [rx, ry] = randomSpot();
            moveTo(rx, ry);
        }
        w = whereIs(px_, py_);
        press(button);
        if (button == 1 && w == Where::Drawing)
            leftPressedInDrawing();
        if (button == 1 && w == Where::Panel)
            panelLeftPressAt();
        // Holding an arrow of the spinner lets it repeat for a while.
        if (button == 1 && w == Where::Panel && pressedControl_ == FOCUS_SPINNER && chance(0.3))
            std::this_thread::sleep_for(Millis(rand(50, 600)));
        release(button);
        if (button == 1 && w == Where::Panel)
            panelLeftReleased();
        if (button == 2 && w == Where::Drawing)
            mayBeArmed_ = false;  // the release ends the pick and disarms
    }

    // A release position for a left drag that started on a panel button: off
    // the border band of that button.
    std::pair<int, int> dragEnd(int button, Where start)
    {
        for (;;) {
            auto [rx, ry] = chance(0.5) ? randomSpot() : randomIn(start == Where::Panel ? panelGeo_ : drawingGeo_);
            if (button == 1 && start == Where::Panel && pressedControl_ >= 0) {
                const Rect& r = panelControls()[pressedControl_].rect;
                int x = rx - panelGeo_.x, y = ry - panelGeo_.y;
                if (inside(r, x, y, EDGE) && !inside(r, x, y, -EDGE))
                    continue;
            }
            return {rx, ry};
        }
    }

    void drag()
    {
        int button = rand(0, 9) < 4 ? 2 : rand(0, 1) ? 1 : 3;
        std::pair<int, int> start;
        if (button == 2)
            start = chance(0.8) ? nearRecentPoint() : randomSpot();
        else if (button == 3) {
            // A right press in the drawing window opens the menu; right drags
            // happen elsewhere, where the button means nothing.
            do
                start = randomSpot();
            while (whereIs(start.first, start.second) == Where::Drawing);
        } else
            start = randomSpot();
        moveTo(start.first, start.second);
        Where w = whereIs(px_, py_);
        press(button);
        if (button == 1 && w == Where::Drawing)
            leftPressedInDrawing();
        if (button == 1 && w == Where::Panel)
            panelLeftPressAt();
        int steps = rand(1, 8);
        for (int i = 0; i < steps; ++i) {
            std::pair<int, int> to;
            if (i + 1 == steps)
                to = dragEnd(button, w);
            else if (chance(0.6) && w != Where::Outside)
                to = randomIn(w == Where::Drawing ? drawingGeo_ : panelGeo_);
            else
                to = {rand(0, screenW_ - 1), rand(0, screenH_ - 1)};
            moveTo(to.first, to.second);
        }
        release(button);
        if (button == 1 && w == Where::Panel)
            panelLeftReleased();
        if (button == 2 && w == Where::Drawing)
            mayBeArmed_ = false;  // the release ends the pick and disarms
    }

    // Right click in the drawing window, then pick an entry or dismiss the
    // menu with a left click beside it. Never leaves the menu open.
    void menuAction()
    {
        // freeglut opens no menu for a right click on the window's top row
        // or left column.
        const auto [randomX, randomY] = randomIn(drawingGeo_);
        const int rx = std::max(randomX, drawingGeo_.x + 1), ry = std::max(randomY, drawingGeo_.y + 1);
        moveTo(rx, ry);
        const std::vector<Window> before = x_->topLevelWindows();
        press(3);
        release(3);
        const Pixel first = x_->menuEntryAt(rx, ry, 0);
        std::optional<Window> menu = x_->waitForMenuAt(first.x, first.y, before, WAIT);
        if (!menu) {
            ADD_FAILURE() << "no pop-up menu after a right click in the drawing window; " << context();
            return;
        }
        // The menu's top-left corner is at the pointer.
        const Geometry menuGeometry = x_->geometry(*menu);
        const int width = menuGeometry.width, height = menuGeometry.height;
        note("menu open, " + std::to_string(width) + "x" + std::to_string(height) + " at root(" + std::to_string(rx) +
             "," + std::to_string(ry) + ")");
        int r = rand(0, 9);
        if (r < 8) {
            int entry = r < 5 ? 0 : 1;  // 0 Select and Move Point, 1 Delete Point
            const Pixel at = x_->menuEntryAt(rx, ry, entry);
            moveTo(at.x, at.y);
            note(entry == 0 ? "menu entry Select and Move Point" : "menu entry Delete Point");
            (entry == 0 ? selectChoices_ : deleteChoices_)++;
            mayBeArmed_ = mayBeArmed_ || entry == 0;
        } else {
            // Dismiss: a left click in the drawing window clear of the menu.
            // freeglut also takes the click's window-relative position for a
            // position on the screen: when that lies on the menu, the click
            // picks the entry there instead of closing the menu.
            auto clear = [&](int x, int y) {
                return x < rx - 10 || x > rx + width + 10 || y < ry - 10 || y > ry + height + 10;
            };
            for (;;) {
                auto [dx, dy] = randomIn(drawingGeo_);
                if (clear(dx, dy) && clear(dx - drawingGeo_.x, dy - drawingGeo_.y)) {
                    moveTo(dx, dy);
                    break;
                }
            }
            note("dismiss the menu");
            leftPressedInDrawing(true);
        }
        press(1);
        release(1);
        if (!waitUntil([&] { return !x_->isViewable(*menu); }, WAIT))
            ADD_FAILURE() << "the pop-up menu stayed open; " << context();
    }

    struct Key {
        KeySym ks;
        std::string name;
        bool shift;
    };

    Key randomKey()
    {
        int r = rand(0, 99);
        if (r < 30) {
            char c = static_cast<char>('0' + rand(0, 9));
            return {static_cast<KeySym>(c), std::string(1, c), false};
        }
        if (r < 55) {
            // The file commands more often than other letters.
            if (chance(0.25)) {
                char c = "LLLSN"[rand(0, 4)];
                return {static_cast<KeySym>(c), std::string(1, c), false};
            }
            char c;
            do
                c = static_cast<char>('A' + rand(0, 25));
            while (c == 'Q');  // quits
            return {static_cast<KeySym>(c), std::string(1, c), false};
        }
        if (r < 70) {
            char c = static_cast<char>('a' + rand(0, 25));
            return {static_cast<KeySym>(c), std::string(1, c), false};
        }
        if (r < 76)
            return {XK_Tab, "Tab", chance(0.3)};
        if (r < 82)
            return {XK_space, "Space", false};
        static const std::vector<std::pair<KeySym, std::string>> others = {
            {XK_Return, "Return"}, {XK_BackSpace, "BackSpace"}, {XK_Delete, "Delete"}, {XK_Escape, "Escape"},
            {XK_Up, "Up"},         {XK_Down, "Down"},           {XK_Left, "Left"},     {XK_Right, "Right"},
            {XK_Home, "Home"},     {XK_End, "End"},             {XK_F1, "F1"},         {XK_minus, "minus"},
            {XK_period, "period"}, {XK_comma, "comma"},         {XK_plus, "plus"},     {XK_exclam, "exclam"},
            {XK_slash, "slash"},   {XK_at, "at"},
        };
        auto& [ks, name] = others[rand(0, static_cast<int>(others.size()) - 1)];
        return {ks, name, false};
    }

    void key()
    {
        if (chance(0.6)) {
            int r = rand(0, 99);
            auto [rx, ry] = r < 65 ? randomIn(drawingGeo_) : r < 92 ? randomPanelSpot() : randomOutside();
            moveTo(rx, ry);
        }
        Key k = randomKey();
        Where w = whereIs(px_, py_);
        tap(k.ks, k.name, k.shift);
        if (w == Where::Drawing) {
            if (k.ks == 'N')
                commandReached(Command::New);
            else if (k.ks == 'L')
                commandReached(Command::Load);
            else if (k.ks == 'S')
                commandReached(Command::Save);
        } else if (w == Where::Panel) {
            const int n = static_cast<int>(panelControls().size());
            // Tab goes round the controls and one stop with none focused
            // after the last; Shift+Tab the other way round, where GLUT
            // reports Shift+Tab at all.
            if (k.ks == XK_Tab && !k.shift)
                focus_ = focus_ < 0 ? 0 : focus_ + 1 < n ? focus_ + 1 : -1;
            else if (k.ks == XK_Tab && desktop().glutReportsShiftTab)
                focus_ = focus_ < 0 ? n - 1 : focus_ - 1;
            else if (k.ks == XK_space && focus_ == FOCUS_NEW)
                commandReached(Command::New);
            else if (k.ks == XK_space && focus_ == FOCUS_LOAD)
                commandReached(Command::Load);
            else if (k.ks == XK_space && focus_ == FOCUS_SAVE)
                commandReached(Command::Save);
            noteFocus();
        }
    }

    void saveKey()
    {
        auto [rx, ry] = randomIn(drawingGeo_);
        moveTo(rx, ry);
        tap('S', "S");
        commandReached(Command::Save);
    }

    // ------------------------------------------------------------ checks

    // Checks what a save wrote to points.txt; returns its count, or -1 after
    // reporting what is wrong with it.
    int checkPointFile(const std::string& text)
    {
        auto bad = [&](const std::string& why) {
            ADD_FAILURE() << "malformed points.txt (" << why << "):\n" << text << context();
            return -1;
        };
        if (text.empty() || text.back() != '\n')
            return bad("does not end with a newline");
        std::vector<std::string> lines = splitLines(text);
        if (!std::regex_match(lines[0], COUNT_LINE))
            return bad("first line is not a count from 0 to 20");
        int count = std::stoi(lines[0]);
        if (static_cast<int>(lines.size()) != count + 1)
            return bad(std::to_string(lines.size() - 1) + " point lines for a count of " + std::to_string(count));
        // Dragging reaches any pointer position on the screen.
        const int minX = -drawingGeo_.x - DRAWING_WIDTH / 2, maxX = screenW_ - drawingGeo_.x - DRAWING_WIDTH / 2;
        const int minY = DRAWING_HEIGHT / 2 - (screenH_ - drawingGeo_.y), maxY = DRAWING_HEIGHT / 2 + drawingGeo_.y;
        for (int i = 1; i <= count; ++i) {
            std::smatch m;
            if (!std::regex_match(lines[i], m, POINT_LINE))
                return bad("line " + std::to_string(i + 1) + " is not \"%f %f %f\"");
            double x = std::stod(m[1]), y = std::stod(m[2]), size = std::stod(m[3]);
            if (x != static_cast<int>(x) || y != static_cast<int>(y) || x < minX || x > maxX || y < minY || y > maxY)
                return bad("point " + std::to_string(i) + " is not at a pointer position");
            if (size != static_cast<int>(size) || size < 8 || size > 12)
                return bad("point " + std::to_string(i) + " has a size outside 8 to 12");
        }
        return count;
    }

    // Known standard-error lines of the GL stack on Xvfb; none expected.
    void checkErrors()
    {
        for (const std::string& line : editor_->errorLines())
            ADD_FAILURE() << "unexpected standard error line: \"" << line << "\"; " << context();
    }

    // Follows the messages from `from` points, then the command that ended
    // the interval (if any); returns the count that leaves, or -1 after
    // reporting the first message that does not fit.
    int replay(const std::vector<std::string>& messages, int from)
    {
        int count = from;
        for (const std::string& line : messages) {
            const int before = count;
            std::smatch m;
            bool ok = true;
            if (std::regex_match(line, m, ADDED)) {
                ok = std::stoi(m[1]) == count + 1;
                ++count;
            } else if (std::regex_match(line, m, DELETED)) {
                ok = std::stoi(m[1]) == count;
                --count;
            } else if (std::regex_match(line, m, SELECTED)) {
                ok = std::stoi(m[1]) <= count;
            } else if (line == LIMIT) {
                ok = count == MAX_POINTS;
            } else if (line == NOTHING_TO_DELETE) {
                ok = count == 0;
            }
            if (!ok) {
                ADD_FAILURE() << "\"" << line << "\" when the set had " << before << " points; " << context();
                return -1;
            }
        }
        const int saved = from;  // what points.txt held
        for (Command c : commands_) {
            if (c == Command::New)
                count = 0;
            else if (c == Command::Load)
                count = saved;
        }
        return count;
    }

    // Every message one of the editor's, added points only where a left
    // press reached the drawing window.
    void checkMessages(const std::vector<std::string>& messages)
    {
        int adds = 0, deletes = 0, selects = 0;
        for (const std::string& line : messages) {
            std::smatch m;
            adds += std::regex_match(line, ADDED) || line == LIMIT;
            deletes += std::regex_match(line, DELETED) || line == NOTHING_TO_DELETE;
            selects += std::regex_match(line, SELECTED);
            if (std::regex_match(line, m, ADDED)) {
                std::pair<int, int> at{std::stoi(m[2]), std::stoi(m[3])};
                if (!leftPresses_.count(at))
                    ADD_FAILURE() << "\"" << line << "\" but no left press reached scene (" << at.first << ", "
                                  << at.second << "); " << context();
            } else if (!std::regex_match(line, DELETED) && !std::regex_match(line, SELECTED) && line != LIMIT &&
                       line != NOTHING_TO_DELETE) {
                ADD_FAILURE() << "unexpected output line \"" << line << "\"; " << context();
            }
        }
        // Every left press in the drawing window answers with one line,
        // every Delete Point choice too, and only a Select and Move Point
        // choice lets one middle press pick.
        EXPECT_GE(adds, plainLeftPresses_) << "left presses in the drawing window without a line; " << context();
        EXPECT_LE(adds, plainLeftPresses_ + dismissals_)
            << "more added/limit lines than left presses; " << context();
        EXPECT_EQ(deletes, deleteChoices_) << "Delete Point choices and their lines differ; " << context();
        EXPECT_LE(selects, selectChoices_) << "more picks than Select and Move Point choices; " << context();
    }

    // Saves, waits until the editor has handled every earlier event, and
    // checks everything it printed since the last checkpoint.
    void checkpoint()
    {
        auto [rx, ry] = randomIn(drawingGeo_);
        moveTo(rx, ry);
        tap('S', "S (checkpoint)");
        const std::optional<std::string> text = waitForSave();
        if (!text)
            return;
        const std::string path = workFile("points.txt");
        const std::string aside = workFile("points.checkpoint");
        int count = checkPointFile(*text);
        if (count < 0)
            return;
        // With the file out of the way, L prints a line of its own: once it
        // is there, every line of the events before it has been read.
        if (std::rename(path.c_str(), aside.c_str()) != 0) {
            ADD_FAILURE() << "cannot move points.txt aside";
            return;
        }
        tap('L', "L (checkpoint, no file)");
        ++barriers_;
        std::size_t barrierAt = 0;
        bool seen = waitUntil(
            [&] {
                std::vector<std::string> all = editor_->lines();
                int n = 0;
                for (std::size_t i = 0; i < all.size(); ++i)
                    if (all[i] == NO_FILE && ++n == barriers_) {
                        barrierAt = i;
                        return true;
                    }
                return false;
            },
            WAIT);
        std::rename(aside.c_str(), path.c_str());
        saved_ = fileStamp(path);  // renaming changed it
        if (!seen) {
            ADD_FAILURE() << "L without a points.txt printed no \"" << NO_FILE << "\"; " << context();
            return;
        }
        std::vector<std::string> all = editor_->lines();
        std::vector<std::string> messages(all.begin() + static_cast<long>(cursor_),
                                          all.begin() + static_cast<long>(barrierAt));
        cursor_ = barrierAt + 1;
        checkMessages(messages);
        const int expected = replay(messages, lastCount_);
        if (expected >= 0 && expected != count) {
            std::ostringstream os;
            os << "points.txt holds " << count << " points, but from " << lastCount_ << " these lines";
            for (const auto& m : messages)
                os << "\n    " << m;
            os << "\n  and then";
            for (Command c : commands_)
                os << " " << commandName(c);
            os << " make " << expected;
            ADD_FAILURE() << os.str() << "\n" << context();
        }
        checkErrors();
        lastCount_ = count;
        if (!failed())
            checkpointPassed();
        commands_.clear();
        leftPresses_.clear();
        plainLeftPresses_ = dismissals_ = deleteChoices_ = 0;
        // An armed pick outlives the checkpoint.
        selectChoices_ = mayBeArmed_ ? 1 : 0;
        ++checkpoints_;
        maxCount_ = std::max(maxCount_, count);
    }

    // ------------------------------------------------------------ the run

    void run()
    {
        checkpoint();  // points.txt exists from here on
        int nextSave = SAVE_EVERY, nextCheckpoint = CHECKPOINT_EVERY;
        while (events_ < totalEvents_ && !failed()) {
            int r = rand(0, 99);
            if (r < 15)
                pointerMove();
            else if (r < 50)
                click();
            else if (r < 68)
                drag();
            else if (r < 78)
                menuAction();
            else
                key();
            if (failed())
                break;
            checkAlive();
            if (events_ >= nextSave) {
                saveKey();
                nextSave = events_ + SAVE_EVERY;
            }
            if (events_ >= nextCheckpoint) {
                checkpoint();
                nextCheckpoint = events_ + CHECKPOINT_EVERY;
            }
        }
        if (failed())
            return;
        checkpoint();
        checkAlive();
    }

    unsigned seed_ = DEFAULT_SEED;
    int totalEvents_ = DEFAULT_EVENTS;
    std::mt19937 rng_;
    Geometry drawingGeo_, panelGeo_;
    int screenW_ = 0, screenH_ = 0;
    int px_ = 0, py_ = 0;  // where the pointer is (root coordinates)

    int events_ = 0;
    std::deque<std::string> recent_;

    int focus_ = -1;           // the panel control with the keyboard focus
    int pressedControl_ = -1;  // the panel control a held left button pressed

    std::vector<Command> commands_;                  // since the last checkpoint
    std::set<std::pair<int, int>> leftPresses_;      // scene positions, since the last checkpoint
    std::vector<std::pair<int, int>> recentAdds_;    // for aiming middle presses
    int plainLeftPresses_ = 0, dismissals_ = 0;     // since the last checkpoint
    int deleteChoices_ = 0, selectChoices_ = 0;      // since the last checkpoint
    bool mayBeArmed_ = false;                        // a Select and Move Point choice not yet used up
    std::size_t cursor_ = 0;                         // output lines checked so far
    int barriers_ = 0;
    int lastCount_ = 0;
    FileStamp saved_;  // points.txt as the last save left it

    int saves_ = 0, checkpoints_ = 0, maxCount_ = 0;
    int commandCounts_[3] = {0, 0, 0};  // New, Load, Save that reached the editor
};

TEST_F(RandomInput, SeededEventsKeepTheEditorAliveAndItsCountConsistent)
{
    ASSERT_FALSE(HasFailure());
    run();
    std::vector<std::string> all = editor_->lines();
    int added = 0, selected = 0, deleted = 0, limit = 0, empty = 0;
    for (const std::string& l : all) {
        added += std::regex_match(l, ADDED);
        deleted += std::regex_match(l, DELETED);
        selected += std::regex_match(l, SELECTED);
        limit += l == LIMIT;
        empty += l == NOTHING_TO_DELETE;
    }
    std::cout << "[ random ] " << events_ << " events, " << checkpoints_ << " checkpoints, " << saves_
              << " saves, largest saved count " << maxCount_ << "; commands: " << commandCounts_[0] << " New, "
              << commandCounts_[1] << " Load, " << commandCounts_[2] << " Save; lines: " << added << " added, " << deleted
              << " deleted, " << selected << " selected, " << limit << " limit, " << empty << " nothing to delete\n";
}

}  // namespace
