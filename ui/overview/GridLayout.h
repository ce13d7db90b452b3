#pragma once

#include "model/ProgramImage.h"
#include "ui/editor/EditorPresenter.h"

#include <optional>
#include <vector>

namespace tevra {

// What a point of the overview grid lies on: a cell has both, the header row only a step,
// the channel numbers only a channel.
struct GridHit {
    std::optional<int> step;
    std::optional<int> channel;

    bool operator==(const GridHit&) const = default;
};

// The overview grid's geometry in pixels: a header row, then one row per channel; one column
// per step, of one width or in proportion to the step's time. x counts from the left edge of
// step 1's column (the channel numbers stand left of it, at negative x), y from the top of
// the header row. Right and bottom edges are exclusive.
class GridLayout {
public:
    static constexpr int kUniformColumnWidthPx = 40;
    // By time a step of 1 s is as wide as a uniform column, so the start program looks alike
    // in both modes.
    static constexpr int kPixelsPerSecond = kUniformColumnWidthPx;
    // Short steps stay wide enough to see and to click.
    static constexpr int kMinColumnWidthPx = 4;
    static constexpr int kHeaderHeightPx = 34;
    static constexpr int kRowHeightPx = 18;
    static constexpr int kLabelWidthPx = 28;
    // Clear space each side of a header's text, so the times of neighbouring columns never
    // run together.
    static constexpr int kTextMarginPx = 3;

    // One column per step 1..stepCount; times outside 5..2560 (from a file) are drawn as the
    // nearest of them.
    void layOut(const ProgramImage& program, bool byTime);

    int columnCount() const { return static_cast<int>(m_edges.size()) - 1; }
    int width() const { return m_edges.back(); }
    static int height() { return kHeaderHeightPx + kChannelCount * kRowHeightPx; }
    // step 1..columnCount(), channel 0..kChannelCount-1.
    int columnLeft(int step) const;
    int columnWidth(int step) const;
    static int rowTop(int channel) { return kHeaderHeightPx + channel * kRowHeightPx; }

    GridHit hitTest(PointPx point) const;
    // The steps whose columns meet x = left..right-1; first > last when none does.
    std::pair<int, int> stepsBetween(int left, int right) const;
    // The scroll position nearest to scroll that shows step's column in a view visibleWidth
    // wide; a column wider than the view shows its left edge.
    int scrollShowing(int step, int scroll, int visibleWidth) const;

    // Where a header text textWidth wide starts, centred in step's column, when it fits inside
    // the column's margins and wholly inside the visible x = visibleLeft..visibleRight-1;
    // nothing otherwise, as a clipped text would be misread.
    std::optional<int> headerTextLeft(int step, int textWidth, int visibleLeft,
                                      int visibleRight) const;

private:
    // Column k's left edge at m_edges[k - 1], its right edge at m_edges[k].
    std::vector<int> m_edges{0};
};

} // namespace tevra
