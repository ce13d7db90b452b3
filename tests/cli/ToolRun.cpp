#include "ToolRun.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tevra::test {

namespace {

// An anonymous file rather than a pipe: it never fills, so the tool can never block on its
// output while we wait for it to end.
class MemoryFile {
public:
    MemoryFile() : m_fd(::memfd_create("tevra-tool", MFD_CLOEXEC)) {}
    ~MemoryFile() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int fd() const { return m_fd; }
    bool put(const std::string& text) const {
        return ::pwrite(m_fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size());
    }
    std::string text() const {
        std::string text;
        std::array<char, 4096> buffer{};
        ssize_t n = 0;
        while ((n = ::pread(m_fd, buffer.data(), buffer.size(), static_cast<off_t>(text.size()))) >
               0) {
            text.append(buffer.data(), static_cast<std::size_t>(n));
        }
        return text;
    }

private:
    int m_fd;
};

} // namespace

ToolResult runTool(const std::vector<std::string>& args, const std::string& input,
                   std::chrono::milliseconds timeout) {
    ToolResult result;
    const MemoryFile in;
    const MemoryFile out;
    const MemoryFile err;
    if (in.fd() < 0 || out.fd() < 0 || err.fd() < 0 || !in.put(input)) {
        result.err = "memfd failed";
        return result;
    }

    // TEVRA_TOOL points at a copy when the suite runs from outside the build tree.
    const char* tool = std::getenv("TEVRA_TOOL");
    std::vector<std::string> argStore{tool != nullptr ? tool : TEVRA_TOOL_PATH};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argStore) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.fd(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out.fd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.fd(), STDERR_FILENO);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, argStore.front().c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.err = "spawn failed";
        return result;
    }

    // The process descriptor becomes readable when the tool ends. Through syscall(): this C
    // library declares pidfd_open without C linkage.
    pollfd ended{static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)), POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&ended, 1, static_cast<int>(timeout.count()))) < 0 && errno == EINTR) {
    }
    if (ready <= 0) {
        result.timedOut = true;
        ::kill(pid, SIGKILL);
    }
    if (ended.fd >= 0) {
        ::close(ended.fd);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!result.timedOut && WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    }
    result.out = out.text();
    result.err = err.text();
    return result;
}

} // namespace tevra::test
