#include "ui/overview/OverviewGridView.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <cmath>

namespace tevra {

namespace {

constexpr int kMarkWidthPx = 2;
constexpr int kPlayingBandPx = 4;
// Enough columns to show the start program whole.
constexpr int kPreferredColumns = kDefaultStepCount;
constexpr QColor kGridLines = FacePainter::kSeparator;
constexpr QColor kPlaying(40, 160, 60);
// The cell cursor stands out from the blue marks of the editor's step and channel.
constexpr QColor kCursor(230, 110, 0);
constexpr int kCursorWidthPx = 3;
constexpr int kSelectionAlpha = 60;

// A frame of kMarkWidthPx drawn inside rect.
void drawMark(QPainter& painter, const QRect& rect, const QColor& colour) {
    painter.setPen(QPen(colour, kMarkWidthPx));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(1, 1, -1, -1));
}

} // namespace

OverviewGridView::OverviewGridView(OverviewPresenter& presenter, const GridSelection& selection,
                                   QWidget* parent)
    : QAbstractScrollArea(parent), m_presenter(presenter), m_selection(selection) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(GridLayout::height() + horizontalScrollBar()->sizeHint().height());
    horizontalScrollBar()->setSingleStep(GridLayout::kUniformColumnWidthPx);
    updateScrollRange();
}

void OverviewGridView::refresh() {
    updateScrollRange();
    viewport()->update();
}

void OverviewGridView::ensureStepVisible(int step) {
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(m_presenter.layout().scrollShowing(step, bar->value(), visibleGridWidth()));
}

QSize OverviewGridView::sizeHint() const {
    return {GridLayout::kLabelWidthPx + kPreferredColumns * GridLayout::kUniformColumnWidthPx,
            height()};
}

int OverviewGridView::visibleGridWidth() const {
    return std::max(0, viewport()->width() - GridLayout::kLabelWidthPx);
}

void OverviewGridView::updateScrollRange() {
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, m_presenter.layout().width() - visibleGridWidth()));
    bar->setPageStep(std::max(1, visibleGridWidth()));
}

void OverviewGridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

PointPx OverviewGridView::gridPoint(const QPoint& viewportPoint) const {
    // The channel numbers stand still: only points right of them scroll.
    const int x = viewportPoint.x() - GridLayout::kLabelWidthPx;
    return {x >= 0 ? x + horizontalScrollBar()->value() : x, viewportPoint.y()};
}

void OverviewGridView::wheelEvent(QWheelEvent* event) {
    // The grid scrolls only sideways, so the wheel turns it whichever way it is turned.
    QCoreApplication::sendEvent(horizontalScrollBar(), event);
}

void OverviewGridView::keyPressEvent(QKeyEvent* event) {
    // The grid takes focus only so that Tab has somewhere to start; its keys are the window's.
    event->ignore();
}

void OverviewGridView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit pressed(m_presenter.layout().hitTest(gridPoint(event->position().toPoint())),
                     event->modifiers().testFlag(Qt::ShiftModifier));
    }
}

void OverviewGridView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton)) {
        emit dragged(m_presenter.layout().hitTest(gridPoint(event->position().toPoint())));
    }
}

bool OverviewGridView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::string text =
            m_presenter.toolTip(m_presenter.layout().hitTest(gridPoint(help->pos())));
        if (text.empty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), QString::fromStdString(text), viewport());
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void OverviewGridView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int scroll = horizontalScrollBar()->value();
    // The cells cover the rest; each pixel is written once.
    const int gridEnd = GridLayout::kLabelWidthPx + m_presenter.layout().width() - scroll;
    painter.fillRect(0, 0, viewport()->width(), GridLayout::kHeaderHeightPx, palette().window());
    painter.fillRect(0, 0, GridLayout::kLabelWidthPx, viewport()->height(), palette().window());
    painter.fillRect(gridEnd, 0, viewport()->width() - gridEnd, viewport()->height(),
                     palette().window());
    painter.fillRect(0, GridLayout::height(), viewport()->width(),
                     viewport()->height() - GridLayout::height(), palette().window());
    painter.save();
    painter.setClipRect(GridLayout::kLabelWidthPx, 0, visibleGridWidth(), viewport()->height());
    painter.translate(GridLayout::kLabelWidthPx - scroll, 0);
    paintGrid(painter, QRect(scroll, 0, visibleGridWidth(), GridLayout::height()));
    painter.restore();
    paintLabels(painter);
}

void OverviewGridView::paintLabels(QPainter& painter) {
    const int selected = m_presenter.selectedChannel();
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const QRect label(0, GridLayout::rowTop(channel), GridLayout::kLabelWidthPx,
                          GridLayout::kRowHeightPx);
        const bool marked = channel == selected;
        if (marked) {
            painter.fillRect(label, palette().highlight());
        }
        painter.setPen(marked ? palette().color(QPalette::HighlightedText)
                              : palette().color(QPalette::WindowText));
        painter.drawText(label, Qt::AlignCenter, QString::number(channel + 1));
    }
}

