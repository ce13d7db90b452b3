#include "cli/FileCommands.h"

#include "files/ProgramFile.h"
#include "files/ProgramJson.h"
#include "files/Utf8Arguments.h"
#include "model/ChannelCell.h"
#include "model/ChannelWords.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

namespace tevra::cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
// "import -" reads the JSON from standard input.
constexpr const char* kStandardInputName = "-";

} // namespace

std::string describe(const FileOutcome& outcome, const std::string& path) {
    switch (outcome.status) {
    case FileStatus::Done:
        return {};
    case FileStatus::Refused:
        return kFileRefusedText;
    case FileStatus::CannotOpen:
        return "Не удалось открыть файл " + path + ": " + outcome.reason;
    case FileStatus::CannotRead:
        return "Не удалось прочитать файл " + path + ": " + outcome.reason;
    case FileStatus::CannotWrite:
        return "Не удалось записать файл " + path + ": " + outcome.reason;
    }
    return kFileRefusedText;
}

namespace {

int fail(const std::string& message) {
    std::cerr << message << '\n';
    return kExitFailed;
}

// Reads a program file exactly as the editor does; on failure prints why.
bool readProgram(const std::string& path, ProgramImage& image) {
    const FileOutcome outcome = readProgramFile(utf8Path(path), image);
    if (!outcome.ok()) {
        fail(describe(outcome, path));
    }
    return outcome.ok();
}

} // namespace

void printSteps(std::ostream& out, const ProgramImage& image) {
    for (int step = 1; step <= std::min(image.stepCount(), kMaxSteps); ++step) {
        out << "Шаг " << step << ": " << (kStepTimeUnit * image.stepTime(step)).count() << " мс";
        for (int channel = 0; channel < kChannelCount; ++channel) {
            out << (channel == 0 ? " | " : "; ") << channel + 1 << ": "
                << cellWords(image.cell(step, channel));
        }
        out << '\n';
    }
}

namespace {

int runNew(const std::string& path) {
    const FileOutcome outcome = writeProgramFile(utf8Path(path), ProgramImage::startProgram());
    return outcome.ok() ? kExitOk : fail(describe(outcome, path));
}

int runCheck(const std::string& path) {
    ProgramImage image = ProgramImage::startProgram();
    if (!readProgram(path, image)) {
        return kExitFailed;
    }
    std::cout << "Файл в порядке: шагов " << image.stepCount() << '\n';
    return kExitOk;
}

int runShow(const std::string& path) {
    ProgramImage image = ProgramImage::startProgram();
    if (!readProgram(path, image)) {
        return kExitFailed;
    }
    std::cout << "Шагов: " << image.stepCount() << '\n'
              << "Старт блок: " << (image.startBlock() ? "да" : "нет") << '\n';
    printSteps(std::cout, image);
    return kExitOk;
}

int runExport(const std::string& path) {
    ProgramImage image = ProgramImage::startProgram();
    if (!readProgram(path, image)) {
        return kExitFailed;
    }
    std::cout << programToJson(image);
    return kExitOk;
}

int runImport(const std::string& jsonPath, const std::string& outPath) {
    std::ostringstream text;
    const bool fromStandardInput = jsonPath == kStandardInputName;
    if (fromStandardInput) {
        text << std::cin.rdbuf();
    } else {
        std::ifstream in(utf8Path(jsonPath), std::ios::binary);
        if (!in) {
            return fail("Не удалось открыть файл " + jsonPath + ": " + std::strerror(errno));
        }
        text << in.rdbuf();
        if (in.bad()) {
            return fail("Не удалось прочитать файл " + jsonPath);
        }
    }
    const ProgramJsonImport imported = programFromJson(text.str());
    if (!imported.ok()) {
        return fail((fromStandardInput ? std::string("стандартный ввод") : jsonPath) + ": " +
                    imported.error);
    }
    const FileOutcome outcome = writeProgramFile(utf8Path(outPath), imported.image);
    return outcome.ok() ? kExitOk : fail(describe(outcome, outPath));
}

} // namespace

void addFileCommands(CLI::App& app, int& exitCode) {
    // Arguments live as long as the app: CLI11 keeps pointers to them.
    auto file = std::make_shared<std::string>();
    auto jsonFile = std::make_shared<std::string>();
    auto outFile = std::make_shared<std::string>();

    CLI::App* create = app.add_subcommand("new", "записать стартовую программу (20 шагов по 1 с)");
    create->add_option("file", *file, "файл программы")->required();
    create->callback([file, &exitCode] { exitCode = runNew(*file); });

    CLI::App* check = app.add_subcommand("check", "проверить файл программы");
    check->add_option("file", *file, "файл программы")->required();
    check->callback([file, &exitCode] { exitCode = runCheck(*file); });

    CLI::App* show = app.add_subcommand("show", "показать программу таблицей");
    show->add_option("file", *file, "файл программы")->required();
    show->callback([file, &exitCode] { exitCode = runShow(*file); });

    CLI::App* exportCmd = app.add_subcommand("export", "вывести программу как JSON");
    exportCmd->add_option("file", *file, "файл программы")->required();
    exportCmd->callback([file, &exitCode] { exitCode = runExport(*file); });

    CLI::App* importCmd =
        app.add_subcommand("import", "записать файл программы из JSON (\"-\": стандартный ввод)");
    importCmd->add_option("json", *jsonFile, "файл JSON")->required();
    importCmd->add_option("out", *outFile, "файл программы")->required();
    importCmd->callback(
        [jsonFile, outFile, &exitCode] { exitCode = runImport(*jsonFile, *outFile); });
}

} // namespace tevra::cli
