#pragma once

#include "link/Upload.h"

namespace tevra::cli {

// Block progress on standard error: a bar redrawn in place on a terminal, a line a block
// otherwise, so that logs stay readable.
class ProgressPrinter {
public:
    ProgressPrinter();

    void operator()(const UploadProgress& progress);
    // Ends the bar's line, if one was drawn.
    void finish();

    UploadProgressCallback callback() {
        return [this](const UploadProgress& progress) { (*this)(progress); };
    }

private:
    bool m_terminal;
    bool m_drawn = false;
};

} // namespace tevra::cli
