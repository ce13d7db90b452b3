#pragma once

namespace tevra::cli {

// The tool's texts are UTF-8. A Windows console shows bytes in its own code page unless told
// otherwise, and the C runtime's unbuffered streams hand it one byte at a time, which splits
// every Cyrillic letter and, under Wine, makes a 60-character progress line take a second.
// For its lifetime the console takes UTF-8 and each stream write arrives whole.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned int m_codePage; // 0 without a console
};

} // namespace tevra::cli
