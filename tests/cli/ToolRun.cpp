#include "ToolRun.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tevra::test {

namespace {

constexpr std::chrono::seconds kToolTimeout{30};

} // namespace

ToolRun::ToolRun(const std::vector<std::string>& args, const std::string& input) {
    const char* tool = std::getenv("TEVRA_TOOL");
    std::vector<std::string> argStore{tool != nullptr ? tool : TEVRA_TOOL_PATH};
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
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    ::close(m_out);
    ::close(m_err);
}

bool ToolRun::readOut(bool untilLine) {
    const auto deadline = std::chrono::steady_clock::now() + kToolTimeout;
    while (m_out >= 0 && !(untilLine && m_result.out.find('\n') != std::string::npos)) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd watch{m_out, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&watch, 1, int(left.count())) <= 0) {
            return false;
        }
        std::array<char, 4096> buffer{};
        const ssize_t count = ::read(m_out, buffer.data(), buffer.size());
        if (count <= 0) {
            ::close(m_out);
            m_out = -1;
        } else {
            m_result.out.append(buffer.data(), std::size_t(count));
        }
    }
    return true;
}

void ToolRun::signal(int number) const {
    // Never -1 here: that would reach every process of this user.
    if (m_pid > 0) {
        ::kill(m_pid, number);
    }
}

std::string ToolRun::firstLine() {
    readOut(true);
    return m_result.out.substr(0, m_result.out.find('\n'));
}

ToolResult ToolRun::finish() {
    const bool ended = m_pid > 0 && readOut(false);
    int status = 0;
    if (m_pid > 0) {
        if (!ended) {
            ::kill(m_pid, SIGKILL);
        }
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
    m_result.exitStatus = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::array<char, 4096> buffer{};
    ssize_t count = 0;
    while ((count = ::pread(m_err, buffer.data(), buffer.size(), off_t(m_result.err.size()))) > 0) {
        m_result.err.append(buffer.data(), std::size_t(count));
    }
    return m_result;
}

} // namespace tevra::test
