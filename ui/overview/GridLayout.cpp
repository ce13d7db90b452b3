#include "ui/overview/GridLayout.h"

#include <algorithm>

namespace tevra {

namespace {

constexpr int kUnitsPerSecond = static_cast<int>(std::chrono::seconds{1} / kStepTimeUnit);

int columnWidthFor(std::uint16_t stepTime, bool byTime) {
    if (!byTime) {
        return GridLayout::kUniformColumnWidthPx;
    }
    const int units = std::clamp<int>(stepTime, kMinStepTime, kMaxStepTime);
    const int width =
        (units * GridLayout::kPixelsPerSecond + kUnitsPerSecond / 2) / kUnitsPerSecond;
    return std::max(width, GridLayout::kMinColumnWidthPx);
}

} // namespace

void GridLayout::layOut(const ProgramImage& program, bool byTime) {
    const int count = std::clamp(program.stepCount(), 0, kMaxSteps);
    m_edges.resize(static_cast<std::size_t>(count) + 1);
    for (int step = 1; step <= count; ++step) {
        const auto k = static_cast<std::size_t>(step);
        m_edges[k] = m_edges[k - 1] + columnWidthFor(program.stepTime(step), byTime);
    }
}

int GridLayout::columnLeft(int step) const {
    return m_edges[static_cast<std::size_t>(std::clamp(step, 1, columnCount() + 1) - 1)];
}

int GridLayout::columnWidth(int step) const {
    if (step < 1 || step > columnCount()) {
        return 0;
    }
    return m_edges[static_cast<std::size_t>(step)] - m_edges[static_cast<std::size_t>(step) - 1];
}

GridHit GridLayout::hitTest(PointPx point) const {
    if (point.y < 0 || point.y >= height() || point.x < -kLabelWidthPx || point.x >= width()) {
        return {};
    }
    GridHit hit;
    if (point.x >= 0) {
        // The first edge beyond x closes the column that holds it.
        const auto edge = std::upper_bound(m_edges.begin(), m_edges.end(), point.x);
        hit.step = static_cast<int>(edge - m_edges.begin());
    }
    if (point.y >= kHeaderHeightPx) {
        hit.channel = (point.y - kHeaderHeightPx) / kRowHeightPx;
    }
    return hit;
}

std::pair<int, int> GridLayout::stepsBetween(int left, int right) const {
    const auto first = std::upper_bound(m_edges.begin(), m_edges.end(), std::max(left, 0));
    const auto last = std::lower_bound(m_edges.begin(), m_edges.end(), right);
    return {static_cast<int>(first - m_edges.begin()),
            std::min(static_cast<int>(last - m_edges.begin()), columnCount())};
}

std::optional<int> GridLayout::headerTextLeft(int step, int textWidth, int visibleLeft,
                                              int visibleRight) const {
    // The column's last pixel is the grid line.
    const int inner = columnWidth(step) - 1;
    if (textWidth + 2 * kTextMarginPx > inner) {
        return std::nullopt;
    }
    const int left = columnLeft(step) + (inner - textWidth) / 2;
    if (left < visibleLeft || left + textWidth > visibleRight) {
        return std::nullopt;
    }
    return left;
}

int GridLayout::scrollShowing(int step, int scroll, int visibleWidth) const {
    const int left = columnLeft(step);
    const int right = left + columnWidth(step);
    if (left < scroll) {
        return left;
    }
    if (right > scroll + visibleWidth) {
        return std::min(left, right - visibleWidth);
    }
    return scroll;
}

} // namespace tevra
