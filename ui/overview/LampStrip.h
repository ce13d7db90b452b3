#pragma once

#include "ui/overview/OverviewPresenter.h"
#include "ui/widgets/FacePainter.h"

#include <QWidget>
#include <array>

namespace tevra {

// Sixteen lamps in a row: each channel's number, its face, and a dimmer's time below.
class LampStrip : public QWidget {
    Q_OBJECT

public:
    explicit LampStrip(QWidget* parent = nullptr);

    void setLamps(const std::array<LampView, kChannelCount>& lamps);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int slotWidth() const;

    std::array<LampView, kChannelCount> m_lamps{};
    FacePainter m_faces;
};

} // namespace tevra
