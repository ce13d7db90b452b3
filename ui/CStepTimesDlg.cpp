#include "ui/CStepTimesDlg.h"

#include "ui_CStepTimesDlg.h"

#include <QShowEvent>

namespace tevra {

namespace {

constexpr std::size_t kFieldCount = StepTimesForm::kFieldCount;

void readSelection(const QLineEdit& edit, int& start, int& end) {
    if (edit.hasSelectedText()) {
        start = edit.selectionStart();
        end = start + edit.selectionLength();
    } else {
        start = edit.cursorPosition();
        end = start;
    }
}

} // namespace

CStepTimesDlg::CStepTimesDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_ui(new Ui::CStepTimesDlg) {
    m_ui->setupUi(this);
    m_ui->timeSlider->setRange(StepTimesForm::kSliderMin, StepTimesForm::kSliderMax);
    m_ui->timeSlider->setPageStep(StepTimesForm::kSliderPageStep);
    m_ui->timeSlider->setValue(StepTimesForm::kSliderStart);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<StepTimesForm::Field>(i);
        connect(editFor(field), &QLineEdit::textChanged, this,
                [this, field](const QString& text) { onEditChanged(field, text); });
    }
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
        showForm();
    }
    // The slider's position is the chosen time as soon as the dialog shows.
    onSliderMoved(m_ui->timeSlider->value());
}

QLineEdit* CStepTimesDlg::editFor(StepTimesForm::Field field) const {
    return field == StepTimesForm::Field::StepFrom ? m_ui->stepFromEdit : m_ui->stepToEdit;
}

void CStepTimesDlg::onEditChanged(StepTimesForm::Field field, const QString& text) {
    int start = 0;
    int end = 0;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto other = static_cast<StepTimesForm::Field>(i);
        readSelection(*editFor(other), start, end);
        m_form.setSelection(other, start, end);
    }
    readSelection(*editFor(field), start, end);
    m_form.editChanged(field, text.toStdU16String(), start, end);
    showForm();
}

void CStepTimesDlg::onSliderMoved(int position) {
    m_form.sliderDrawn(position);
    m_ui->timeGroup->setTitle(QString::fromStdU16String(m_form.timeCaption()));
}

void CStepTimesDlg::showForm() {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<StepTimesForm::Field>(i);
        const EditText& shown = m_form.edit(field);
        QLineEdit* edit = editFor(field);
        const QSignalBlocker blocker(edit);
        const QString text = QString::fromStdU16String(shown.text);
        if (edit->text() != text) {
            edit->setText(text);
        }
        if (shown.selStart == shown.selEnd) {
            edit->setCursorPosition(shown.selStart);
        } else {
            edit->setSelection(shown.selStart, shown.selEnd - shown.selStart);
        }
    }
}

} // namespace tevra
