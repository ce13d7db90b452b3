#pragma once

#include "ui/overview/GridSelection.h"
#include "ui/overview/OverviewPresenter.h"
#include "ui/widgets/FacePainter.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QStaticText>

namespace tevra {

// The whole program as a grid that scrolls sideways, with the channel numbers standing still
// at the left, and the selection with its cell cursor over it. Paints from the presenter;
// presses, drags and tool tips go through its geometry.
class OverviewGridView : public QAbstractScrollArea {
    Q_OBJECT

public:
    OverviewGridView(OverviewPresenter& presenter, const GridSelection& selection,
                     QWidget* parent = nullptr);

    // After the program, the marks or the column mode changed.
    void refresh();
    void ensureStepVisible(int step);
    // The grid, header included, for the part rect in grid coordinates (see GridLayout).
    void paintGrid(QPainter& painter, const QRect& rect);

signals:
    // extend: with Shift held.
    void pressed(const tevra::GridHit& hit, bool extend);
    void dragged(const tevra::GridHit& hit);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    QSize sizeHint() const override;

private:
    void paintLabels(QPainter& painter);
    void paintSelection(QPainter& painter);
    // The rectangle of steps first..last, channels first..last, in grid coordinates.
    QRect cellsRect(const CellRange& range) const;
    // Line 0 or 1 of a step's header; visible in grid coordinates.
    void paintHeaderLine(QPainter& painter, const QRect& visible, int step, int line,
                         const std::string& text);
    void updateScrollRange();
    PointPx gridPoint(const QPoint& viewportPoint) const;
    int visibleGridWidth() const;

    OverviewPresenter& m_presenter;
    const GridSelection& m_selection;
    FacePainter m_faces;
    // Laid out once: step numbers and times repeat across the grid and between paints.
    QHash<QString, QStaticText> m_headerTexts;
};

} // namespace tevra
