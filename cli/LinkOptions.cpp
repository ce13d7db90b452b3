#include "cli/LinkOptions.h"

#include "files/ProgramFile.h"
#include "files/Utf8Arguments.h"

#include <iomanip>
#include <iostream>
#include <sstream>
#include <vector>

namespace tevra::cli {

namespace {

// Splits "DAY,DELAY,WORK" into the three edit texts; the field checks judge each one.
bool splitTimer(const std::string& timer, ControllerSettings& settings) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(timer);
    while (std::getline(in, part, ',')) {
        parts.push_back(part);
    }
    if (parts.size() != 3) {
        return false;
    }
    settings.dayWaitText = parts[0];
    settings.switchOnDelayText = parts[1];
    settings.workTimeText = parts[2];
    return true;
}

} // namespace

void addSettingsOptions(CLI::App& command, SettingsOptions& options) {
    command.add_option("--timer", options.timer,
                       "таймер включен: ожидание дня, задержка включения, время работы (с)");
    command.add_flag("--all-night", options.allNight, "на всю ночь");
    command.add_flag("--inversion", options.inversion, "инверсия освещения");
    command.add_flag("--slave", options.slave, "SLAVE");
}

std::optional<ConfigBlock> settingsBlock(const SettingsOptions& options) {
    ControllerSettings settings;
    settings.timerOn = !options.timer.empty();
    settings.allNight = options.allNight;
    settings.inversion = options.inversion;
    settings.slave = options.slave;
    if (settings.timerOn && !splitTimer(options.timer, settings)) {
        std::cerr << "--timer: ожидается ДЕНЬ,ЗАДЕРЖКА,РАБОТА\n";
        return std::nullopt;
    }
    const ConfigBlockResult config = buildConfigBlock(settings);
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
