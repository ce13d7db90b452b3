#include "cli/GenerateCommand.h"

#include "cli/FileCommands.h"
#include "files/ProgramFile.h"
#include "files/Utf8Arguments.h"
#include "model/Generation.h"

#include <charconv>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

namespace tevra::cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kDecimalBase = 10;
constexpr int kHexBase = 16;

// Carries a refusal from deep in the option reading up to the one place that prints it.
struct Refusal {
    std::string message;
};

template <typename Number> Number wholeNumber(std::string_view text, std::string_view option) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const std::string_view digits = hex ? text.substr(2) : text;
    Number value{};
    const char* end = digits.data() + digits.size();
    const auto [stop, error] =
        std::from_chars(digits.data(), end, value, hex ? kHexBase : kDecimalBase);
    if (digits.empty() || error != std::errc() || stop != end) {
        std::ostringstream message;
        message << option << ": ожидается целое число, получено «" << text << "»";
        throw Refusal{message.str()};
    }
    return value;
}

// "A-B" or "A"; B may be below A, which gives the numbers in reverse.
std::pair<int, int> numberRange(std::string_view text, std::string_view option) {
    const std::size_t dash = text.find('-', 1);
    if (dash == std::string_view::npos) {
        const int single = wholeNumber<int>(text, option);
        return {single, single};
    }
    return {wholeNumber<int>(text.substr(0, dash), option),
            wholeNumber<int>(text.substr(dash + 1), option)};
}

// "1-16", "16-1" or "1,3,5,7" (and mixes of them), numbered from 1, as channels from 0.
std::vector<int> channelList(std::string_view text) {
    std::vector<int> channels;
    while (true) {
        const std::size_t comma = text.find(',');
        const auto [from, to] = numberRange(text.substr(0, comma), "--channels");
        // Checked before the range is spelt out: "1-2000000000" must not fill the memory.
        for (const int end : {from, to}) {
            if (end < 1 || end > kChannelCount) {
                std::ostringstream message;
                message << "Канал " << end << " вне 1-" << kChannelCount;
                throw Refusal{message.str()};
            }
        }
        const int direction = from <= to ? 1 : -1;
        for (int channel = from; channel != to + direction; channel += direction) {
            channels.push_back(channel - 1);
        }
        if (comma == std::string_view::npos) {
            return channels;
        }
        text.remove_prefix(comma + 1);
    }
}

CellValue cellValue(const std::string& text, std::string_view option, bool keepAllowed) {
    if (const auto value = CellValue::parse(text, keepAllowed)) {
        return *value;
    }
    std::ostringstream message;
    message << option << ": ожидается off, on, level:1…level:32" << (keepAllowed ? ", keep" : "")
            << " или байт 0…255, получено «" << text << "»";
    throw Refusal{message.str()};
}

Generation generation(const GenerateOptions& options, const ProgramImage& image) {
    Generation result;
    const std::optional<PatternKind> kind = patternByName(options.pattern);
    if (!kind) {
        throw Refusal{"Неизвестный узор «" + options.pattern + "» (список: tevra generate --list)"};
    }
    result.shape.kind = *kind;
    result.channels = channelList(options.channels.empty() ? "1-16" : options.channels);
    if (!options.steps.empty()) {
        std::tie(result.firstStep, result.lastStep) = numberRange(options.steps, "--steps");
    } else if (image.stepCount() == 0) {
        throw Refusal{"В программе нет шагов: укажите их в --steps"};
    } else {
        result.lastStep = image.stepCount();
    }
    if (!options.width.empty()) {
        result.shape.width = wholeNumber<int>(options.width, "--width");
    }
    if (!options.gap.empty()) {
        result.shape.gap = wholeNumber<int>(options.gap, "--gap");
    }
    if (!options.density.empty()) {
        result.shape.density = wholeNumber<int>(options.density, "--density");
    }
    if (!options.seed.empty()) {
        result.shape.seed = wholeNumber<std::uint64_t>(options.seed, "--seed");
    }
    if (!options.on.empty()) {
        result.on = cellValue(options.on, "--on", false);
    }
    if (!options.off.empty()) {
        result.off = cellValue(options.off, "--off", true);
    }
    result.background = options.background;
    if (!options.time.empty() && !options.bpm.empty()) {
        throw Refusal{"--time и --bpm вместе не задаются"};
    }
    if (!options.perBeat.empty() && options.bpm.empty()) {
        throw Refusal{"--per-beat задаётся только с --bpm"};
    }
    if (!options.time.empty()) {
        const int millis = wholeNumber<int>(options.time, "--time");
        const auto unitMillis = static_cast<int>(kStepTimeUnit.count());
        if (millis % unitMillis != 0 || millis / unitMillis < kMinStepTime ||
            millis / unitMillis > kMaxStepTime) {
            throw Refusal{"--time: время шага должно быть от 50 до 25600 mS, кратно 10"};
        }
        result.timing = static_cast<std::uint16_t>(millis / unitMillis);
    }
    if (!options.bpm.empty()) {
        const int perBeat = options.perBeat.empty()
                                ? StepTempo::kDefaultStepsPerBeat
                                : wholeNumber<int>(options.perBeat, "--per-beat");
        const std::optional<StepTempo> tempo = StepTempo::parse(options.bpm, perBeat);
        if (!tempo) {
            std::ostringstream message;
            message << "--bpm: ожидается темп больше 0, например 128 или 127,5, и --per-beat "
                       "от 1 до "
                    << StepTempo::kMaxStepsPerBeat;
            throw Refusal{message.str()};
        }
        result.timing = *tempo;
    }
    return result;
}

