// The point file through the panel's Load and Save buttons and the keys L,
// S and N: a missing file, a malformed file, a directory in the way and a
// working directory that has gone all leave the editor running with its
// points and say so in one line; a saved set comes back as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

    std::string exactLineAfter(const Rect& button, const std::string& text)
    {
        return oneLineAfter(button, [&](const std::string& l) { return l == text; }, "\"" + text + "\"");
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

    std::vector<std::string> workDirEntries() const
    {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(workDir(), ec))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    Image placed_;
};

// ---------------------------------------------------------------- loading

TEST_F(PointFile, LoadWithoutAFileSaysSoAndKeepsThePoints)
{
    placeTwoPoints();
    exactLineAfter(LOAD_BUTTON, "No file to load from :))");
    expectTwoPointsKept();
    EXPECT_EQ(saveWithButton(), TWO_POINTS);
    ASSERT_TRUE(addPointAt(3, 0, -100));
}

// Which files are refused, and why, is the unit tests' (PointFileTest); here
// is one refusal as its user sees it.
TEST_F(PointFile, MalformedFileIsRefusedWithOneLineAndChangesNothing)
{
    placeTwoPoints();
    const std::string text = "3\n5 5 9\n6 6 9\n";  // fewer points than the count
    writePointsText(text);
    std::string line = oneLineAfter(
        LOAD_BUTTON, [](const std::string& l) { return l.rfind("Invalid point file: ", 0) == 0; },
        "starting \"Invalid point file: \"");
    EXPECT_GT(line.size(), std::string("Invalid point file: ").size()) << "no reason given";
    EXPECT_EQ(readPointsFile(), text) << "loading changed the file";
    expectTwoPointsKept();
    EXPECT_EQ(saveWithButton(), TWO_POINTS) << "a refused file changed the point set";
}

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

TEST_F(PointFile, DirectoryInTheWayFailsTheSaveWithOneLineAndKeepsEverything)
{
    placeTwoPoints();
    fs::create_directory(workFile("points.txt"));
    writeFile(workFile("points.txt/inside"), "untouched\n");

    std::string line = oneLineAfter(
        SAVE_BUTTON, [](const std::string& l) { return l.rfind("Could not save the point set, ", 0) == 0; },
        "starting \"Could not save the point set, \"");
    EXPECT_GT(line.size(), std::string("Could not save the point set, ").size()) << "no reason given";
    EXPECT_TRUE(fs::is_directory(workFile("points.txt"))) << "the directory was replaced";
    EXPECT_EQ(readFile(workFile("points.txt/inside")), "untouched\n");
    EXPECT_EQ(workDirEntries(), std::vector<std::string>{"points.txt"}) << "a temporary file was left behind";
    expectTwoPointsKept();

    // Once the way is clear, the same points are saved.
    fs::remove_all(workFile("points.txt"));
    EXPECT_EQ(saveWithButton(), TWO_POINTS);
}

TEST_F(PointFile, SaveWhereNoFileCanBeCreatedSaysSoAndKeepsThePoints)
{
    placeTwoPoints();
    // The editor's working directory goes away: no file can be created in it.
    ASSERT_EQ(::rmdir(workDir().c_str()), 0) << "cannot remove " << workDir();
    exactLineAfter(SAVE_BUTTON, "No file to save to :))");
    expectTwoPointsKept();
    exactLineAfter(LOAD_BUTTON, "No file to load from :))");
    ASSERT_TRUE(addPointAt(3, 0, -100)) << "the points were not kept";
    // Put the directory back for the fixture's clean-up.
    ::mkdir(workDir().c_str(), 0700);
}

}  // namespace
