#pragma once

#include <CLI/CLI.hpp>
#include <span>

namespace tevra::cli {

struct ExitStatusText {
    const char* status;
    const char* meaning;
};

// Hidden flags that print the manual page (troff, section 1) and the bash completion script,
// both read from the app itself, so that they name exactly the commands and options that
// --help shows, whichever were added. The build makes the installed files with them.
// exitStatuses, when given, make the page's EXIT STATUS section.
void addManualOptions(CLI::App& app, std::span<const ExitStatusText> exitStatuses = {});

} // namespace tevra::cli
