#include "files/ProgramJson.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace tevra {
namespace {

// Only the header and the used records travel through JSON.
std::vector<std::uint8_t> usedBytes(const ProgramImage& image) {
    const auto bytes = image.bytes();
    const auto used = kHeaderSize + kStepRecordSize * static_cast<std::size_t>(image.stepCount());
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(used)};
}

ProgramImage randomProgram(std::mt19937& random) {
    ProgramImage image = ProgramImage::startProgram();
    std::uniform_int_distribution<int> count(0, kMaxSteps);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> time(0, 65535);
    // Raw bytes, beyond what the editor would produce: files may hold any of them.
    for (int step = 1; step <= kMaxSteps; ++step) {
        image.setStepTime(step, static_cast<std::uint16_t>(time(random)));
        for (int channel = 0; channel < kChannelCount; ++channel) {
            image.setCell(step, channel, static_cast<std::uint8_t>(byte(random)));
        }
    }
    image.setStepCount(count(random));
    image.setStartBlock(byte(random) % 2 == 0);
    return image;
}

TEST(ProgramJsonTest, ProgramsRoundTripByteExact) {
    ProgramImage empty = ProgramImage::startProgram();
    empty.setStepCount(0);
    empty.setStartBlock(true);
    ProgramImage full = ProgramImage::startProgram();
    full.setStepCount(kMaxSteps);
    full.setStepTime(kMaxSteps, 65535);
    full.setCell(kMaxSteps, kChannelCount - 1, 255);
    std::vector<ProgramImage> programs{ProgramImage::startProgram(), empty, full};
    std::mt19937 random(20240611);
    for (int i = 0; i < 50; ++i) {
        programs.push_back(randomProgram(random));
    }
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const ProgramJsonImport imported = programFromJson(programToJson(programs[i]));
        ASSERT_TRUE(imported.ok()) << imported.error;
        EXPECT_EQ(usedBytes(imported.image), usedBytes(programs[i])) << "program " << i;
    }
}

TEST(ProgramJsonTest, ExportShowsStartBlockTimesAndRawCells) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(1);
    image.setStartBlock(true);
    image.setStepTime(1, 250);
    image.setCell(1, 2, 0x7B);
    const std::string expected = "{\n  \"startBlock\": true,\n  \"steps\": [\n"
                                 "    {\"time\": 250, \"cells\": [0, 0, 123, 0, 0, 0, 0, 0, 0, "
                                 "0, 0, 0, 0, 0, 0, 0]}\n  ]\n}\n";
    EXPECT_EQ(programToJson(image), expected);
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

// A program whose fourth step is given, after three good ones.
std::string withStep(const std::string& step) {
    const std::string good = R"({"time": 100, "cells": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]})";
    return R"({"startBlock": false, "steps": [)" + good + "," + good + "," + good + "," + step +
           "]}";
}

// The fourth step with this time, and sixteen zero cells but one.
std::string withStep(const std::string& time, int cell, const std::string& value) {
    std::string cells;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        cells += (channel == 0 ? "" : ",") + (channel == cell ? value : "0");
    }
    return withStep(R"({"time": )" + time + R"(, "cells": [)" + cells + "]}");
}

struct Refusal {
    const char* name;
    std::string json;
    std::string place; // the error must begin with this
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const Refusal& row, std::ostream* out) {
    *out << row.name;
}

class ProgramJsonRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ProgramJsonRefusal, NamesTheOffendingPlace) {
    const ProgramJsonImport imported = programFromJson(GetParam().json);
    ASSERT_FALSE(imported.ok());
    EXPECT_EQ(imported.error.rfind(GetParam().place + ":", 0), 0u) << imported.error;
}

std::string tooManySteps() {
    std::string steps;
    for (int i = 0; i <= kMaxSteps; ++i) {
        steps += std::string(i == 0 ? "" : ",") +
                 R"({"time": 1, "cells": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]})";
    }
    return R"({"startBlock": true, "steps": [)" + steps + "]}";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramJsonRefusal,
    ::testing::Values(
        Refusal{"NotJson", "program", "JSON"}, Refusal{"Empty", "", "JSON"},
        Refusal{"Truncated", R"({"startBlock": true, "steps": [)", "JSON"},
        Refusal{"RootArray", "[]", "JSON"}, Refusal{"NoStartBlock", R"({"steps": []})", "JSON"},
        Refusal{"NoSteps", R"({"startBlock": true})", "JSON"},
        Refusal{"StartBlockNumber", R"({"startBlock": 1, "steps": []})", "startBlock"},
        Refusal{"StepsObject", R"({"startBlock": true, "steps": {}})", "steps"},
        Refusal{"TooManySteps", tooManySteps(), "steps"},
        Refusal{"StepNotObject", withStep("5"), "steps[3]"},
        Refusal{"NoTime", withStep(R"({"cells": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]})"), "steps[3]"},
        Refusal{"NoCells", withStep(R"({"time": 5})"), "steps[3]"},
        Refusal{"TimeString", withStep(R"("5")", 0, "0"), "steps[3].time"},
        Refusal{"TimeNegative", withStep("-1", 0, "0"), "steps[3].time"},
        Refusal{"TimeTooLarge", withStep("65536", 0, "0"), "steps[3].time"},
        Refusal{"TimeFraction", withStep("5.5", 0, "0"), "steps[3].time"},
        Refusal{"FifteenCells",
                withStep(R"({"time": 5, "cells": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]})"),
                "steps[3].cells"},
        Refusal{"CellsNotArray", withStep(R"({"time": 5, "cells": "0"})"), "steps[3].cells"},
        Refusal{"CellTooLarge", withStep("5", 5, "256"), "steps[3].cells[5]"},
        Refusal{"CellNegative", withStep("5", 15, "-1"), "steps[3].cells[15]"},
        Refusal{"CellNull", withStep("5", 0, "null"), "steps[3].cells[0]"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace tevra
