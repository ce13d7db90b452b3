#pragma once

#include <CLI/CLI.hpp>

namespace tevra::cli {

// Hidden flags that print the manual page (troff, section 1) and the bash completion script,
// both read from the app itself, so that they name exactly the commands and options that
// --help shows, whichever were added. The build makes the installed files with them.
void addManualOptions(CLI::App& app);

} // namespace tevra::cli
