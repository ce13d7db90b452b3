#include "ui/overview/GridLayout.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace tevra {
namespace {

ProgramImage programWithTimes(const std::vector<std::uint16_t>& times) {
    ProgramImage program = ProgramImage::startProgram();
    program.setStepCount(static_cast<int>(times.size()));
    for (std::size_t i = 0; i < times.size(); ++i) {
        program.setStepTime(static_cast<int>(i) + 1, times[i]);
    }
    return program;
}

// Every column's place and width, and none outside 1..count.
void expectColumns(const GridLayout& layout, const std::vector<int>& widths) {
    const int count = static_cast<int>(widths.size());
    ASSERT_EQ(layout.columnCount(), count);
    int left = 0;
    for (int step = 1; step <= count; ++step) {
        EXPECT_EQ(layout.columnLeft(step), left) << step;
        EXPECT_EQ(layout.columnWidth(step), widths[static_cast<std::size_t>(step) - 1]) << step;
        left += layout.columnWidth(step);
    }
    EXPECT_EQ(layout.width(), left);
    EXPECT_EQ(layout.columnLeft(count + 1), left);
    EXPECT_EQ(layout.columnWidth(0), 0);
    EXPECT_EQ(layout.columnWidth(count + 1), 0);
}

// By time, times from a file outside 5..2560 are drawn as the nearest limit, and no column is
// too narrow to click. The count is the header word's, within the image's 500 steps.
TEST(GridLayout, ColumnsAreUniformOrInProportionToTheStepTime) {
    GridLayout layout;
    layout.layOut(programWithTimes({5, 100, 2560, 0, 65535, 37, 250}), true);
    expectColumns(layout, {4, 40, 1024, 4, 1024, 15, 100});
    const std::pair<std::uint16_t, int> counts[] = {{0x8014, 20}, {0, 0}, {1, 1}, {0x7FFF, 500}};
    for (const auto& [header, columns] : counts) {
        ProgramImage program = ProgramImage::startProgram();
        program.setHeaderWord(header);
        layout.layOut(program, false);
        expectColumns(layout, std::vector<int>(static_cast<std::size_t>(columns), 40));
    }
}

TEST(GridLayout, HitTestAtTheEdges) {
    GridLayout layout;
    layout.layOut(programWithTimes({100, 50, 100}), true); // columns 0..39, 40..59, 60..99
    // Header 0..33, channel k from 34 + 18 k to 321; channel numbers from -28.
    const std::pair<PointPx, GridHit> hits[] = {
        {{0, 0}, {1, {}}},  {{39, 33}, {1, {}}},  {{40, 34}, {2, 0}},     {{59, 51}, {2, 0}},
        {{60, 52}, {3, 1}}, {{99, 321}, {3, 15}}, {{100, 40}, {}},        {{0, 322}, {}},
        {{0, -1}, {}},      {{-1, 34}, {{}, 0}},  {{-28, 321}, {{}, 15}}, {{-29, 40}, {}},
        {{-1, 10}, {}}};
    for (const auto& [point, hit] : hits) {
        EXPECT_EQ(layout.hitTest(point), hit) << point.x << "," << point.y;
    }
    // The steps whose columns meet x = left..right-1.
    const std::tuple<int, int, std::pair<int, int>> ranges[] = {
        {0, 40, {1, 1}},   {39, 41, {1, 2}},   {-50, 1000, {1, 3}},
        {99, 100, {3, 3}}, {100, 200, {4, 3}},
    };
    for (const auto& [left, right, steps] : ranges) {
        EXPECT_EQ(layout.stepsBetween(left, right), steps) << left;
    }
    // Scrolled least to show a step's column in a view of some width: from the left, from
    // the right, not at all, or to its left edge when it is wider than the view.
    const std::tuple<int, int, int, int> scrolls[] = {
        {1, 30, 50, 0}, {2, 0, 50, 10}, {2, 20, 50, 20}, {3, 0, 30, 60}, {3, 99, 30, 60}};
    for (const auto& [step, scroll, visibleWidth, shown] : scrolls) {
        EXPECT_EQ(layout.scrollShowing(step, scroll, visibleWidth), shown) << step << "," << scroll;
    }
    // A header text: centred with 3 px clear each side, or not at all unless wholly in view.
    const std::tuple<int, int, int, int, std::optional<int>> texts[] = {
        {1, 20, 0, 100, 9},   {1, 33, 0, 100, 3},   {1, 34, 0, 100, {}}, {2, 20, 0, 100, {}},
        {3, 20, 60, 100, 69}, {3, 20, 70, 100, {}}, {3, 20, 0, 88, {}}};
    for (const auto& [step, width, left, right, at] : texts) {
        EXPECT_EQ(layout.headerTextLeft(step, width, left, right), at) << step << "," << left;
    }
}

} // namespace
} // namespace tevra
