#include "files/Utf8Arguments.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace tevra {

namespace {

#ifdef _WIN32
std::string toUtf8(const wchar_t* wide) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(bytes - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    return text;
}

// Empty when the system cannot split the command line.
std::vector<std::string> wideCommandLine() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (wide == nullptr) {
        return arguments;
    }
    for (int i = 0; i < count; ++i) {
        arguments.push_back(toUtf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}
#endif

} // namespace

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
    m_arguments = wideCommandLine();
#endif
    if (m_arguments.empty()) {
        m_arguments.assign(argv, argv + argc);
    }
    for (std::string& argument : m_arguments) {
        m_pointers.push_back(argument.data());
    }
    m_pointers.push_back(nullptr);
}

} // namespace tevra
