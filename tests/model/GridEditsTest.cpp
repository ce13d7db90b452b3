#include "model/GridEdits.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tevra {
namespace {

constexpr CellRange kWholeGrid{1, kMaxSteps, 0, kChannelCount - 1};

// Every record traceable: time 1000 + record, cell record + channel.
ProgramImage tracedProgram(int count) {
    ProgramImage image = ProgramImage::startProgram();
    for (int step = 1; step <= kMaxSteps; ++step) {
        image.setStepTime(step, static_cast<std::uint16_t>(1000 + step));
        for (int channel = 0; channel < kChannelCount; ++channel) {
            image.setCell(step, channel, static_cast<std::uint8_t>(step + channel));
        }
    }
    image.setStepCount(count);
    return image;
}

// The original record each of steps first..last holds, read from its time.
std::vector<int> origins(const ProgramImage& image, int first, int last) {
    std::vector<int> found;
    for (int step = first; step <= last; ++step) {
        found.push_back(image.stepTime(step) - 1000);
    }
    return found;
}

TEST(GridEditsTest, PasteClipsAtTheLastStepAndChannelAndGrowsTheCount) {
    struct Case {
        int step;
        int channel;
        int times;
        PasteOutcome dropped;
        int count;
    };
    const CellBlock block = CellBlock::copiedFrom(tracedProgram(20), {1, 8, 0, 3});
    for (const Case& c : std::vector<Case>{
             {1, 0, 1, {0, 0}, 20},
             {18, 0, 1, {0, 0}, 25},
             {496, 14, 1, {12, 10}, kMaxSteps},
             {5, 0, 4, {0, 0}, 36},
             {490, 0, 4, {84, 0}, kMaxSteps},
             {kMaxSteps, kChannelCount - 1, 1, {28, 3}, kMaxSteps},
         }) {
        ProgramImage image = tracedProgram(20);
        EXPECT_EQ(pasteBlock(image, block, c.step, c.channel, c.times), c.dropped) << c.step;
        EXPECT_EQ(image.stepCount(), c.count) << c.step;
        EXPECT_EQ(image.cell(c.step, c.channel), 1) << c.step;
        const int lastCopyStep = c.step + (c.times - 1) * 8;
        if (lastCopyStep <= kMaxSteps) {
            EXPECT_EQ(image.cell(lastCopyStep, c.channel), 1) << c.step;
        }
        EXPECT_EQ(image.stepTime(c.step), 1000 + c.step) << "times stay";
    }
}

TEST(GridEditsTest, ShiftsWrapInsideTheRangeOnly) {
    struct Case {
        ShiftDirection direction;
        // Where the range's first cell (5, 2) went, and which cell now stands there.
        int toStep;
        int toChannel;
        int fromStep;
        int fromChannel;
    };
    const CellRange range{5, 8, 2, 4};
    for (const Case& c : std::vector<Case>{
             {ShiftDirection::Down, 5, 3, 5, 4},
             {ShiftDirection::Up, 5, 4, 5, 3},
             {ShiftDirection::Right, 6, 2, 8, 2},
             {ShiftDirection::Left, 8, 2, 6, 2},
         }) {
        const ProgramImage before = tracedProgram(20);
        ProgramImage image = before;
        shiftCells(image, range, c.direction);
        EXPECT_EQ(image.cell(c.toStep, c.toChannel), before.cell(5, 2));
        EXPECT_EQ(image.cell(5, 2), before.cell(c.fromStep, c.fromChannel));
        EXPECT_EQ(image.cell(4, 2), before.cell(4, 2));
        EXPECT_EQ(image.cell(5, 5), before.cell(5, 5));
    }
    ProgramImage single = tracedProgram(20);
    shiftCells(single, {3, 3, 0, 0}, ShiftDirection::Right);
    EXPECT_EQ(single, tracedProgram(20));
}

TEST(GridEditsTest, StepOperationsAtTheEdgesOrRefusedWhole) {
    using Op = std::function<bool(ProgramImage&)>;
    struct Case {
        std::string name;
        int count;
        Op op;
        int countAfter; // -1: refused
        int first;
        std::vector<int> expected;
    };
    const std::vector<Case> cases{
        {"duplicate last",
         20,
         [](auto& p) { return duplicateSteps(p, 19, 20); },
         22,
         19,
         {19, 20, 19, 20, 21}},
        {"duplicate to 500",
         498,
         [](auto& p) { return duplicateSteps(p, 1, 2); },
         500,
         1,
         {1, 2, 1, 2, 3}},
        {"duplicate past 500", 499, [](auto& p) { return duplicateSteps(p, 1, 2); }, -1, 1, {}},
        {"delete first", 20, [](auto& p) { return deleteSteps(p, 1, 3); }, 17, 1, {4, 5}},
        {"delete one", 20, [](auto& p) { return deleteSteps(p, 5, 5); }, 19, 4, {4, 6}},
        {"delete to two", 5, [](auto& p) { return deleteSteps(p, 2, 4); }, 2, 1, {1, 5, 6}},
        {"delete below two", 4, [](auto& p) { return deleteSteps(p, 1, 3); }, -1, 1, {}},
        {"delete at 500",
         500,
         [](auto& p) { return deleteSteps(p, 499, 500); },
         498,
         498,
         {498, 499, 500}},
        {"reverse",
         20,
         [](auto& p) {
             reverseSteps(p, 18, 20);
             return true;
         },
         20,
         17,
         {17, 20, 19, 18, 21}},
        {"insert block",
         10,
         [](auto& p) { return insertBlockSteps(p, CellBlock(2, 16), 10, 0, 3, 100); },
         16,
         10,
         {10, -900, -900, -900, -900, -900, -900, 11}},
        {"insert past 500",
         495,
         [](auto& p) { return insertBlockSteps(p, CellBlock(2, 16), 10, 0, 3, 100); },
         -1,
         1,
         {}},
        {"times", 20, [](auto& p) { return setStepTimes(p, 2, 3, 1200); }, 20, 1, {1, 200, 200, 4}},
        {"times too long", 20, [](auto& p) { return setStepTimes(p, 2, 3, 2561); }, -1, 1, {}},
    };
    for (const Case& c : cases) {
        ProgramImage image = tracedProgram(c.count);
        const ProgramImage before = image;
        const bool done = c.op(image);
        if (c.countAfter < 0) {
            EXPECT_FALSE(done) << c.name;
            EXPECT_EQ(image, before) << c.name;
            continue;
        }
        EXPECT_TRUE(done) << c.name;
        EXPECT_EQ(image.stepCount(), c.countAfter) << c.name;
        EXPECT_EQ(origins(image, c.first, c.first + static_cast<int>(c.expected.size()) - 1),
                  c.expected)
            << c.name;
    }
}

TEST(GridEditsTest, InsertedStepsTakeTheBlockTimesAndRowsFromTheChannel) {
    ProgramImage image = tracedProgram(10);
    CellBlock block = CellBlock::copiedFrom(image, {3, 4, 0, kChannelCount - 1});
    ASSERT_EQ(block.times(), (std::vector<std::uint16_t>{1003, 1004}));
    ASSERT_TRUE(insertBlockSteps(image, block, 5, 0, 1, 100));
    EXPECT_EQ(origins(image, 5, 8), (std::vector<int>{5, 3, 4, 6}));
    EXPECT_EQ(image.cell(6, 15), 3 + 15);

    const CellBlock rows = CellBlock::copiedFrom(image, {1, 1, 0, 1});
    EXPECT_TRUE(rows.times().empty());
    ASSERT_TRUE(insertBlockSteps(image, rows, 1, 15, 1, 700));
    EXPECT_EQ(image.stepTime(2), 700);
    EXPECT_EQ(image.cell(2, 15), 1) << "a row past the last channel is dropped";
    EXPECT_EQ(image.cell(2, 14), 0);
    EXPECT_EQ(image.cell(2, 0), 0);
    fillCells(image, kWholeGrid, 0x7B);
    EXPECT_EQ(image.cell(kMaxSteps, kChannelCount - 1), 0x7B);
}

} // namespace
} // namespace tevra
