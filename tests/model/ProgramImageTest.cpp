#include "model/ProgramImage.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>

namespace tevra {
namespace {

TEST(ProgramImageTest, StartProgramHasTwentyOneSecondStepsAndEveryRecordFilled) {
    const ProgramImage image = ProgramImage::startProgram();
    EXPECT_EQ(image.headerWord(), 20);
    EXPECT_EQ(image.stepCount(), 20);
    EXPECT_FALSE(image.startBlock());
    for (int step = 1; step <= kMaxSteps; ++step) {
        EXPECT_EQ(image.stepTime(step), 100) << step;
        for (int channel = 0; channel < kChannelCount; ++channel) {
            EXPECT_EQ(image.cell(step, channel), 0) << step << "/" << channel;
        }
    }
    const auto tail = image.bytes().last(kTailRoomSize);
    EXPECT_TRUE(std::all_of(tail.begin(), tail.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(ProgramImageTest, RecordsAreLittleEndianAtTheirOffsets) {
    ProgramImage image;
    image.setHeaderWord(0x8014);
    image.setStepTime(1, 0x1234);
    image.setCell(2, 15, 0xAB);
    image.setStepTime(500, 0x0A00);

    const auto bytes = image.bytes();
    EXPECT_EQ(bytes[0], 0x14);
    EXPECT_EQ(bytes[1], 0x80);
    EXPECT_EQ(bytes[2], 0x34);
    EXPECT_EQ(bytes[3], 0x12);
    EXPECT_EQ(bytes[2 + 18 + 2 + 15], 0xAB);
    EXPECT_EQ(bytes[2 + 18 * 499], 0x00);
    EXPECT_EQ(bytes[2 + 18 * 499 + 1], 0x0A);
}

TEST(ProgramImageTest, StartBlockAndCountAreIndependentFieldsAndTheCountIsClamped) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStartBlock(true);
    EXPECT_EQ(image.headerWord(), 0x8014);
    EXPECT_EQ(image.stepCount(), 20);

    image.setStepCount(501);
    EXPECT_EQ(image.headerWord(), 0x81F4);
    image.setStepCount(-1);
    EXPECT_EQ(image.headerWord(), 0x8000);

    image.setStepCount(500);
    image.setStartBlock(false);
    EXPECT_EQ(image.headerWord(), 500);
}

TEST(ProgramImageTest, AccessOutsideTheRecordsNeverTouchesTheImage) {
    ProgramImage image = ProgramImage::startProgram();
    image.setCell(1, 0, 0x11);
    const ProgramImage before = image;

    for (const int step : {-1, 0, 501, 100000}) {
        image.setStepTime(step, 0xFFFF);
        image.setCell(step, 0, 0xFF);
        image.clearCells(step);
        image.copyRecord(step, before, 1);
        image.copyRecord(1, before, step);
        EXPECT_EQ(image.stepTime(step), 0);
        EXPECT_EQ(image.cell(step, 0), 0);
    }
    for (const int channel : {-1, 16}) {
        image.setCell(1, channel, 0xFF);
        EXPECT_EQ(image.cell(1, channel), 0);
    }
    EXPECT_EQ(image, before);
}

TEST(ProgramImageTest, CopyRecordWithinOneImage) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepTime(3, 777);
    image.setCell(3, 7, 0x55);
    image.copyRecord(3, image, 3);
    EXPECT_EQ(image.stepTime(3), 777);
    EXPECT_EQ(image.cell(3, 7), 0x55);

    image.copyRecord(4, image, 3);
    EXPECT_EQ(image.stepTime(4), 777);
    EXPECT_EQ(image.cell(4, 7), 0x55);
    EXPECT_EQ(image.stepTime(5), 100);
}

} // namespace
} // namespace tevra
