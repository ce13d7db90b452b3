#include "model/EditorModel.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace tevra {
namespace {

using Steps = std::vector<int>;
constexpr int kRefused = -1;

class EditorModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_model.setStepCountListener([this](int count) { m_notified.push_back(count); });
    }

    // Every record gets a content of its own, time 1000 + record and cells record + channel, so
    // that moves and copies can be traced. Then the start block, count steps, these first times,
    // the given step, and a snapshot.
    void prepare(int count, int step, const Steps& firstTimes = {}) {
        ProgramImage& image = m_model.workingForRead();
        for (int record = 1; record <= kMaxSteps; ++record) {
            image.setStepTime(record, static_cast<std::uint16_t>(1000 + record));
            for (int channel = 0; channel < kChannelCount; ++channel) {
                image.setCell(record, channel, static_cast<std::uint8_t>(record + channel));
            }
        }
        for (std::size_t i = 0; i < firstTimes.size(); ++i) {
            image.setStepTime(static_cast<int>(i + 1), static_cast<std::uint16_t>(firstTimes[i]));
        }
        image.setHeaderWord(static_cast<std::uint16_t>(kStartBlockBit | count));
        m_model.setCurrentStep(step);
        m_model.takeSnapshot();
        m_before = working();
        m_notified.clear();
    }

    // For each of records from..to: the original record it holds; where it kept its own cells
    // under another time, minus that time; 0 where its cells are no record's.
    Steps origins(int from, int to) const {
        Steps found;
        for (int step = from; step <= to; ++step) {
            const int time = working().stepTime(step);
            const auto holds = [this, step](int origin) {
                return working().cell(step, 0) == origin % 256 &&
                       working().cell(step, 15) == (origin + 15) % 256;
            };
            found.push_back(holds(time - 1000) ? time - 1000 : holds(step) ? -time : 0);
        }
        return found;
    }

    const ProgramImage& working() const { return m_model.working(); }

    EditorModel m_model;
    ProgramImage m_before;
    Steps m_notified;
};

TEST_F(EditorModelTest, CountButtonsRefuseWholeStepsAcrossALimitAndTakeNoSnapshot) {
    const int rows[][3] = {{20, 1, 21},    {499, 1, 500}, {500, 1, 500}, {490, 10, 500},
                           {495, 10, 495}, {20, 0, 20},   {3, -1, 2},    {2, -1, 2},
                           {12, -10, 2},   {11, -10, 11}, {0, 1, 1}};
    for (const auto& [from, delta, after] : rows) {
        SCOPED_TRACE(::testing::Message() << from << " by " << delta);
        prepare(from, 7);
        EXPECT_EQ(m_model.adjustStepCount(delta), after != from);
        EXPECT_EQ(working().headerWord(), kStartBlockBit | after);
        EXPECT_EQ(origins(1, 3), (Steps{1, 2, 3}));
        EXPECT_EQ(m_model.undoImage(), m_before);
        EXPECT_EQ(m_model.currentStep(), 7);
        EXPECT_EQ(m_notified, after != from ? Steps{after} : Steps{});
    }
}

