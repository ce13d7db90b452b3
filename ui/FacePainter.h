#pragma once

#include "ui/OverviewPresenter.h"

#include <QHash>
#include <QPixmap>
#include <array>

class QPainter;

namespace tevra {

// Draws a cell's face at any size from the editor's own button bitmaps: the secondary face
// left of the primary one in the proportions of the editor's channel row, a level as grey
// in proportion. Scaled bitmaps are kept, as a grid draws the same few sizes thousands of times.
class FacePainter {
public:
    FacePainter();

    void paint(QPainter& painter, const QRect& rect, const CellFace& face);

private:
    const QPixmap& scaled(ButtonImage image, QSize size);

    // Dark, lit, ramp.
    std::array<QPixmap, 3> m_images;
    QHash<quint64, QPixmap> m_scaled;
};

} // namespace tevra
