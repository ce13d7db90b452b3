#include "cli/LinkCommands.h"

#include "cli/FileCommands.h"
#include "cli/LinkOptions.h"
#include "cli/ReadBackCommands.h"
#include "files/ProgramFile.h"
#include "link/ControllerSettings.h"
#include "link/SerialPort.h"
#include "link/Upload.h"

#ifndef _WIN32
#include "link/SimulatorLink.h"
#include "sim/SimulatedController.h"

#include <algorithm>
#include <csignal>
#include <pthread.h>
#endif

#include <iomanip>
#include <iostream>
#include <sstream>

namespace tevra::cli {

namespace {

void printFailure(const UploadReport& report) {
    if (!report.failedAddress) {
        return;
    }
    std::cerr << "Блок " << hexWord(*report.failedAddress) << ": ";
    if (report.received.size() < report.expected.size()) {
        std::cerr << "получено " << report.received.size() << " байт из " << report.expected.size()
                  << '\n';
        return;
    }
    for (std::size_t i = 0; i < report.expected.size(); ++i) {
        if (report.expected[i] != report.received[i]) {
            std::cerr << "байт " << i << ": ожидалось " << hexByte(report.expected[i])
                      << ", получено " << hexByte(report.received[i]) << '\n';
        }
    }
}

int runUpload(const UploadOptions& options) {
    const std::optional<UploadJob> job = prepareUpload(options);
    if (!job) {
        return kExitRefused;
    }
    const auto report = onPort(options.port, [&](SerialPort& port, const auto& progress) {
        return uploadProgram(port, job->image, job->config, progress);
    });
    if (!report) {
        return kExitRefused;
    }
    std::cout << uploadMessage(report->outcome) << std::endl;
    printFailure(*report);
    switch (report->outcome) {
    case UploadOutcome::Written:
        return kExitDone;
    case UploadOutcome::NoAnswer:
        return kExitNoAnswer;
    case UploadOutcome::Mismatch:
        return kExitMismatch;
    }
    return kExitRefused;
}

#ifndef _WIN32

struct SimulateOptions {
    SimulatorOptions simulator;
    std::string load;
    SettingsOptions settings;
    int silentFromBlock = -1;
    int hangUpAfterBlock = -1;
    std::vector<int> wrongByteAttempts;
    bool dumpOnExit = false;
};

void printHexRows(std::ostream& out, const std::vector<std::uint8_t>& bytes, std::size_t from,
                  std::size_t count) {
    constexpr std::size_t kRowBytes = 16;
    for (std::size_t row = 0; row < count; row += kRowBytes) {
        out << hexWord(static_cast<std::uint16_t>(from + row)) << ':';
        for (std::size_t i = row; i < std::min(count, row + kRowBytes); ++i) {
            out << ' ' << std::hex << std::uppercase << std::setw(2) << std::setfill('0')
                << static_cast<int>(bytes[from + i]) << std::dec;
        }
        out << '\n';
    }
}

// As download reads the role bytes: any pair it cannot decode is shown as it is.
std::string roleText(const ConfigBlock& settings) {
    const std::optional<bool> slave = decodeConfigBlock(settings).slave;
    if (slave) {
        return *slave ? "SLAVE" : "MASTER";
    }
    std::ostringstream bytes;
    bytes << "?? (байты " << std::hex << std::uppercase << std::setfill('0') << std::setw(2)
          << static_cast<int>(settings[8]) << ' ' << std::setw(2) << static_cast<int>(settings[9])
          << ')';
    return bytes.str();
}

void dumpMemory(const SimulatedController& simulator) {
    const auto memory = simulator.memory();
    const auto header = static_cast<std::uint16_t>(memory[0] | (memory[1] << 8));
    const int steps = header & kStepCountMask;
    const std::size_t used = std::min(kProgramAreaSize, expectedFileLength(header));
    std::ostringstream out;
    out << "Программа: шагов " << steps << ", старт блок "
        << ((header & kStartBlockBit) != 0 ? "да" : "нет") << '\n';
    printHexRows(out, memory, 0, used);
    ProgramImage image;
    std::copy_n(memory.begin(), std::min(memory.size(), kImageSize), image.bytes().begin());
    printSteps(out, image);
    const ConfigBlock settings = simulator.settingsBlock();
    const auto word = [&](std::size_t offset) {
        return static_cast<unsigned>(settings[offset] | (settings[offset + 1] << 8));
    };
    out << "Настройки: TimerWord " << hexWord(static_cast<std::uint16_t>(word(0)))
        << ", ожидание дня " << word(2) << ", задержка включения " << word(4) << ", время работы "
        << word(6) << ", роль " << roleText(settings) << '\n';
    const std::vector<std::uint8_t> block(settings.begin(), settings.end());
    printHexRows(out, block, 0, block.size());
    std::cout << out.str() << std::flush;
}

int runSimulate(SimulateOptions options) {
    if (options.silentFromBlock >= 0) {
        options.simulator.silentFromBlock = options.silentFromBlock;
    }
    if (options.hangUpAfterBlock >= 0) {
        options.simulator.hangUpAfterBlock = options.hangUpAfterBlock;
    }
    options.simulator.wrongByteOnAttempts.insert(options.wrongByteAttempts.begin(),
                                                 options.wrongByteAttempts.end());
    std::optional<ProgramImage> program;
    if (!options.load.empty()) {
        program = readProgramOrExplain(options.load);
        if (!program) {
            return kExitRefused;
        }
    }
    const std::optional<ConfigBlock> settings = settingsBlock(options.settings);
    if (!settings) {
        return kExitRefused;
    }

    // Signals are taken synchronously by this thread alone, so that the simulator's thread
    // (which inherits the mask) never runs a handler, and cleanup runs in ordinary code.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) {
        sigaddset(&signals, signal);
    }
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    SimulatedController simulator(options.simulator);
    if (program) {
        simulator.load(kProgramAddress, programFileBytes(*program));
    }
    simulator.load(kConfigBlockAddress, *settings);
    if (!simulator.start()) {
        std::cerr << "Симулятор не запущен: " << simulator.error() << '\n';
        return kExitRefused;
    }
    std::cout << simulator.devicePath() << std::endl;
    if (!SimulatorLink::publish(simulator.devicePath())) {
        std::cerr << "Ссылка " << SimulatorLink::path().string() << " не создана\n";
    }
    for (;;) {
        int signal = 0;
        if (sigwait(&signals, &signal) != 0) {
            break;
        }
        if (signal == SIGUSR1) {
            dumpMemory(simulator);
            continue;
        }
        break;
    }
    SimulatorLink::withdraw();
    simulator.stop();
    if (options.dumpOnExit) {
        dumpMemory(simulator);
    }
    return kExitDone;
}

#endif

} // namespace

