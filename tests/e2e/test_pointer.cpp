// Pointer input in the drawing window: left clicks add points, the right-button
// menu deletes the last point or arms select-and-move, the middle button picks
// and drags a point. Every action is real XTest input; results are read from
// standard output, the pixels of the drawing and the saved point file.
#include <algorithm>
#include <string>
#include <vector>

#include "harness_gtest.h"

using namespace e2e;

namespace {

// Where the pop-up menu is opened: low and right, clear of the points the
// tests place.
constexpr int MENU_X = 520;
constexpr int MENU_Y = 330;

// Half the side of the box around a point's centre that holds its disc
// (size 10) but not its number, which starts 10 units higher.
constexpr int DISC_BOX = 8;

// Which pixels of the box around `centre` show the points colour.
std::vector<bool> discMask(const Image& img, Pixel centre)
{
    std::vector<bool> mask;
    for (int dy = -DISC_BOX; dy <= DISC_BOX; ++dy)
        for (int dx = -DISC_BOX; dx <= DISC_BOX; ++dx) {
            int x = centre.x + dx, y = centre.y + dy;
            mask.push_back(img.shows({x, y}, POINTS_COLOURS[0]));
        }
    return mask;
}

int countSet(const std::vector<bool>& mask)
{
    int n = 0;
    for (bool b : mask)
        n += b;
    return n;
}

class Pointer : public EditorTest {
protected:
    void menu(int entry) { x_->selectMenuEntry(drawing_, MENU_X, MENU_Y, entry); }

    void middlePressAt(int x, int y)
    {
        Pixel p = scenePixel(x, y);
        x_->movePointer(drawing_, p.x, p.y);
        x_->press(MIDDLE_BUTTON);
    }
    void middleMoveTo(int x, int y)
    {
        Pixel p = scenePixel(x, y);
        x_->movePointer(drawing_, p.x, p.y);
    }
    void middleClickAt(int x, int y)
    {
        middlePressAt(x, y);
        x_->release(MIDDLE_BUTTON);
    }

