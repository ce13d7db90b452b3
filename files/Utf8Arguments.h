#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tevra {

// The command line as UTF-8. Windows hands main() its arguments in the ANSI code page, which
// cannot hold most file names these users write (Cyrillic under a Western code page, a space
// and Latin accents under 1251, ...), so there they are taken again from the UTF-16 command
// line. Elsewhere they are the bytes given.
class Utf8Arguments {
public:
    Utf8Arguments(int argc, char** argv);
    Utf8Arguments(const Utf8Arguments&) = delete;
    Utf8Arguments& operator=(const Utf8Arguments&) = delete;

    int argc() const { return static_cast<int>(m_arguments.size()); }
    // Valid while this object lives; null-terminated, as main()'s argv.
    char** argv() { return m_pointers.data(); }

private:
    std::vector<std::string> m_arguments;
    std::vector<char*> m_pointers;
};

// The file an argument names. A plain string would be read in the ANSI code page on Windows.
inline std::filesystem::path utf8Path(std::string_view argument) {
    return std::u8string(argument.begin(), argument.end());
}

} // namespace tevra
