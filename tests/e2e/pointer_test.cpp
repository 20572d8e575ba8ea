// Pointer input in the drawing window: left clicks add points, the right-button
// menu deletes the last point or arms select-and-move, the middle button picks
// and drags a point. Every action is real XTest input; results are read from
// standard output, the pixels of the drawing and the saved point file. Which
// point a press picks, what an unarmed or missed press does and that a
// release disarms are the unit tests' (PickTest, SelectMoveTest).
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
    x_->click(drawing_, 320, 240, 1);
    EXPECT_TRUE(editor_->waitForLine("Point 2 added to x:0 y:0 ")) << editor_->transcript();
    EXPECT_EQ(editor_->lines().size(), 2u) << editor_->transcript();

    // Each point is drawn where it was clicked: a point centred on a pixel
    // corner covers the pixels on both sides of it.
    Image img = waitForDrawing([](const Image& i) {
        return i.shows({420, 140}, POINTS_COLOURS[0]) && i.shows({320, 240}, POINTS_COLOURS[0]);
    });
    for (Pixel p : {Pixel{420, 140}, Pixel{419, 139}, Pixel{320, 240}, Pixel{319, 239}})
        EXPECT_PIXEL(img, p, POINTS_COLOURS[0]);

    // Saved as whole numbers with the default size.
    EXPECT_EQ(saveAndRead(), (std::vector<std::string>{"2", pointLine({100, 100}), pointLine({0, 0})}));
}

// ---------------------------------------------------------------- menu: Delete Point

TEST_F(Pointer, DeletePointRemovesTheLastPointDownToAnEmptySet)
{
    ASSERT_TRUE(addPointAt(1, -200, 0));
    ASSERT_TRUE(addPointAt(2, 0, 150));
    waitForDrawing([&](const Image& i) { return i.shows(scenePixel(0, 150), POINTS_COLOURS[0]); });

    // The menu's left click adds nothing; only the deletion is reported.
    std::size_t before = editor_->lines().size();
    menu(MENU_DELETE_POINT);
    ASSERT_TRUE(editor_->waitForLine("Point 2 deleted!")) << editor_->transcript();
    Image img = waitForDrawing([&](const Image& i) { return i.shows(scenePixel(0, 150), WHITE); });
    EXPECT_PIXEL(img, scenePixel(0, 150), WHITE) << "the deleted point is still drawn";
    EXPECT_PIXEL(img, scenePixel(-200, 0), POINTS_COLOURS[0]) << "point 1 vanished";

    menu(MENU_DELETE_POINT);
    ASSERT_TRUE(editor_->waitForLine("Point 1 deleted!")) << editor_->transcript();
    EXPECT_TRUE(waitForDrawing([](const Image& i) { return i.allNear(WHITE, 0); }).allNear(WHITE, 0));
    menu(MENU_DELETE_POINT);
    ASSERT_TRUE(editor_->waitForLine("No points to delete!")) << editor_->transcript();
    EXPECT_EQ(linesSince(before), (std::vector<std::string>{"Point 2 deleted!", "Point 1 deleted!", "No points to delete!"}));
}

// ---------------------------------------------------------------- middle button: select and move

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

    std::vector<std::string> file = saveAndRead();
    EXPECT_EQ(file, (std::vector<std::string>{"3", pointLine({-200, -100}), pointLine({0, -60}), pointLine({200, -150})}))
        << "only point 2 moves, its size stays";
}

}  // namespace
