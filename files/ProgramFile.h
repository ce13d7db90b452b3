#pragma once

#include "model/ProgramImage.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tevra {

inline constexpr const char* kProgramFileExtension = "tvr";
inline constexpr const char* kFileRefusedText = "Ошибка файла";
inline constexpr const char* kFileRefusedCaption = "Файле не может быть загружен!";

// 2 + 18 * stepCount, with the start block bit masked off.
std::size_t expectedFileLength(std::uint16_t headerWord);

enum class FileStatus {
    Done,       // read or written
    Refused,    // length does not match the header, or the header claims more than 500 steps
    CannotOpen, // the system's reason is in FileOutcome::reason
    CannotRead,
    CannotWrite,
};

struct FileOutcome {
    FileStatus status = FileStatus::Done;
    std::string reason; // the system's words for CannotOpen / CannotRead / CannotWrite

    bool ok() const { return status == FileStatus::Done; }
};

// Reads into target's header and records 1..n only when the whole file passes; otherwise
// target is untouched.
FileOutcome readProgramBytes(std::span<const std::uint8_t> fileBytes, ProgramImage& target);
FileOutcome readProgramFile(const std::filesystem::path& path, ProgramImage& target);

// The first 2 + 18 * stepCount bytes of the image.
std::vector<std::uint8_t> programFileBytes(const ProgramImage& image);
// Writes beside the target and renames over it, so a failed save keeps the old file.
FileOutcome writeProgramFile(const std::filesystem::path& path, const ProgramImage& image);
// Whether writeProgramFile() could start: the path is no folder, and a file can be made beside
// it (one is made and removed again). Nothing is written to the path itself.
FileOutcome checkProgramFileWritable(const std::filesystem::path& path);

} // namespace tevra
