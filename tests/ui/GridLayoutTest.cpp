#include "ui/GridLayout.h"

#include <gtest/gtest.h>
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

// Times from a file may lie outside 5..2560; by time they are drawn as the nearest limit,
// never narrower than a clickable column.
TEST(GridLayout, ColumnsAreUniformOrInProportionToTheStepTime) {
    const ProgramImage program = programWithTimes({5, 100, 2560, 0, 65535, 37, 250});
    const struct {
        bool byTime;
        std::vector<int> widths;
    } rows[] = {{false, {40, 40, 40, 40, 40, 40, 40}}, {true, {4, 40, 1024, 4, 1024, 15, 100}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.byTime);
        GridLayout layout;
        layout.layOut(program, r.byTime);
        ASSERT_EQ(layout.columnCount(), 7);
        int left = 0;
        for (int step = 1; step <= 7; ++step) {
            EXPECT_EQ(layout.columnLeft(step), left);
            EXPECT_EQ(layout.columnWidth(step), r.widths[static_cast<std::size_t>(step) - 1]);
            left += layout.columnWidth(step);
        }
        EXPECT_EQ(layout.width(), left);
        EXPECT_EQ(layout.columnWidth(0), 0);
        EXPECT_EQ(layout.columnWidth(8), 0);
        EXPECT_EQ(GridLayout::height(), 34 + 16 * 18);
    }
}

TEST(GridLayout, ColumnCountFollowsTheProgramWithinTheImage) {
    const struct {
        std::uint16_t header;
        int columns;
    } rows[] = {{20, 20}, {0x8014, 20}, {0, 0}, {1, 1}, {500, 500}, {0x7FFF, 500}};
    GridLayout layout;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.header);
        ProgramImage program = ProgramImage::startProgram();
        program.setHeaderWord(r.header);
        layout.layOut(program, false);
        EXPECT_EQ(layout.columnCount(), r.columns);
        EXPECT_EQ(layout.width(), 40 * r.columns);
        EXPECT_EQ(layout.hitTest({0, 40}).step, r.columns > 0 ? std::optional(1) : std::nullopt);
    }
}

TEST(GridLayout, HitTestAtTheEdges) {
    GridLayout layout;
    layout.layOut(programWithTimes({100, 50, 100}), true); // columns 0..39, 40..59, 60..99
    const int bottom = GridLayout::height() - 1;
    const struct {
        PointPx point;
        GridHit hit;
    } rows[] = {
        {{0, 0}, {1, {}}},   {{39, 33}, {1, {}}},       {{40, 34}, {2, 0}},
        {{59, 51}, {2, 0}},  {{60, 52}, {3, 1}},        {{99, bottom}, {3, 15}},
        {{100, 40}, {}},     {{0, bottom + 1}, {}},     {{0, -1}, {}},
        {{-1, 34}, {{}, 0}}, {{-28, bottom}, {{}, 15}}, {{-29, 40}, {}},
        {{-1, 10}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.point.x << "," << r.point.y);
        EXPECT_EQ(layout.hitTest(r.point), r.hit);
    }
}

TEST(GridLayout, StepsBetweenCoverEveryColumnThatMeetsTheRange) {
    GridLayout layout;
    layout.layOut(programWithTimes({100, 50, 100}), true);
    const struct {
        int left;
        int right;
        std::pair<int, int> steps;
    } rows[] = {{0, 40, {1, 1}},
                {39, 41, {1, 2}},
                {-50, 1000, {1, 3}},
                {99, 100, {3, 3}},
                {100, 200, {4, 3}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.left);
        EXPECT_EQ(layout.stepsBetween(r.left, r.right), r.steps);
    }
}

} // namespace
} // namespace tevra
