// Any bytes as a program file: a refusal leaves the image as it was; a read takes exactly the
// file's bytes over the image's first bytes and leaves every later byte alone. Each input is
// also tried with its header repaired to the length, so the accepting path is reached too.
#include "files/ProgramFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void check(std::span<const std::uint8_t> file) {
    static const tevra::ProgramImage kPattern = [] {
        tevra::ProgramImage image;
        for (std::size_t i = 0; i < tevra::kImageSize; ++i) {
            image.bytes()[i] = static_cast<std::uint8_t>(i * 13 + 5);
        }
        return image;
    }();
    tevra::ProgramImage image = kPattern;
    const tevra::FileOutcome outcome = tevra::readProgramBytes(file, image);
    const std::size_t size = file.size();
    const bool intact =
        outcome.ok() ? size == tevra::expectedFileLength(image.headerWord()) &&
                           image.stepCount() <= tevra::kMaxSteps &&
                           std::memcmp(image.bytes().data(), file.data(), size) == 0 &&
                           std::memcmp(image.bytes().data() + size, kPattern.bytes().data() + size,
                                       tevra::kImageSize - size) == 0
                     : outcome.status == tevra::FileStatus::Refused && image == kPattern;
    if (!intact) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check({data, size});
    // Cut to whole records (at most 500) under a header that claims them.
    std::vector<std::uint8_t> file(data, data + size);
    file.resize(std::max(file.size(), tevra::kHeaderSize));
    const std::size_t steps = std::min<std::size_t>(
        (file.size() - tevra::kHeaderSize) / tevra::kStepRecordSize, tevra::kMaxSteps);
    file.resize(tevra::kHeaderSize + steps * tevra::kStepRecordSize);
    file[0] = static_cast<std::uint8_t>(steps & 0xFF);
    file[1] = static_cast<std::uint8_t>((file[1] & 0x80) | (steps >> 8));
    check(file);
    return 0;
}
