#include "model/ChannelCell.h"
#include "model/EditorModel.h"
#include "model/GridEdits.h"

#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace tevra {
namespace {

constexpr int kOperations = 10000;

CellRange randomRange(std::mt19937& random, int stepCount) {
    std::uniform_int_distribution<int> step(1, stepCount);
    std::uniform_int_distribution<int> channel(0, kChannelCount - 1);
    return CellRange::spanning(step(random), channel(random), step(random), channel(random));
}

// One operation of any kind either window offers, chosen at random.
void randomOperation(EditorModel& model, std::mt19937& random) {
    const int count = model.working().stepCount();
    const CellRange range = randomRange(random, count);
    const auto byte = static_cast<std::uint8_t>(random());
    const int value = static_cast<int>(random() % 40);
    switch (random() % 20) {
    case 0:
        model.adjustStepCount(value % 2 ? 10 : -1);
        break;
    case 1:
        model.insertStep();
        break;
    case 2:
        model.deleteStep();
        break;
    case 3:
        model.nudgeStepTime(value % 2 ? 1 : -1);
        break;
    case 4:
        model.shiftAllTimes(value % 2 ? 5 : -5);
        break;
    case 5:
        model.setStepTimes({range.firstStep, range.lastStep, 5 + value * 50});
        break;
    case 6:
        model.copySteps(model.working(), {range.firstStep, range.lastStep, range.lastStep,
                                          std::min(kMaxSteps, range.lastStep + value)});
        break;
    case 7:
        model.setTimeFromDimmer(1 + value % kDimmerSliderMax);
        break;
    case 8:
        model.setStartBlock(value % 2 == 0);
        break;
    case 9:
        model.applyChannelButton(range.firstChannel, ChannelButton::Secondary, value % 3);
        break;
    case 10:
        model.restoreSnapshot();
        break;
    case 11:
        // A slider gesture: its moves merge into one entry.
        model.recordChange(
            "яркость", [&] { model.setCurrentCell(cellWithLevel(model.currentCell(), value)); },
            "яркость");
        break;
    case 12:
        model.applyEdit("заполнение", [&](ProgramImage& image) {
            fillCells(image, range, byte);
            return true;
        });
        break;
    case 13:
        model.applyEdit("вставка", [&](ProgramImage& image) {
            pasteBlock(image, CellBlock::copiedFrom(image, range), range.lastStep,
                       range.lastChannel, 1 + value % 3);
            return true;
        });
        break;
    case 14:
        model.applyEdit("вставка шагов", [&](ProgramImage& image) {
            return insertBlockSteps(image, CellBlock::copiedFrom(image, range), range.firstStep,
                                    range.firstChannel, 1, 100);
        });
        break;
    case 15:
        model.applyEdit("сдвиг", [&](ProgramImage& image) {
            shiftCells(image, range, static_cast<ShiftDirection>(value % 4));
            return true;
        });
        break;
    case 16:
        model.applyEdit("шаги", [&](ProgramImage& image) {
            return value % 2 ? duplicateSteps(image, range.firstStep, range.lastStep)
                             : deleteSteps(image, range.firstStep, range.lastStep);
        });
        break;
    case 17:
        model.applyEdit("обращение", [&](ProgramImage& image) {
            reverseSteps(image, range.firstStep, range.lastStep);
            return true;
        });
        break;
    case 18:
        model.undo();
        break;
    default:
        model.setCurrentStep(range.lastStep);
        model.selectChannel(range.lastChannel);
        model.endGesture();
        break;
    }
}

TEST(UndoHistoryTest, UndoingEveryRandomChangeGivesTheStartAndRedoingGivesTheEnd) {
    EditorModel model(UndoLimits{kOperations, std::numeric_limits<std::size_t>::max()});
    const ProgramImage start = model.working();
    std::mt19937 random(20261207);
    for (int k = 0; k < kOperations; ++k) {
        randomOperation(model, random);
    }
    const ProgramImage end = model.working();
    const EditPlace endPlace = model.place();
    while (model.undo()) {
    }
    EXPECT_EQ(model.working(), start);
    EXPECT_EQ(model.place(), (EditPlace{1, 0}));
    EXPECT_FALSE(model.isModified());
    while (model.redo()) {
    }
    EXPECT_EQ(model.working(), end);
    EXPECT_EQ(model.place(), endPlace);
}

TEST(UndoHistoryTest, EntriesNameMergeDropTheirRedoAndRestoreThePlace) {
    EditorModel model;
    model.setCurrentStep(3);
    model.applyChannelButton(4, ChannelButton::Primary, 1);
    model.setCurrentStep(7);
    const auto brightness = [&](int level) {
        model.recordChange(
            "яркость", [&] { model.setCurrentCell(cellWithLevel(model.currentCell(), level)); },
            "яркость 7");
    };
    brightness(10);
    brightness(20);
    EXPECT_TRUE(model.isModified());
    EXPECT_EQ(model.undoHistory().size(), 2U);
    EXPECT_EQ(model.nextUndoName(), "яркость");

    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.working().cell(7, 4), 0);
    EXPECT_EQ(model.nextRedoName(), "яркость");
    ASSERT_TRUE(model.undo());
    EXPECT_EQ(model.place(), (EditPlace{3, 4}));
    EXPECT_FALSE(model.isModified());
    EXPECT_FALSE(model.undo());

    ASSERT_TRUE(model.redo());
    EXPECT_EQ(model.nextUndoName(), "канал 5");
    EXPECT_TRUE(model.isModified());
    // A new change drops what could have been redone; one that changes nothing is not kept.
    EXPECT_FALSE(model.applyEdit("ничего", [](ProgramImage&) { return true; }));
    EXPECT_FALSE(model.applyEdit("отказ", [](ProgramImage& image) {
        image.setCell(1, 1, 9);
        return false;
    }));
    EXPECT_EQ(model.working().cell(1, 1), 0);
    EXPECT_EQ(model.undoImage(), ProgramImage::startProgram()) << "the snapshot stays";
    EXPECT_TRUE(model.canRedo());
    model.setStartBlock(true);
    EXPECT_FALSE(model.canRedo());
    EXPECT_EQ(model.undoHistory().size(), 2U);
    // "Отменить действие" takes back a grid edit alone.
    const ProgramImage beforeFill = model.working();
    model.applyEdit("заполнение", [](ProgramImage& image) {
        fillCells(image, {1, 2, 0, 1}, 1);
        return true;
    });
    model.restoreSnapshot();
    EXPECT_EQ(model.working(), beforeFill);
    // One gesture is one entry: after its end, or without a key, the next change is its own.
    const std::size_t entries = model.undoHistory().size();
    brightness(5);
    model.endGesture();
    brightness(6);
    for (int level : {1, 2}) {
        model.applyEdit("заполнение", [level](ProgramImage& image) {
            fillCells(image, {1, 1, 0, 0}, static_cast<std::uint8_t>(level));
            return true;
        });
    }
    EXPECT_EQ(model.undoHistory().size(), entries + 4);
}

TEST(UndoHistoryTest, KeepsAThousandFullGridChangesWithinSixteenMegabytes) {
    EditorModel model;
    for (int k = 0; k < 1200; ++k) {
        model.applyEdit("заполнение", [k](ProgramImage& image) {
            fillCells(image, {1, kMaxSteps, 0, kChannelCount - 1}, static_cast<std::uint8_t>(k));
            return true;
        });
    }
    EXPECT_GE(model.undoHistory().size(), 1000U);
    EXPECT_LE(model.undoHistory().memoryBytes(), std::size_t{16} * 1024 * 1024);
}

} // namespace
} // namespace tevra
