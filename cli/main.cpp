#include "cli/FileCommands.h"
#include "cli/LinkCommands.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"tevra: программы 16-канального светового контроллера"};
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
