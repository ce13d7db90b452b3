#include "cli/FileCommands.h"
#include "cli/GenerateCommand.h"
#include "cli/LinkCommands.h"
#include "cli/ToolHelp.h"
#include "cli/ToolManual.h"
#include "files/Utf8Arguments.h"
#ifdef _WIN32
#include "cli/Utf8Console.h"
#endif

#include <CLI/CLI.hpp>
#include <iostream>

namespace {

// As every command gives them; CLI11 holds no table of them.
constexpr tevra::cli::ExitStatusText kExitStatuses[] = {
    {"0", "сделано"},
    {"1", "неверная командная строка, файл или порт, и всё прочее, что не удалось"},
    {"2", "контроллер не ответил"},
    {"3", "upload и verify: контроллер хранит другое; download: в контроллере нет программы"},
};

} // namespace

int main(int systemArgc, char** systemArgv) {
    tevra::Utf8Arguments arguments(systemArgc, systemArgv);
    const int argc = arguments.argc();
    char** argv = arguments.argv();
#ifdef _WIN32
    const tevra::cli::Utf8Console console;
#endif
    CLI::App app{"tevra: программы 16-канального светового контроллера", "tevra"};
    app.set_version_flag("--version", std::string("tevra ") + TEVRA_VERSION_TEXT,
                         "показать версию и выйти");
    app.require_subcommand(1);
    int exitCode = 0;
    tevra::cli::addFileCommands(app, exitCode);
    tevra::cli::addLinkCommands(app, exitCode);
    tevra::cli::addGenerateCommand(app, exitCode);
    // Both read the whole app, so they come after every command.
    tevra::cli::useRussianHelp(app);
    tevra::cli::addManualOptions(app, kExitStatuses);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return tevra::cli::exitAfterParsing(app, error);
    }
    return exitCode;
}
