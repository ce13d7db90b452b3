#include "ToolRun.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tevra::test {

namespace {

struct Pipe {
    int readEnd = -1;
    int writeEnd = -1;

    Pipe() {
        std::array<int, 2> fds{};
        if (::pipe2(fds.data(), O_CLOEXEC) == 0) {
            readEnd = fds[0];
            writeEnd = fds[1];
        }
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    void closeRead() {
        if (readEnd >= 0) {
            ::close(readEnd);
            readEnd = -1;
        }
    }
    void closeWrite() {
        if (writeEnd >= 0) {
            ::close(writeEnd);
            writeEnd = -1;
        }
    }
};

} // namespace

ToolResult runTool(const std::vector<std::string>& args, const std::string& input,
                   std::chrono::milliseconds timeout) {
    ToolResult result;
    Pipe in;
    Pipe out;
    Pipe err;
    if (in.readEnd < 0 || out.readEnd < 0 || err.readEnd < 0) {
        result.err = "pipe failed";
        return result;
    }

    std::vector<std::string> argStore{TEVRA_TOOL_PATH};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argStore) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.readEnd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out.writeEnd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.writeEnd, STDERR_FILENO);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, argStore.front().c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    in.closeRead();
    out.closeWrite();
    err.closeWrite();
    if (spawned != 0) {
        result.err = "spawn failed";
        return result;
    }

    // A tool that does not read its input must not block us on a full pipe.
    std::size_t written = 0;
    ::fcntl(in.writeEnd, F_SETFL, O_NONBLOCK);
    if (input.empty()) {
        in.closeWrite();
    }

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::array<char, 4096> buffer{};
    while (out.readEnd >= 0 || err.readEnd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        std::array<pollfd, 3> fds{
            {{out.readEnd, POLLIN, 0}, {err.readEnd, POLLIN, 0}, {in.writeEnd, POLLOUT, 0}}};
        if (::poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (in.writeEnd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
            const ssize_t n = ::write(in.writeEnd, input.data() + written, input.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            }
            if (n < 0 || written == input.size()) {
                in.closeWrite();
            }
        }
        const std::array<std::pair<Pipe*, std::string*>, 2> sinks{
            {{&out, &result.out}, {&err, &result.err}}};
        for (std::size_t i = 0; i < sinks.size(); ++i) {
            if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                continue;
            }
            const ssize_t n = ::read(sinks[i].first->readEnd, buffer.data(), buffer.size());
            if (n > 0) {
                sinks[i].second->append(buffer.data(), static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                sinks[i].first->closeRead();
            }
        }
    }

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!result.timedOut && WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    }
    return result;
}

} // namespace tevra::test
