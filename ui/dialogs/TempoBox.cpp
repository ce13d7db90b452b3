#include "ui/dialogs/TempoBox.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <chrono>

namespace tevra {

TempoBox::TempoBox(TempoForm& form, QWidget* parent) : QWidget(parent), m_form(form) {
    m_bpm = new QLineEdit;
    m_bpm->setObjectName(QStringLiteral("bpmEdit"));
    m_perBeat = new QSpinBox;
    m_perBeat->setObjectName(QStringLiteral("perBeatSpin"));
    m_perBeat->setRange(1, StepTempo::kMaxStepsPerBeat);
    auto* tapButton = new QPushButton(QString::fromUtf8(kTapButtonText));
    tapButton->setObjectName(QStringLiteral("tapButton"));
    // Space and Enter must stay with the dialog; taps come by click or T.
    tapButton->setFocusPolicy(Qt::NoFocus);
    tapButton->setAutoDefault(false);
    m_taps = new QLabel;
    m_taps->setObjectName(QStringLiteral("tapsLabel"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("BPM")));
    layout->addWidget(m_bpm);
    layout->addWidget(new QLabel(QStringLiteral("шагов на удар")));
    layout->addWidget(m_perBeat);
    layout->addWidget(tapButton);
    layout->addWidget(m_taps);
    showForm();

    connect(m_bpm, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_form.setBpmText(text.toStdString());
        emit changed();
    });
    connect(m_perBeat, &QSpinBox::valueChanged, this, [this](int steps) {
        m_form.setStepsPerBeat(steps);
        emit changed();
    });
    connect(tapButton, &QPushButton::clicked, this, &TempoBox::tap);
    m_clock.start();
}

void TempoBox::tap() {
    m_form.tap(std::chrono::milliseconds(m_clock.elapsed()));
    showForm();
    emit tapped();
    emit changed();
}

void TempoBox::takeTapKey(QWidget& window) {
    window.installEventFilter(this);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool TempoBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_T && key->modifiers() == Qt::NoModifier) {
            tap();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TempoBox::showForm() {
    m_bpm->setText(QString::fromStdString(m_form.bpmText()));
    m_perBeat->setValue(m_form.stepsPerBeat());
    m_taps->setText(QString::fromStdString(m_form.tapText()));
}

} // namespace tevra
