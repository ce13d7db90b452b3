#include "ui/FacePainter.h"

#include "ui/Resources.h"

#include <QPainter>

namespace tevra {

namespace {

// The editor's channel row: secondary button 20 and primary button 75 dialog units wide.
constexpr int kSecondaryShare = 20;
constexpr int kRowShare = 95;
constexpr int kFullGrey = 255;

std::size_t imageIndex(ButtonImage image) {
    switch (image) {
    case ButtonImage::Lit:
        return 1;
    case ButtonImage::Ramp:
        return 2;
    case ButtonImage::None:
    case ButtonImage::Dark:
        break;
    }
    return 0;
}

} // namespace

FacePainter::FacePainter() {
    initResources();
    m_images = {QPixmap(QStringLiteral(":/darkBitmap.bmp")),
                QPixmap(QStringLiteral(":/litBitmap.bmp")),
                QPixmap(QStringLiteral(":/rampBitmap.bmp"))};
}

void FacePainter::paint(QPainter& painter, const QRect& rect, const CellFace& face) {
    if (face.level > 0) {
        const int grey = face.level * kFullGrey / kLevelSliderMax;
        painter.fillRect(rect, QColor(grey, grey, grey));
        return;
    }
    QRect primary = rect;
    if (face.secondary != ButtonImage::None) {
        const int secondaryWidth = std::max(1, rect.width() * kSecondaryShare / kRowShare);
        const QRect secondary(rect.left(), rect.top(), secondaryWidth, rect.height());
        painter.drawPixmap(secondary.topLeft(), scaled(face.secondary, secondary.size()));
        // One pixel of the grid's ground between the two faces, as between the two buttons.
        primary.setLeft(secondary.right() + 2);
    }
    if (!primary.isEmpty()) {
        painter.drawPixmap(primary.topLeft(), scaled(face.primary, primary.size()));
    }
}

const QPixmap& FacePainter::scaled(ButtonImage image, QSize size) {
    const std::size_t index = imageIndex(image);
    const quint64 key =
        (quint64(index) << 48) | (quint64(size.width()) << 24) | quint64(size.height());
    auto found = m_scaled.constFind(key);
    if (found == m_scaled.constEnd()) {
        found = m_scaled.insert(
            key, m_images[index].scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    return *found;
}

} // namespace tevra
