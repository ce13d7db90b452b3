#pragma once

#include "model/ProgramImage.h"

#include <CLI/CLI.hpp>
#include <ostream>

namespace tevra::cli {

// new, check, show, export, import. Each callback stores its process exit status in exitCode.
void addFileCommands(CLI::App& app, int& exitCode);

// One line a step: its time and each channel in the words every view of a program uses.
void printSteps(std::ostream& out, const ProgramImage& image);

} // namespace tevra::cli
