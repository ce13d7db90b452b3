#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace tevra::test {

struct ToolResult {
    int exitStatus = -1; // -1 when the tool did not start, was killed or did not end in time
    std::string out;
    std::string err;
};

// The built tevra tool (TEVRA_TOOL when set: a copy outside the build tree) with these
// arguments and this standard input; killed if it still runs when the run ends.
class ToolRun {
public:
    explicit ToolRun(const std::vector<std::string>& args, const std::string& input = {});
    ~ToolRun();
    ToolRun(const ToolRun&) = delete;
    ToolRun& operator=(const ToolRun&) = delete;

    std::string firstLine();
    void signal(int number) const;
    // Waits 30 s at most: long enough under sanitizers, and a hung tool fails only its test.
    ToolResult finish();

private:
    // Takes in standard output until it has a line end (or, without untilLine, until it
    // closes); false when the wait ran out first.
    bool readOut(bool untilLine);

    pid_t m_pid = -1;
    int m_out = -1; // a pipe, so that a line can be waited for
    int m_err = -1; // an anonymous file, which never fills
    ToolResult m_result;
};

inline ToolResult runTool(const std::vector<std::string>& args, const std::string& input = {}) {
    return ToolRun(args, input).finish();
}

} // namespace tevra::test
