#include "ui/overview/LampStrip.h"

#include <QPainter>

namespace tevra {

namespace {

constexpr int kLampWidthPx = 44;
constexpr int kLampHeightPx = 22;
constexpr int kTextHeightPx = 16;
constexpr int kGapPx = 6;
// The widest dimmer time (speed code -16), without its unit: the unit goes on a line of its
// own, so that the overview fits beside the editor on a small screen.
constexpr const char* kWidestDimmerNumber = "40960";

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
    return {kChannelCount * slotWidth(), kLampHeightPx + 3 * kTextHeightPx};
}

int LampStrip::slotWidth() const {
    const int text = fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestDimmerNumber));
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
        const QString time = QString::fromStdString(lamp.dimmerText);
        const qsizetype unitAt = time.lastIndexOf(QLatin1Char(' '));
        const int timeTop = kTextHeightPx + kLampHeightPx;
        painter.drawText(QRect(channel * slot, timeTop, slot, kTextHeightPx), Qt::AlignCenter,
                         time.left(unitAt));
        painter.drawText(QRect(channel * slot, timeTop + kTextHeightPx, slot, kTextHeightPx),
                         Qt::AlignCenter, unitAt < 0 ? QString() : time.mid(unitAt + 1));
    }
}

} // namespace tevra
