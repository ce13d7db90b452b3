#include "ToolRun.h"
#include "files/ProgramFile.h"
#include "files/ProgramJson.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace tevra::test {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "tevra-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        m_dir = name;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    fs::path m_dir;
};

TEST_F(FileCommandsTest, NewCheckShowExportImportRoundTrip) {
    const std::string program = path("start.tvr");
    ASSERT_EQ(runTool({"new", program}).exitStatus, 0);
    EXPECT_EQ(fs::file_size(program), 362u);

    const ToolResult check = runTool({"check", program});
    EXPECT_EQ(check.exitStatus, 0) << check.err;
    EXPECT_NE(check.out.find("20"), std::string::npos);

    const ToolResult show = runTool({"show", program});
    EXPECT_EQ(show.exitStatus, 0) << show.err;
    EXPECT_NE(show.out.find("Шагов: 20"), std::string::npos);
    EXPECT_NE(show.out.find("Старт блок: нет"), std::string::npos);
    EXPECT_NE(show.out.find("Шаг 20: 1000 мс"), std::string::npos);
    EXPECT_EQ(show.out.find("Шаг 21"), std::string::npos);
    EXPECT_NE(show.out.find("16: выкл"), std::string::npos);

    const ToolResult exported = runTool({"export", program});
    ASSERT_EQ(exported.exitStatus, 0) << exported.err;
    writeAll(path("start.json"), exported.out);
    const std::string copy = path("copy.tvr");
    const ToolResult imported = runTool({"import", path("start.json"), copy});
    ASSERT_EQ(imported.exitStatus, 0) << imported.err;
    EXPECT_EQ(readAll(copy), readAll(program));
}

TEST_F(FileCommandsTest, AnyValidFileRoundTripsByteExactAndShowsItsModes) {
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(3);
    image.setStartBlock(true);
    image.setStepTime(2, 65535);
    image.setCell(1, 0, 0x7B);  // Level 16
    image.setCell(1, 1, 0xFE);  // DimmerLit, 2560 ms
    image.setCell(1, 2, 0x01);  // On
    image.setCell(3, 15, 0x84); // mode 4, only files bring it
    const std::string program = path("modes.tvr");
    ASSERT_TRUE(writeProgramFile(program, image).ok());

    const ToolResult show = runTool({"show", program});
    ASSERT_EQ(show.exitStatus, 0) << show.err;
    EXPECT_NE(show.out.find("Старт блок: да"), std::string::npos);
    EXPECT_NE(show.out.find("Шаг 2: 655350 мс"), std::string::npos);
    EXPECT_NE(show.out.find("1: яркость 16"), std::string::npos);
    EXPECT_NE(show.out.find("2: диммер светлый 2560 мс"), std::string::npos);
    EXPECT_NE(show.out.find("3: вкл"), std::string::npos);
    EXPECT_NE(show.out.find("16: режим 4"), std::string::npos);

    const ToolResult exported = runTool({"export", program});
    ASSERT_EQ(exported.exitStatus, 0) << exported.err;
    // Standard input works as the JSON source too.
    const std::string copy = path("copy.tvr");
    const ToolResult imported = runTool({"import", "-", copy}, exported.out);
    ASSERT_EQ(imported.exitStatus, 0) << imported.err;
    EXPECT_EQ(readAll(copy), readAll(program));
}

TEST_F(FileCommandsTest, RefusedOrMissingFilesFailWithAMessage) {
    ProgramImage image = ProgramImage::startProgram();
    std::vector<std::uint8_t> bytes = programFileBytes(image);
    bytes[0] = 0x15; // claims 21 steps, holds 20
    writeAll(path("wrong.tvr"), std::string(bytes.begin(), bytes.end()));
    writeAll(path("empty.tvr"), "");

    for (const std::string command : {"check", "show", "export"}) {
        for (const std::string name : {"wrong.tvr", "empty.tvr"}) {
            const ToolResult result = runTool({command, path(name)});
            EXPECT_NE(result.exitStatus, 0) << command << " " << name;
            EXPECT_NE(result.err.find("Ошибка файла"), std::string::npos) << result.err;
            EXPECT_TRUE(result.out.empty()) << result.out;
        }
        const ToolResult missing = runTool({command, path("missing.tvr")});
        EXPECT_NE(missing.exitStatus, 0);
        EXPECT_NE(missing.err.find("missing.tvr"), std::string::npos) << missing.err;
    }
}

TEST_F(FileCommandsTest, MissingArgumentsOrUnknownCommandsFail) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"no-such-command"}, {"check"}, {"import", path("only.json")}}) {
        const ToolResult result = runTool(args);
        EXPECT_FALSE(result.timedOut);
        EXPECT_NE(result.exitStatus, 0);
        EXPECT_FALSE(result.err.empty());
    }
}

TEST_F(FileCommandsTest, AMissingFileOrFolderIsNamedAndNothingIsWritten) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"new", path("no-such-dir/x.tvr")}, {"import", path("missing.json"), path("x.tvr")}}) {
        const ToolResult result = runTool(args);
        EXPECT_NE(result.exitStatus, 0) << args[0];
        EXPECT_NE(result.err.find(fs::path(args[1]).filename().string()), std::string::npos)
            << result.err;
        EXPECT_FALSE(fs::exists(args.back())) << args[0];
    }
}

struct ImportRefusal {
    const char* name;
    std::string json;
    std::string place;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const ImportRefusal& row, std::ostream* out) {
    *out << row.name;
}

class ImportRefusalTest : public FileCommandsTest,
                          public ::testing::WithParamInterface<ImportRefusal> {};

TEST_P(ImportRefusalTest, NamesThePlaceAndLeavesTheTargetAlone) {
    writeAll(path("in.json"), GetParam().json);
    const std::string existing = path("existing.tvr");
    ASSERT_EQ(runTool({"new", existing}).exitStatus, 0);
    const std::string before = readAll(existing);

    const ToolResult overExisting = runTool({"import", path("in.json"), existing});
    EXPECT_NE(overExisting.exitStatus, 0);
    EXPECT_NE(overExisting.err.find(GetParam().place), std::string::npos) << overExisting.err;
    EXPECT_EQ(readAll(existing), before);

    const std::string fresh = path("fresh.tvr");
    EXPECT_NE(runTool({"import", path("in.json"), fresh}).exitStatus, 0);
    EXPECT_FALSE(fs::exists(fresh));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportRefusalTest,
    ::testing::Values(
        ImportRefusal{"NotJson", "not json at all", "JSON"},
        ImportRefusal{"WrongStartBlock", R"({"startBlock": "yes", "steps": []})", "startBlock"},
        ImportRefusal{"ShortCells",
                      R"({"startBlock": false, "steps": [{"time": 5, "cells": [1, 2]}]})",
                      "steps[0].cells"},
        ImportRefusal{
            "CellOutOfRange",
            R"({"startBlock": false, "steps": [{"time": 5, "cells": [0,0,0,300,0,0,0,0,0,0,0,0,0,0,0,0]}]})",
            "steps[0].cells[3]"},
        ImportRefusal{
            "TimeOutOfRange",
            R"({"startBlock": false, "steps": [{"time": 70000, "cells": [0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]}]})",
            "steps[0].time"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace tevra::test
