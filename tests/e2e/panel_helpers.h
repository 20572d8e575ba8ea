// Helpers for the end-to-end tests of the control panel and the point file:
// where the panel's controls are, how to read their state from its pixels,
// and saving with the panel's button.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "harness_gtest.h"

namespace e2e::panel {

// Control rectangles in the Controls window (x, y, w, h): real GLUI's, where
// a user of GLUI finds each control (the panel matches real GLUI's pictures
// pixel for pixel, glui.e2e.Reference/PanelLook).
struct Rect {
    int x, y, w, h;
    int cx() const { return x + w / 2; }
    int cy() const { return y + h / 2; }
};

constexpr Rect NEW_BUTTON{32, 81, 112, 20};
constexpr Rect LOAD_BUTTON{31, 104, 113, 20};
constexpr Rect SAVE_BUTTON{30, 127, 115, 20};
constexpr Rect SCHEMA_BUTTON{9, 375, 158, 20};
// The white field the value is drawn in, and the two arrows at its right.
constexpr Rect SPINNER_FIELD{64, 177, 73, 20};
// Where presses land: the spinner takes them on its label and on the column
// of its arrows, the field between them.
constexpr Rect SPINNER_LABEL{6, 177, 58, 20};
constexpr Rect SPINNER_ARROWS{136, 177, 15, 20};
constexpr Rect UP_ARROW{139, 180, 12, 8};
constexpr Rect DOWN_ARROW{139, 188, 12, 8};
// Rows of the radio buttons (Polygon, Triangle Fan, Triangle Strip) and of
// the checkboxes (Points, Lines, Geometry).
constexpr Rect RADIOS[3] = {{28, 244, 85, 13}, {28, 260, 110, 13}, {28, 276, 113, 13}};
constexpr Rect CHECKBOXES[3] = {{18, 318, 115, 13}, {18, 334, 111, 13}, {18, 350, 134, 13}};
// A spot of bare panel background, right of the "Drawing Operations" text.
constexpr int BACKGROUND_X = 165, BACKGROUND_Y = 215;

constexpr Rgb BLACK{0, 0, 0};
constexpr Rgb SELECTION_BLUE{0, 0, 153};

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

// `pixels` moved so that their bounding box starts at (0, 0).
inline PixelSet movedToOrigin(const PixelSet& pixels)
{
    int minX = 1 << 20, minY = 1 << 20;
    for (auto [x, y] : pixels) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
    }
    PixelSet moved;
    for (auto [x, y] : pixels)
        moved.insert({x - minX, y - minY});
    return moved;
}

// The text pixels inside the spinner's field: black ones, and white ones
// inside the dark-blue selection when the text is selected.
inline PixelSet fieldInk(const Image& panel)
{
    const int x0 = SPINNER_FIELD.x + 2, y0 = SPINNER_FIELD.y + 2;
    const int x1 = SPINNER_FIELD.x + SPINNER_FIELD.w - 2, y1 = SPINNER_FIELD.y + SPINNER_FIELD.h - 2;
    int bx0 = 1 << 20, by0 = 1 << 20, bx1 = -1, by1 = -1;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (near(panel.at(x, y), SELECTION_BLUE, 8)) {
                bx0 = std::min(bx0, x);
                by0 = std::min(by0, y);
                bx1 = std::max(bx1, x);
                by1 = std::max(by1, y);
            }
    PixelSet ink;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            Rgb c = panel.at(x, y);
            bool inSelection = x >= bx0 && x <= bx1 && y >= by0 && y <= by1;
            if (near(c, BLACK, 8) || (inSelection && near(c, WHITE, 8)))
                ink.insert({x, y});
        }
    }
    return ink;
}

// Whether a Controls window larger than the panel's own size shows only the
// panel's background `bg` right of and below the panel's own width x height
// at its top-left.
inline bool onlyBackgroundBeyond(const Image& img, int width, int height, Rgb bg)
{
    const int right = img.width() - width, below = img.height() - height;
    return right >= 0 && below >= 0 && img.count(bg, width, 0, right, img.height(), 0) == right * img.height() &&
           img.count(bg, 0, height, width, below, 0) == width * below;
}

// A checkbox is ticked when black pixels stand inside its white box.
inline bool checkboxTicked(const Image& panel, int index)
{
    const Rect& r = CHECKBOXES[index];
    return panel.count(BLACK, r.x + 3, r.y + 3, 8, 9, 8) > 10;
}

