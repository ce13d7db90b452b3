#include "model/ProgramImage.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace tevra {
namespace {

TEST(ProgramImageTest, StartProgramThenFieldsLittleEndianAtTheirOffsets) {
    ProgramImage image = ProgramImage::startProgram();
    std::vector<std::uint8_t> expected(kImageSize, 0);
    expected[0] = 20;
    for (std::size_t at = 2; at < 2 + 18 * 500; at += 18) {
        expected[at] = 100; // 1 s, every cell Off
    }
    EXPECT_EQ(std::vector(image.bytes().begin(), image.bytes().end()), expected);

    image.setStartBlock(true);
    image.setStepTime(1, 0x1234);
    image.setCell(2, 15, 0xAB);
    image.setStepTime(500, 0x0A00);
    for (const auto& [at, byte] : {std::pair{1, 0x80},
                                   {2, 0x34},
                                   {3, 0x12},
                                   {2 + 18 + 2 + 15, 0xAB},
                                   {2 + 18 * 499, 0x00},
                                   {2 + 18 * 499 + 1, 0x0A}}) {
        expected[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(byte);
    }
    EXPECT_EQ(std::vector(image.bytes().begin(), image.bytes().end()), expected);
    EXPECT_EQ(image.headerWord(), 0x8014);
    EXPECT_EQ(image.stepCount(), 20);
    EXPECT_EQ(image.stepTime(1), 0x1234);
    EXPECT_EQ(image.cell(2, 15), 0xAB);
}

TEST(ProgramImageTest, NoIndexOutsideTheRecordsReachesPastTheImage) {
    ProgramImage image = ProgramImage::startProgram();
    const ProgramImage before = image;
    for (const int step : {0, 501}) {
        image.setStepTime(step, 1);
        image.setCell(step, 0, 1);
        image.copyRecord(step, before, 1);
        image.copyRecord(1, before, step);
        EXPECT_EQ(image.stepTime(step) + image.cell(step, 0), 0);
    }
    image.setCell(1, 16, 1);
    EXPECT_EQ(image.cell(1, 16), 0);
    EXPECT_EQ(image, before);
}

} // namespace
} // namespace tevra
