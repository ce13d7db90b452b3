#include "cli/ReadBackCommands.h"

#include "cli/LinkOptions.h"
#include "files/ProgramFile.h"
#include "files/Utf8Arguments.h"
#include "link/ReadBack.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace tevra::cli {

namespace {

using nlohmann::ordered_json;

struct DownloadOptions {
    std::string port;
    bool json = false;
    std::string out;
};

struct FieldNames {
    const char* label; // the exchange window's text
    const char* key;   // in the JSON report
};

// In the order of ConfigField.
constexpr FieldNames kFieldNames[] = {
    {"Таймер включен", "timer"},
    {"Задержка ожидания дня", "dayWait"},
    {"Задержка включения", "switchOnDelay"},
    {"Время работы", "workingTime"},
    {"SLAVE", "slave"},
};

const FieldNames& namesOf(ConfigField field) {
    return kFieldNames[static_cast<std::size_t>(field)];
}

const char* yesNo(bool value) {
    return value ? "да" : "нет";
}

// Prints a block that could not be read and gives the exit status for it.
int readFailure(ReadBackOutcome outcome, std::uint16_t address) {
    if (outcome == ReadBackOutcome::NoAnswer) {
        std::cerr << uploadMessage(UploadOutcome::NoAnswer) << " Блок " << hexWord(address) << '\n';
        return kExitNoAnswer;
    }
    std::cerr << "Блок " << hexWord(address)
              << (outcome == ReadBackOutcome::Overlong
                      ? ": за ответом шли лишние байты\n"
                      : ": два чтения подряд ни разу не совпали\n");
    return kExitRefused;
}

void printSettings(const ConfigBlockContents& settings) {
    const auto undecodable = [&](ConfigField field) {
        for (const ConfigFieldBytes& found : settings.undecodable) {
            if (found.field == field) {
                std::cout << namesOf(field).label << ": байты " << hexByte(found.bytes[0]) << ' '
                          << hexByte(found.bytes[1]) << " не даёт ни одна настройка\n";
            }
        }
    };
    if (settings.timer) {
        std::cout << namesOf(ConfigField::TimerWord).label << ": " << yesNo(settings.timer->timerOn)
                  << '\n';
        if (settings.timer->timerOn) {
            std::cout << "На всю ночь: " << yesNo(settings.timer->allNight) << '\n'
                      << "Инверсия освещения: " << yesNo(settings.timer->inversion) << '\n';
        }
    }
    undecodable(ConfigField::TimerWord);
    const std::pair<ConfigField, const std::optional<int>&> times[] = {
        {ConfigField::DayWait, settings.dayWait},
        {ConfigField::SwitchOnDelay, settings.switchOnDelay},
        {ConfigField::WorkTime, settings.workTime},
    };
    for (const auto& [field, seconds] : times) {
        if (seconds) {
            std::cout << namesOf(field).label << ": " << *seconds << " с\n";
        }
        undecodable(field);
    }
    if (settings.slave) {
        std::cout << namesOf(ConfigField::Role).label << ": " << yesNo(*settings.slave) << '\n';
    }
    undecodable(ConfigField::Role);
}

template <typename Value> ordered_json orNull(const std::optional<Value>& value) {
    return value ? ordered_json(*value) : ordered_json(nullptr);
}

ordered_json settingsJson(const ConfigBlockContents& settings) {
    const auto timerFlag = [&](bool TimerState::*flag) {
        return settings.timer ? ordered_json((*settings.timer).*flag) : ordered_json(nullptr);
    };
    ordered_json undecodable = ordered_json::array();
    for (const ConfigFieldBytes& found : settings.undecodable) {
        undecodable.push_back({{"field", namesOf(found.field).key}, {"bytes", found.bytes}});
    }
    return {
        {"timer", timerFlag(&TimerState::timerOn)},
        {"dayWait", orNull(settings.dayWait)},
        {"switchOnDelay", orNull(settings.switchOnDelay)},
        {"workingTime", orNull(settings.workTime)},
        {"allNight", timerFlag(&TimerState::allNight)},
        {"inversion", timerFlag(&TimerState::inversion)},
        {"slave", orNull(settings.slave)},
        {"undecodable", undecodable},
    };
}

bool savedOrExplained(const FileOutcome& saved, const std::string& path) {
    if (!saved.ok()) {
        std::cerr << "Не удалось записать файл " << path << ": " << saved.reason << '\n';
    }
    return saved.ok();
}

int runDownload(const DownloadOptions& options) {
    // Before reading, which takes 11 s for 500 steps; the file itself is still written whole
    // at the end.
    if (!savedOrExplained(checkProgramFileWritable(utf8Path(options.out)), options.out)) {
        return kExitRefused;
    }
    const auto report = onPort(options.port, [](SerialPort& port, const auto& progress) {
        return downloadProgram(port, progress);
    });
    if (!report) {
        return kExitRefused;
    }
    const ProgramImage& image = report->image;
    switch (report->outcome) {
    case ReadBackOutcome::Done:
        break;
    case ReadBackOutcome::NoProgram:
        std::cerr << "В контроллере нет программы: заголовок " << hexWord(image.headerWord())
                  << " даёт шагов " << image.stepCount() << ", больше " << kMaxSteps << '\n';
        return kExitMismatch;
    default:
        return readFailure(report->outcome, report->failedAddress.value_or(kProgramAddress));
    }

    if (!savedOrExplained(writeProgramFile(utf8Path(options.out), image), options.out)) {
        return kExitRefused;
    }
    const ConfigBlockContents settings = decodeConfigBlock(report->config);
    if (options.json) {
        const ordered_json summary = {{"steps", image.stepCount()},
                                      {"startBlock", image.startBlock()},
                                      {"settings", settingsJson(settings)}};
        std::cout << summary.dump() << '\n';
    } else {
        std::cout << "Шагов: " << image.stepCount() << '\n'
                  << "Старт блок: " << yesNo(image.startBlock()) << '\n';
        printSettings(settings);
    }
    return kExitDone;
}

std::string describePlace(std::uint16_t address) {
    const BytePlace place = locateByte(address);
    switch (place.area) {
    case BytePlace::Area::Header:
        return "заголовок (шагов, старт блок)";
    case BytePlace::Area::StepTime:
        return "шаг " + std::to_string(place.step) + ", время шага";
    case BytePlace::Area::Cell:
        return "шаг " + std::to_string(place.step) + ", канал " + std::to_string(place.channel);
    case BytePlace::Area::Setting:
        // The TimerWord holds the all-night and inversion flags as well.
        return place.setting == ConfigField::TimerWord
                   ? "настройки, таймер (включен, на всю ночь, инверсия)"
                   : std::string("настройки, ") + namesOf(place.setting).label;
    case BytePlace::Area::Elsewhere:
        break;
    }
    return "вне программы";
}

int runVerify(const UploadOptions& options) {
    const std::optional<UploadJob> job = prepareUpload(options);
    if (!job) {
        return kExitRefused;
    }
    const auto report = onPort(options.port, [&](SerialPort& port, const auto& progress) {
        return verifyProgram(port, job->image, job->config, progress);
    });
    if (!report) {
        return kExitRefused;
    }
    switch (report->outcome) {
    case ReadBackOutcome::Done:
        std::cout << "Контроллер совпадает с файлом\n";
        return kExitDone;
    case ReadBackOutcome::Differs: {
        const ByteDifference& difference = *report->difference;
        std::cout << "Контроллер отличается от файла: " << hexWord(difference.address) << ", "
                  << describePlace(difference.address) << ": ожидалось "
                  << hexByte(difference.expected) << ", найдено " << hexByte(difference.found)
                  << '\n';
        return kExitMismatch;
    }
    default:
        return readFailure(report->outcome, report->failedAddress.value_or(kProgramAddress));
    }
}

} // namespace

void addReadBackCommands(CLI::App& app, int& exitCode) {
    auto downloadOptions = std::make_shared<DownloadOptions>();
    auto* download = app.add_subcommand("download", "прочитать программу и настройки контроллера");
    download->add_option("--port", downloadOptions->port, "устройство порта")->required();
    download->add_flag("--json", downloadOptions->json, "отчёт одним объектом JSON");
    download->add_option("OUT", downloadOptions->out, "файл программы")->required();
    download->callback([downloadOptions, &exitCode] { exitCode = runDownload(*downloadOptions); });

    auto verifyOptions = std::make_shared<UploadOptions>();
    auto* verify =
        app.add_subcommand("verify", "сравнить контроллер с файлом, ничего не записывая");
    addUploadOptions(*verify, *verifyOptions);
    verify->callback([verifyOptions, &exitCode] { exitCode = runVerify(*verifyOptions); });
}

} // namespace tevra::cli
