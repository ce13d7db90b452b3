#include "ui/widgets/TriStateBitmapButton.h"

#include "ui/editor/EditorPresenter.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace tevra {

namespace {

// A pressed or checked face moves its bitmap by this much, as a pushed-in button does.
constexpr int kPushedOffsetPx = 1;
constexpr int kFrameWidthPx = 1;
constexpr int kCheckedFrameWidthPx = 2;
// Only layouts ask; the editor places its buttons by the template.
constexpr QSize kBlankFaceSize{30, 16};

// Reports the third state as partly checked, so a screen reader tells a level or a dimmer
// from Off.
class TriStateAccessible : public QAccessibleWidget {
public:
    explicit TriStateAccessible(TriStateBitmapButton* button)
        : QAccessibleWidget(button, QAccessible::CheckBox) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const ButtonState shown = static_cast<TriStateBitmapButton*>(widget())->state();
        state.checkable = true;
        state.checked = shown == ButtonState::Checked;
        state.checkStateMixed = shown == ButtonState::Indeterminate;
        return state;
    }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    if (className == QLatin1String("tevra::TriStateBitmapButton") && object->isWidgetType()) {
        return new TriStateAccessible(static_cast<TriStateBitmapButton*>(object));
    }
    return nullptr;
}

} // namespace

TriStateBitmapButton::TriStateBitmapButton(QWidget* parent) : QAbstractButton(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    // Checkable so that QAbstractButton calls nextCheckState() on every click.
    setCheckable(true);
}

void TriStateBitmapButton::setState(ButtonState state) {
    if (state == m_state) {
        return;
    }
    m_state = state;
    setChecked(state == ButtonState::Checked);
    QAccessible::State changed;
    changed.checked = true;
    changed.checkStateMixed = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    update();
}

void TriStateBitmapButton::setImage(const QPixmap& image) {
    if (image.cacheKey() == m_image.cacheKey()) {
        return;
    }
    m_image = image;
    update();
}

QSize TriStateBitmapButton::sizeHint() const {
    return m_image.isNull() ? kBlankFaceSize : m_image.size();
}

void TriStateBitmapButton::nextCheckState() {
    setState(EditorPresenter::stateAfterClick(m_state));
}

void TriStateBitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect outer = rect();
    painter.fillRect(outer, palette().button());

    const bool pushed = isDown() || m_state != ButtonState::Clear;
    const int frame = m_state == ButtonState::Checked ? kCheckedFrameWidthPx : kFrameWidthPx;
    const QRect inner = outer.adjusted(frame, frame, -frame, -frame);
    if (!m_image.isNull()) {
        QPoint topLeft(inner.left() + (inner.width() - m_image.width()) / 2,
                       inner.top() + (inner.height() - m_image.height()) / 2);
        if (pushed) {
            topLeft += QPoint(kPushedOffsetPx, kPushedOffsetPx);
        }
        painter.setClipRect(inner);
        painter.drawPixmap(topLeft, m_image);
        painter.setClipping(false);
    }

    const QColor frameColour = m_state == ButtonState::Clear ? palette().color(QPalette::Dark)
                                                             : palette().color(QPalette::Shadow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(frameColour);
    painter.drawRect(QRect(outer.left(), outer.top(), outer.width(), frame));
    painter.drawRect(QRect(outer.left(), outer.bottom() - frame + 1, outer.width(), frame));
    painter.drawRect(QRect(outer.left(), outer.top(), frame, outer.height()));
    painter.drawRect(QRect(outer.right() - frame + 1, outer.top(), frame, outer.height()));
    if (m_state == ButtonState::Indeterminate) {
        // A dotted inner line tells the third state apart from a checked face.
        painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
    }

    if (hasFocus()) {
        // Inverted dots, as a focus rectangle must show on the black and the white bitmap alike.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(
            inner.adjusted(kFrameWidthPx, kFrameWidthPx, -kFrameWidthPx - 1, -kFrameWidthPx - 1));
    }
}

} // namespace tevra
