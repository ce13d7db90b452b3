#pragma once

#include "ui/overview/OverviewPresenter.h"

#include <QColor>
#include <QHash>
#include <QPixmap>

class QPainter;

namespace tevra {

// Draws a cell's face at any size from the editor's own button bitmaps: the secondary face
// left of the primary one in the proportions of the editor's channel row, a level as grey
// in proportion.
class FacePainter {
public:
    // The overview's grid lines, and the gap between a cell's two faces.
    static constexpr QColor kSeparator{128, 128, 128};

    FacePainter();

    void paint(QPainter& painter, const QRect& rect, const CellFace& face);

private:
    void paintImage(QPainter& painter, const QRect& rect, ButtonImage image);
    const QPixmap& rampOfSize(QSize size);

    // The dark and lit bitmaps are one colour throughout, so a fill draws them at any size.
    QColor m_dark;
    QColor m_lit;
    QPixmap m_ramp;
    QColor m_rampGround;
    // Scaled ramps by size; never wider than the bitmap, so a grid needs only a few.
    QHash<quint64, QPixmap> m_scaledRamps;
};

} // namespace tevra
