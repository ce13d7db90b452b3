#include "cli/LinkOptions.h"

#include "files/ProgramFile.h"
#include "files/Utf8Arguments.h"

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <vector>

namespace tevra::cli {

namespace {

constexpr const char* kTimerShapeMessage = "ожидается ДЕНЬ,ЗАДЕРЖКА,РАБОТА";

// "DAY,DELAY,WORK" as the three edit texts, empty ones included.
std::vector<std::string> timerParts(const std::string& timer) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = timer.find(',', start);
        parts.push_back(timer.substr(start, comma - start));
        if (comma == std::string::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

ControllerSettings settingsOf(const SettingsOptions& options) {
    ControllerSettings settings;
    settings.timerOn = !options.timer.empty();
    settings.allNight = options.allNight;
    settings.inversion = options.inversion;
    settings.slave = options.slave;
    if (settings.timerOn) {
        const std::vector<std::string> parts = timerParts(options.timer);
        settings.dayWaitText = parts.at(0);
        settings.switchOnDelayText = parts.at(1);
        settings.workTimeText = parts.at(2);
    }
    return settings;
}

// The command line takes whole numbers only, where the exchange window's edits read "3.6e3"
// as 3 and "3600x" as 3600; the range is the window's. Empty when the text passes.
std::string timerProblem(const std::string& timer) {
    const std::vector<std::string> parts = timerParts(timer);
    const auto wholeNumber = [](const std::string& part) {
        return !part.empty() &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), wholeNumber)) {
        return kTimerShapeMessage;
    }
    return buildConfigBlock(settingsOf({.timer = timer})).error;
}

} // namespace

void addSettingsOptions(CLI::App& command, SettingsOptions& options) {
    CLI::Option* timer =
        command
            .add_option("--timer", options.timer,
                        "таймер включен: ожидание дня, задержка включения, время работы (с, "
                        "целые 1-65535)")
            ->type_name("ДЕНЬ,ЗАДЕРЖКА,РАБОТА")
            ->check(CLI::Validator([](const std::string& text) { return timerProblem(text); }, ""));
    // The settings block keeps both in the TimerWord, which says only "off" without the timer.
    command.add_flag("--all-night", options.allNight, "на всю ночь")->needs(timer);
    command.add_flag("--inversion", options.inversion, "инверсия освещения")->needs(timer);
    command.add_flag("--slave", options.slave, "SLAVE");
}

std::optional<ConfigBlock> settingsBlock(const SettingsOptions& options) {
    const ConfigBlockResult config = buildConfigBlock(settingsOf(options));
    if (!config.block) {
        std::cerr << config.error << '\n';
    }
    return config.block;
}

std::optional<ProgramImage> readProgramOrExplain(const std::string& path) {
    ProgramImage image = ProgramImage::startProgram();
    const FileOutcome file = readProgramFile(utf8Path(path), image);
    if (!file.ok()) {
        std::cerr << kFileRefusedCaption << ' ' << path << ": "
                  << (file.reason.empty() ? kFileRefusedText : file.reason) << '\n';
        return std::nullopt;
    }
    return image;
}

void addUploadOptions(CLI::App& command, UploadOptions& options) {
    command.add_option("--port", options.port, "устройство порта")->required();
    addSettingsOptions(command, options.settings);
    command.add_option("FILE", options.file, "файл программы")->required();
}

std::optional<UploadJob> prepareUpload(const UploadOptions& options) {
    const std::optional<ProgramImage> image = readProgramOrExplain(options.file);
    if (!image) {
        return std::nullopt;
    }
    const std::optional<ConfigBlock> config = settingsBlock(options.settings);
    if (!config) {
        return std::nullopt;
    }
    return UploadJob{*image, *config};
}

std::unique_ptr<SerialPort> openPort(const std::string& device) {
    auto port = createSystemSerialPort();
    switch (port->open(device)) {
    case PortOpenStatus::Opened:
        return port;
    case PortOpenStatus::CannotOpen:
        std::cerr << kPortErrorCaption << ' ' << kPortOpenErrorText << '\n'
                  << kPortFailedText << '\n';
        break;
    case PortOpenStatus::CannotConfigure:
        std::cerr << kPortErrorCaption << ' ' << kPortInitErrorText << '\n'
                  << kPortFailedText << '\n';
        break;
    }
    return nullptr;
}

std::string hexByte(std::uint8_t byte) {
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << std::setw(2) << std::setfill('0')
         << static_cast<int>(byte);
    return text.str();
}

std::string hexWord(std::uint16_t word) {
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << std::setw(4) << std::setfill('0') << word;
    return text.str();
}

} // namespace tevra::cli
