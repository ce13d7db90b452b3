#include "cli/ToolHelp.h"

#include <iostream>
#include <regex>
#include <string>

namespace tevra::cli {

namespace {

constexpr int kExitUsage = 1;

// CLI11's words for what it prints; anything missing here would stay English.
constexpr std::pair<const char*, const char*> kLabels[] = {
    {"Usage", "Использование"},
    {"OPTIONS", "ПАРАМЕТРЫ"},
    {"SUBCOMMAND", "КОМАНДА"},
    {"SUBCOMMANDS", "КОМАНДЫ"},
    {"Positionals", "Аргументы"},
    {"REQUIRED", "обязательно"},
    {"TEXT", "ТЕКСТ"},
    {"INT", "ЧИСЛО"},
    {"UINT", "ЧИСЛО"},
    {"Needs", "только с"},
    {"Excludes", "не с"},
    {"Env", "переменная"},
};

struct Translation {
    const char* english; // a pattern over the whole of CLI11's message
    const char* russian; // its replacement, with $1, $2 for the pattern's groups
};

// In the order tried: the general patterns come after the special ones they would swallow.
const Translation kTranslations[] = {
    {"A subcommand is required", "не указана команда"},
    {"(.+): \\d+ required .+ missing", "$1: нет значения"},
    {"(.+) is required", "не указан $1"},
    {"(.+): At Most \\d+ required but received \\d+", "$1: задан больше одного раза"},
    {"(.+) requires (.+)", "$1 действует только вместе с $2"},
    {"(.+) excludes (.+)", "$1 нельзя вместе с $2"},
    {"The following arguments? w(?:as|ere) not expected: (.+)", "лишнее в командной строке: $1"},
    {"Could not convert: (.+) = (.*)", "$1: \"$2\" не целое число"},
    {"(.+): too many inputs for a flag", "$1: флаг не принимает значения"},
    {"(.+) was given a disallowed flag override", "$1: флаг не принимает значения"},
};

std::string russianReason(const CLI::ParseError& error) {
    const std::string english = error.what();
    // Our own checks already speak Russian.
    if (error.get_name() == "ValidationError") {
        return english;
    }
    for (const Translation& translation : kTranslations) {
        std::smatch match;
        if (std::regex_match(english, match, std::regex(translation.english))) {
            return match.format(translation.russian);
        }
    }
    return "неверная командная строка: " + english;
}

// "tevra download" when the error came from a subcommand.
std::string commandPath(const CLI::App& app) {
    std::string path = app.get_name();
    for (const CLI::App* command = &app; !command->get_subcommands().empty();) {
        command = command->get_subcommands().front();
        path += ' ';
        path += command->get_name();
    }
    return path;
}

constexpr const char* kEnglishOptionGroup = "Options";

void translateHelp(CLI::App& command) {
    for (CLI::Option* option : command.get_options()) {
        if (option->get_group() == kEnglishOptionGroup) {
            option->group("Параметры");
        }
    }
    command.get_help_ptr()->description("показать эту справку и выйти");
    for (CLI::App* subcommand : command.get_subcommands({})) {
        subcommand->group("Команды");
        translateHelp(*subcommand);
    }
}

} // namespace

void useRussianHelp(CLI::App& app) {
    for (const auto& [key, label] : kLabels) {
        app.get_formatter()->label(key, label);
    }
    translateHelp(app);
}

int exitAfterParsing(CLI::App& app, const CLI::ParseError& error, std::ostream& out,
                     std::ostream& err) {
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
        return app.exit(error, out, err);
    }
    err << russianReason(error) << "\nСправка: " << commandPath(app) << " --help\n";
    return kExitUsage;
}

} // namespace tevra::cli
