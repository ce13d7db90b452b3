#pragma once

#include <CLI/CLI.hpp>

namespace tevra::cli {

// download, verify: read a controller back without writing to it. Each callback stores its
// process exit status in exitCode.
void addReadBackCommands(CLI::App& app, int& exitCode);

} // namespace tevra::cli
