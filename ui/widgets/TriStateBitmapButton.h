#pragma once

#include "model/ChannelCell.h"

#include <QAbstractButton>
#include <QPixmap>

namespace tevra {

// A flat push-like button with three states that shows one bitmap. A click advances the
// state clear -> checked -> indeterminate -> clear before clicked() is emitted, so the
// handler reads the state the click left.
class TriStateBitmapButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit TriStateBitmapButton(QWidget* parent = nullptr);

    ButtonState state() const { return m_state; }
    void setState(ButtonState state);
    // A null pixmap shows the blank face. The bitmap is centred and clipped, never scaled.
    void setImage(const QPixmap& image);
    const QPixmap& image() const { return m_image; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;

private:
    ButtonState m_state = ButtonState::Clear;
    QPixmap m_image;
};

} // namespace tevra