TEST_F(EditorModelTest, EditsSnapshotAndChangeRecordsAndCountOrAreRefusedWhole) {
    const auto insert = [this](bool taken) {
        return [=, this] { EXPECT_EQ(m_model.insertStep(), taken); };
    };
    const auto remove = [this](bool taken) {
        return [=, this] { EXPECT_EQ(m_model.deleteStep(), taken); };
    };
    const auto times = [this](StepTimesRange range) {
        return [=, this] { m_model.setStepTimes(range); };
    };
    const auto copy = [this](CopyRange range) {
        return [=, this] { m_model.copySteps(m_model.working(), range); };
    };
    // On count steps at a step: the edit, the count and step after, and the origins of records
    // 1, 2, ... and of 499 and 500. An insert loses record 500; a delete leaves it its time, not
    // its cells. A copy onto a later overlap repeats the head; onto an earlier one it copies as
    // it was.
    const std::tuple<int, int, std::function<void()>, int, int, Steps, Steps> rows[] = {
        {5, 3, insert(true), 6, 4, {1, 2, 3, 3, 4, 5, 6}, {498, 499}},
        {5, 5, insert(true), 6, 6, {1, 2, 3, 4, 5, 5, 6}, {498, 499}},
        {20, 500, insert(true), 21, 500, {1, 2, 3}, {499, 500}},
        {0, 1, insert(true), 1, 1, {1, 1, 2}, {498, 499}},
        {500, 3, insert(false), kRefused, 3, {1}, {499, 500}},
        {5, 2, remove(true), 4, 2, {1, 3, 4, 5}, {500, 0}},
        {5, 8, remove(true), 4, 8, {1, 2, 3, 4, 5, 6, 7, 9}, {500, 0}},
        {2, 1, remove(false), kRefused, 1, {1}, {499, 500}},
        {10, 2, times({1, 20, 250}), 20, 2, Steps(20, -250), {499, 500}},
        {30, 2, times({5, 5, 2560}), 30, 2, {1, 2, 3, 4, -2560, 6}, {499, 500}},
        {10, 2, times({499, 500, 5}), 500, 2, {1}, {-5, -5}},
        {10, 3, times({0, 2, 100}), kRefused, 3, {1}, {499, 500}},
        {10, 3, times({1, 501, 100}), kRefused, 3, {1}, {499, 500}},
        {10, 3, times({5, 4, 100}), kRefused, 3, {1}, {499, 500}},
        {10, 3, times({1, 2, 4}), kRefused, 3, {1}, {499, 500}},
        {10, 3, times({1, 2, 2561}), kRefused, 3, {1}, {499, 500}},
        {10, 2, copy({1, 4, 3, 6}), 10, 2, {1, 2, 1, 2, 1, 2, 7}, {499, 500}},
        {10, 2, copy({3, 6, 1, 4}), 10, 2, {3, 4, 5, 6, 5, 6}, {499, 500}},
        {10, 2, copy({3, 3, 7, 7}), 10, 2, {1, 2, 3, 4, 5, 6, 3, 8}, {499, 500}},
        {5, 2, copy({1, 2, 10, 11}), 11, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 12}, {499, 500}},
        {5, 2, copy({1, 2, 499, 500}), 500, 2, {1}, {1, 2}},
        {10, 3, copy({0, 1, 1, 2}), kRefused, 3, {1}, {499, 500}},
        {10, 3, copy({499, 500, 1, 3}), kRefused, 3, {1}, {499, 500}},
        {10, 3, copy({1, 2, 5, 4}), kRefused, 3, {1}, {499, 500}},
        {10, 3, copy({1, 2, 0, 1}), kRefused, 3, {1}, {499, 500}},
        {10, 3, copy({1, 2, 500, 501}), kRefused, 3, {1}, {499, 500}}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& [count, step, edit, countAfter, stepAfter, first, last] = rows[i];
        SCOPED_TRACE(::testing::Message() << "row " << i);
        prepare(count, step);
        m_model.selectChannel(7);
        m_model.setCurrentCell(0x42); // not snapshotted: a snapshot by the edit would take it
        const ProgramImage before = working();
        edit();
        const bool taken = countAfter != kRefused;
        EXPECT_EQ(working().stepCount(), taken ? countAfter : count);
        EXPECT_TRUE(working().startBlock());
        EXPECT_EQ(m_model.currentStep(), stepAfter);
        EXPECT_EQ(origins(1, static_cast<int>(first.size())), first);
        EXPECT_EQ(origins(499, 500), last);
        EXPECT_EQ(m_notified, taken ? Steps{countAfter} : Steps{});
        EXPECT_EQ(m_model.undoImage(), taken ? before : m_before);
        EXPECT_TRUE(taken || working() == before);
        m_model.restoreSnapshot();
        EXPECT_EQ(m_model.currentStep(), step);
    }
}

TEST_F(EditorModelTest, NudgeStepTimeStopsAtTheLimitsWithoutWrapping) {
    const int rows[][3] = {{100, 1, 101},     {100, -1, 99},      {2559, 1, 2560}, {2560, 1, 2560},
                           {6, -1, 5},        {5, -1, 5},         {0, -1, 0},      {3, 1, 4},
                           {65535, 1, 65535}, {65535, -1, 65534}, {100, 0, 100},   {3000, 1, 3000},
                           {2561, -1, 2560}};
    for (const auto& [time, direction, after] : rows) {
        SCOPED_TRACE(::testing::Message() << time << " by " << direction);
        prepare(1, 1, {time});
        EXPECT_EQ(m_model.nudgeStepTime(direction), after != time);
        EXPECT_EQ(working().stepTime(1), after);
        EXPECT_EQ(m_model.undoImage(), m_before);
    }
}

TEST_F(EditorModelTest, ShiftAllTimesShiftsEveryStepOrNone) {
    // Times, shift, the first failing step (0: none) and the times after. Each direction tests
    // only its own limit: times from a file beyond the other one still shift. The step after
    // the count would fail either way, so it must not be looked at.
    const std::tuple<Steps, int, int, Steps> rows[] = {
        {{100, 2556, 100, 1}, 5, 2, {100, 2556, 100, 1}},
        {{100, 2555, 100, 1}, 5, 0, {105, 2560, 105, 1}},
        {{9, 1}, -5, 1, {9, 1}},
        {{10, 20, 1}, -5, 0, {5, 15, 1}},
        {{100, 3, 1}, -5, 2, {100, 3, 1}},
        {{100, 0, 1}, -5, 2, {100, 0, 1}},
        {{100, 65535, 1}, 5, 2, {100, 65535, 1}},
        {{2566, 65535, 1}, -5, 0, {2561, 65530, 1}},
        {{0, 4, 1}, 5, 0, {5, 9, 1}}};
    for (const auto& [before, delta, failingStep, after] : rows) {
        const int count = static_cast<int>(before.size()) - 1;
        SCOPED_TRACE(::testing::Message() << "by " << delta << " over " << count);
        prepare(count, count, before);
        const std::optional<ShiftRefusal> refusal = m_model.shiftAllTimes(delta);
        Steps times;
        for (const int origin : origins(1, count + 1)) {
            times.push_back(-origin);
        }
        EXPECT_EQ(times, after);
        EXPECT_EQ(m_model.undoImage(), m_before);
        EXPECT_EQ(m_model.undoStep(), count);
        EXPECT_EQ(refusal.value_or(ShiftRefusal{0, delta > 0}).step, failingStep);
        EXPECT_EQ(refusal.value_or(ShiftRefusal{0, delta > 0}).longer, delta > 0);
        EXPECT_EQ(m_model.currentStep(), refusal ? failingStep : count);
    }
}

