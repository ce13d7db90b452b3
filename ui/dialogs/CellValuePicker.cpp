#include "ui/dialogs/CellValuePicker.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

namespace tevra {

CellValuePicker::CellValuePicker(const ValueChoice& start, bool withKeep, QWidget* parent)
    : QWidget(parent), m_withKeep(withKeep) {
    m_kind = new QComboBox;
    m_kind->setObjectName(QStringLiteral("kindCombo"));
    for (std::size_t i = withKeep ? 0 : 1; i < kValueKindTexts.size(); ++i) {
        m_kind->addItem(QString::fromUtf8(kValueKindTexts[i]));
    }
    m_level = new QSpinBox;
    m_level->setObjectName(QStringLiteral("levelSpin"));
    m_level->setRange(kLevelSliderMin, kLevelSliderMax);
    m_speed = new QSlider(Qt::Horizontal);
    m_speed->setObjectName(QStringLiteral("speedSlider"));
    m_speed->setRange(kDimmerSliderMin, kDimmerSliderMax);
    m_speedText = new QLabel;

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : std::initializer_list<QWidget*>{m_kind, m_level, m_speed, m_speedText}) {
        layout->addWidget(widget);
    }
    m_kind->setCurrentIndex(static_cast<int>(start.kind) - (withKeep ? 0 : 1));
    m_level->setValue(start.level);
    m_speed->setValue(start.dimmerPosition);
    showKind();

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] {
        showKind();
        emit changed();
    });
    connect(m_level, &QSpinBox::valueChanged, this, &CellValuePicker::changed);
    connect(m_speed, &QSlider::valueChanged, this, [this] {
        showKind();
        emit changed();
    });
}

ValueChoice CellValuePicker::choice() const {
    return {static_cast<ValueKind>(m_kind->currentIndex() + (m_withKeep ? 0 : 1)), m_level->value(),
            m_speed->value()};
}

void CellValuePicker::showKind() {
    const ValueKind kind = choice().kind;
    const bool dimmer = kind == ValueKind::DimmerDark || kind == ValueKind::DimmerLit ||
                        kind == ValueKind::DimmerRamp;
    m_level->setVisible(kind == ValueKind::Level);
    m_speed->setVisible(dimmer);
    m_speedText->setVisible(dimmer);
    m_speedText->setText(QString::fromStdString(PatternForm::speedText(m_speed->value())));
}

} // namespace tevra
