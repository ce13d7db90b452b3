#include "cli/FileCommands.h"
#include "cli/LinkCommands.h"
#include "files/Utf8Arguments.h"
#ifdef _WIN32
#include "cli/Utf8Console.h"
#endif

#include <CLI/CLI.hpp>
#include <iostream>

int main(int systemArgc, char** systemArgv) {
    tevra::Utf8Arguments arguments(systemArgc, systemArgv);
    const int argc = arguments.argc();
    char** argv = arguments.argv();
#ifdef _WIN32
    const tevra::cli::Utf8Console console;
#endif
    CLI::App app{"tevra: программы 16-канального светового контроллера"};
    app.set_version_flag("--version", std::string("tevra ") + TEVRA_VERSION_TEXT,
                         "показать версию и выйти");
    app.require_subcommand(1);
    int exitCode = 0;
    tevra::cli::addFileCommands(app, exitCode);
    tevra::cli::addLinkCommands(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    return exitCode;
}