int fail(const std::string& message) {
    std::cerr << message << '\n';
    return kExitFailed;
}

int listPatterns() {
    for (const PatternName& entry : kPatternNames) {
        std::cout << entry.name << "  " << entry.description << '\n';
    }
    return kExitOk;
}

} // namespace

int runGenerate(const GenerateOptions& options) {
    if (options.list) {
        return listPatterns();
    }
    if (options.pattern.empty() || options.in.empty() || options.out.empty()) {
        return fail("Укажите узор, исходный файл и файл для записи: tevra generate УЗОР IN OUT");
    }
    ProgramImage image = ProgramImage::startProgram();
    const FileOutcome read = readProgramFile(utf8Path(options.in), image);
    if (!read.ok()) {
        return fail(describe(read, options.in));
    }
    try {
        if (const auto refused = applyGeneration(image, generation(options, image))) {
            return fail(*refused);
        }
    } catch (const Refusal& refusal) {
        return fail(refusal.message);
    }
    const FileOutcome written = writeProgramFile(utf8Path(options.out), image);
    return written.ok() ? kExitOk : fail(describe(written, options.out));
}

void addGenerateCommand(CLI::App& app, int& exitCode) {
    // CLI11 keeps pointers to the option targets, so they live as long as the app.
    auto options = std::make_shared<GenerateOptions>();
    CLI::App* generate = app.add_subcommand("generate", "записать узор в ячейки программы");
    generate->add_flag("--list", options->list, "перечислить узоры");
    generate->add_option("pattern", options->pattern, "узор (см. --list)");
    generate->add_option("in", options->in, "исходный файл программы");
    generate->add_option("out", options->out, "файл для записи (может совпадать с исходным)");
    generate->add_option("--channels", options->channels, "каналы: 1-16, 16-1 или 1,3,5,7");
    generate->add_option("--steps", options->steps, "шаги A-B (по умолчанию все)");
    generate->add_option("--width", options->width, "ширина группы (1)");
    generate->add_option("--gap", options->gap, "промежуток (каналов - ширина)");
    generate->add_option("--density", options->density, "плотность random, % (50)");
    generate->add_option("--seed", options->seed, "зерно случайных узоров (1)");
    generate->add_option("--on", options->on, "значение горящих ячеек: off, on, level:N, байт");
    generate->add_option("--off", options->off, "значение остальных ячеек, или keep");
    generate->add_flag("--background", options->background,
                       "писать только в выключенные ячейки, остальное оставить");
    generate->add_option("--time", options->time, "время каждого шага, mS");
    generate->add_option("--bpm", options->bpm, "времена шагов по темпу, ударов в минуту");
    generate->add_option("--per-beat", options->perBeat, "шагов на удар (1)");
    generate->callback([options, &exitCode] { exitCode = runGenerate(*options); });
}

} // namespace tevra::cli
