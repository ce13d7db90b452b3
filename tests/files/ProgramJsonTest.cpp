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

TEST(ProgramJsonTest, ExportShowsStartBlockTimesAndRawCellsAndImportAddsTheStartProgram) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(1);
    image.setStartBlock(true);
    image.setStepTime(1, 250);
    image.setCell(1, 2, 0x7B);
    for (const auto& [count, json] :
         {std::pair{1, "{\n  \"startBlock\": true,\n  \"steps\": [\n    {\"time\": 250, \"cells\": "
                       "[0, 0, 123, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]}\n  ]\n}\n"},
          {0, "{\n  \"startBlock\": true,\n  \"steps\": []\n}\n"}}) {
        image.setStepCount(count);
        EXPECT_EQ(programToJson(image), json);
        // Records beyond the imported steps are those of the start program; unknown keys pass.
        std::string annotated = json;
        annotated.insert(1, "\"comment\": 1,");
        EXPECT_TRUE(count == 0 || programFromJson(annotated).image == image);
    }
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
