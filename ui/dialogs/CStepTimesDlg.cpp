#include "ui/dialogs/CStepTimesDlg.h"

#include "ui_CStepTimesDlg.h"

#include <QShowEvent>

namespace tevra {

CStepTimesDlg::CStepTimesDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_ui(new Ui::CStepTimesDlg) {
    m_ui->setupUi(this);
    m_ui->timeSlider->setRange(StepTimesForm::kSliderMin, StepTimesForm::kSliderMax);
    m_ui->timeSlider->setPageStep(StepTimesForm::kSliderPageStep);
    m_ui->timeSlider->setValue(StepTimesForm::kSliderStart);
    m_binding.bind({m_ui->stepFromEdit, m_ui->stepToEdit}, this);
    connect(m_ui->timeSlider, &QSlider::valueChanged, this, &CStepTimesDlg::onSliderMoved);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    m_ui->okButton->setFocus();
}

CStepTimesDlg::~CStepTimesDlg() {
    delete m_ui;
}

void CStepTimesDlg::setRange(const StepTimesRange& range) {
    m_setRange = range;
    m_form.setRange(range);
}

StepTimesRange CStepTimesDlg::range() const {
    return result() == QDialog::Accepted ? m_form.range() : m_setRange;
}

void CStepTimesDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        m_form.start();
        m_binding.show();
    }
    // The slider's position is the chosen time as soon as the dialog shows.
    onSliderMoved(m_ui->timeSlider->value());
}

void CStepTimesDlg::onSliderMoved(int position) {
    m_form.sliderDrawn(position);
    m_ui->timeGroup->setTitle(QString::fromStdU16String(m_form.timeCaption()));
}

} // namespace tevra
