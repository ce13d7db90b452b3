#pragma once

#include <CLI/CLI.hpp>

namespace tevra::cli {

// new, check, show, export, import. Each callback stores its process exit status in exitCode.
void addFileCommands(CLI::App& app, int& exitCode);

} // namespace tevra::cli
