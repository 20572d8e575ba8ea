// The point file on Windows: a save keeps the old file's attributes and
// leaves a read-only file alone. (That a save replaces the old file, which a
// plain rename there does not do, the tests of every platform check.)
#include <windows.h>

#include "point_file_fixture.h"

namespace {

TEST_F(PointFileTest, AReadOnlyFileIsNotReplaced)
{
    writeAll(POINTS_FILE, "old");
    ASSERT_TRUE(SetFileAttributesA(POINTS_FILE, FILE_ATTRIBUTE_READONLY));
    addTwoPoints();
    EXPECT_EQ(save(), "Could not save the point set, points.txt is read-only\n");
    EXPECT_EQ(readAll(POINTS_FILE), "old");
    EXPECT_NE(GetFileAttributesA(POINTS_FILE) & FILE_ATTRIBUTE_READONLY, 0u);
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
    EXPECT_NE(GetFileAttributesA(POINTS_FILE) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

}  // namespace
