#include "cli/ProgressPrinter.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace tevra::cli {

namespace {

constexpr int kProgressBarWidth = 40;

} // namespace

ProgressPrinter::ProgressPrinter() : m_terminal(::isatty(STDERR_FILENO) == 1) {}

// Each update goes out in one write: a console may draw every write on its own.
void ProgressPrinter::operator()(const UploadProgress& progress) {
    const int shown = std::min(progress.position, progress.rangeMax);
    std::ostringstream line;
    if (!m_terminal) {
        line << progress.statusText << ' ' << shown << '/' << progress.rangeMax << '\n';
    } else {
        const int filled = progress.rangeMax == 0 ? kProgressBarWidth
                                                  : shown * kProgressBarWidth / progress.rangeMax;
        line << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kProgressBarWidth - filled), ' ') << "] "
             << shown << '/' << progress.rangeMax << ' ' << progress.statusText;
        m_drawn = true;
    }
    std::cerr << line.str() << std::flush;
}

void ProgressPrinter::finish() {
    if (m_drawn) {
        std::cerr << '\n';
    }
}

} // namespace tevra::cli
