#include "ui/overview/LampStrip.h"

#include <QPainter>

namespace tevra {

namespace {

constexpr int kLampWidthPx = 44;
constexpr int kLampHeightPx = 22;
constexpr int kTextHeightPx = 16;
constexpr int kGapPx = 6;
// The widest dimmer time (speed code -16).
constexpr const char* kWidestDimmerText = "40960 mS";

} // namespace

LampStrip::LampStrip(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void LampStrip::setLamps(const std::array<LampView, kChannelCount>& lamps) {
    if (lamps != m_lamps) {
        m_lamps = lamps;
        update();
    }
}

QSize LampStrip::sizeHint() const {
    return minimumSizeHint();
}

QSize LampStrip::minimumSizeHint() const {
    return {kChannelCount * slotWidth(), kLampHeightPx + 2 * kTextHeightPx};
}

int LampStrip::slotWidth() const {
    const int text = fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestDimmerText));
    return std::max(kLampWidthPx, text) + kGapPx;
}

void LampStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int slot = std::max(width() / kChannelCount, slotWidth());
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const LampView& lamp = m_lamps[static_cast<std::size_t>(channel)];
        const int left = channel * slot + (slot - kLampWidthPx) / 2;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(channel * slot, 0, slot, kTextHeightPx), Qt::AlignCenter,
                         QString::number(channel + 1));
        const QRect face(left, kTextHeightPx, kLampWidthPx, kLampHeightPx);
        painter.fillRect(face.adjusted(-1, -1, 1, 1), palette().color(QPalette::Dark));
        m_faces.paint(painter, face, lamp.face);
        painter.drawText(QRect(channel * slot, kTextHeightPx + kLampHeightPx, slot, kTextHeightPx),
                         Qt::AlignCenter, QString::fromStdString(lamp.dimmerText));
    }
}

} // namespace tevra
