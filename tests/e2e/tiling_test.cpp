// The editor under i3, a tiling window manager: both windows come up side by
// side at sizes the manager chooses, not their own, and must be drawn all
// over at those sizes. That clicks and drags land under the pointer in a
// drawing window of another size, and that a control of a larger Controls
// window acts where it is drawn, are the resize tests'.
#include <utility>

#include "panel_helpers.h"

using namespace e2e;
using namespace e2e::panel;

namespace {

constexpr int PANEL_WIDTH = 176, PANEL_HEIGHT = 401;  // the panel's own size

class Tiled : public PanelFixture {
protected:
    Desktop chooseDesktop() const override { return Desktop::i3(); }

    void SetUp() override
    {
        PanelFixture::SetUp();
        if (HasFatalFailure())
            return;
        Geometry d = x_->geometry(drawing_), p = x_->geometry(panel_);
        ASSERT_NE(std::make_pair(d.width, d.height), std::make_pair(DRAWING_WIDTH, DRAWING_HEIGHT))
            << "the drawing window was not tiled";
        ASSERT_NE(std::make_pair(p.width, p.height), std::make_pair(PANEL_WIDTH, PANEL_HEIGHT))
            << "the Controls window was not tiled";
    }

    // The panel's background colour: that of the spot right of the
    // "Drawing Operations" text, once the panel is drawn.
    static Rgb backgroundOf(const Image& panel) { return panel.at(BACKGROUND_X, BACKGROUND_Y); }
};

TEST_F(Tiled, BothWindowsAreDrawnAllOverAtTheManagersSizes)
{
    EXPECT_TRUE(waitForDrawing([&](const Image& i) { return i.allNear(WHITE, 0); }).allNear(WHITE, 0))
        << "the drawing window is not white all over at " << x_->geometry(drawing_);
    // The controls at the top-left as at the panel's own size, its
    // background everywhere else: nothing left black.
    auto drawnAllOver = [&](const Image& i) {
        return spinnerShows(i, 10) && selectedRadio(i) == 0 && checkboxTicked(i, 2) &&
               onlyBackgroundBeyond(i, PANEL_WIDTH, PANEL_HEIGHT, backgroundOf(i));
    };
    Image panel = waitForPanel(drawnAllOver);
    EXPECT_TRUE(drawnAllOver(panel)) << "the Controls window (" << panel.width() << "x" << panel.height()
                                     << ") is not drawn all over; " << panel.count(BLACK, 0)
                                     << " pixels are black";
    // The panel asks for its own size back and i3 keeps its own: that must
    // not turn into a loop of resizes and redraws.
    RedrawCounter panelRedraws(server_->display(), panel_);
    EXPECT_TRUE(panelRedraws.waitForQuiet(300ms, 10s)) << "the Controls window keeps redrawing";
}

}  // namespace
