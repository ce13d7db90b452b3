#include "ToolRun.h"

#include <array>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tevra::test {

namespace {

// Appends what the descriptor gives until its end, or with untilLine until a line end.
void append(int fd, std::string& text, bool untilLine) {
    std::array<char, 4096> buffer{};
    ssize_t count = 0;
    while (!(untilLine && text.find('\n') != std::string::npos) &&
           (count = ::read(fd, buffer.data(), buffer.size())) > 0) {
        text.append(buffer.data(), std::size_t(count));
    }
}

} // namespace

ToolRun::ToolRun(const std::vector<std::string>& args, const std::string& input) {
    const char* tool = std::getenv("TEVRA_TOOL");
    std::vector<std::string> argStore{"/usr/bin/timeout", "--signal=KILL", "30",
                                      tool != nullptr ? tool : TEVRA_TOOL_PATH};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argStore) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    const int in = ::memfd_create("tevra-tool-in", MFD_CLOEXEC);
    m_err = ::memfd_create("tevra-tool-err", MFD_CLOEXEC);
    std::array<int, 2> out{-1, -1};
    if (::pipe2(out.data(), O_CLOEXEC) == 0 &&
        ::pwrite(in, input.data(), input.size(), 0) == ssize_t(input.size())) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, m_err, STDERR_FILENO);
        if (::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
    }
    ::close(in);
    m_out = out[0];
}

ToolRun::~ToolRun() {
    ::close(m_out);
    ::close(m_err);
    signal(SIGTERM);
    if (m_pid > 0) {
        ::waitpid(m_pid, nullptr, 0);
    }
}

void ToolRun::signal(int number) const {
    // Never -1 here: that would reach every process of this user.
    if (m_pid > 0) {
        ::kill(m_pid, number);
    }
}

std::string ToolRun::firstLine() {
    append(m_out, m_result.out, true);
    return m_result.out.substr(0, m_result.out.find('\n'));
}

ToolResult ToolRun::finish() {
    append(m_out, m_result.out, false);
    int status = 0;
    if (m_pid > 0 && ::waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status)) {
        m_result.exitStatus = WEXITSTATUS(status);
    }
    m_pid = -1;
    ::lseek(m_err, 0, SEEK_SET);
    m_result.err.clear();
    append(m_err, m_result.err, false);
    return m_result;
}

} // namespace tevra::test