void addLinkCommands(CLI::App& app, int& exitCode) {
    auto uploadOptions = std::make_shared<UploadOptions>();
    auto* upload = app.add_subcommand("upload", "записать программу в контроллер");
    addUploadOptions(*upload, *uploadOptions);
    upload->callback([uploadOptions, &exitCode] { exitCode = runUpload(*uploadOptions); });
    addReadBackCommands(app, exitCode);

#ifndef _WIN32
    auto simulateOptions = std::make_shared<SimulateOptions>();
    auto* simulate = app.add_subcommand("simulate", "симулятор контроллера на псевдотерминале");
    simulate->add_flag("--pace", simulateOptions->simulator.paced, "темп линии 19200 8N2");
    simulate->add_option("--silent-from-block", simulateOptions->silentFromBlock,
                         "молчать начиная с блока K (от 0)");
    simulate
        ->add_option("--wrong-byte-on-attempts", simulateOptions->wrongByteAttempts,
                     "номера чтений (от 1) с неверным байтом")
        ->delimiter(',');
    simulate->add_flag("--short-answer", simulateOptions->simulator.shortAnswers,
                       "отвечать на байт короче");
    simulate->add_option("--hang-up-after-block", simulateOptions->hangUpAfterBlock,
                         "оборвать линию после блока K (от 0)");
    simulate->add_flag("--dump-on-exit", simulateOptions->dumpOnExit,
                       "при выходе показать память (и по SIGUSR1)");
    simulate->add_option("--load", simulateOptions->load, "начать с программы из файла");
    // Without them the settings block holds what an upload without options writes.
    addSettingsOptions(*simulate, simulateOptions->settings);
    simulate->callback([simulateOptions, &exitCode] { exitCode = runSimulate(*simulateOptions); });
#endif
}

} // namespace tevra::cli
