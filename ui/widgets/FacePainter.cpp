#include "ui/widgets/FacePainter.h"

#include "ui/widgets/Resources.h"

#include <QPainter>

namespace tevra {

namespace {

// The editor's channel row: secondary button 20 and primary button 75 dialog units wide.
constexpr int kSecondaryShare = 20;
constexpr int kRowShare = 95;

QColor colourOf(const QString& bitmap) {
    return QImage(bitmap).pixelColor(0, 0);
}

} // namespace

FacePainter::FacePainter() {
    initResources();
    m_dark = colourOf(QStringLiteral(":/darkBitmap.bmp"));
    m_lit = colourOf(QStringLiteral(":/litBitmap.bmp"));
    m_ramp = QPixmap(QStringLiteral(":/rampBitmap.bmp"));
    m_rampGround = colourOf(QStringLiteral(":/rampBitmap.bmp"));
}

void FacePainter::paint(QPainter& painter, const QRect& rect, const CellFace& face) {
    if (face.level > 0) {
        const int grey = OverviewPresenter::levelShade(face.level);
        painter.fillRect(rect, QColor(grey, grey, grey));
        return;
    }
    QRect primary = rect;
    if (face.secondary != ButtonImage::None) {
        const int secondaryWidth = std::max(1, rect.width() * kSecondaryShare / kRowShare);
        paintImage(painter, QRect(rect.left(), rect.top(), secondaryWidth, rect.height()),
                   face.secondary);
        // One pixel of the grid's lines between the two faces, as between the two buttons.
        painter.fillRect(QRect(rect.left() + secondaryWidth, rect.top(), 1, rect.height()),
                         kSeparator);
        primary.setLeft(rect.left() + secondaryWidth + 1);
    }
    if (!primary.isEmpty()) {
        paintImage(painter, primary, face.primary);
    }
}

void FacePainter::paintImage(QPainter& painter, const QRect& rect, ButtonImage image) {
    switch (image) {
    case ButtonImage::Lit:
        painter.fillRect(rect, m_lit);
        return;
    case ButtonImage::Ramp:
        break;
    case ButtonImage::None:
    case ButtonImage::Dark:
        painter.fillRect(rect, m_dark);
        return;
    }
    // As on the editor's wide buttons, the ramp stands centred on its ground, never wider
    // than itself.
    const int width = std::min(rect.width(), m_ramp.width());
    if (width < rect.width()) {
        painter.fillRect(rect, m_rampGround);
    }
    painter.drawPixmap(rect.left() + (rect.width() - width) / 2, rect.top(),
                       rampOfSize(QSize(width, rect.height())));
}

const QPixmap& FacePainter::rampOfSize(QSize size) {
    const quint64 key = (quint64(quint32(size.width())) << 32) | quint32(size.height());
    auto found = m_scaledRamps.constFind(key);
    if (found == m_scaledRamps.constEnd()) {
        found = m_scaledRamps.insert(
            key, m_ramp.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return *found;
}

} // namespace tevra
