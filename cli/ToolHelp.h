#pragma once

#include <CLI/CLI.hpp>
#include <iostream>

namespace tevra::cli {

// Russian labels, group names and --help text over the whole app. Call after adding every
// command: CLI11 gives each its English help flag and group when it is added.
void useRussianHelp(CLI::App& app);

// What main() returns for an exception from parsing: help, the version and other successes
// print as CLI11 prints them; a usage error prints its reason in Russian and gives 1, as every
// other refusal of the tool does.
int exitAfterParsing(CLI::App& app, const CLI::ParseError& error, std::ostream& out = std::cout,
                     std::ostream& err = std::cerr);

} // namespace tevra::cli
