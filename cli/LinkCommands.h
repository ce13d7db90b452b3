#pragma once

#include <CLI/CLI.hpp>

namespace tevra::cli {

// upload, download, verify, simulate. Each callback stores its process exit status in exitCode.
void addLinkCommands(CLI::App& app, int& exitCode);

} // namespace tevra::cli
