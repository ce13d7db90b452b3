#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace tevra {

struct StartOptions {
    // Set when the process ends without a window: after --help or --version (0), or after a
    // wrong argument (non-zero, with the reason on err).
    std::optional<int> exitStatus;
    // The program file to read at start; empty for the start program.
    std::string programFile;
};

// Velmora_N1 [--help] [--version] [FILE]. Needs no toolkit, so that it can run before any
// window system is reached.
StartOptions parseStartOptions(int argc, const char* const* argv, std::ostream& out,
                               std::ostream& err);

} // namespace tevra
