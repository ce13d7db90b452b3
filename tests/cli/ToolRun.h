#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tevra::test {

// Long enough for a slow machine under sanitizers; a hung tool fails the test, not the run.
inline constexpr std::chrono::milliseconds kToolTimeout{30000};

struct ToolResult {
    int exitStatus = -1; // the tool's exit status; -1 when it was killed or did not start
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Runs the built tevra binary with these arguments (without the program name), feeding
// input on its standard input, and waits for it to end or for timeout.
ToolResult runTool(const std::vector<std::string>& args, const std::string& input = {},
                   std::chrono::milliseconds timeout = kToolTimeout);

} // namespace tevra::test
