#include "link/SimulatorLink.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <system_error>
#include <unistd.h>

namespace tevra {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLinkName = "tevra-simulator";
constexpr const char* kPidSuffix = ".pid";
constexpr const char* kFreshSuffix = ".new";
constexpr const char* kPrivateFolderPrefix = "tevra-";
constexpr mode_t kPrivateFolderMode = 0700;
constexpr mode_t kPidFileMode = 0600;
constexpr mode_t kOthersAndGroupBits = 0077;
// Room for any process id and its line end.
constexpr std::size_t kPidTextSize = 32;

fs::path privateFolder() {
    std::error_code error;
    const fs::path temporary = fs::temp_directory_path(error);
    return (error ? fs::path("/tmp") : temporary) /
           (kPrivateFolderPrefix + std::to_string(::geteuid()));
}

bool isPrivateFolder(const fs::path& folder) {
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & kOthersAndGroupBits) == 0;
}

// The folder of the meeting point, when it can be trusted; `create` makes the private one.
std::optional<fs::path> meetingFolder(bool create) {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0') {
        return fs::path(runtimeDir);
    }
    const fs::path folder = privateFolder();
    // umask may have narrowed the mode further; a folder we just made gets exactly ours.
    if (create && ::mkdir(folder.c_str(), kPrivateFolderMode) == 0) {
        ::chmod(folder.c_str(), kPrivateFolderMode);
    }
    if (!isPrivateFolder(folder)) {
        return std::nullopt;
    }
    return folder;
}

fs::path withSuffix(fs::path path, const char* suffix) {
    path += suffix;
    return path;
}

bool isOwnLink(const fs::path& link) {
    struct stat info {};
    return ::lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && info.st_uid == ::geteuid();
}

std::optional<pid_t> readPid(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::array<char, kPidTextSize> text{};
    ssize_t count = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) {
        count = ::read(fd, text.data(), text.size());
    }
    ::close(fd);
    long pid = 0;
    if (count <= 0 || std::from_chars(text.data(), text.data() + count, pid).ec != std::errc{} ||
        pid <= 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

// Written to a name of its own that must not exist yet, then renamed over the target: a
// link planted at either name is replaced, never followed.
bool writePidFile(const fs::path& target) {
    const fs::path fresh = withSuffix(target, kFreshSuffix);
    ::unlink(fresh.c_str());
    const int fd =
        ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPidFileMode);
    if (fd < 0) {
        return false;
    }
    const std::string text = std::to_string(::getpid()) + '\n';
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!written || ::rename(fresh.c_str(), target.c_str()) != 0) {
        ::unlink(fresh.c_str());
        return false;
    }
    return true;
}

bool processRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

fs::path SimulatorLink::path() {
    return meetingFolder(false).value_or(privateFolder()) / kLinkName;
}

std::optional<std::string> SimulatorLink::publishedDevice() {
    const auto folder = meetingFolder(false);
    if (!folder) {
        return std::nullopt;
    }
    const fs::path link = *folder / kLinkName;
    std::error_code error;
    if (!isOwnLink(link)) {
        return std::nullopt;
    }
    const auto target = fs::read_symlink(link, error);
    if (error || !fs::exists(target, error)) {
        return std::nullopt;
    }
    const auto pid = readPid(withSuffix(link, kPidSuffix));
    if (!pid || !processRuns(*pid)) {
        return std::nullopt;
    }
    return target.string();
}

bool SimulatorLink::publish(const std::string& devicePath) {
    const auto folder = meetingFolder(true);
    if (!folder) {
        return false;
    }
    const fs::path link = *folder / kLinkName;
    // Written beside and renamed over, so a reader never sees half a link.
    const fs::path fresh = withSuffix(link, kFreshSuffix);
    std::error_code error;
    fs::remove(fresh, error);
    fs::create_symlink(devicePath, fresh, error);
    if (error) {
        return false;
    }
    if (!writePidFile(withSuffix(link, kPidSuffix))) {
        fs::remove(fresh, error);
        return false;
    }
    fs::rename(fresh, link, error);
    return !error;
}

void SimulatorLink::withdraw() {
    const auto folder = meetingFolder(false);
    if (!folder) {
        return;
    }
    const fs::path link = *folder / kLinkName;
    const fs::path pidFile = withSuffix(link, kPidSuffix);
    const auto pid = readPid(pidFile);
    if (!pid || *pid != ::getpid()) {
        return;
    }
    std::error_code error;
    fs::remove(link, error);
    fs::remove(pidFile, error);
}

} // namespace tevra
