#include "cli/ProgressPrinter.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <unistd.h>

namespace tevra::cli {

namespace {

constexpr int kProgressBarWidth = 40;

} // namespace

ProgressPrinter::ProgressPrinter() : m_terminal(::isatty(STDERR_FILENO) == 1) {}

void ProgressPrinter::operator()(const UploadProgress& progress) {
    const int shown = std::min(progress.position, progress.rangeMax);
    if (!m_terminal) {
        std::cerr << progress.statusText << ' ' << shown << '/' << progress.rangeMax << '\n';
        return;
    }
    const int filled =
        progress.rangeMax == 0 ? kProgressBarWidth : shown * kProgressBarWidth / progress.rangeMax;
    std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kProgressBarWidth - filled), ' ') << "] "
              << shown << '/' << progress.rangeMax << ' ' << progress.statusText << std::flush;
    m_drawn = true;
}

void ProgressPrinter::finish() {
    if (m_drawn) {
        std::cerr << '\n';
    }
}

} // namespace tevra::cli
