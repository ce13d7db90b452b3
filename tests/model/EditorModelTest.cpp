#include "model/EditorModel.h"

#include "model/ChannelCell.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tevra {
namespace {

// Every record gets a content of its own, so moves and copies can be traced by their origin.
std::uint16_t tagTime(int step) {
    return static_cast<std::uint16_t>(1000 + step);
}

class EditorModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_model.setStepCountListener([this](int count) { m_notified.push_back(count); });
    }

    // A tagged program of count steps at the given step, with a snapshot of that state.
    void prepare(int count, int step) {
        ProgramImage& image = m_model.workingForRead();
        for (int record = 1; record <= kMaxSteps; ++record) {
            image.setStepTime(record, tagTime(record));
            for (int channel = 0; channel < kChannelCount; ++channel) {
                image.setCell(record, channel, static_cast<std::uint8_t>(record + channel));
            }
        }
        image.setStepCount(count);
        m_model.setCurrentStep(step);
        m_model.takeSnapshot();
        m_notified.clear();
    }

    const ProgramImage& working() const { return m_model.working(); }
    // Which original record a record of the working image now holds.
    int originOf(int step) const { return working().stepTime(step) - 1000; }
    std::vector<int> origins(int from, int to) const {
        std::vector<int> found;
        for (int step = from; step <= to; ++step) {
            found.push_back(originOf(step));
        }
        return found;
    }

    EditorModel m_model;
    std::vector<int> m_notified;
};

TEST_F(EditorModelTest, StartsWithTheStartProgramEverywhere) {
    const ProgramImage start = ProgramImage::startProgram();
    EXPECT_EQ(working(), start);
    EXPECT_EQ(m_model.undoImage(), start);
    EXPECT_EQ(m_model.importImage(), start);
    EXPECT_EQ(m_model.currentStep(), 1);
    EXPECT_EQ(m_model.undoStep(), 1);
    EXPECT_EQ(m_model.selectedChannel(), 0);
    EXPECT_FALSE(m_model.isModified());
}

struct CountRow {
    int from;
    int delta;
    int expected;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const CountRow& row, std::ostream* out) {
    *out << "from " << row.from << " by " << row.delta;
}

class AdjustStepCountTest : public EditorModelTest,
                            public ::testing::WithParamInterface<CountRow> {};

