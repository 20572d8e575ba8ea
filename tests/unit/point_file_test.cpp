// The point file on every platform: its format, loading and its refusals,
// and a save that fails without harm.
#include "point_file_fixture.h"

namespace {

// The second save replaces the file of the first, which a plain rename does
// not do on Windows.
TEST_F(PointFileTest, SavesTheExactTextWithThePlatformsLineEndsAndReplacesTheOldFile)
{
    addTwoPoints();
    printed([] { addPoint(-0.5f, 1e10f, 8); });  // six decimals, never an exponent
    EXPECT_EQ(save(), "");
    EXPECT_EQ(readAll(POINTS_FILE), withLineEnds("3\n"
                                                 "100.000000 100.000000 10.000000\n"
                                                 "-50.000000 20.000000 12.000000\n"
                                                 "-0.500000 10000000000.000000 8.000000\n"));

    newPointSet(0);
    EXPECT_EQ(save(), "");
    EXPECT_EQ(readAll(POINTS_FILE), withLineEnds("0\n"));
    EXPECT_EQ(entries(), std::vector<std::string>{"points.txt"});  // no temporary left
}

TEST_F(PointFileTest, SaveNewLoadBringsBackTheSamePointsAndSizes)
{
    addTwoPoints();
    editor.pointSet.points[1].x = -50.125f;  // fractions survive six decimals
    savePointSet(0);
    newPointSet(0);
    editor.drawMode = static_cast<int>(DrawMode::TriangleStrip);
    editor.pointSize = 8;
    EXPECT_EQ(load(), "");
    ASSERT_EQ(editor.pointSet.pointCount, 2);
    EXPECT_EQ(editor.pointSet.points[0].x, 100.0f);
    EXPECT_EQ(editor.pointSet.points[1].x, -50.125f);
    EXPECT_EQ(editor.pointSet.points[1].y, 20.0f);
    EXPECT_EQ(editor.pointSet.points[1].size, 12.0f);
    EXPECT_EQ(editor.drawMode, static_cast<int>(DrawMode::TriangleStrip));  // nothing else is touched
    EXPECT_EQ(editor.pointSize, 8);
}

TEST_F(PointFileTest, AnyWhiteSpaceTrailingValuesAndAnyFiniteNumbersAreAccepted)
{
    // Lines ending in "\r\n" (a file from Windows) included.
    EXPECT_EQ(load("2\r\n100\t100\n\n10\r\n  -50 20\n\n12 999 garbage\n"), "");
    ASSERT_EQ(editor.pointSet.pointCount, 2);
    EXPECT_EQ(editor.pointSet.points[0].size, 10.0f);
    EXPECT_EQ(editor.pointSet.points[1].x, -50.0f);
    EXPECT_EQ(editor.pointSet.points[1].size, 12.0f);
    // Off-view coordinates and non-positive sizes are kept.
    EXPECT_EQ(load("1\n1e30 -4000.5 -3\n"), "");
    ASSERT_EQ(editor.pointSet.pointCount, 1);
    EXPECT_EQ(editor.pointSet.points[0].x, 1e30f);
    EXPECT_EQ(editor.pointSet.points[0].size, -3.0f);
    EXPECT_EQ(load("0\n"), "");
    EXPECT_EQ(editor.pointSet.pointCount, 0);
}

TEST_F(PointFileTest, MalformedFilesChangeNothingAndSayWhy)
{
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {"21\n", "Invalid point file: the point count must be from 0 to 20\n"},
        {"-1\n", "Invalid point file: the point count must be from 0 to 20\n"},
        {"99999999999999999999999\n", "Invalid point file: the point count must be from 0 to 20\n"},
        {"two\n1 2 3\n", "Invalid point file: the point count is not a whole number\n"},
        {"2.5\n", "Invalid point file: the point count is not a whole number\n"},
        {"", "Invalid point file: the file is empty\n"},
        {" \n\t\n", "Invalid point file: the file is empty\n"},
        {"3\n1 2 3\n4 5 6\n", "Invalid point file: the file ends before x of point 3 of 3\n"},
        {"2\n1 2 3\n4 5\n", "Invalid point file: the file ends before size of point 2 of 2\n"},
        {"2\n1 2 3\n4 five 6\n", "Invalid point file: y of point 2 is not a number\n"},
        {"1\n1.5abc 2 3\n", "Invalid point file: x of point 1 is not a number\n"},
        {"1\nnan 2 3\n", "Invalid point file: x of point 1 is not a finite number\n"},
        {"1\n1 inf 3\n", "Invalid point file: y of point 1 is not a finite number\n"},
        {"1\n1 2 1e999\n", "Invalid point file: size of point 1 is not a finite number\n"},
        {std::string("\x7f" "ELF\x02\x01\x00\x00", 8),
         "Invalid point file: the point count is not a whole number\n"},
        {std::string("1\n1 2\0\x01\xff 3\n", 12), "Invalid point file: y of point 1 is not a number\n"},
    };
    for (const auto& c : cases) {
        editor = EditorState{};
        addTwoPoints();
        editor.pointSet.points[2] = Point{7, 7, 7};  // a stale entry must stay stale
        EXPECT_EQ(load(c.text), c.message) << "file: " << c.text;
        EXPECT_EQ(editor.pointSet.pointCount, 2) << c.text;
        EXPECT_EQ(editor.pointSet.points[0].x, 100.0f) << c.text;
        EXPECT_EQ(editor.pointSet.points[1].size, 12.0f) << c.text;
        EXPECT_EQ(editor.pointSet.points[2].x, 7.0f) << c.text;
    }
}

TEST_F(PointFileTest, NoFileOrADirectoryKeepsTheSet)
{
    addTwoPoints();
    EXPECT_EQ(load(), "No file to load from :))\n");
    ASSERT_TRUE(std::filesystem::create_directory(POINTS_FILE));
    EXPECT_EQ(load(), "Invalid point file: points.txt is not a regular file\n");
    EXPECT_EQ(editor.pointSet.pointCount, 2);
}

TEST_F(PointFileTest, FailedReplaceKeepsTheSetAndLeavesNoTemporary)
{
    addTwoPoints();
    ASSERT_TRUE(std::filesystem::create_directory(POINTS_FILE));
    writeAll(std::string(POINTS_FILE) + "/inside", "old");
    const std::string out = save();
    EXPECT_EQ(out.rfind("Could not save the point set, cannot replace points.txt: ", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ(editor.pointSet.pointCount, 2);
    EXPECT_EQ(readAll(std::string(POINTS_FILE) + "/inside"), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"points.txt"});
}

}  // namespace
