#include "ToolRun.h"
#include "support/TemporaryFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace tevra::test {
namespace {

using Args = std::vector<std::string>;

class GenerateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string steps = R"({"startBlock": true, "steps": [
            {"time": 100, "cells": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7]},
            {"time": 100, "cells": [0, 0, 0, 0, 123, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]}]})";
        ASSERT_EQ(runTool({"import", "-", path("in.tvr")}, steps).exitStatus, 0);
    }

    std::string path(const std::string& name) const { return (m_folder.path() / name).string(); }
    std::string contentOf(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    const TemporaryFolder m_folder{"tevra-generate"};
};

TEST_F(GenerateCommandTest, WritesIntoTheSameFileKeepingWhatLiesOutside) {
    const Args args{"generate", "alternate", "--channels",   "2,1,5",       "--steps",
                    "2-3",      "--time",    "50",           "--on",        "level:32",
                    "--off",    "keep",      path("in.tvr"), path("in.tvr")};
    const ToolResult generated = runTool(args);
    ASSERT_EQ(generated.exitStatus, 0) << generated.err;
    EXPECT_EQ(runTool({"export", path("in.tvr")}).out, R"({
  "startBlock": true,
  "steps": [
    {"time": 100, "cells": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7]},
    {"time": 5, "cells": [0, 251, 0, 0, 251, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]},
    {"time": 5, "cells": [251, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]}
  ]
}
)");
    const ToolResult listed = runTool({"generate", "--list"});
    EXPECT_EQ(listed.exitStatus, 0);
    EXPECT_TRUE(listed.out.starts_with("chase  бегущий огонь")) << listed.out;
}

TEST_F(GenerateCommandTest, BadOptionsExitOneAndWriteNothing) {
    const std::pair<Args, std::string> table[] = {
        {{"blink"}, "Неизвестный узор «blink» (список: tevra generate --list)\n"},
        {{"chase", "--width", "2x"}, "--width: ожидается целое число, получено «2x»\n"},
        {{"chase", "--channels", "1-17"}, "Канал 17 вне 1-16\n"},
        {{"chase", "--channels", "3,1-2000000000"}, "Канал 2000000000 вне 1-16\n"},
        {{"chase", "--steps", "2-501"}, "Диапазон шагов 2-501 выходит за 500 шагов\n"},
        {{"chase", "--on", "keep"},
         "--on: ожидается off, on, level:1…level:32 или байт 0…255, получено «keep»\n"},
        {{"chase", "--time", "55"},
         "--time: время шага должно быть от 50 до 25600 mS, кратно 10\n"},
        {{"chase", "--time", "50", "--bpm", "60"}, "--time и --bpm вместе не задаются\n"},
        {{"chase", "--per-beat", "2"}, "--per-beat задаётся только с --bpm\n"},
        {{"chase", "--bpm", "127,5", "--per-beat", "10"},
         "Темп 127,5 BPM даёт время шага 40 mS, а оно должно быть от 50 до 25600 mS\n"},
        {{"chase", "--bpm", "-1"},
         "--bpm: ожидается темп больше 0, например 128 или 127,5, и --per-beat от 1 до 64\n"},
    };
    const std::string kept = contentOf("in.tvr");
    for (const auto& [options, reason] : table) {
        Args args{"generate"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {path("in.tvr"), path("out.tvr")});
        const ToolResult result = runTool(args);
        EXPECT_EQ(result.exitStatus, 1) << options[0];
        EXPECT_EQ(result.err, reason);
        EXPECT_FALSE(std::filesystem::exists(path("out.tvr"))) << reason;
    }
    EXPECT_EQ(runTool({"generate", "chase", path("in.tvr")}).exitStatus, 1);
    EXPECT_EQ(contentOf("in.tvr"), kept);
}

} // namespace
} // namespace tevra::test
