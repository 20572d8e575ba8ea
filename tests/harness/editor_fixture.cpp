// The GoogleTest fixture that runs the real editor on a private X server.
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "harness_gtest.h"

#ifndef POINT_EDITOR_PATH
#error "POINT_EDITOR_PATH must name the editor binary"
#endif

namespace e2e {

bool TextMask::has(int dx, int dy) const
{
    for (const Pixel& p : on)
        if (p.x == dx && p.y == dy)
            return true;
    return false;
}

namespace {

// Path of the editor binary: E2E_PROGRAM when set (the Windows build, say),
// else the one built beside the tests.
std::string editorPath()
{
    const char* program = std::getenv("E2E_PROGRAM");
    return program && *program ? program : POINT_EDITOR_PATH;
}

TextMask renderTextMask(const XServer& server, XClient& x, const std::string& text, int size)
{
    // The reference program puts the raster position at window pixel (10, 30).
    const std::string title = "e2e glyphs " + std::to_string(size) + " " + text;
    Process glyphs(E2E_GLYPHS_PATH, {title, text, std::to_string(size)}, server.display());
    Window w = x.waitForWindow(title, 20s);
    bool drawn = false;
    Image img = x.waitForImage(
        w, [](const Image& i) { return i.count(WHITE, 0) > 0 && i.count(Rgb{0, 0, 0}, 0) > 0; }, 10s, &drawn);
    if (!drawn)
        throw std::runtime_error("the glyph reference program drew nothing for \"" + text + "\"");
    TextMask mask;
    mask.minX = mask.minY = 1 << 20;
    mask.maxX = mask.maxY = -(1 << 20);
    for (int py = 0; py < img.height(); ++py) {
        for (int px = 0; px < img.width(); ++px) {
            if (img.at(px, py) != Rgb{0, 0, 0})
                continue;
            Pixel p{px - 10, py - 30};
            mask.on.push_back(p);
            mask.minX = std::min(mask.minX, p.x);
            mask.maxX = std::max(mask.maxX, p.x);
            mask.minY = std::min(mask.minY, p.y);
            mask.maxY = std::max(mask.maxY, p.y);
        }
    }
    return mask;
}

}  // namespace

void EditorTest::SetUp()
{
    dir_ = std::make_unique<TempDir>("e2e-editor");
    server_ = std::make_unique<XServer>(chooseDesktop());
    x_ = std::make_unique<XClient>(*server_);
    if (!fileExists(editorPath()))
        FAIL() << "there is no editor at " << editorPath() << " (E2E_PROGRAM names the program under test)";
    LaunchCommand command = launchCommand(desktop(), editorPath());
    editor_ = std::make_unique<Process>(command.program, command.args, server_->display(), dir_->path(),
                                        std::vector<std::string>{}, desktop().lineEnd);
    try {
        drawing_ = x_->waitForWindow(DRAWING_TITLE, editor_->pid(), 20s);
        panel_ = x_->waitForWindow(PANEL_TITLE, editor_->pid(), 20s);
        // Under Wine the Controls window appears before it has its size.
        x_->waitUntilSettled(drawing_, 20s);
        x_->waitUntilSettled(panel_, 20s);
    } catch (const std::exception& e) {
        FAIL() << e.what() << "\neditor (" << (editor_->isRunning() ? "running" : "ended") << ") output:\n"
               << editor_->transcript() << server_->windowManagerOutput();
    }
    bool white = false;
    Image first = x_->waitForImage(
        drawing_, [](const Image& img) { return img.allNear(WHITE, 0); }, 20s, &white);
    if (!white) {
        noteImage(first, "first-frame");
        FAIL() << "the drawing window never showed an all-white frame";
    }
}

void EditorTest::TearDown()
{
    // Pictures of both windows for a failed test, while they are still there.
    if (HasFailure() && x_) {
        for (auto [w, name] : {std::pair{drawing_, "drawing-at-end"}, std::pair{panel_, "controls-at-end"}}) {
            if (!w)
                continue;
            try {
                noteImage(x_->capture(w), name);
            } catch (const std::exception& e) {
                std::cout << "[ e2e ] no " << name << " screenshot: " << e.what() << "\n";
            }
        }
    }
    // The editor is ended as its user ends it, with Q, so that the checks the
    // sanitizer build makes at exit (leaks) run; a report fails the test.
    // An editor that has already gone only has its standard error checked.
    if (editor_) {
        bool running = editor_->isRunning();
        if (!running || drawing_) {
            try {
                if (running)
                    pressKey('Q');
                EXPECT_TRUE(endedCleanly(*editor_, running)) << "when the editor ended";
            } catch (const std::exception& e) {
                ADD_FAILURE() << "could not end the editor with Q: " << e.what();
            }
        }
    }
    if (!HasFailure())
        return;
    dir_->keep();
    std::cout << "[ e2e ] kept working directory " << dir_->path() << "\n";
    for (auto& [name, img] : noted_) {
        try {
            std::cout << "[ e2e ] screenshot " << saveScreenshot(img, name, dir_->path()) << "\n";
        } catch (const std::exception& e) {
            std::cout << "[ e2e ] " << e.what() << "\n";
        }
    }
    if (editor_)
        std::cout << "[ e2e ] editor output:\n" << editor_->transcript();
    std::cout << std::flush;
}

void EditorTest::writePoints(const std::vector<PointSpec>& points)
{
    writeFile(workFile("points.txt"), pointFileText(points));
}

void EditorTest::writePointsText(const std::string& text) { writeFile(workFile("points.txt"), text); }

std::optional<std::string> EditorTest::readPointsFile() const { return readFile(workFile("points.txt")); }

std::string EditorTest::saveBy(const std::function<void()>& save, Millis timeout)
{
    const std::string path = workFile("points.txt");
    const FileStamp before = fileStamp(path);
    save();
    std::optional<std::string> text = waitForSave(path, before, timeout);
    if (!text) {
        ADD_FAILURE() << "no save of points.txt came; output:\n" << editor_->transcript();
        return "";
    }
    std::optional<std::string> lines = readLineEnds(desktop(), *text);
    EXPECT_TRUE(lines) << "points.txt does not end its lines with " << ::testing::PrintToString(desktop().lineEnd)
                       << ": " << ::testing::PrintToString(*text);
    return lines.value_or("");
}

void EditorTest::pressKey(KeySym ks)
{
    // A corner pixel, of whatever size the window has: away from anything the tests draw.
    Geometry g = x_->geometry(drawing_);
    x_->movePointer(drawing_, g.width - 2, g.height - 2);
    x_->focusForKeys(drawing_);
    x_->tapKey(ks);
}

void EditorTest::loadPoints(const std::vector<PointSpec>& points)
{
    Image before = captureDrawing();
    writePoints(points);
    pressKey('L');
    if (!points.empty())
        waitForDrawing([&](const Image& img) { return !sameImage(img, before); });
}

::testing::AssertionResult EditorTest::clickInDrawing(Pixel p, const std::string& line)
{
    x_->click(drawing_, p.x, p.y);
    if (editor_->waitForLine(line))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "a click at " << p << " of the drawing window did not print \"" << line
                                         << "\"; output:\n" << editor_->transcript();
}

Image EditorTest::captureDrawing()
{
    Image img = x_->capture(drawing_);
    noteImage(img, "drawing-last-capture");
    return img;
}

Image EditorTest::waitForDrawing(const std::function<bool(const Image&)>& pred, Millis timeout)
{
    Image img = x_->waitForImage(drawing_, pred, timeout);
    noteImage(img, "drawing-last-capture");
    return img;
}

const TextMask& EditorTest::textMask(const std::string& text, int size)
{
    const std::string key = std::to_string(size) + " " + text;
    auto found = masks_.find(key);
    if (found == masks_.end()) {
        if (!glyphServer_) {
            glyphServer_ = std::make_unique<XServer>();
            glyphClient_ = std::make_unique<XClient>(*glyphServer_);
        }
        found = masks_.emplace(key, renderTextMask(*glyphServer_, *glyphClient_, text, size)).first;
    }
    return found->second;
}

::testing::AssertionResult EditorTest::textAt(const Image& img, int x, int y, const std::string& text, Rgb colour)
{
    const TextMask& mask = textMask(text);
    Pixel origin = scenePixel(x, y);
    int wrong = 0;
    std::ostringstream detail;
    for (int dy = mask.minY - 1; dy <= mask.maxY + 1; ++dy) {
        for (int dx = mask.minX - 1; dx <= mask.maxX + 1; ++dx) {
            int px = origin.x + dx, py = origin.y + dy;
            bool want = mask.has(dx, dy);
            if (!img.contains(px, py))
                continue;  // clipped by the window's edge
            bool is = img.shows({px, py}, colour);
            if (is != want) {
                if (++wrong <= 5)
                    detail << "\n  " << Pixel{px, py} << " is " << img.at(px, py)
                           << (want ? ", should be the text colour " : ", should not be the text colour ") << colour;
            }
        }
    }
    if (wrong == 0)
        return ::testing::AssertionSuccess();
    noteImage(img, "drawing-text-check");
    return ::testing::AssertionFailure() << "text \"" << text << "\" at scene (" << x << ", " << y << "): "
                                         << wrong << " of " << mask.on.size() << " glyph pixels or their surroundings differ"
                                         << detail.str();
}

void EditorTest::noteImage(const Image& img, const std::string& name) { noted_[name] = img; }

}  // namespace e2e
