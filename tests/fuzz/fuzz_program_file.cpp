// Any bytes as a program file: a refusal leaves the image as it was; a read takes exactly the
// file's bytes over the image's first bytes and leaves every later byte alone. Each input is
// also tried with its header repaired to the length, so the accepting path is reached too.
#include "files/ProgramFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

tevra::ProgramImage patternImage() {
    tevra::ProgramImage image;
    auto bytes = image.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);
    }
    return image;
}

void check(std::span<const std::uint8_t> file) {
    static const tevra::ProgramImage kPattern = patternImage();
    tevra::ProgramImage image = kPattern;
    const tevra::FileOutcome outcome = tevra::readProgramBytes(file, image);

    if (!outcome.ok()) {
        if (outcome.status != tevra::FileStatus::Refused || image != kPattern) {
            std::abort();
        }
        return;
    }
    const std::size_t size = file.size();
    if (image.stepCount() > tevra::kMaxSteps ||
        size != tevra::expectedFileLength(image.headerWord()) ||
        std::memcmp(image.bytes().data(), file.data(), size) != 0 ||
        std::memcmp(image.bytes().data() + size, kPattern.bytes().data() + size,
                    tevra::kImageSize - size) != 0) {
        std::abort();
    }
}

// The input cut to whole records (at most 500) under a header that claims them.
std::vector<std::uint8_t> repaired(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(data, data + size);
    file.resize(std::max(file.size(), tevra::kHeaderSize));
    const std::size_t steps = std::min<std::size_t>(
        (file.size() - tevra::kHeaderSize) / tevra::kStepRecordSize, tevra::kMaxSteps);
    file.resize(tevra::kHeaderSize + steps * tevra::kStepRecordSize);
    file[0] = static_cast<std::uint8_t>(steps & 0xFF);
    file[1] = static_cast<std::uint8_t>((file[1] & 0x80) | (steps >> 8));
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check({data, size});
    check(repaired(data, size));
    return 0;
}
