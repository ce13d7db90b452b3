#include "ui/dialogs/PatternPreview.h"

#include <QPainter>
#include <algorithm>

namespace tevra {

namespace {

constexpr int kCellWidthPx = 16;
constexpr int kCellHeightPx = 12;
constexpr int kPreferredWidthPx = 480;

} // namespace

PatternPreview::PatternPreview(const PatternForm& form, QWidget* parent)
    : QWidget(parent), m_form(form) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize PatternPreview::sizeHint() const {
    const CellRange& range = m_form.range();
    return {std::min(kPreferredWidthPx, range.stepCount() * kCellWidthPx),
            range.channelCount() * kCellHeightPx};
}

void PatternPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const CellRange& range = m_form.range();
    // Columns share the width to the pixel, so a long selection still fits.
    const double columnWidth = static_cast<double>(width()) / range.stepCount();
    const int rowHeight = std::max(1, height() / range.channelCount());
    const ProgramImage& preview = m_form.preview();
    for (int k = 0; k < range.stepCount(); ++k) {
        const int left = static_cast<int>(k * columnWidth);
        const int right = static_cast<int>((k + 1) * columnWidth);
        // Leave a pixel between columns wherever there is room for one.
        const int cellWidth = std::max(1, right - left - (right - left > 2 ? 1 : 0));
        for (int row = 0; row < range.channelCount(); ++row) {
            const QRect cell(left, row * rowHeight, cellWidth, rowHeight - 1);
            m_faces.paint(painter, cell,
                          OverviewPresenter::cellFace(
                              preview.cell(range.firstStep + k, range.firstChannel + row)));
        }
    }
}

} // namespace tevra
