#include "app/StartOptions.h"

#include "app/Version.h"
#include "cli/ToolHelp.h"
#include "cli/ToolManual.h"

#include <CLI/CLI.hpp>

namespace tevra {

StartOptions parseStartOptions(int argc, const char* const* argv, std::ostream& out,
                               std::ostream& err) {
    CLI::App app{"Редактор программ 16-канального светового контроллера", kInternalName};
    // A Windows path is a file name, never an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string(kInternalName) + " " + kVersionText,
                         "показать версию и выйти");
    app.set_help_flag("-h,--help", "показать эту справку и выйти");
    StartOptions options;
    app.add_option("FILE", options.programFile,
                   "файл программы (*.tvr); читается, как кнопкой \"Прочитать\"");
    cli::useRussianHelp(app);
    cli::addManualOptions(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        options.exitStatus = cli::exitAfterParsing(app, error, out, err);
    }
    return options;
}

} // namespace tevra
