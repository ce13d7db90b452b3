#include "cli/Utf8Console.h"

#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <io.h>
#include <windows.h>

namespace tevra::cli {

namespace {

// Larger than any one line the tool writes; std::cerr flushes after every insertion anyway.
constexpr std::size_t kStreamBufferBytes = 4096;

} // namespace

Utf8Console::Utf8Console() : m_codePage(::GetConsoleOutputCP()) {
    if (m_codePage != 0) {
        ::SetConsoleOutputCP(CP_UTF8);
    }
    for (FILE* stream : {stdout, stderr}) {
        // Text mode would turn every line end into CR LF, and Wine's runtime would also read
        // the bytes in the ANSI code page on their way to the console.
        ::_setmode(::_fileno(stream), _O_BINARY);
        std::setvbuf(stream, nullptr, _IOFBF, kStreamBufferBytes);
    }
}

Utf8Console::~Utf8Console() {
    std::fflush(stdout);
    std::fflush(stderr);
    if (m_codePage != 0) {
        ::SetConsoleOutputCP(m_codePage);
    }
}

} // namespace tevra::cli