void OverviewGridView::paintHeaderLine(QPainter& painter, const QRect& visible, int step, int line,
                                       const std::string& text) {
    const QString key = QString::fromStdString(text);
    auto found = m_headerTexts.find(key);
    if (found == m_headerTexts.end()) {
        found = m_headerTexts.insert(key, QStaticText(key));
        found->prepare(QTransform(), painter.font());
    }
    const QSizeF size = found->size();
    const std::optional<int> left = m_presenter.layout().headerTextLeft(
        step, static_cast<int>(std::ceil(size.width())), visible.left(), visible.right() + 1);
    if (left) {
        constexpr int kLineHeightPx = GridLayout::kHeaderHeightPx / 2;
        painter.drawStaticText(
            QPointF(*left, line * kLineHeightPx + (kLineHeightPx - size.height()) / 2), *found);
    }
}

void OverviewGridView::paintGrid(QPainter& painter, const QRect& rect) {
    const GridLayout& layout = m_presenter.layout();
    const auto [first, last] = layout.stepsBetween(rect.left(), rect.right() + 1);
    const int cellsTop = GridLayout::rowTop(0);
    const int cellsHeight = GridLayout::height() - cellsTop;
    const int current = m_presenter.currentStep();
    const std::optional<int> playing = m_presenter.playingStep();
    const ProgramImage& program = m_presenter.program();

    // Grid lines: each cell leaves its last row and column of pixels to them.
    const int linesWidth = std::max(0, std::min(rect.right() + 1, layout.width()) - rect.left());
    for (int channel = 0; channel < kChannelCount; ++channel) {
        painter.fillRect(rect.left(), GridLayout::rowTop(channel + 1) - 1, linesWidth, 1,
                         kGridLines);
    }
    for (int step = first; step <= last; ++step) {
        const QRect column(layout.columnLeft(step), 0, layout.columnWidth(step),
                           GridLayout::height());
        const QRect header(column.left(), 0, column.width() - 1, GridLayout::kHeaderHeightPx);
        const bool isCurrent = step == current;
        painter.fillRect(header, isCurrent ? palette().highlight() : palette().button());
        if (playing == step) {
            painter.fillRect(header.left(), header.bottom() - kPlayingBandPx + 1, header.width(),
                             kPlayingBandPx, kPlaying);
        }
        painter.setPen(isCurrent ? palette().color(QPalette::HighlightedText)
                                 : palette().color(QPalette::ButtonText));
        paintHeaderLine(painter, rect, step, 0, OverviewPresenter::headerNumber(step));
        paintHeaderLine(painter, rect, step, 1, m_presenter.headerTime(step));
        painter.fillRect(column.right(), cellsTop, 1, cellsHeight, kGridLines);
        for (int channel = 0; channel < kChannelCount; ++channel) {
            const QRect cell(column.left(), GridLayout::rowTop(channel), column.width() - 1,
                             GridLayout::kRowHeightPx - 1);
            m_faces.paint(painter, cell, OverviewPresenter::cellFace(program.cell(step, channel)));
        }
        const QRect cells(column.left() - 1, cellsTop - 1, column.width() + 1, cellsHeight + 1);
        if (isCurrent) {
            drawMark(painter, cells, palette().color(QPalette::Highlight));
        }
        if (playing == step) {
            drawMark(painter,
                     cells.adjusted(kMarkWidthPx, kMarkWidthPx, -kMarkWidthPx, -kMarkWidthPx),
                     kPlaying);
        }
    }
    // The row's frame ends with the last column; its ends stay out of view while it scrolls on.
    const int selectedTop = GridLayout::rowTop(m_presenter.selectedChannel());
    const int frameLeft = std::max(rect.left() - kMarkWidthPx, -1);
    const int frameRight = std::min(rect.right() + 1 + kMarkWidthPx, layout.width());
    if (frameRight > frameLeft) {
        drawMark(
            painter,
            QRect(frameLeft, selectedTop - 1, frameRight - frameLeft, GridLayout::kRowHeightPx + 1),
            palette().color(QPalette::Highlight));
    }
    paintSelection(painter);
}

QRect OverviewGridView::cellsRect(const CellRange& range) const {
    const GridLayout& layout = m_presenter.layout();
    const int left = layout.columnLeft(range.firstStep);
    const int right = layout.columnLeft(range.lastStep) + layout.columnWidth(range.lastStep);
    const int top = GridLayout::rowTop(range.firstChannel);
    return {left - 1, top - 1, right - left + 1,
            GridLayout::rowTop(range.lastChannel + 1) - top + 1};
}

void OverviewGridView::paintSelection(QPainter& painter) {
    if (m_presenter.layout().columnCount() == 0) {
        return;
    }
    if (const auto& selection = m_selection.selection()) {
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(kSelectionAlpha);
        const QRect area = cellsRect(*selection);
        painter.fillRect(area, tint);
        drawMark(painter, area, palette().color(QPalette::Highlight));
    }
    const int step = m_selection.cursorStep();
    const int channel = m_selection.cursorChannel();
    painter.setPen(QPen(kCursor, kCursorWidthPx));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cellsRect({step, step, channel, channel}).adjusted(1, 1, -1, -1));
}

} // namespace tevra
