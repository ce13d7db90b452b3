#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace tevra::test {

struct ToolResult {
    int exitStatus = -1; // -1 when the tool died of a signal; 137 when it ran out of time
    std::string out;
    std::string err;
};

// The built tevra tool (TEVRA_TOOL when set: a copy outside the build tree) with these
// arguments and this standard input. Killed after 30 s: long enough under sanitizers, and a
// hung tool fails only its test.
class ToolRun {
public:
    explicit ToolRun(const std::vector<std::string>& args, const std::string& input = {});
    ~ToolRun();
    ToolRun(const ToolRun&) = delete;
    ToolRun& operator=(const ToolRun&) = delete;

    std::string firstLine();
    // SIGTERM, SIGINT, SIGHUP or SIGQUIT: the signals the timeout passes on to the tool.
    void signal(int number) const;
    ToolResult finish();

private:
    pid_t m_pid = -1;
    int m_out = -1; // a pipe, so that a line can be waited for
    int m_err = -1; // an anonymous file, which never fills
    ToolResult m_result;
};

inline ToolResult runTool(const std::vector<std::string>& args, const std::string& input = {}) {
    return ToolRun(args, input).finish();
}

} // namespace tevra::test
