#pragma once

#include "cli/ProgressPrinter.h"
#include "link/ControllerSettings.h"
#include "link/SerialPort.h"
#include "model/ProgramImage.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace tevra::cli {

// Exit statuses of the commands that talk to a controller.
enum LinkExitStatus : int {
    kExitDone = 0,
    kExitRefused = 1, // bad options or file, no port, or anything else that went wrong
    kExitNoAnswer = 2,
    kExitMismatch = 3, // upload and verify: the controller holds other bytes; download: no program
};

// The exchange window's settings: --timer DAY,DELAY,WORK (whole seconds, 1..65535; the timer
// is off without it), --all-night and --inversion (only with --timer), --slave. A bad --timer
// is refused while parsing.
struct SettingsOptions {
    std::string timer;
    bool allNight = false;
    bool inversion = false;
    bool slave = false;
};
void addSettingsOptions(CLI::App& command, SettingsOptions& options);
// The block the window would build, or nothing after printing the first failing check.
std::optional<ConfigBlock> settingsBlock(const SettingsOptions& options);

// A program file read exactly as the editor reads it, or nothing after printing why not.
std::optional<ProgramImage> readProgramOrExplain(const std::string& path);

// upload and verify: --port DEV, the settings, FILE.
struct UploadOptions {
    std::string port;
    SettingsOptions settings;
    std::string file;
};
void addUploadOptions(CLI::App& command, UploadOptions& options);

struct UploadJob {
    ProgramImage image;
    ConfigBlock config;
};
// What an upload writes: the file over the start program, and the settings block.
std::optional<UploadJob> prepareUpload(const UploadOptions& options);

// The port opened and set up, or nothing after printing the port's messages.
std::unique_ptr<SerialPort> openPort(const std::string& device);

// Runs an exchange with the controller, exchange(port, progress), with block progress on
// standard error, and closes the port after it. Nothing when the port does not open.
template <typename Exchange>
auto onPort(const std::string& device, const Exchange& exchange)
    -> std::optional<std::invoke_result_t<const Exchange&, SerialPort&, UploadProgressCallback>> {
    const auto port = openPort(device);
    if (!port) {
        return std::nullopt;
    }
    ProgressPrinter printer;
    auto report = exchange(*port, printer.callback());
    port->close();
    printer.finish();
    return report;
}

std::string hexByte(std::uint8_t byte);
std::string hexWord(std::uint16_t word);

} // namespace tevra::cli
