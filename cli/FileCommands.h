#pragma once

#include "files/ProgramFile.h"

#include <CLI/CLI.hpp>
#include <string>

namespace tevra::cli {

// new, check, show, export, import. Each callback stores its process exit status in exitCode.
// A failed read or write in the user's words, naming the file; empty when it was done.
std::string describe(const FileOutcome& outcome, const std::string& path);

void addFileCommands(CLI::App& app, int& exitCode);

} // namespace tevra::cli