    // Output lines from index `from` on.
    std::vector<std::string> linesSince(std::size_t from) const
    {
        std::vector<std::string> all = editor_->lines();
        return std::vector<std::string>(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
    }

    // Presses S and returns the lines it saved.
    std::vector<std::string> saveAndRead()
    {
        return splitLines(saveBy([&] { pressKey('S'); }));
    }

    // Waits until the disc of a size-10 point stands at scene (x, y) with
    // exactly the pixels of `reference`, and `away` (if any) shows no point.
    ::testing::AssertionResult discAt(int x, int y, const std::vector<bool>& reference, const char* what)
    {
        Pixel c = scenePixel(x, y);
        Image img = waitForDrawing([&](const Image& i) { return discMask(i, c) == reference; });
        if (discMask(img, c) == reference)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << what << ": the point's disc is not centred at scene (" << x << ", "
                                             << y << "); " << countSet(discMask(img, c)) << " of "
                                             << countSet(reference) << " disc pixels there";
    }
};

// ---------------------------------------------------------------- left button

TEST_F(Pointer, LeftClicksAddPointsAtTheirScenePositions)
{
    // The documented example: pixel (420, 140) is scene (100, 100).
    x_->click(drawing_, 420, 140, 1);
    auto first = editor_->waitForLine([](const std::string&) { return true; });
    ASSERT_TRUE(first) << editor_->transcript();
    EXPECT_EQ(*first, "Point 1 added to x:100 y:100 ");

    // The corner pixels.
    x_->click(drawing_, 0, 0, 1);
    EXPECT_TRUE(editor_->waitForLine("Point 2 added to x:-320 y:240 ")) << editor_->transcript();
    x_->click(drawing_, 639, 479, 1);
    EXPECT_TRUE(editor_->waitForLine("Point 3 added to x:319 y:-239 ")) << editor_->transcript();
    x_->click(drawing_, 320, 240, 1);
    EXPECT_TRUE(editor_->waitForLine("Point 4 added to x:0 y:0 ")) << editor_->transcript();
    EXPECT_EQ(editor_->lines().size(), 4u) << editor_->transcript();

    // Each point is drawn where it was clicked: a point centred on a pixel
    // corner covers the pixels on both sides of it.
    Image img = waitForDrawing([](const Image& i) {
        return i.shows({420, 140}, POINTS_COLOURS[0]) && i.shows({0, 0}, POINTS_COLOURS[0]) &&
               i.shows({639, 479}, POINTS_COLOURS[0]) && i.shows({320, 240}, POINTS_COLOURS[0]);
    });
    for (Pixel p : {Pixel{420, 140}, Pixel{419, 139}, Pixel{0, 0}, Pixel{639, 479}, Pixel{638, 478},
                    Pixel{320, 240}, Pixel{319, 239}})
        EXPECT_PIXEL(img, p, POINTS_COLOURS[0]);

    // Saved as whole numbers with the default size.
    std::vector<std::string> file = saveAndRead();
    EXPECT_EQ(file, (std::vector<std::string>{"4", pointLine({100, 100}), pointLine({-320, 240}), pointLine({319, -239}),
                                              pointLine({0, 0})}));
}

TEST_F(Pointer, TwentyFirstClickReachesTheLimit)
{
    // Twenty points on one row (a flat polygon, nothing filled), then one more above.
    for (int i = 0; i < 20; ++i) {
        int x = -240 + 25 * i;
        ASSERT_TRUE(addPointAt(i + 1, x, -200));
    }
    std::size_t before = editor_->lines().size();
    EXPECT_TRUE(clickInDrawing(scenePixel(0, 150), "Number of points limit reached!"));
    EXPECT_EQ(linesSince(before), std::vector<std::string>{"Number of points limit reached!"});

    std::vector<std::string> file = saveAndRead();
    ASSERT_EQ(file.size(), 21u);
    EXPECT_EQ(file[0], "20");
    EXPECT_EQ(file[20], pointLine({235, -200}));
    // The save may be handled before the frame with point 20 is on screen.
    Image img = waitForDrawing([](const Image& i) { return i.shows(scenePixel(235, -200), POINTS_COLOURS[0]); });
    EXPECT_EQ(img.count(POINTS_COLOURS[0], scenePixel(0, 150).x - 20, scenePixel(0, 150).y - 30, 40, 50), 0)
        << "the refused 21st point is drawn";
    EXPECT_PIXEL(img, scenePixel(235, -200), POINTS_COLOURS[0]);
}

// ---------------------------------------------------------------- menu: Delete Point

TEST_F(Pointer, DeletePointRemovesTheLastPointDownToAnEmptySet)
{
    const int xs[] = {-200, 0, 0}, ys[] = {0, 0, 150};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(addPointAt(i + 1, xs[i], ys[i]));
    waitForDrawing([&](const Image& i) { return i.shows(scenePixel(0, 150), POINTS_COLOURS[0]); });

    for (int n = 3; n >= 1; --n) {
        SCOPED_TRACE("deleting point " + std::to_string(n));
        std::size_t before = editor_->lines().size();
        menu(MENU_DELETE_POINT);
        const std::string expected = "Point " + std::to_string(n) + " deleted!";
        ASSERT_TRUE(editor_->waitForLine(expected)) << editor_->transcript();
        // The menu's left click adds nothing; only the deletion is reported.
        EXPECT_EQ(linesSince(before), std::vector<std::string>{expected});
        Pixel gone = scenePixel(xs[n - 1], ys[n - 1]);
        Image img = waitForDrawing([&](const Image& i) { return i.shows(gone, WHITE); });
        EXPECT_PIXEL(img, gone, WHITE) << "the deleted point is still drawn";
        for (int k = 0; k < n - 1; ++k)
            EXPECT_PIXEL(img, scenePixel(xs[k], ys[k]), POINTS_COLOURS[0]) << "point " << k + 1 << " vanished";
    }
    EXPECT_TRUE(captureDrawing().allNear(WHITE, 0));

    std::size_t before = editor_->lines().size();
    menu(MENU_DELETE_POINT);
    ASSERT_TRUE(editor_->waitForLine("No points to delete!")) << editor_->transcript();
    menu(MENU_DELETE_POINT);
    ASSERT_TRUE(editor_->waitForLine("No points to delete!")) << editor_->transcript();
    EXPECT_EQ(linesSince(before), (std::vector<std::string>{"No points to delete!", "No points to delete!"}));

    // Numbering starts again at 1.
    EXPECT_TRUE(addPointAt(1, 50, 50));
}

// ---------------------------------------------------------------- middle button: select and move

TEST_F(Pointer, MiddleButtonDoesNothingUntilArmed)
{
    ASSERT_TRUE(addPointAt(1, -100, 0));
    ASSERT_TRUE(addPointAt(2, 100, 0));
    Image before = waitForDrawing([](const Image& i) { return i.shows(scenePixel(100, 0), POINTS_COLOURS[0]); });

    // A click and a drag with the middle button, right on point 2.
    std::size_t count = editor_->lines().size();
    middleClickAt(100, 0);
    middlePressAt(101, 1);
    middleMoveTo(0, 100);
    middleMoveTo(-50, 150);
    x_->release(MIDDLE_BUTTON);
    // A left click marks the end: everything before it has been handled.
    ASSERT_TRUE(addPointAt(3, 0, -150));
    EXPECT_EQ(linesSince(count), std::vector<std::string>{addedLine(3, 0, -150)});

    std::vector<std::string> file = saveAndRead();
    EXPECT_EQ(file, (std::vector<std::string>{"3", pointLine({-100, 0}), pointLine({100, 0}), pointLine({0, -150})}))
        << "a middle drag without arming moved a point";
    Image img = captureDrawing();
    EXPECT_EQ(discMask(img, scenePixel(100, 0)), discMask(before, scenePixel(100, 0)));
    EXPECT_EQ(img.count(POINTS_COLOURS[0], scenePixel(-50, 150).x - 10, scenePixel(-50, 150).y - 10, 21, 21), 0);
}

TEST_F(Pointer, ArmedMiddlePressPicksAPointThatThenFollowsThePointer)
{
    ASSERT_TRUE(addPointAt(1, -200, -100));
    ASSERT_TRUE(addPointAt(2, 100, 50));
    ASSERT_TRUE(addPointAt(3, 200, -150));
    Image start = waitForDrawing([](const Image& i) { return i.shows(scenePixel(200, -150), POINTS_COLOURS[0]); });
    const std::vector<bool> disc = discMask(start, scenePixel(100, 50));
    ASSERT_GT(countSet(disc), 50) << "no disc at point 2";
    ASSERT_LT(countSet(disc), 110);

    menu(MENU_SELECT_AND_MOVE);
    // A left click while armed adds a point as always and leaves the arming alone.
    ASSERT_TRUE(addPointAt(4, -250, 150));

    std::size_t count = editor_->lines().size();
    middlePressAt(103, 48);  // 3 units right of point 2, 2 below
    ASSERT_TRUE(editor_->waitForLine("Selected Point: 2")) << editor_->transcript();
    EXPECT_EQ(linesSince(count), std::vector<std::string>{"Selected Point: 2"});

    // The centre jumps to the pointer (no offset kept from the press) and follows it.
    const int path[][2] = {{60, 80}, {-40, 120}, {-120, -20}, {0, -60}};
    for (const auto& at : path) {
        middleMoveTo(at[0], at[1]);
        EXPECT_TRUE(discAt(at[0], at[1], disc, "while dragging"));
        Image img = captureDrawing();
        EXPECT_EQ(img.count(POINTS_COLOURS[0], scenePixel(100, 50).x - DISC_BOX, scenePixel(100, 50).y - DISC_BOX,
                            2 * DISC_BOX + 1, 2 * DISC_BOX + 1),
                  0)
            << "point 2 is still drawn where it was picked";
        EXPECT_TRUE(textAt(img, at[0], at[1] + 10, "2", POINTS_COLOURS[0])) << "its number does not follow it";
    }
    x_->release(MIDDLE_BUTTON);
    // Released: moving the pointer on leaves the point where it was dropped.
    middleMoveTo(150, 150);
    middleMoveTo(-150, -150);
    EXPECT_TRUE(discAt(0, -60, disc, "after the release"));

    // Disarmed by the release: the next middle press picks nothing and drags nothing.
    middlePressAt(0, -60);
    middleMoveTo(50, -100);
    x_->release(MIDDLE_BUTTON);
    ASSERT_TRUE(addPointAt(5, -300, -220));  // marks the end of the above
    EXPECT_EQ(linesSince(count), (std::vector<std::string>{"Selected Point: 2", addedLine(5, -300, -220)}));
    EXPECT_TRUE(discAt(0, -60, disc, "after a middle press that was not armed"));

    // Armed again, the same point can be picked and dragged once more.
    menu(MENU_SELECT_AND_MOVE);
    middlePressAt(0, -60);
    ASSERT_TRUE(editor_->waitForLine("Selected Point: 2")) << editor_->transcript();
    middleMoveTo(30, 30);
    EXPECT_TRUE(discAt(30, 30, disc, "second drag"));
    x_->release(MIDDLE_BUTTON);

    std::vector<std::string> file = saveAndRead();
    EXPECT_EQ(file, (std::vector<std::string>{"5", pointLine({-200, -100}), pointLine({30, 30}), pointLine({200, -150}),
                                              pointLine({-250, 150}), pointLine({-300, -220})}))
        << "only point 2 moves, its size stays";
}

TEST_F(Pointer, MissedPickPrintsNothingAndStillDisarms)
{
    ASSERT_TRUE(addPointAt(1, 0, 0));
    std::size_t count = editor_->lines().size();
    menu(MENU_SELECT_AND_MOVE);
    middleClickAt(100, 100);  // empty space
    middleClickAt(0, 0);      // on point 1, but no longer armed
    middlePressAt(0, 0);      // ... nor may a drag move it
    middleMoveTo(80, -80);
    x_->release(MIDDLE_BUTTON);
    ASSERT_TRUE(addPointAt(2, -150, 100));
    EXPECT_EQ(linesSince(count), std::vector<std::string>{addedLine(2, -150, 100)});
    std::vector<std::string> file = saveAndRead();
    EXPECT_EQ(file, (std::vector<std::string>{"2", pointLine({0, 0}), pointLine({-150, 100})}));
}

TEST_F(Pointer, PickSquareReachesFiveUnitsButNotSix)
{
    // Point 1 alone at (0, 0); point 2 and 3 share a place farther off.
    ASSERT_TRUE(addPointAt(1, 0, 0));
    ASSERT_TRUE(addPointAt(2, 150, 100));
    ASSERT_TRUE(addPointAt(3, 150, 100));

    struct Probe {
        int dx, dy;
        bool picks;
    };
    const Probe probes[] = {{6, 0, false},  {-6, 0, false}, {0, 6, false},  {0, -6, false}, {6, 6, false},
                            {5, 0, true},   {-5, 0, true},  {0, 5, true},   {0, -5, true},  {5, 5, true},
                            {-5, -5, true}, {5, -6, false}, {-6, 5, false}, {-5, 5, true}};
    for (const Probe& p : probes) {
        SCOPED_TRACE("press at (" + std::to_string(p.dx) + ", " + std::to_string(p.dy) + ") from point 1");
        std::size_t count = editor_->lines().size();
        menu(MENU_SELECT_AND_MOVE);
        middleClickAt(p.dx, p.dy);
        // A sure pick marks the end of the probe.
        menu(MENU_SELECT_AND_MOVE);
        middleClickAt(150, 103);
        ASSERT_TRUE(editor_->waitForLine("Selected Point: 2")) << "where two points overlap the lower number wins\n"
                                                                 << editor_->transcript();
        std::vector<std::string> expected;
        if (p.picks)
            expected.push_back("Selected Point: 1");
        expected.push_back("Selected Point: 2");
        EXPECT_EQ(linesSince(count), expected);
    }
    // Clicks without motion moved nothing.
    std::vector<std::string> file = saveAndRead();
    EXPECT_EQ(file, (std::vector<std::string>{"3", pointLine({0, 0}), pointLine({150, 100}), pointLine({150, 100})}));
}

TEST_F(Pointer, DraggingPastTheWindowEdgePlacesThePointOutsideTheView)
{
    ASSERT_TRUE(addPointAt(1, -100, 50));
    ASSERT_TRUE(addPointAt(2, 100, -50));
    const Geometry g = x_->geometry(drawing_);

    // Point 1 beyond the top-left corner: root (40, 60) is window (-60, -40),
    // scene (-380, 280).
    menu(MENU_SELECT_AND_MOVE);
    middlePressAt(-100, 50);
    ASSERT_TRUE(editor_->waitForLine("Selected Point: 1")) << editor_->transcript();
    middleMoveTo(-300, 200);
    x_->movePointer(g.x - 60, g.y - 40);
    x_->release(MIDDLE_BUTTON);

    // Point 2 beyond the bottom-right corner: window (700, 530), scene (380, -290).
    menu(MENU_SELECT_AND_MOVE);
    middlePressAt(100, -50);
    ASSERT_TRUE(editor_->waitForLine("Selected Point: 2")) << editor_->transcript();
    middleMoveTo(300, -200);
    x_->movePointer(g.x + 700, g.y + 530);
    x_->release(MIDDLE_BUTTON);

    // The edge between them still crosses the view; the points and their numbers do not.
    Image img = waitForDrawing([](const Image& i) { return i.count(POINTS_COLOURS[0]) == 0; });
    EXPECT_EQ(img.count(POINTS_COLOURS[0]), 0) << "a point dragged out of the view is still drawn";
    EXPECT_PIXEL(img, scenePixel(0, -5), LINES_COLOURS[0]);  // the middle of that edge
    std::vector<std::string> file = saveAndRead();
    EXPECT_EQ(file, (std::vector<std::string>{"2", pointLine({-380, 280}), pointLine({380, -290})}));
}

}  // namespace
