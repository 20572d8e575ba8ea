// The point file on Linux: saving through symbolic links, keeping the old
// file's owner and permission bits, and loading that never waits on a FIFO.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "point_file_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* NOT_REGULAR = "Invalid point file: points.txt is not a regular file\n";

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

bool isLink(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

using PointFileLinkTest = PointFileTest;

TEST_F(PointFileLinkTest, ALinkToAMissingFileCreatesIt)
{
    ASSERT_EQ(symlink("new.txt", POINTS_FILE), 0);
    addTwoPoints();
    EXPECT_EQ(save(), "");
    EXPECT_TRUE(isLink(POINTS_FILE));
    EXPECT_EQ(readAll("new.txt"), TWO_POINTS);
    EXPECT_EQ(entries(), (std::vector<std::string>{"new.txt", "points.txt"}));
}

TEST_F(PointFileLinkTest, AChainOfRelativeAndAbsoluteLinksIsFollowedToItsEnd)
{
    // points.txt -> hop (absolute) -> sub/hop -> ../real.txt, which is read
    // from sub/, as the system reads it: real.txt here.
    ASSERT_TRUE(fs::create_directory("sub"));
    writeAll("real.txt", "old");
    ASSERT_EQ(symlink("../real.txt", "sub/hop"), 0);
    ASSERT_EQ(symlink((dir_ / "sub/hop").c_str(), "hop"), 0);
    ASSERT_EQ(symlink("hop", POINTS_FILE), 0);
    addTwoPoints();
    EXPECT_EQ(save(), "");
    EXPECT_EQ(readAll("real.txt"), TWO_POINTS);
    EXPECT_TRUE(isLink(POINTS_FILE) && isLink("hop") && isLink("sub/hop"));
    EXPECT_EQ(entries(), (std::vector<std::string>{"hop", "points.txt", "real.txt", "sub"}));
    EXPECT_EQ(entries("sub"), std::vector<std::string>{"hop"});

    newPointSet(0);
    EXPECT_EQ(load(), "");  // and loads through them
    EXPECT_EQ(editor.pointSet.pointCount, 2);
}

TEST_F(PointFileLinkTest, TheTemporaryFileIsMadeBesideTheTargetOnItsOwnFileSystem)
{
    // A rename cannot cross file systems: a temporary file made beside the
    // link rather than beside its target would fail here.
    struct stat here {}, shm {};
    if (stat(".", &here) != 0 || stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev) {
        GTEST_SKIP() << "no second file system (/dev/shm) to put the target on";
    }
    char pattern[] = "/dev/shm/point-file-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string target = std::string(pattern) + "/real.txt";
    writeAll(target, "old");
    ASSERT_EQ(symlink(target.c_str(), POINTS_FILE), 0);
    addTwoPoints();
    EXPECT_EQ(save(), "");
    EXPECT_EQ(readAll(target), TWO_POINTS);
    EXPECT_EQ(entries(pattern), std::vector<std::string>{"real.txt"});
    fs::remove_all(pattern);
}

TEST_F(PointFileLinkTest, ALoopOfLinksIsOneLineAndChangesNothing)
{
    ASSERT_EQ(symlink("other.txt", POINTS_FILE), 0);
    ASSERT_EQ(symlink(POINTS_FILE, "other.txt"), 0);
    addTwoPoints();
    EXPECT_EQ(save(), "Could not save the point set, cannot follow points.txt: Too many levels of symbolic links\n");
    EXPECT_TRUE(isLink(POINTS_FILE) && isLink("other.txt"));
    EXPECT_EQ(entries(), (std::vector<std::string>{"other.txt", "points.txt"}));
    EXPECT_EQ(load(), "No file to load from :))\n");
    EXPECT_EQ(editor.pointSet.pointCount, 2);
}

class PointFilePermissionTest : public PointFileTest {
protected:
    static std::string saveAsAnotherUser();
};

TEST_F(PointFilePermissionTest, ANewFileGetsWhatAPlainCreateGivesIt)
{
    for (const mode_t mask : {022, 077, 002}) {
        fs::remove(POINTS_FILE);
        const mode_t previous = umask(mask);
        savePointSet(0);
        umask(previous);
        EXPECT_EQ(modeOf(POINTS_FILE), 0666u & ~mask) << "umask " << mask;
    }
}

TEST_F(PointFilePermissionTest, AReplacedFileKeepsItsPermissionBitsAndOwner)
{
    addTwoPoints();
    std::vector<mode_t> modes = {0600, 0640, 0664};
    if (geteuid() == 0) {
        modes.push_back(0444);  // only root may replace it (AReadOnlyFileIsReplacedOnlyByWhoeverMayWriteIt)
    }
    for (const mode_t mode : modes) {
        writeAll(POINTS_FILE, "old");
        ASSERT_EQ(chmod(POINTS_FILE, mode), 0);
        const mode_t mask = umask(022);
        const std::string out = save();
        umask(mask);
        EXPECT_EQ(out, "") << std::oct << mode;
        EXPECT_EQ(readAll(POINTS_FILE), TWO_POINTS) << std::oct << mode;
        EXPECT_EQ(modeOf(POINTS_FILE), mode);
    }
    if (geteuid() == 0) {
        ASSERT_EQ(chown(POINTS_FILE, 65534, 65534), 0);
        savePointSet(0);
        struct stat info {};
        ASSERT_EQ(stat(POINTS_FILE, &info), 0);
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
    }
}

// Saves as a user who may not write the read-only points.txt (the test runs
// the save in a child process as "nobody" when it runs as root) and returns
// what the save printed.
std::string PointFilePermissionTest::saveAsAnotherUser()
{
    if (geteuid() != 0) {
        return printed([] { savePointSet(0); });
    }
    int output[2];
    if (pipe(output) != 0) {
        return "no pipe";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(output[0]);
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(1);
        }
        const std::string out = printed([] { savePointSet(0); });
        _exit(write(output[1], out.data(), out.size()) == static_cast<ssize_t>(out.size()) ? 0 : 1);
    }
    close(output[1]);
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = read(output[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, n);
    }
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : "the child failed";
}

