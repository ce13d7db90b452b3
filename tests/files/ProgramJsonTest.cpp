#include "files/ProgramJson.h"

#include "files/ProgramFile.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>

namespace tevra {
namespace {

TEST(ProgramJsonTest, ProgramsRoundTripByteExact) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 40; ++i) {
        // Raw bytes beyond what the editor would produce: files may hold any of them.
        ProgramImage image;
        for (int step = 1; step <= kMaxSteps; ++step) {
            image.setStepTime(step, static_cast<std::uint16_t>(step == 1 ? 65535 : random()));
            for (int channel = 0; channel < kChannelCount; ++channel) {
                image.setCell(step, channel, static_cast<std::uint8_t>(random()));
            }
        }
        image.setStepCount(i < 2 ? i * kMaxSteps : static_cast<int>(random() % 501));
        image.setStartBlock(random() % 2 == 0);
        const ProgramJsonImport imported = programFromJson(programToJson(image));
        ASSERT_TRUE(imported.ok()) << imported.error;
        EXPECT_EQ(programFileBytes(imported.image), programFileBytes(image)) << i;
    }
}

TEST(ProgramJsonTest, ExportShowsStartBlockTimesAndRawCells) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(1);
    image.setStartBlock(true);
    image.setStepTime(1, 250);
    image.setCell(1, 2, 0x7B);
    EXPECT_EQ(programToJson(image), "{\n  \"startBlock\": true,\n  \"steps\": [\n"
                                    "    {\"time\": 250, \"cells\": [0, 0, 123, 0, 0, 0, 0, 0, 0, "
                                    "0, 0, 0, 0, 0, 0, 0]}\n  ]\n}\n");
    image.setStepCount(0);
    EXPECT_EQ(programToJson(image), "{\n  \"startBlock\": true,\n  \"steps\": []\n}\n");
}

TEST(ProgramJsonTest, RecordsBeyondTheImportedStepsAreThoseOfTheStartProgram) {
    const ProgramJsonImport imported = programFromJson(
        R"({"startBlock": false, "steps": [{"time": 7, "cells": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16]}], "comment": "ignored"})");
    ASSERT_TRUE(imported.ok()) << imported.error;
    ProgramImage expected = ProgramImage::startProgram();
    expected.setStepCount(1);
    expected.setStepTime(1, 7);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        expected.setCell(1, channel, static_cast<std::uint8_t>(channel + 1));
    }
    EXPECT_EQ(imported.image, expected);
}

TEST(ProgramJsonTest, EachKindOfRefusalNamesTheOffendingPlace) {
    // One step of this time with fifteen zero cells and then these.
    const auto step = [](const std::string& time, const std::string& lastCells) {
        return R"({"time": )" + time + R"(, "cells": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0)" + lastCells +
               "]}";
    };
    const auto program = [](const std::string& steps) {
        return R"({"startBlock": true, "steps": [)" + steps + "]}";
    };
    // Appended piecewise: GCC 12 at -O3 warns falsely on `"," + std::string`.
    const std::string oneStep = step("1", ",0");
    std::string tooMany = oneStep;
    for (int i = 0; i < kMaxSteps; ++i) {
        tooMany.append(",").append(oneStep);
    }
    const std::pair<std::string, std::string> rows[] = {
        {R"({"startBlock": true, "steps": [)", "JSON"},
        {R"({"startBlock": true})", "JSON"},
        {R"({"startBlock": 1, "steps": []})", "startBlock"},
        {program(tooMany), "steps"},
        {program(step("1", ",0") + ", 5"), "steps[1]"},
        {program(step("5.5", ",0")), "steps[0].time"},
        {program(step("5", "")), "steps[0].cells"},
        {program(step("5", ",256")), "steps[0].cells[15]"}};
    for (const auto& [json, place] : rows) {
        EXPECT_EQ(programFromJson(json).error.rfind(place + ":", 0), 0U) << json;
    }
}

} // namespace
} // namespace tevra
