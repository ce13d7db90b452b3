#pragma once

#include "files/ProgramFile.h"
#include "model/ProgramImage.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace tevra::cli {

// new, check, show, export, import. Each callback stores its process exit status in exitCode.
void addFileCommands(CLI::App& app, int& exitCode);

// A failed read or write in the user's words, naming the file; empty when it was done.
std::string describe(const FileOutcome& outcome, const std::string& path);

// One line a step: its time and each channel in the words every view of a program uses.
void printSteps(std::ostream& out, const ProgramImage& image);

} // namespace tevra::cli