TEST_F(PointFilePermissionTest, AReadOnlyFileIsReplacedOnlyByWhoeverMayWriteIt)
{
    // Everyone may create files here: only the file's own bits stand in the way.
    ASSERT_EQ(chmod(".", 0777), 0);
    writeAll(POINTS_FILE, "old");
    ASSERT_EQ(chmod(POINTS_FILE, 0444), 0);
    addTwoPoints();
    EXPECT_EQ(saveAsAnotherUser(), "Could not save the point set, points.txt is read-only\n");
    EXPECT_EQ(readAll(POINTS_FILE), "old");
    EXPECT_EQ(modeOf(POINTS_FILE), 0444u);
    EXPECT_EQ(entries(), std::vector<std::string>{"points.txt"});
}

TEST_F(PointFileTest, NoPlaceToCreateTheFileReportsNoFileAndKeepsTheSet)
{
    addTwoPoints();
    // A working directory that was removed from under the editor: nothing can
    // be created in it, not even by root.
    ASSERT_TRUE(fs::create_directory("gone"));
    ASSERT_EQ(chdir("gone"), 0);
    ASSERT_EQ(rmdir("../gone"), 0);
    EXPECT_EQ(save(), "No file to save to :))\n");
    EXPECT_EQ(editor.pointSet.pointCount, 2);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
}

using PointFileFifoTest = PointFileTest;

TEST_F(PointFileFifoTest, AFifoIsRefusedWithoutWaitingForAWriter)
{
    addTwoPoints();
    ASSERT_EQ(mkfifo(POINTS_FILE, 0644), 0);
    EXPECT_EQ(load(), NOT_REGULAR);
    EXPECT_EQ(editor.pointSet.pointCount, 2);
}

TEST_F(PointFileFifoTest, AFifoSwappedInWhileLoadingIsNeverOpenedAsAFile)
{
    // points.txt flips between a regular file and a FIFO while the editor
    // loads it again and again. A loader that looks at the name and then
    // opens it can open the FIFO believing it a file, and waits for a
    // writer; the writers opened below release it, and it then reads an
    // empty file. Every load must find either the file or the FIFO.
    writeAll("regular", "1\n1 2 10\n");
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    ASSERT_EQ(link("regular", POINTS_FILE), 0);
    std::atomic<int> fileLoads{0};
    std::atomic<int> otherLoads{0};
    std::atomic<bool> swapping{true};
    std::atomic<bool> loading{true};
    auto releaseAWaitingReader = [] {
        const int writer = open("fifo", O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            close(writer);
        }
    };
    std::thread swapper([&] {
        // At least 2000 swaps, and on until both kinds of load have been
        // seen, for at most 5 s.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (int i = 0; (i < 2000 || fileLoads == 0 || otherLoads == 0) && std::chrono::steady_clock::now() < deadline;
             i++) {
            if (link(i % 2 ? "regular" : "fifo", "next") != 0 || rename("next", POINTS_FILE) != 0) {
                break;
            }
            releaseAWaitingReader();
        }
        swapping = false;
        while (loading) {
            releaseAWaitingReader();
            std::this_thread::yield();
        }
    });
    const std::string out = printed([&] {
        while (swapping) {
            editor.pointSet.pointCount = 0;
            loadPointSet(0);
            (editor.pointSet.pointCount == 1 ? fileLoads : otherLoads)++;
        }
    });
    loading = false;
    swapper.join();

    std::istringstream lines(out);
    int refused = 0;
    for (std::string line; std::getline(lines, line); refused++) {
        ASSERT_EQ(line + "\n", NOT_REGULAR);
    }
    EXPECT_EQ(refused, otherLoads);
    if (fileLoads == 0 || otherLoads == 0) {
        GTEST_SKIP() << "in 5 s the loads found " << fileLoads << " times the file and " << otherLoads
                     << " times the FIFO: the race was not tried";
    }
}

}  // namespace
