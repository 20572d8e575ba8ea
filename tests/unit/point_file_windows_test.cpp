// The point file on Windows: a save replaces the old file (which a plain
// rename there does not do), keeps its attributes, and leaves a read-only
// file alone.
#include <windows.h>

#include "point_file_fixture.h"

namespace {

DWORD attributesOf(const char* path)
{
    return GetFileAttributesA(path);
}

TEST_F(PointFileTest, SavingAgainReplacesTheFileAndLeavesNoTemporary)
{
    addTwoPoints();
    EXPECT_EQ(save(), "");
    deletePoint();
    EXPECT_EQ(save(), "");
    EXPECT_EQ(readAll(POINTS_FILE), "1\r\n100.000000 100.000000 10.000000\r\n");
    EXPECT_EQ(entries(), std::vector<std::string>{"points.txt"});

    newPointSet(0);
    EXPECT_EQ(printed([] { loadPointSet(0); }), "");
    EXPECT_EQ(editor.pointSet.pointCount, 1);
}

TEST_F(PointFileTest, AReadOnlyFileIsNotReplaced)
{
    writeAll(POINTS_FILE, "old");
    ASSERT_TRUE(SetFileAttributesA(POINTS_FILE, FILE_ATTRIBUTE_READONLY));
    addTwoPoints();
    EXPECT_EQ(save(), "Could not save the point set, points.txt is read-only\n");
    EXPECT_EQ(readAll(POINTS_FILE), "old");
    EXPECT_NE(attributesOf(POINTS_FILE) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(entries(), std::vector<std::string>{"points.txt"});
    SetFileAttributesA(POINTS_FILE, FILE_ATTRIBUTE_NORMAL);
}

TEST_F(PointFileTest, AHiddenFileStaysHidden)
{
    writeAll(POINTS_FILE, "old");
    ASSERT_TRUE(SetFileAttributesA(POINTS_FILE, FILE_ATTRIBUTE_HIDDEN));
    addTwoPoints();
    EXPECT_EQ(save(), "");
    EXPECT_EQ(readAll(POINTS_FILE), withLineEnds(TWO_POINTS));
    EXPECT_NE(attributesOf(POINTS_FILE) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

}  // namespace
