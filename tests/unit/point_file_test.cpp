#include "editor/point_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>

#include "editor_fixture.h"

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeAll(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Runs each test inside a fresh temporary working directory, as the editor
// runs: the point file is always points.txt in the working directory.
class PointFileTest : public EditorStateTest {
protected:
    void SetUp() override
    {
        EditorStateTest::SetUp();
        char pattern[] = "/tmp/point-file-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }

    void TearDown() override
    {
        ASSERT_EQ(chdir(previous_), 0);
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }

    static std::vector<std::string> directoryEntries()
    {
        std::vector<std::string> names;
        DIR* d = opendir(".");
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(d);
        return names;
    }

    static void addTwoPoints()
    {
        printed([] {
            addPoint(100, 100, 10);
            addPoint(-50, 20, 12);
        });
    }

    // Loads `text` and returns what loading printed.
    static std::string load(const std::string& text)
    {
        writeAll(POINTS_FILE, text);
        return printed([] { loadPointSet(0); });
    }

    std::string dir_;
    char previous_[4096];
};

TEST_F(PointFileTest, SavesTheExactTextFormat)
{
    addTwoPoints();
    EXPECT_EQ(printed([] { savePointSet(0); }), "");
    EXPECT_EQ(readAll(POINTS_FILE),
              "2\n100.000000 100.000000 10.000000\n-50.000000 20.000000 12.000000\n");

    newPointSet(0);
    savePointSet(0);
    EXPECT_EQ(readAll(POINTS_FILE), "0\n");
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"points.txt"});  // no temporary left
}

TEST_F(PointFileTest, SaveNewLoadBringsBackTheSamePointsAndSizes)
{
    addTwoPoints();
    editor.pointSet.points[1].x = -50.125f;  // fractions survive six decimals
    savePointSet(0);
    newPointSet(0);
    editor.drawMode = static_cast<int>(DrawMode::TriangleStrip);
    editor.pointSize = 8;
    EXPECT_EQ(printed([] { loadPointSet(0); }), "");
    ASSERT_EQ(editor.pointSet.pointCount, 2);
    EXPECT_EQ(editor.pointSet.points[0].x, 100.0f);
    EXPECT_EQ(editor.pointSet.points[1].x, -50.125f);
    EXPECT_EQ(editor.pointSet.points[1].y, 20.0f);
    EXPECT_EQ(editor.pointSet.points[1].size, 12.0f);
    EXPECT_EQ(editor.drawMode, static_cast<int>(DrawMode::TriangleStrip));  // nothing else is touched
    EXPECT_EQ(editor.pointSize, 8);
}

TEST_F(PointFileTest, AnyWhiteSpaceAndTrailingValuesAreAccepted)
{
    EXPECT_EQ(load("2\t100\t100\n\n10\r\n  -50 20\n\n12 999 garbage\n"), "");
    ASSERT_EQ(editor.pointSet.pointCount, 2);
    EXPECT_EQ(editor.pointSet.points[0].size, 10.0f);
    EXPECT_EQ(editor.pointSet.points[1].x, -50.0f);
    EXPECT_EQ(editor.pointSet.points[1].size, 12.0f);
}

TEST_F(PointFileTest, OffViewCoordinatesAndNonPositiveSizesAreKept)
{
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

TEST_F(PointFileTest, BinaryBytesInsideAPointAreRejected)
{
    addTwoPoints();
    EXPECT_EQ(load(std::string("1\n1 2\0\x01\xff 3\n", 12)),
              "Invalid point file: y of point 1 is not a number\n");
    EXPECT_EQ(editor.pointSet.pointCount, 2);
}

TEST_F(PointFileTest, MissingFileKeepsTheSet)
{
    addTwoPoints();
    EXPECT_EQ(printed([] { loadPointSet(0); }), "No file to load from :))\n");
    EXPECT_EQ(editor.pointSet.pointCount, 2);
}

TEST_F(PointFileTest, OnlyARegularFileIsRead)
{
    addTwoPoints();
    ASSERT_EQ(mkdir(POINTS_FILE, 0755), 0);
    EXPECT_EQ(printed([] { loadPointSet(0); }),
              "Invalid point file: points.txt is not a regular file\n");
    ASSERT_EQ(rmdir(POINTS_FILE), 0);
    ASSERT_EQ(mkfifo(POINTS_FILE, 0644), 0);  // would block a plain open
    EXPECT_EQ(printed([] { loadPointSet(0); }),
              "Invalid point file: points.txt is not a regular file\n");
    EXPECT_EQ(editor.pointSet.pointCount, 2);
}

TEST_F(PointFileTest, FailedReplaceKeepsTheSetAndLeavesNoTemporary)
{
    addTwoPoints();
    ASSERT_EQ(mkdir(POINTS_FILE, 0755), 0);
    writeAll(std::string(POINTS_FILE) + "/inside", "old");
    const std::string out = printed([] { savePointSet(0); });
    EXPECT_EQ(out.rfind("Could not save the point set, cannot replace points.txt: ", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
    EXPECT_EQ(editor.pointSet.pointCount, 2);
    EXPECT_EQ(readAll(std::string(POINTS_FILE) + "/inside"), "old");
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"points.txt"});
}

TEST_F(PointFileTest, NoPlaceToCreateTheFileReportsNoFileAndKeepsTheSet)
{
    addTwoPoints();
    // A working directory that was removed from under the editor: nothing can
    // be created in it, not even by root.
    ASSERT_EQ(mkdir("gone", 0755), 0);
    ASSERT_EQ(chdir("gone"), 0);
    ASSERT_EQ(rmdir("../gone"), 0);
    EXPECT_EQ(printed([] { savePointSet(0); }), "No file to save to :))\n");
    EXPECT_EQ(editor.pointSet.pointCount, 2);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
}

TEST_F(PointFileTest, SaveGivesTheUsualPermissions)
{
    const mode_t mask = umask(022);
    savePointSet(0);
    umask(mask);
    struct stat info {};
    ASSERT_EQ(stat(POINTS_FILE, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(ReadPointFileTest, ParsesFromAnyStream)
{
    PointSet set{};
    std::string error;
    std::istringstream in("1 3 4 9");
    ASSERT_TRUE(readPointFile(in, set, error));
    EXPECT_EQ(set.pointCount, 1);
    EXPECT_EQ(set.points[0].x, 3.0f);
    EXPECT_EQ(set.points[0].y, 4.0f);
    EXPECT_EQ(set.points[0].size, 9.0f);
}

TEST(FormatPointFileTest, WritesXYSizeWithSixDecimals)
{
    PointSet set{};
    set.pointCount = 1;
    set.points[0] = Point{8, -0.5f, 1e10f};
    EXPECT_EQ(formatPointFile(set), "1\n-0.500000 10000000000.000000 8.000000\n");
}

}  // namespace
