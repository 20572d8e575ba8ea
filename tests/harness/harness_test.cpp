// The harness's own checks: where a fault of the harness would let an
// editor test pass that should fail, or fail it without saying why. Image
// comparison, saves, child processes and their output, line ends, desktop
// names and the counter of new windows, against a shell and a small GLUT
// program (probe/probe.cpp); under window managers, the window search by
// process id and the barrier that keeps a release where it was pressed.
// Keys, clicks and focus themselves are the editor's tests.
#include <filesystem>

#include "harness_gtest.h"

using namespace e2e;

namespace {

// Process only passes the display name on to the program it starts: the
// tests of Process need no X server.
const std::string DISPLAY_NAME = ":99";

TEST(Image, CountsCropsAndComparesPixels)
{
    EXPECT_TRUE(near(Rgb{100, 0, 230}, Rgb{102, 1, 228}));
    EXPECT_FALSE(near(Rgb{100, 0, 230}, Rgb{103, 0, 230}));
    Image img(3, 2);
    img.set(2, 1, {10, 20, 30});
    EXPECT_EQ(img.count(Rgb{0, 0, 0}), 5);
    EXPECT_EQ(img.count(Rgb{10, 20, 30}, 1, 1, 2, 1), 1);
    Image part = img.crop(1, 1, 5, 5);
    EXPECT_EQ(part.width(), 2);
    EXPECT_EQ(part.height(), 1);
    EXPECT_EQ(part.at(1, 0), (Rgb{10, 20, 30}));

    Image other = img;
    EXPECT_TRUE(compareImages(other, img).none());
    other.set(1, 0, {0, 0, 3});
    other.set(0, 1, {9, 0, 0});
    ImageDifference d = compareImages(other, img);
    EXPECT_EQ(d.pixels, 2);
    EXPECT_EQ(d.first.x, 1);
    EXPECT_EQ(d.first.y, 0);
    EXPECT_EQ(compareImages(other, img, 3).pixels, 1) << "a difference within the tolerance counted";
    EXPECT_FALSE(compareImages(Image(), img).none()) << "an empty image is like a 3x2 one";
    EXPECT_TRUE(compareImages(img.crop(0, 0, 2, 2), img).sizesDiffer);
}

// What is saved reads back the same.
TEST(Image, SavedPngReadsBackAsItWas)
{
    Image img(70, 40);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.set(x, y, {std::uint8_t(x * 3), std::uint8_t(y * 6), std::uint8_t((x + y) % 256)});
    TempDir dir;
    img.savePng(dir.file("a.png"));
    EXPECT_TRUE(imagesEqual(Image::read(dir.file("a.png")), img));
}

TEST(Files, ASaveIsSeenAsAnotherFileEvenWithTheSameText)
{
    TempDir dir;
    const std::string path = dir.file("points.txt");
    writeFile(path, "1\n0 0 10\n");
    const FileStamp before = fileStamp(path);
    EXPECT_FALSE(waitForSave(path, before, 100ms)) << "a file that nobody replaced was taken for a save";

    // Saved as the editor saves: a new file renamed over the old one.
    writeFile(dir.file("new.txt"), "1\n0 0 10\n");
    std::filesystem::rename(dir.file("new.txt"), path);
    EXPECT_EQ(waitForSave(path, before, 0ms), "1\n0 0 10\n");
}

// Its own empty directory, removed after it; DISPLAY; both streams apart, a
// last line without a newline; its exit status, which every end the tests
// check depends on.
TEST(Process, RunsInAFreshDirectoryAndReadsBothStreamsAndItsStatus)
{
    std::optional<std::string> dir;
    {
        Process p("/bin/sh", {"-c", "pwd; echo \"$DISPLAY\"; ls -A | wc -l; echo oops >&2; printf 'last'; exit 4"},
                  DISPLAY_NAME);
        dir = p.waitForLine([](const std::string& l) { return l.rfind('/', 0) == 0; });
        EXPECT_EQ(p.waitForLine(DISPLAY_NAME), DISPLAY_NAME);
        EXPECT_EQ(p.waitForLine("0"), "0");
        EXPECT_EQ(p.waitForLine("last"), "last");
        auto status = p.waitForExit(5s);
        ASSERT_TRUE(status);
        EXPECT_TRUE(status->exited);
        EXPECT_EQ(status->code, 4);
        EXPECT_FALSE(p.isRunning());
        EXPECT_EQ(p.errorLines(), std::vector<std::string>{"oops"});
    }
    ASSERT_TRUE(dir);
    EXPECT_FALSE(fileExists(*dir)) << "its working directory is left behind";
    EXPECT_THROW(Process("/nonexistent/program", {}, DISPLAY_NAME), std::runtime_error);
}

TEST(Process, WaitForLineConsumesInOrderAndTimesOut)
{
    Process p("/bin/sh", {"-c", "echo one; echo two; echo one; sleep 30"}, DISPLAY_NAME);
    EXPECT_TRUE(p.waitForLine("two"));
    EXPECT_TRUE(p.waitForLine("one"));  // the second "one", after "two"
    EXPECT_FALSE(p.waitForLine("one", 200ms));
    EXPECT_EQ(p.lines().size(), 3u);
    EXPECT_TRUE(p.isRunning());
    p.kill();
    EXPECT_FALSE(p.isRunning());
    auto status = p.waitForExit(0ms);
    ASSERT_TRUE(status);
    EXPECT_FALSE(status->exited);
}

TEST(Process, DropsTheCarriageReturnOfWindowsLineEndsOnlyWhenTold)
{
    const std::vector<std::string> script{"-c", "printf 'one\\r\\ntwo\\r\\r\\nthree\\n'; printf 'err\\r\\n' >&2"};
    Process windows("/bin/sh", script, DISPLAY_NAME, "", {}, "\r\n");
    ASSERT_TRUE(windows.waitForEndOfOutput());
    EXPECT_EQ(windows.lines(), (std::vector<std::string>{"one", "two\r", "three"}));
    EXPECT_EQ(windows.errorLines(), std::vector<std::string>{"err"});

    Process native("/bin/sh", script, DISPLAY_NAME);
    ASSERT_TRUE(native.waitForEndOfOutput());
    EXPECT_EQ(native.lines(), (std::vector<std::string>{"one\r", "two\r\r", "three"}));
}

TEST(RedrawCounter, CountsANewWindowFromItsFirstFrame)
{
    XServer server;
    XClient x(server);
    RedrawCounter counter(server.display());
    Process probe(E2E_PROBE_PATH, {"counted"}, server.display());
    ASSERT_TRUE(probe.waitForLine("ready", 20s)) << probe.transcript();
    Window w = x.waitForWindow("counted");
    ASSERT_TRUE(counter.collectUntil([&] { return counter.counts(w).frames > 0; }, 5s))
        << "no frame counted on a window created after the counter";
    EXPECT_TRUE(counter.counts(w).firstDrawn);
}

// A misspelt E2E_WINDOW_MANAGER must not quietly run a window manager's
// tests on a bare server, nor Wine's loader be taken under a window manager,
// where the tests do not know it.
TEST(Desktop, RefusesUnknownNamesAndWineUnderAWindowManager)
{
    EXPECT_THROW(Desktop::named("Openbox"), std::invalid_argument);
    EXPECT_THROW(Desktop::named("openbox", "/usr/lib/wine/wine64"), std::invalid_argument);
}

TEST(Desktop, ReadsOnlyItsOwnLineEndsAsLineEnds)
{
    const Desktop native = Desktop::bare();
    const Desktop wine = Desktop::wine("/usr/lib/wine/wine64");
    EXPECT_EQ(readLineEnds(native, "2\n1 2 3\n\nlast"), "2\n1 2 3\n\nlast");
    EXPECT_EQ(readLineEnds(wine, "2\r\n1 2 3\r\n\r\nlast"), "2\n1 2 3\n\nlast");
    EXPECT_EQ(readLineEnds(wine, ""), "");
    // A Windows line end where "\n" is the rule, and the other way round.
    EXPECT_FALSE(readLineEnds(native, "2\r\n1 2 3\n"));
    EXPECT_FALSE(readLineEnds(wine, "2\r\n1 2 3\n"));
    EXPECT_FALSE(readLineEnds(wine, "\n"));
    // A stray '\r' inside a line, or one too many before its end.
    EXPECT_FALSE(readLineEnds(native, "1 2\r3\n"));
    EXPECT_FALSE(readLineEnds(wine, "2\r\r\n"));
    EXPECT_FALSE(readLineEnds(wine, "2\r\nlast\r"));
}

// The harness under each window manager, against two probes with the same title.
class UnderWindowManager : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        server = std::make_unique<XServer>(Desktop::named(GetParam()));
        x = std::make_unique<XClient>(*server);
        for (auto* p : {&first, &second}) {
            *p = std::make_unique<Process>(E2E_PROBE_PATH, std::vector<std::string>{"probe"}, server->display());
            ASSERT_TRUE((*p)->waitForLine("ready", 20s)) << (*p)->transcript();
        }
        firstWindow = x->waitForWindow("probe", first->pid());
        secondWindow = x->waitForWindow("probe", second->pid());
    }
    void expectLine(Process& p, const std::string& line)
    {
        EXPECT_TRUE(p.waitForLine(line)) << "missing \"" << line << "\"; output:\n" << p.transcript();
    }

    std::unique_ptr<XServer> server;
    std::unique_ptr<XClient> x;
    std::unique_ptr<Process> first, second;
    Window firstWindow = 0, secondWindow = 0;
};

// The editor's tests run one program per server: only here do two windows
// share a title.
TEST_P(UnderWindowManager, FindsEachProgramsWindowByTitleAndProcess)
{
    EXPECT_NE(firstWindow, secondWindow);
    EXPECT_FALSE(x->findWindow("probe", 1)) << "a title alone was enough";
    EXPECT_FALSE(x->findWindow("prob", first->pid())) << "a process id alone was enough";
}

TEST_P(UnderWindowManager, ClickReleasesWhereItPressedThoughThePointerMovesOnAtOnce)
{
    // The manager holds each press back until it has focused the window; the
    // release must still be reported where it happened. (The second probe:
    // a stacking manager puts it over the first.)
    for (int i = 0; i < 10; ++i) {
        x->click(secondWindow, 20 + i, 30);
        x->movePointer(secondWindow, 150, 70 - i);
    }
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE("click " + std::to_string(i));
        expectLine(*second, "button 0 down " + std::to_string(20 + i) + " 30");
        expectLine(*second, "button 0 up " + std::to_string(20 + i) + " 30");
        if (HasFailure())
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, UnderWindowManager, ::testing::Values("openbox", "i3"));

}  // namespace
