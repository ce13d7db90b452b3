#include "cli/LinkCommands.h"

#include "files/ProgramFile.h"
#include "link/ControllerSettings.h"
#include "link/SerialPort.h"
#include "link/Upload.h"

#ifndef _WIN32
#include "link/SimulatorLink.h"
#include "sim/SimulatedController.h"

#include <csignal>
#include <pthread.h>
#endif

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace tevra::cli {

namespace {

enum ExitStatus : int {
    kWritten = 0,
    kRefused = 1,
    kNoAnswer = 2,
    kMismatch = 3,
};

constexpr int kProgressBarWidth = 40;

struct UploadOptions {
    std::string port;
    std::string timer;
    bool allNight = false;
    bool inversion = false;
    bool slave = false;
    std::string file;
};

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

class ProgressPrinter {
public:
    ProgressPrinter() : m_terminal(::isatty(STDERR_FILENO) == 1) {}

    // Each update goes out in one write: a console may draw every write on its own.
    void operator()(const UploadProgress& progress) {
        const int shown = std::min(progress.position, progress.rangeMax);
        std::ostringstream line;
        if (!m_terminal) {
            line << progress.statusText << ' ' << shown << '/' << progress.rangeMax << '\n';
        } else {
            const int filled = progress.rangeMax == 0
                                   ? kProgressBarWidth
                                   : shown * kProgressBarWidth / progress.rangeMax;
            line << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                 << std::string(static_cast<std::size_t>(kProgressBarWidth - filled), ' ') << "] "
                 << shown << '/' << progress.rangeMax << ' ' << progress.statusText;
            m_drawn = true;
        }
        std::cerr << line.str() << std::flush;
    }

    void finish() {
        if (m_drawn) {
            std::cerr << '\n';
        }
    }

private:
    bool m_terminal;
    bool m_drawn = false;
};

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
    ProgramImage image = ProgramImage::startProgram();
    const FileOutcome file = readProgramFile(options.file, image);
    if (!file.ok()) {
        std::cerr << kFileRefusedCaption << ' ' << options.file << ": "
                  << (file.reason.empty() ? kFileRefusedText : file.reason) << '\n';
        return kRefused;
    }

    ControllerSettings settings;
    settings.timerOn = !options.timer.empty();
    settings.allNight = options.allNight;
    settings.inversion = options.inversion;
    settings.slave = options.slave;
    if (settings.timerOn && !splitTimer(options.timer, settings)) {
        std::cerr << "--timer: ожидается ДЕНЬ,ЗАДЕРЖКА,РАБОТА\n";
        return kRefused;
    }
    const ConfigBlockResult config = buildConfigBlock(settings);
    if (!config.block) {
        std::cerr << config.error << '\n';
        return kRefused;
    }

    const auto port = createSystemSerialPort();
    switch (port->open(options.port)) {
    case PortOpenStatus::Opened:
        break;
    case PortOpenStatus::CannotOpen:
        std::cerr << kPortErrorCaption << ' ' << kPortOpenErrorText << '\n'
                  << kPortFailedText << '\n';
        return kRefused;
    case PortOpenStatus::CannotConfigure:
        std::cerr << kPortErrorCaption << ' ' << kPortInitErrorText << '\n'
                  << kPortFailedText << '\n';
        return kRefused;
    }

    ProgressPrinter printer;
    const UploadReport report =
        uploadProgram(*port, image, *config.block,
                      [&printer](const UploadProgress& progress) { printer(progress); });
    port->close();
    printer.finish();
    std::cout << uploadMessage(report.outcome) << std::endl;
    printFailure(report);
    switch (report.outcome) {
    case UploadOutcome::Written:
        return kWritten;
    case UploadOutcome::NoAnswer:
        return kNoAnswer;
    case UploadOutcome::Mismatch:
        return kMismatch;
    }
    return kRefused;
}

#ifndef _WIN32

struct SimulateOptions {
    SimulatorOptions simulator;
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

void dumpMemory(const SimulatedController& simulator) {
    const auto memory = simulator.memory();
    const auto header = static_cast<std::uint16_t>(memory[0] | (memory[1] << 8));
    const int steps = header & kStepCountMask;
    const std::size_t used = std::min(kProgramAreaSize, expectedFileLength(header));
    std::ostringstream out;
    out << "Программа: шагов " << steps << ", старт блок "
        << ((header & kStartBlockBit) != 0 ? "да" : "нет") << '\n';
    printHexRows(out, memory, 0, used);
    const ConfigBlock settings = simulator.settingsBlock();
    const auto word = [&](std::size_t offset) {
        return static_cast<unsigned>(settings[offset] | (settings[offset + 1] << 8));
    };
    out << "Настройки: TimerWord " << hexWord(static_cast<std::uint16_t>(word(0)))
        << ", ожидание дня " << word(2) << ", задержка включения " << word(4) << ", время работы "
        << word(6) << ", роль " << (settings[8] == kRoleSlave ? "SLAVE" : "MASTER") << '\n';
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

    // Signals are taken synchronously by this thread alone, so that the simulator's thread
    // (which inherits the mask) never runs a handler, and cleanup runs in ordinary code.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) {
        sigaddset(&signals, signal);
    }
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    SimulatedController simulator(options.simulator);
    if (!simulator.start()) {
        std::cerr << "Симулятор не запущен: " << simulator.error() << '\n';
        return kRefused;
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
    return kWritten;
}

#endif

} // namespace

void addLinkCommands(CLI::App& app, int& exitCode) {
    auto uploadOptions = std::make_shared<UploadOptions>();
    auto* upload = app.add_subcommand("upload", "записать программу в контроллер");
    upload->add_option("--port", uploadOptions->port, "устройство порта")->required();
    upload->add_option("--timer", uploadOptions->timer,
                       "таймер включен: ожидание дня, задержка включения, время работы (с)");
    upload->add_flag("--all-night", uploadOptions->allNight, "на всю ночь");
    upload->add_flag("--inversion", uploadOptions->inversion, "инверсия освещения");
    upload->add_flag("--slave", uploadOptions->slave, "SLAVE");
    upload->add_option("FILE", uploadOptions->file, "файл программы")->required();
    upload->callback([uploadOptions, &exitCode] { exitCode = runUpload(*uploadOptions); });

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
    simulate->callback([simulateOptions, &exitCode] { exitCode = runSimulate(*simulateOptions); });
#endif
}

} // namespace tevra::cli
