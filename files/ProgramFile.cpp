#include "files/ProgramFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tevra {

namespace {

constexpr std::size_t kMaxFileLength =
    kHeaderSize + kStepRecordSize * static_cast<std::size_t>(kMaxSteps);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string systemWords(int error) {
    return std::generic_category().message(error);
}

FileOutcome failure(FileStatus status, int error) {
    return {status, systemWords(error)};
}

FileOutcome failure(FileStatus status, const std::error_code& error) {
    return {status, error.message()};
}

#ifdef _WIN32
constexpr const wchar_t* kReadMode = L"rb";
constexpr const wchar_t* kWriteMode = L"wb";

// Wide names, so a path outside the ANSI code page opens too.
std::FILE* openFile(const std::filesystem::path& path, const wchar_t* mode) {
    return _wfopen(path.c_str(), mode);
}
#else
constexpr const char* kReadMode = "rb";
constexpr const char* kWriteMode = "wb";

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}
#endif

int stepCountOf(std::uint16_t headerWord) {
    return headerWord & kStepCountMask;
}

bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// A name beside the target that no other save of this process uses; the process id keeps
// two editors saving into one folder apart.
std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const int processId = _getpid();
#else
    const int processId = static_cast<int>(getpid());
#endif
    auto name = target.filename();
    name += ".tmp-" + std::to_string(processId) + "-" + std::to_string(counter++);
    return target.parent_path() / name;
}

// The file a save replaces: through a link to the file it names, so the link itself stays.
FileOutcome resolveTarget(const std::filesystem::path& path, std::filesystem::path& target) {
    std::error_code error;
    target = path;
    if (std::filesystem::is_symlink(path, error)) {
        target = std::filesystem::weakly_canonical(path, error);
        if (error) {
            return failure(FileStatus::CannotOpen, error);
        }
    }
    if (std::filesystem::is_directory(target, error)) {
        return failure(FileStatus::CannotWrite, EISDIR);
    }
    return {};
}

} // namespace

std::size_t expectedFileLength(std::uint16_t headerWord) {
    return kHeaderSize + kStepRecordSize * static_cast<std::size_t>(stepCountOf(headerWord));
}

FileOutcome readProgramBytes(std::span<const std::uint8_t> fileBytes, ProgramImage& target) {
    if (fileBytes.size() < kHeaderSize) {
        return {FileStatus::Refused, {}};
    }
    const auto header = static_cast<std::uint16_t>(fileBytes[0] | (fileBytes[1] << 8));
    // The image holds 500 records; a longer claim is refused even when the length matches it.
    if (stepCountOf(header) > kMaxSteps || fileBytes.size() != expectedFileLength(header)) {
        return {FileStatus::Refused, {}};
    }
    std::copy(fileBytes.begin(), fileBytes.end(), target.bytes().begin());
    return {};
}

FileOutcome readProgramFile(const std::filesystem::path& path, ProgramImage& target) {
    const FileHandle file(openFile(path, kReadMode));
    if (!file) {
        return failure(FileStatus::CannotOpen, errno);
    }
    // One byte more than any valid file: a bigger file is refused without reading it all.
    std::vector<std::uint8_t> bytes(kMaxFileLength + 1);
    const std::size_t length = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()) != 0) {
        return failure(FileStatus::CannotRead, errno);
    }
    bytes.resize(length);
    return readProgramBytes(bytes, target);
}

std::vector<std::uint8_t> programFileBytes(const ProgramImage& image) {
    if (image.stepCount() > kMaxSteps) {
        return {};
    }
    const auto used = image.bytes().first(expectedFileLength(image.headerWord()));
    return {used.begin(), used.end()};
}

FileOutcome writeProgramFile(const std::filesystem::path& path, const ProgramImage& image) {
    // Such a header could not be read back; write nothing rather than a file that is refused.
    if (image.stepCount() > kMaxSteps) {
        return {FileStatus::Refused, {}};
    }
    std::filesystem::path target;
    const FileOutcome resolved = resolveTarget(path, target);
    if (!resolved.ok()) {
        return resolved;
    }
    std::error_code error;
    const std::filesystem::path temporary = temporaryBeside(target);
    FileHandle file(openFile(temporary, kWriteMode));
    if (!file) {
        return failure(FileStatus::CannotOpen, errno);
    }
    const std::vector<std::uint8_t> bytes = programFileBytes(image);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         flushToDisk(file.get());
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        std::filesystem::remove(temporary, error);
        return failure(FileStatus::CannotWrite, written ? errno : writeError);
    }

    // Keep the permissions of the file being replaced.
    const auto previous = std::filesystem::status(target, error);
    if (!error && std::filesystem::is_regular_file(previous)) {
        std::filesystem::permissions(temporary, previous.permissions(), error);
    }
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return failure(FileStatus::CannotWrite, error);
    }
    return {};
}

FileOutcome checkProgramFileWritable(const std::filesystem::path& path) {
    std::filesystem::path target;
    const FileOutcome resolved = resolveTarget(path, target);
    if (!resolved.ok()) {
        return resolved;
    }
    const std::filesystem::path temporary = temporaryBeside(target);
    FileHandle file(openFile(temporary, kWriteMode));
    if (!file) {
        return failure(FileStatus::CannotOpen, errno);
    }
    file.reset();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return {};
}

} // namespace tevra