// The one selected radio button (black pixels stand inside its round mark),
// or -1 when none or several look selected.
inline int selectedRadio(const Image& panel)
{
    int selected = -1;
    for (int i = 0; i < 3; ++i) {
        if (panel.count(BLACK, RADIOS[i].x + 5, RADIOS[i].y + 5, 6, 6, 8) >= 8) {
            if (selected != -1)
                return -1;
            selected = i;
        }
    }
    return selected;
}

// The sizes (third value of each point line) of a point file's text.
inline std::vector<double> sizesIn(const std::string& text)
{
    std::vector<double> sizes;
    std::vector<std::string> lines = splitLines(text);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        double x = 0, y = 0, size = 0;
        if (std::sscanf(lines[i].c_str(), "%lf %lf %lf", &x, &y, &size) == 3)
            sizes.push_back(size);
    }
    return sizes;
}

// A fixture with the panel's controls at hand.
class PanelFixture : public EditorTest {
protected:
    Image capturePanel()
    {
        Image img = x_->capture(panel_);
        noteImage(img, "controls-last-capture");
        return img;
    }

    Image waitForPanel(const std::function<bool(const Image&)>& pred, Millis timeout = 5s)
    {
        Image img = x_->waitForImage(panel_, pred, timeout);
        noteImage(img, "controls-last-capture");
        return img;
    }

    void clickPanel(int x, int y) { x_->click(panel_, x, y); }
    void clickControl(const Rect& r) { clickPanel(r.cx(), r.cy()); }

    // Whether the spinner's field shows `value` and nothing else (no caret):
    // its text, read against GLUT's HELVETICA_12 glyphs drawn by the
    // harness's reference program.
    bool spinnerShows(const Image& panel, int value)
    {
        PixelSet glyphs;
        for (Pixel p : textMask(std::to_string(value), 12).on)
            glyphs.insert({p.x, p.y});
        const PixelSet ink = fieldInk(panel);
        return !ink.empty() && movedToOrigin(ink) == movedToOrigin(glyphs);
    }

    // Waits until the spinner shows `value`.
    ::testing::AssertionResult waitForSpinner(int value, Millis timeout = 5s)
    {
        textMask(std::to_string(value), 12);  // rendered before the wait starts
        if (spinnerShows(waitForPanel([&](const Image& i) { return spinnerShows(i, value); }, timeout), value))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the spinner does not show " << value;
    }

    // Presses "Save Point Set(S)"; returns the text it saved ("" and a
    // failure when it saved nothing).
    std::string saveWithButton()
    {
        return saveBy([&] { clickControl(SAVE_BUTTON); });
    }

    // Clicks "Change Color Schema(7)" and waits until the drawing shows
    // `schema`'s colours only: every layer callback pressed before it has
    // then been handled, since the editor handles input in order.
    Image switchSchemaTo(int schema)
    {
        clickControl(SCHEMA_BUTTON);
        const int other = 1 - schema;
        return waitForDrawing([&](const Image& img) {
            return img.count(POINTS_COLOURS[schema]) > 0 && img.count(POINTS_COLOURS[other]) == 0 &&
                   img.count(LINES_COLOURS[other]) == 0 && img.count(GEOMETRY_COLOURS[other]) == 0;
        });
    }
};

// A 300 x 200 rectangle around the origin, corners counter-clockwise from the
// bottom left: P1 (-150,-100), P2 (150,-100), P3 (150,100), P4 (-150,100).
inline const std::vector<PointSpec> RECTANGLE = {{-150, -100, 10}, {150, -100, 10}, {150, 100, 10}, {-150, 100, 10}};

// The panel fixture with RECTANGLE loaded and drawn as a polygon with every
// layer on; `drawn_` is that drawing.
class RectangleFixture : public PanelFixture {
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        if (HasFatalFailure())
            return;
        loadPoints(RECTANGLE);
        drawn_ = waitForDrawing([](const Image& i) { return allLayersShown(i); });
        ASSERT_TRUE(allLayersShown(drawn_)) << "the rectangle was not drawn with every layer";
        editor_->markAllConsumed();
    }

    static bool allLayersShown(const Image& img)
    {
        return img.count(GEOMETRY_COLOURS[0]) > 1000 && img.count(LINES_COLOURS[0]) > 1000 &&
               img.count(POINTS_COLOURS[0]) > 100;
    }

    Image drawn_;
};

}  // namespace e2e::panel