TEST_F(EditorModelTest, PositionMovesWithinTheCountAndResetsToTheStart) {
    prepare(3, 1);
    using Moves = std::vector<bool>;
    EXPECT_EQ((Moves{m_model.nextStep(), m_model.nextStep(), m_model.nextStep()}),
              (Moves{true, true, false}));
    EXPECT_EQ((Moves{m_model.previousStep(), m_model.previousStep(), m_model.previousStep()}),
              (Moves{true, true, false}));
    m_model.setCurrentStep(3);
    m_model.selectChannel(16);
    EXPECT_EQ(m_model.selectedChannel(), 15);
    m_model.resetPosition();
    EXPECT_EQ(std::pair(m_model.currentStep(), m_model.selectedChannel()), std::pair(1, 0));
    EXPECT_EQ(m_notified, Steps{3});
}

TEST_F(EditorModelTest, SnapshotsOfChannelButtonsDimmerTimeAndInsertFromFile) {
    prepare(20, 2); // cell (2, 15) is 0x11: On, param 2
    m_model.applyChannelButton(15, ChannelButton::Primary, 2);
    EXPECT_EQ(m_model.selectedChannel(), 15);
    EXPECT_EQ(m_model.undoImage(), m_before);
    m_model.applyChannelButton(15, ChannelButton::Secondary, 2);
    EXPECT_EQ(m_model.currentCell(), 0x17);
    m_model.restoreSnapshot();
    EXPECT_EQ(m_model.currentCell(), 0x12);

    m_model.setCurrentStepTime(300);
    m_model.setTimeFromDimmer(12);
    EXPECT_EQ(m_model.currentStepTime(), 512);
    m_model.restoreSnapshot();
    EXPECT_EQ(m_model.currentStepTime(), 300);

    // A file to insert from is read before the copy dialog; records beyond its count are
    // copied too.
    m_model.setCurrentCell(0x99);
    const ProgramImage before = working();
    m_model.beginInsertFromFile(); // and cancelled
    m_model.restoreSnapshot();
    EXPECT_EQ(working(), before);
    m_model.importForRead().setHeaderWord(2);
    m_model.importForRead().setStepTime(5, 42);
    m_model.beginInsertFromFile();
    m_model.finishInsertFromFile({5, 5, 3, 4});
    EXPECT_EQ(working().stepTime(3), 42);
    EXPECT_EQ(working().stepTime(4), kDefaultStepTime);
    m_model.restoreSnapshot();
    EXPECT_EQ(working(), before);
}

TEST_F(EditorModelTest, UndoRevertsAllSinceTheSnapshotAsOftenAsAsked) {
    prepare(10, 4);
    m_model.deleteStep();
    m_model.adjustStepCount(1);
    m_model.setCurrentCell(0x7B);
    m_model.nudgeStepTime(1);
    m_model.setStartBlock(false);
    m_model.selectChannel(9);
    m_model.setCurrentStep(7);
    for (int undo = 0; undo < 2; ++undo) {
        m_model.restoreSnapshot();
        EXPECT_EQ(working(), m_before);
        EXPECT_EQ(std::pair(m_model.currentStep(), m_model.selectedChannel()), std::pair(4, 9));
    }
    EXPECT_EQ(m_notified, (Steps{9, 10, 10, 10}));
}

TEST_F(EditorModelTest, ModifiedFollowsTheUsedPartOnly) {
    m_model.setCurrentStep(21); // beyond the count
    m_model.setCurrentCell(0x01);
    EXPECT_FALSE(m_model.isModified());
    m_model.setCurrentStep(20);
    m_model.setCurrentCell(0x01);
    EXPECT_TRUE(m_model.isModified());
    m_model.setCurrentCell(0x00); // the same content again
    EXPECT_FALSE(m_model.isModified());
    m_model.adjustStepCount(1);
    EXPECT_TRUE(m_model.isModified());
    m_model.markUnmodified();
    EXPECT_FALSE(m_model.isModified());
    m_model.setStartBlock(true);
    EXPECT_TRUE(m_model.isModified());
}

} // namespace
} // namespace tevra
