#include "link/SimulatorLink.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sys/types.h>
#include <system_error>
#include <unistd.h>

namespace tevra {

namespace {

constexpr const char* kLinkName = "tevra-simulator";

std::optional<pid_t> readPid(const std::filesystem::path& path) {
    std::ifstream in(path);
    long pid = 0;
    if (!(in >> pid) || pid <= 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

bool processRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

std::filesystem::path SimulatorLink::path() {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0') {
        return std::filesystem::path(runtimeDir) / kLinkName;
    }
    return std::filesystem::path("/tmp") /
           (std::string(kLinkName) + "-" + std::to_string(::getuid()));
}

std::filesystem::path SimulatorLink::pidPath() {
    auto result = path();
    result += ".pid";
    return result;
}

std::optional<std::string> SimulatorLink::publishedDevice() {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(path(), error);
    if (error || !std::filesystem::exists(target, error)) {
        return std::nullopt;
    }
    const auto pid = readPid(pidPath());
    if (!pid || !processRuns(*pid)) {
        return std::nullopt;
    }
    return target.string();
}

bool SimulatorLink::publish(const std::string& devicePath) {
    std::error_code error;
    const auto link = path();
    // Written beside and renamed over, so a reader never sees half a link.
    auto fresh = link;
    fresh += ".new";
    std::filesystem::remove(fresh, error);
    std::filesystem::create_symlink(devicePath, fresh, error);
    if (error) {
        return false;
    }
    {
        std::ofstream pidFile(pidPath(), std::ios::trunc);
        pidFile << ::getpid() << '\n';
        if (!pidFile) {
            std::filesystem::remove(fresh, error);
            return false;
        }
    }
    std::filesystem::rename(fresh, link, error);
    return !error;
}

void SimulatorLink::withdraw() {
    const auto pid = readPid(pidPath());
    if (!pid || *pid != ::getpid()) {
        return;
    }
    std::error_code error;
    std::filesystem::remove(path(), error);
    std::filesystem::remove(pidPath(), error);
}

} // namespace tevra
