// The point file through the panel's Load and Save buttons: a missing file,
// malformed files, a directory in the way and a working directory that has
// gone all leave the editor running with its points and say so in one line;
// a save replaces points.txt whole and leaves nothing else behind.
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

TEST_F(PointFile, MalformedFilesAreRefusedWithOneLineAndChangeNothing)
{
    placeTwoPoints();
    struct Case {
        const char* what;
        std::string text;
    };
    std::string twentyOne = "21\n";
    for (int i = 0; i < 21; ++i)
        twentyOne += std::to_string(i * 10) + " 0 10\n";
    const Case cases[] = {
        {"an empty file", ""},
        {"only white space", " \n\t\n"},
        {"a count that is no number", "two\n1 2 10\n3 4 10\n"},
        {"a fractional count", "1.5\n1 2 10\n"},
        {"a negative count", "-1\n"},
        {"more than 20 points", twentyOne},
        {"fewer points than the count", "3\n5 5 9\n6 6 9\n"},
        {"a value that is no number", "2\n5 5 9\n6 y 9\n"},
        {"a value with trailing letters", "1\n5 5 9px\n"},
        {"a value that is not finite", "1\nnan 5 9\n"},
        {"an infinite value", "1\n5 inf 9\n"},
        {"a value too large for a float", "1\n1e999 5 9\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writePointsText(c.text);
        std::string line = oneLineAfter(
            LOAD_BUTTON, [](const std::string& l) { return l.rfind("Invalid point file: ", 0) == 0; },
            "starting \"Invalid point file: \"");
        EXPECT_GT(line.size(), std::string("Invalid point file: ").size()) << "no reason given";
        EXPECT_EQ(readPointsFile(), c.text) << "loading changed the file";
    }
    // A directory in place of the file is refused the same way.
    fs::remove(workFile("points.txt"));
    fs::create_directory(workFile("points.txt"));
    oneLineAfter(
        LOAD_BUTTON, [](const std::string& l) { return l.rfind("Invalid point file: ", 0) == 0; },
        "starting \"Invalid point file: \" for a directory");
    fs::remove(workFile("points.txt"));

    expectTwoPointsKept();
    EXPECT_EQ(saveWithButton(), TWO_POINTS) << "a refused file changed the point set";
}

TEST_F(PointFile, LoadAcceptsAnySpacingAndKeepsTheSpinnerSize)
{
    writePointsText("2\t100\n 100 \n10\n\n-50.5\t20.25   12");
    clickControl(LOAD_BUTTON);
    Image img = waitForDrawing([](const Image& i) {
        return i.shows(scenePixel(100, 100), POINTS_COLOURS[0]) && i.shows(scenePixel(-50, 20), POINTS_COLOURS[0]);
    });
    EXPECT_PIXEL(img, scenePixel(25, 60), LINES_COLOURS[0]);
    EXPECT_TRUE(editor_->unconsumedLines().empty()) << "loading printed " << editor_->unconsumedLines().front();
    // The spinner still gives 10 to the next point, whatever sizes were loaded.
    ASSERT_TRUE(addPointAt(3, 0, -100));
    EXPECT_EQ(saveWithButton(), "3\n"
                                 "100.000000 100.000000 10.000000\n"
                                 "-50.500000 20.250000 12.000000\n"
                                 "0.000000 -100.000000 10.000000\n");
    EXPECT_EQ(spinnerValue(capturePanel()), 10);
}

// ---------------------------------------------------------------- saving

TEST_F(PointFile, SaveReplacesTheOldFileWholeAndLeavesNothingElse)
{
    writePoints({{1, 2, 8}, {3, 4, 9}, {5, 6, 10}, {7, 8, 11}, {9, 10, 12}});
    placeTwoPoints();
    EXPECT_EQ(saveWithButton(), TWO_POINTS);
    EXPECT_EQ(workDirEntries(), std::vector<std::string>{"points.txt"}) << "a temporary file was left behind";
    EXPECT_TRUE(editor_->unconsumedLines().empty()) << "saving printed " << editor_->unconsumedLines().front();

    // An empty set is saved as one line holding 0.
    clickControl(NEW_BUTTON);
    EXPECT_EQ(saveWithButton(), "0\n");
    EXPECT_EQ(workDirEntries(), std::vector<std::string>{"points.txt"});
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
