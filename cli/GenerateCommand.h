#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace tevra::cli {

// The options of `generate` as typed; runGenerate reads and checks them, so every refusal is
// worded by us.
struct GenerateOptions {
    bool list = false;
    std::string pattern;
    std::string channels;
    std::string steps;
    std::string width;
    std::string gap;
    std::string density;
    std::string seed;
    std::string on;
    std::string off;
    bool background = false;
    std::string time;
    std::string bpm;
    std::string perBeat;
    std::string in;
    std::string out;
};

// Exit status 0, or 1 with the reason on standard error and nothing written.
int runGenerate(const GenerateOptions& options);

// generate: the pattern generator over a program file. The callback stores its exit status
// in exitCode.
void addGenerateCommand(CLI::App& app, int& exitCode);

} // namespace tevra::cli
