#include "ui/dialogs/CTempoDlg.h"

#include "ui/dialogs/PatternForm.h"
#include "ui/dialogs/TempoBox.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <sstream>

namespace tevra {

CTempoDlg::CTempoDlg(const CellRange& range, QWidget* parent) : QDialog(parent), m_range(range) {
    setWindowTitle(QString::fromUtf8(kTempoDialogTitle));
    m_tempo = new TempoBox(m_form);
    m_times = new QLabel;
    m_times->setObjectName(QStringLiteral("timesLabel"));
    m_times->setWordWrap(true);
    m_apply = new QPushButton(QString::fromUtf8(kApplyButtonText));
    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_apply->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Шаги %1–%2").arg(m_range.firstStep).arg(m_range.lastStep)));
    layout->addWidget(m_tempo);
    layout->addWidget(m_times);
    layout->addLayout(buttons);

    connect(m_tempo, &TempoBox::changed, this, &CTempoDlg::onChanged);
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_tempo->takeTapKey(*this);
    onChanged();
    m_apply->setFocus();
}

std::string CTempoDlg::editName() const {
    std::ostringstream name;
    name << "время по темпу " << m_form.bpmText() << " BPM";
    return name.str();
}

void CTempoDlg::onChanged() {
    const int steps = m_range.stepCount();
    const std::optional<std::string> refusal = m_form.refusal(steps);
    m_times->setText(QString::fromStdString(refusal.value_or(m_form.timesText(steps))));
    m_apply->setEnabled(!refusal);
}

} // namespace tevra
