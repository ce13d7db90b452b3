#include "cli/FileCommands.h"
#include "cli/LinkCommands.h"
#include "cli/ToolHelp.h"
#include "cli/ToolManual.h"
#ifdef _WIN32
#include "cli/Utf8Console.h"
#endif

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv) {
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
    // Both read the whole app, so they come after every command.
    tevra::cli::useRussianHelp(app);
    tevra::cli::addManualOptions(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return tevra::cli::exitAfterParsing(app, error);
    }
    return exitCode;
}
