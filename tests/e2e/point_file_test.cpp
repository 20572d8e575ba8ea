// The point file through the panel's Load and Save buttons and the keys L,
// S and N: a missing file, a malformed file, a directory in the way and a
// working directory that has gone all leave the editor running with its
// points and say so in one line; a saved set comes back as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "panel_helpers.h"

using namespace e2e;
using namespace e2e::panel;

namespace fs = std::filesystem;

namespace {

class PointFile : public PanelFixture {
protected:
    // Two points placed with real clicks, and what the drawing shows then.
    void placeTwoPoints()
    {
        ASSERT_TRUE(addPointAt(1, 100, 100));
        ASSERT_TRUE(addPointAt(2, -50, 20));
        placed_ = waitForDrawing([](const Image& i) {
            return i.shows(scenePixel(100, 100), POINTS_COLOURS[0]) && i.shows(scenePixel(-50, 20), POINTS_COLOURS[0]) &&
                   i.shows(scenePixel(25, 60), LINES_COLOURS[0]);
        });
    }

    static constexpr const char* TWO_POINTS = "2\n"
                                              "100.000000 100.000000 10.000000\n"
                                              "-50.000000 20.000000 10.000000\n";

    // Clicks `button` and expects exactly one new line of output that
    // `match` accepts; returns it.
    std::string oneLineAfter(const Rect& button, const std::function<bool(const std::string&)>& match,
                             const std::string& what)
    {
        editor_->markAllConsumed();
        const std::size_t start = editor_->lines().size();
        clickControl(button);
        auto line = editor_->waitForLine(match, 5s);
        EXPECT_TRUE(line) << "no line " << what << "; output:\n" << editor_->transcript();
        // Nothing else before it; expectTwoPointsKept() checks that nothing
        // follows it either.
        std::vector<std::string> all = editor_->lines();
        EXPECT_EQ(all.size(), start + 1) << "expected one line, got:\n" << editor_->transcript();
        EXPECT_TRUE(editor_->isRunning()) << "the editor ended";
        return line.value_or("");
    }

    // The drawing still shows exactly the two placed points, and a later
    // action still works on them.
    void expectTwoPointsKept()
    {
        switchSchemaTo(1);
        switchSchemaTo(0);
        Image back = waitForDrawing([&](const Image& i) { return sameImage(i, placed_); });
        EXPECT_TRUE(imagesEqual(back, placed_)) << "the drawing changed";
        EXPECT_TRUE(editor_->unconsumedLines().empty())
            << "unexpected output: " << editor_->unconsumedLines().front();
    }

    Image placed_;
};

// ---------------------------------------------------------------- refusals

// What a Load or Save cannot do, and the line that says so (the start of it
// when it ends in a space: the reason follows). Which files are refused, and
// why, is the unit tests' (PointFileTest); here is each message as its user
// sees it.
enum class Obstacle { NoFile, MalformedFile, DirectoryInTheWay, NoWorkingDirectory };
struct Refusal {
    const char* name;
    Obstacle obstacle;
    const Rect& button;
    const char* line;
};
const Refusal REFUSALS[] = {
    {"LoadWithoutAFile", Obstacle::NoFile, LOAD_BUTTON, "No file to load from :))"},
    {"LoadOfAMalformedFile", Obstacle::MalformedFile, LOAD_BUTTON, "Invalid point file: "},
    {"SaveOntoADirectory", Obstacle::DirectoryInTheWay, SAVE_BUTTON, "Could not save the point set, "},
    {"SaveWhereNoFileCanBeCreated", Obstacle::NoWorkingDirectory, SAVE_BUTTON, "No file to save to :))"},
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class Refused : public PointFile, public ::testing::WithParamInterface<Refusal> {};

TEST_P(Refused, SaysWhyInOneLineAndKeepsThePoints)
{
    const Refusal& r = GetParam();
    const std::string malformed = "3\n5 5 9\n6 6 9\n";  // fewer points than the count
    placeTwoPoints();
    if (r.obstacle == Obstacle::MalformedFile)
        writePointsText(malformed);
    if (r.obstacle == Obstacle::DirectoryInTheWay)
        fs::create_directory(workFile("points.txt"));
    // The editor's working directory goes away: no file can be created in it.
    if (r.obstacle == Obstacle::NoWorkingDirectory) {
        ASSERT_EQ(::rmdir(workDir().c_str()), 0) << "cannot remove " << workDir();
    }

    const std::string expected = r.line;
    const bool reasonFollows = expected.back() == ' ';
    const std::string line = oneLineAfter(
        r.button, [&](const std::string& l) { return reasonFollows ? l.rfind(expected, 0) == 0 : l == expected; },
        "\"" + expected + "\"");
    EXPECT_TRUE(!reasonFollows || line.size() > expected.size()) << "no reason given";
    expectTwoPointsKept();

    if (r.obstacle == Obstacle::MalformedFile) {
        EXPECT_EQ(readPointsFile(), malformed) << "loading changed the file";
    }
    EXPECT_TRUE(addPointAt(3, 0, -100)) << "the set no longer holds its two points";
    // Put the directory back for the fixture's clean-up.
    if (r.obstacle == Obstacle::NoWorkingDirectory)
        ::mkdir(workDir().c_str(), 0700);
}

INSTANTIATE_TEST_SUITE_P(LoadAndSave, Refused, ::testing::ValuesIn(REFUSALS),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- saving and loading back

// Save, New and Load, by their buttons and by their keys S, N and L: the set
// saved comes back drawn as it was, and numbering goes on from it.
TEST_F(PointFile, SavedSetComesBackByTheButtonsAndByTheKeys)
{
    auto white = [](const Image& i) { return i.allNear(WHITE, 0); };
    placeTwoPoints();
    EXPECT_EQ(saveWithButton(), TWO_POINTS);
    pressKey('N');
    EXPECT_TRUE(waitForDrawing(white).allNear(WHITE, 0)) << "N left something drawn";
    ASSERT_TRUE(addPointAt(1, 0, -100)) << "N did not empty the set";
    pressKey('L');
    EXPECT_TRUE(imagesEqual(waitForDrawing([&](const Image& i) { return sameImage(i, placed_); }), placed_))
        << "L did not bring the saved set back as it was drawn";
    ASSERT_TRUE(addPointAt(3, 0, -100)) << "the loaded set does not hold two points";
    const Image three = waitForDrawing([](const Image& i) { return i.shows(scenePixel(0, -100), POINTS_COLOURS[0]); });

    EXPECT_EQ(saveBy([&] { pressKey('S'); }), std::string("3\n") + (TWO_POINTS + 2) + "0.000000 -100.000000 10.000000\n");
    clickControl(NEW_BUTTON);
    EXPECT_TRUE(waitForDrawing(white).allNear(WHITE, 0)) << "\"New Point Set(N)\" left something drawn";
    ASSERT_TRUE(addPointAt(1, 200, 200)) << "\"New Point Set(N)\" did not empty the set";
    clickControl(LOAD_BUTTON);
    EXPECT_TRUE(imagesEqual(waitForDrawing([&](const Image& i) { return sameImage(i, three); }), three))
        << "\"Load Point Set(L)\" did not bring the saved set back as it was drawn";
    ASSERT_TRUE(addPointAt(4, -200, -200)) << "the loaded set does not hold three points";
}

}  // namespace
