#include "files/ProgramJson.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any input: no crash; an accepted import exports to JSON that imports to the same image.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tevra::ProgramJsonImport first = tevra::programFromJson(text);
    if (!first.ok()) {
        return 0;
    }
    const tevra::ProgramJsonImport second =
        tevra::programFromJson(tevra::programToJson(first.image));
    if (!second.ok() || !(second.image == first.image)) {
        std::abort();
    }
    return 0;
}