TEST_P(AdjustStepCountTest, RefusesWholeStepsAcrossALimit) {
    const CountRow row = GetParam();
    prepare(row.from, 1);
    m_model.workingForRead().setStartBlock(true);
    const ProgramImage undoBefore = m_model.undoImage();

    const bool accepted = m_model.adjustStepCount(row.delta);

    EXPECT_EQ(working().stepCount(), row.expected);
    EXPECT_EQ(accepted, row.expected != row.from);
    EXPECT_TRUE(working().startBlock());
    EXPECT_EQ(m_model.undoImage(), undoBefore);
    EXPECT_EQ(m_model.currentStep(), 1);
    EXPECT_EQ(m_notified, accepted ? std::vector<int>{row.expected} : std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(
    Limits, AdjustStepCountTest,
    ::testing::Values(CountRow{20, 1, 21}, CountRow{20, 10, 30}, CountRow{499, 1, 500},
                      CountRow{500, 1, 500}, CountRow{490, 10, 500}, CountRow{495, 10, 495},
                      CountRow{500, 10, 500}, CountRow{20, -1, 19}, CountRow{3, -1, 2},
                      CountRow{2, -1, 2}, CountRow{12, -10, 2}, CountRow{11, -10, 11},
                      CountRow{2, -10, 2}, CountRow{0, 1, 1}, CountRow{1, -1, 1}),
    [](const ::testing::TestParamInfo<CountRow>& row) {
        return "From" + std::to_string(row.param.from) + (row.param.delta < 0 ? "Less" : "More") +
               std::to_string(std::abs(row.param.delta));
    });

TEST_F(EditorModelTest, LoweringTheCountLeavesTheCurrentStepAndTheRecords) {
    prepare(20, 20);
    m_model.adjustStepCount(-10);
    EXPECT_EQ(m_model.currentStep(), 20);
    m_model.adjustStepCount(10);
    EXPECT_EQ(working(), m_model.undoImage());
}

TEST_F(EditorModelTest, RefusedEditsLeaveTheProgramTheUndoImageAndThePosition) {
    struct Row {
        const char* name;
        int count;
        int step;
        std::function<void()> edit;
    };
    const auto times = [this](StepTimesRange range) {
        return [this, range] { m_model.setStepTimes(range); };
    };
    const auto copy = [this](CopyRange range) {
        return [this, range] { m_model.copySteps(m_model.working(), range); };
    };
    const std::vector<Row> rows = {
        {"insert at 500 steps", 500, 10, [this] { EXPECT_FALSE(m_model.insertStep()); }},
        {"delete at 2 steps", 2, 1, [this] { EXPECT_FALSE(m_model.deleteStep()); }},
        {"times from step 0", 10, 1, times({0, 2, 100})},
        {"times beyond the records", 10, 1, times({1, 501, 100})},
        {"times backwards", 10, 1, times({5, 4, 100})},
        {"time too short", 10, 1, times({1, 2, 4})},
        {"time too long", 10, 1, times({1, 2, 2561})},
        {"copy from step 0", 10, 1, copy({0, 1, 1, 2})},
        {"copy source past the records", 10, 1, copy({499, 500, 1, 4})},
        {"copy onto a backwards range", 10, 1, copy({1, 2, 5, 4})},
        {"copy onto step 0", 10, 1, copy({1, 2, 0, 1})},
        {"copy past the records", 10, 1, copy({1, 2, 500, 501})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        prepare(row.count, row.step);
        m_model.setCurrentCell(0x42); // not snapshotted, so a snapshot by the edit would show
        const ProgramImage before = working();
        const ProgramImage undoBefore = m_model.undoImage();
        row.edit();
        EXPECT_EQ(working(), before);
        EXPECT_EQ(m_model.undoImage(), undoBefore);
        EXPECT_EQ(m_model.currentStep(), row.step);
        EXPECT_TRUE(m_notified.empty());
    }
}

TEST_F(EditorModelTest, InsertStepDoublesTheCurrentStepAndUndoRestores) {
    prepare(5, 3);
    const ProgramImage before = working();

    ASSERT_TRUE(m_model.insertStep());

    EXPECT_EQ(working().stepCount(), 6);
    EXPECT_EQ(m_model.currentStep(), 4);
    EXPECT_EQ(m_notified, std::vector<int>{6});
    EXPECT_EQ(origins(1, 7), (std::vector<int>{1, 2, 3, 3, 4, 5, 6}));
    EXPECT_EQ(working().cell(4, 9), before.cell(3, 9));
    // The move runs to record 500 whatever the count; the old 500 is lost.
    EXPECT_EQ(originOf(500), 499);

    m_model.undo();
    EXPECT_EQ(working(), before);
    EXPECT_EQ(m_model.currentStep(), 3);
}

TEST_F(EditorModelTest, InsertStepAtTheLastStepMakesTheCopyCurrent) {
    prepare(5, 5);
    ASSERT_TRUE(m_model.insertStep());
    EXPECT_EQ(m_model.currentStep(), 6);
    EXPECT_EQ(originOf(6), 5);
}

TEST_F(EditorModelTest, InsertStepOnRecord500MovesNothing) {
    prepare(20, 500);
    ProgramImage expected = working();
    expected.setStepCount(21);
    ASSERT_TRUE(m_model.insertStep());
    EXPECT_EQ(working(), expected);
    EXPECT_EQ(m_model.currentStep(), 500);
}

TEST_F(EditorModelTest, DeleteLastStepKeepsTheCurrentStepAndClearsRecord500Cells) {
    prepare(5, 5);
    const ProgramImage before = working();

    ASSERT_TRUE(m_model.deleteStep());

    EXPECT_EQ(working().stepCount(), 4);
    EXPECT_EQ(m_model.currentStep(), 5);
    EXPECT_EQ(m_notified, std::vector<int>{4});
    EXPECT_EQ(originOf(5), 6);
    EXPECT_EQ(originOf(499), 500);
    EXPECT_EQ(working().cell(499, 3), before.cell(500, 3));
    EXPECT_EQ(working().stepTime(500), before.stepTime(500));
    for (int channel = 0; channel < kChannelCount; ++channel) {
        EXPECT_EQ(working().cell(500, channel), 0);
    }
    m_model.undo();
    EXPECT_EQ(working(), before);
}

TEST_F(EditorModelTest, DeleteStepShiftsTheFollowingStepsDown) {
    prepare(5, 2);
    ASSERT_TRUE(m_model.deleteStep());
    EXPECT_EQ(origins(1, 4), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(m_model.currentStep(), 2);
}

TEST_F(EditorModelTest, DeleteStepBeyondALoweredCountStillLowersIt) {
    prepare(10, 8);
    m_model.adjustStepCount(-5);
    ASSERT_TRUE(m_model.deleteStep());
    EXPECT_EQ(working().stepCount(), 4);
    EXPECT_EQ(origins(7, 8), (std::vector<int>{7, 9}));
}

TEST_F(EditorModelTest, StepMovesStayWithinTheCountWhateverTheStartBlock) {
    prepare(3, 1);
    m_model.setStartBlock(true);
    EXPECT_TRUE(m_model.nextStep());
    EXPECT_TRUE(m_model.nextStep());
    EXPECT_FALSE(m_model.nextStep());
    EXPECT_EQ(m_model.currentStep(), 3);
    EXPECT_TRUE(m_model.previousStep());
    EXPECT_TRUE(m_model.previousStep());
    EXPECT_FALSE(m_model.previousStep());
    EXPECT_EQ(m_model.currentStep(), 1);
    EXPECT_EQ(m_model.undoImage().stepCount(), 3);
}

TEST_F(EditorModelTest, NudgeStepTimeStopsAtTheLimitsWithoutWrapping) {
    struct Row {
        int time;
        int direction;
        int expected;
    };
    const std::vector<Row> rows = {
        {100, 1, 101}, {100, -1, 99},   {2559, 1, 2560},  {2560, 1, 2560},   {6, -1, 5},
        {5, -1, 5},    {0, -1, 0},      {3, 1, 4},        {65535, 1, 65535}, {65535, -1, 65534},
        {100, 0, 100}, {3000, 1, 3000}, {2561, -1, 2560},
    };
    for (const Row& row : rows) {
        prepare(20, 7);
        m_model.workingForRead().setStepTime(7, static_cast<std::uint16_t>(row.time));
        const ProgramImage undoBefore = m_model.undoImage();
        EXPECT_EQ(m_model.nudgeStepTime(row.direction), row.expected != row.time);
        EXPECT_EQ(working().stepTime(7), row.expected) << row.time << " " << row.direction;
        EXPECT_EQ(m_model.undoImage(), undoBefore);
    }
}

TEST_F(EditorModelTest, ShiftAllTimesShiftsEveryStepOrNone) {
    struct Row {
        std::vector<int> times;
        int delta;
        int failingStep;        // 0: the shift succeeds
        std::vector<int> after; // on a refusal, the times as they were
    };
    const std::vector<Row> rows = {
        {{100, 2556, 100}, 5, 2, {100, 2556, 100}},
        {{100, 2555, 100}, 5, 0, {105, 2560, 105}},
        {{2560, 100}, 5, 1, {2560, 100}},
        {{9}, -5, 1, {9}},
        {{10, 20}, -5, 0, {5, 15}},
        {{100, 3}, -5, 2, {100, 3}},
        {{100, 0}, -5, 2, {100, 0}},
        {{100, 65535}, 5, 2, {100, 65535}},
        {{100, 100, 100, 9}, -5, 4, {100, 100, 100, 9}},
        // Each direction tests only its own limit: times above 2560 or below 5 from a file
        // still shift the other way.
        {{2566, 65535}, -5, 0, {2561, 65530}},
        {{0, 4}, 5, 0, {5, 9}},
    };
    for (const Row& row : rows) {
        const int count = static_cast<int>(row.times.size());
        SCOPED_TRACE(::testing::Message() << "delta " << row.delta << " over " << count);
        prepare(count, 1);
        for (int step = 1; step <= count; ++step) {
            m_model.workingForRead().setStepTime(
                step, static_cast<std::uint16_t>(row.times[static_cast<std::size_t>(step - 1)]));
        }
        // Beyond the count: a time that would fail either way must not be looked at.
        m_model.workingForRead().setStepTime(count + 1, 1);
        m_model.setCurrentStep(count);
        const ProgramImage before = working();

        const std::optional<ShiftRefusal> refusal = m_model.shiftAllTimes(row.delta);

        std::vector<int> after;
        for (int step = 1; step <= count; ++step) {
            after.push_back(working().stepTime(step));
        }
        EXPECT_EQ(after, row.after);
        EXPECT_EQ(working().stepTime(count + 1), 1);
        EXPECT_EQ(m_model.undoImage(), before);
        EXPECT_EQ(m_model.undoStep(), count);
        EXPECT_EQ(refusal.has_value(), row.failingStep != 0);
        if (refusal.has_value()) {
            EXPECT_EQ(refusal->step, row.failingStep);
            EXPECT_EQ(refusal->longer, row.delta > 0);
            EXPECT_EQ(working(), before);
        }
        EXPECT_EQ(m_model.currentStep(), refusal.has_value() ? row.failingStep : count);
    }
}

TEST_F(EditorModelTest, ShiftOfAnEmptyProgramChangesNothing) {
    prepare(0, 1);
    const ProgramImage before = working();
    EXPECT_FALSE(m_model.shiftAllTimes(-5).has_value());
    EXPECT_EQ(working(), before);
}

TEST_F(EditorModelTest, SetStepTimesRaisesTheCountAndKeepsTheCells) {
    prepare(10, 4);
    const ProgramImage before = working();
    m_model.setStepTimes({1, 20, 250});

    EXPECT_EQ(working().stepCount(), 20);
    EXPECT_EQ(m_notified, std::vector<int>{20});
    for (int step = 1; step <= 20; ++step) {
        EXPECT_EQ(working().stepTime(step), 250) << step;
        EXPECT_EQ(working().cell(step, 5), before.cell(step, 5)) << step;
    }
    EXPECT_EQ(working().stepTime(21), before.stepTime(21));
    EXPECT_EQ(m_model.undoImage(), before);
    m_model.undo();
    EXPECT_EQ(working().stepCount(), 10);
}

TEST_F(EditorModelTest, SetStepTimesWithinTheCountKeepsTheCount) {
    prepare(30, 1);
    m_model.setStepTimes({5, 6, 2560});
    EXPECT_EQ(working().stepCount(), 30);
    EXPECT_EQ(working().stepTime(4), tagTime(4));
    EXPECT_EQ(working().stepTime(5), 2560);
    EXPECT_EQ(working().stepTime(7), tagTime(7));
}

TEST_F(EditorModelTest, CopyReadsEachRecordAsItStandsAtThatMoment) {
    struct Row {
        CopyRange range;
        std::vector<int> origins;
    };
    const std::vector<Row> rows = {
        {{1, 4, 3, 6}, {1, 2, 1, 2, 1, 2, 7}}, // onto a later overlap: the head repeats
        {{3, 6, 1, 4}, {3, 4, 5, 6, 5, 6}},    // onto an earlier one: copied unchanged
    };
    for (const Row& row : rows) {
        prepare(10, 1);
        m_model.copySteps(working(), row.range);
        EXPECT_EQ(origins(1, static_cast<int>(row.origins.size())), row.origins);
    }
}

TEST_F(EditorModelTest, CopyBeyondTheCountRaisesItAndLeavesTheGap) {
    prepare(5, 2);
    const ProgramImage before = working();
    m_model.copySteps(working(), {1, 2, 10, 11});

    EXPECT_EQ(working().stepCount(), 11);
    EXPECT_EQ(m_notified, std::vector<int>{11});
    EXPECT_EQ(origins(6, 11), (std::vector<int>{6, 7, 8, 9, 1, 2}));
    EXPECT_EQ(m_model.undoImage(), before);
    EXPECT_EQ(m_model.currentStep(), 2);
}

TEST_F(EditorModelTest, InsertFromFileCopiesFromTheImportImageBeyondItsCount) {
    prepare(10, 1);
    ProgramImage& imported = m_model.importForRead();
    imported.setHeaderWord(2);
    imported.setStepTime(5, 42);
    imported.setCell(5, 0, 0x7B);

    m_model.beginInsertFromFile();
    m_model.finishInsertFromFile({5, 5, 3, 3});

    EXPECT_EQ(working().stepTime(3), 42);
    EXPECT_EQ(working().cell(3, 0), 0x7B);
    EXPECT_EQ(working().stepCount(), 10);
    EXPECT_EQ(m_notified, std::vector<int>{10});
}

TEST_F(EditorModelTest, InsertFromFileWithoutAReadCopiesTheStartProgram) {
    prepare(10, 1);
    m_model.beginInsertFromFile();
    m_model.finishInsertFromFile({1, 2, 3, 4});
    EXPECT_EQ(working().stepTime(3), kDefaultStepTime);
    EXPECT_EQ(working().cell(4, 15), 0);
}

TEST_F(EditorModelTest, InsertFromFileSnapshotsBeforeItsDialog) {
    prepare(10, 3);
    m_model.setCurrentCell(0x99); // no snapshot
    const ProgramImage before = working();

    // Cancelled: the snapshot was taken, so undo does nothing.
    m_model.beginInsertFromFile();
    EXPECT_EQ(m_model.undoImage(), before);
    m_model.undo();
    EXPECT_EQ(working(), before);
    EXPECT_EQ(m_model.currentStep(), 3);

    m_model.beginInsertFromFile();
    m_model.finishInsertFromFile({1, 2, 20, 21});
    EXPECT_EQ(working().stepCount(), 21);
    m_model.undo();
    EXPECT_EQ(working(), before);
}

TEST_F(EditorModelTest, StepTimeFromDimmerTakesTheTableValue) {
    prepare(20, 6);
    m_model.setTimeFromDimmer(12);
    EXPECT_EQ(working().stepTime(6), 512);
    EXPECT_EQ(m_model.currentStepTime(), 512);
    m_model.undo();
    EXPECT_EQ(working().stepTime(6), tagTime(6));
}

TEST_F(EditorModelTest, StartBlockTakesNoSnapshotAndSurvivesCountChanges) {
    prepare(20, 1);
    m_model.setStartBlock(true);
    EXPECT_EQ(working().headerWord(), 0x8014);
    EXPECT_FALSE(m_model.undoImage().startBlock());
    EXPECT_TRUE(m_notified.empty());

    m_model.insertStep();
    EXPECT_EQ(working().headerWord(), 0x8015);
    m_model.setStepTimes({1, 30, 100});
    EXPECT_EQ(working().headerWord(), 0x801E);
    m_model.undo();
    EXPECT_EQ(working().headerWord(), 0x8015);
}

TEST_F(EditorModelTest, ChannelButtonSelectsSnapshotsAndSetsTheMode) {
    prepare(20, 2);
    m_model.selectChannel(0);
    m_model.workingForRead().setCell(2, 5, 0x98); // Off, param 19
    const ProgramImage before = working();

    m_model.applyChannelButton(5, ChannelButton::Primary, 2);
    EXPECT_EQ(m_model.selectedChannel(), 5);
    EXPECT_EQ(m_model.currentCell(), 0x9A);
    EXPECT_EQ(m_model.undoImage(), before);

    m_model.applyChannelButton(5, ChannelButton::Secondary, 2);
    EXPECT_EQ(m_model.currentCell(), 0x9F);

    m_model.selectChannel(9);
    m_model.undo();
    EXPECT_EQ(working().cell(2, 5), 0x9A);
    EXPECT_EQ(m_model.selectedChannel(), 9);
}

TEST_F(EditorModelTest, UndoRestoresTheSameStateTwice) {
    prepare(10, 4);
    m_model.deleteStep();
    m_model.setCurrentStep(7);
    m_model.undo();
    const ProgramImage once = working();
    const int stepOnce = m_model.currentStep();
    m_model.undo();
    EXPECT_EQ(working(), once);
    EXPECT_EQ(m_model.currentStep(), stepOnce);
    EXPECT_EQ(stepOnce, 4);
    EXPECT_EQ(m_notified, (std::vector<int>{9, 10, 10}));
}

TEST_F(EditorModelTest, UndoAlsoRevertsLaterChangesThatTookNoSnapshot) {
    prepare(10, 4);
    const ProgramImage before = working();
    m_model.adjustStepCount(1);
    m_model.setCurrentCell(0x7B);
    m_model.setCurrentStepTime(300);
    m_model.nudgeStepTime(1);
    m_model.setStartBlock(true);
    m_model.undo();
    EXPECT_EQ(working(), before);
}

TEST_F(EditorModelTest, PositionAndSliderTimeAreClampedToTheirRanges) {
    m_model.setCurrentStep(0);
    EXPECT_EQ(m_model.currentStep(), 1);
    m_model.setCurrentStep(600);
    EXPECT_EQ(m_model.currentStep(), 500);
    m_model.selectChannel(-1);
    EXPECT_EQ(m_model.selectedChannel(), 0);
    m_model.selectChannel(16);
    EXPECT_EQ(m_model.selectedChannel(), 15);
    m_model.setCurrentStepTime(2);
    EXPECT_EQ(m_model.currentStepTime(), kMinStepTime);
    m_model.setCurrentStepTime(40000);
    EXPECT_EQ(m_model.currentStepTime(), kMaxStepTime);
}

TEST_F(EditorModelTest, ResetPositionReturnsToTheFirstStepAndChannel) {
    prepare(20, 7);
    m_model.selectChannel(4);
    m_model.resetPosition();
    EXPECT_EQ(m_model.currentStep(), 1);
    EXPECT_EQ(m_model.selectedChannel(), 0);
    EXPECT_EQ(m_notified, std::vector<int>{20});
    EXPECT_EQ(m_model.undoStep(), 7);
}

TEST_F(EditorModelTest, AnEmptyProgramIsEditedOnRecordOne) {
    prepare(0, 1);
    m_model.resetPosition();
    EXPECT_FALSE(m_model.nextStep());
    EXPECT_EQ(m_model.currentStep(), 1);
    EXPECT_FALSE(m_model.deleteStep());
    EXPECT_FALSE(m_model.adjustStepCount(-1));
    EXPECT_TRUE(m_model.nudgeStepTime(1));
    EXPECT_EQ(working().stepTime(1), tagTime(1) + 1);
    EXPECT_TRUE(m_model.insertStep());
    EXPECT_EQ(working().stepCount(), 1);
    EXPECT_EQ(m_model.currentStep(), 1);
}

TEST_F(EditorModelTest, ModifiedFollowsTheUsedPartOnly) {
    EXPECT_FALSE(m_model.isModified());
    m_model.setCurrentStep(21);
    m_model.setCurrentCell(0x01);
    EXPECT_FALSE(m_model.isModified()) << "record 21 lies beyond the count";

    m_model.setCurrentStep(20);
    m_model.setCurrentCell(0x01);
    EXPECT_TRUE(m_model.isModified());
    m_model.setCurrentCell(0x00);
    EXPECT_FALSE(m_model.isModified()) << "the same content again";

    m_model.adjustStepCount(1);
    EXPECT_TRUE(m_model.isModified());
    m_model.markUnmodified();
    EXPECT_FALSE(m_model.isModified());
    m_model.setStartBlock(true);
    EXPECT_TRUE(m_model.isModified());
}

} // namespace
} // namespace tevra
