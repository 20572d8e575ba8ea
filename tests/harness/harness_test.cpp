// The harness's own checks: its files, child processes, images, desktops and,
// under window managers, the window search and input, against a shell and a
// small GLUT program (probe/probe.cpp). Keys and clicks on a bare server are
// the editor's tests.
#include <algorithm>
#include <filesystem>

#include "harness_gtest.h"

using namespace e2e;

namespace {

// Process only passes the display name on to the program it starts: the
// tests of Process need no X server.
const std::string DISPLAY_NAME = ":99";

TEST(Image, RoundsGlColoursToEightBits)
{
    EXPECT_EQ(rgbFromFloat(1, 1, 1), WHITE);
    EXPECT_EQ(rgbFromFloat(0.4, 0.0, 0.9), (Rgb{102, 0, 230}));
    EXPECT_TRUE(near(Rgb{100, 0, 230}, Rgb{102, 1, 229}));
    EXPECT_FALSE(near(Rgb{100, 0, 230}, Rgb{103, 0, 230}));
}

TEST(Image, CountsCropsAndComparesPixels)
{
    Image img(3, 2);
    img.set(2, 1, {10, 20, 30});
    EXPECT_EQ(img.at(2, 1), (Rgb{10, 20, 30}));
    EXPECT_EQ(img.count(Rgb{0, 0, 0}), 5);
    EXPECT_EQ(img.count(Rgb{10, 20, 30}, 1, 1, 2, 1), 1);
    EXPECT_THROW(img.at(3, 0), std::out_of_range);
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
    EXPECT_THROW(Image::read(dir.file("missing.png")), std::runtime_error);
    writeFile(dir.file("text.png"), "no picture\n");
    EXPECT_THROW(Image::read(dir.file("text.png")), std::runtime_error);
}

TEST(TempDir, IsRemovedUnlessKept)
{
    std::string removed, kept;
    {
        TempDir a, b;
        writeFile(a.file("x"), "1");
        removed = a.path();
        kept = b.path();
        b.keep();
    }
    EXPECT_FALSE(fileExists(removed));
    EXPECT_TRUE(fileExists(kept));
    std::filesystem::remove_all(kept);
}

TEST(Files, ASaveIsSeenAsAnotherFileEvenWithTheSameText)
{
    TempDir dir;
    const std::string path = dir.file("points.txt");
    writeFile(path, "1\n0 0 10\n");
    const FileStamp before = fileStamp(path);
    EXPECT_TRUE(before.exists);
    EXPECT_FALSE(waitForSave(path, before, 100ms)) << "a file that nobody replaced was taken for a save";

    // Saved as the editor saves: a new file renamed over the old one.
    writeFile(dir.file("new.txt"), "1\n0 0 10\n");
    std::filesystem::rename(dir.file("new.txt"), path);
    EXPECT_EQ(waitForSave(path, before, 0ms), "1\n0 0 10\n");
    EXPECT_FALSE(fileStamp(dir.file("missing.txt")).exists);
}

TEST(Process, RunsInAFreshDirectoryAndReadsBothStreams)
{
    Process p("/bin/sh", {"-c", "pwd; echo \"$DISPLAY\"; ls -A | wc -l; echo oops >&2; printf 'last'; exit 4"},
              DISPLAY_NAME);
    EXPECT_EQ(p.waitForLine(p.workDir()), p.workDir());
    EXPECT_EQ(p.waitForLine(DISPLAY_NAME), DISPLAY_NAME);
    EXPECT_EQ(p.waitForLine("0"), "0");
    EXPECT_EQ(p.waitForLine("last"), "last");  // a last line without a newline counts
    auto status = p.waitForExit(5s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->exited);
    EXPECT_EQ(status->code, 4);
    EXPECT_FALSE(p.isRunning());
    EXPECT_EQ(p.errorLines(), std::vector<std::string>{"oops"});
}

TEST(Process, WaitForLineConsumesInOrderAndTimesOut)
{
    Process p("/bin/sh", {"-c", "echo one; echo two; echo one; sleep 30"}, DISPLAY_NAME);
    EXPECT_TRUE(p.waitForLine("two"));
    EXPECT_TRUE(p.waitForLine("one"));  // the second "one", after "two"
    EXPECT_FALSE(p.waitForLine("one", 200ms));
    EXPECT_FALSE(p.waitForLine([](const std::string& l) { return l == "two"; }, 100ms));
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

TEST(Process, RefusesAMissingProgram)
{
    EXPECT_THROW(Process("/nonexistent/program", {}, DISPLAY_NAME), std::runtime_error);
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

// What E2E_WINDOW_MANAGER and E2E_LAUNCHER may name, and how the program is
// started through a launcher.
TEST(Desktop, RefusesUnknownNamesAndWineUnderAWindowManager)
{
    try {
        Desktop::named("Openbox");
        ADD_FAILURE() << "an unknown desktop name was accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("openbox, i3, or none"), std::string::npos) << e.what();
    }
    EXPECT_THROW(Desktop::named("openbox", "/usr/lib/wine/wine64"), std::invalid_argument);

    LaunchCommand direct = launchCommand(Desktop::bare(), "/b/point-editor", {"-x"});
    EXPECT_EQ(direct.program, "/b/point-editor");
    EXPECT_EQ(direct.args, std::vector<std::string>{"-x"});
    LaunchCommand launched = launchCommand(Desktop::named("none", "/usr/lib/wine/wine64"), "/b/point-editor.exe", {"-x"});
    EXPECT_EQ(launched.program, "/usr/lib/wine/wine64");
    EXPECT_EQ(launched.args, (std::vector<std::string>{"/b/point-editor.exe", "-x"}));
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

TEST_P(UnderWindowManager, FindsEachProgramsWindowInsideItsFrame)
{
    EXPECT_NE(firstWindow, secondWindow);
    EXPECT_EQ(x->windowPid(firstWindow), first->pid());
    EXPECT_EQ(x->windowPid(secondWindow), second->pid());
    EXPECT_FALSE(x->findWindow("probe", 1)) << "a title alone was enough";
    EXPECT_FALSE(x->findWindow("prob", first->pid())) << "a process id alone was enough";
    EXPECT_EQ(x->title(firstWindow), "probe");
    // Both sit in frames of the manager, not on the root.
    const std::vector<Window> top = x->topLevelWindows();
    EXPECT_EQ(std::find(top.begin(), top.end(), firstWindow), top.end());
}

TEST_P(UnderWindowManager, KeysGoToTheWindowGivenTheFocus)
{
    x->focusForKeys(firstWindow);
    EXPECT_TRUE(x->hasFocus(firstWindow));
    x->tapKey('a');
    expectLine(*first, "key a");
    x->focusForKeys(secondWindow);
    EXPECT_FALSE(x->hasFocus(firstWindow));
    x->tapKey('b');
    expectLine(*second, "key b");
    x->focusForKeys(firstWindow);
    x->tapKey('c');
    expectLine(*first, "key c");
    EXPECT_FALSE(first->waitForLine("key b", 0ms)) << "the first probe got a key typed into the second";
    EXPECT_FALSE(second->waitForLine([](const std::string& l) { return l != "key b"; }, 100ms))
        << second->transcript();
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
