#include "ui/CCopyStepsDlg.h"

#include "ui_CCopyStepsDlg.h"

#include <QRegularExpressionValidator>
#include <QShowEvent>

namespace tevra {

namespace {

constexpr std::size_t kFieldCount = CopyStepsForm::kFieldCount;

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

CCopyStepsDlg::CCopyStepsDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_ui(new Ui::CCopyStepsDlg) {
    m_ui->setupUi(this);
    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<CopyStepsForm::Field>(i);
        QLineEdit* edit = editFor(field);
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
        connect(edit, &QLineEdit::textChanged, this,
                [this, field](const QString& text) { onEditChanged(field, text); });
    }
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    m_ui->okButton->setFocus();
}

CCopyStepsDlg::~CCopyStepsDlg() {
    delete m_ui;
}

void CCopyStepsDlg::setRange(const CopyRange& range) {
    m_setRange = range;
    m_form.setRange(range);
}

CopyRange CCopyStepsDlg::range() const {
    return result() == QDialog::Accepted ? m_form.range() : m_setRange;
}

void CCopyStepsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        m_form.start();
        showForm();
    }
}

QLineEdit* CCopyStepsDlg::editFor(CopyStepsForm::Field field) const {
    switch (field) {
    case CopyStepsForm::Field::SourceFrom:
        return m_ui->sourceFromEdit;
    case CopyStepsForm::Field::SourceTo:
        return m_ui->sourceToEdit;
    case CopyStepsForm::Field::DestFrom:
        return m_ui->destFromEdit;
    case CopyStepsForm::Field::DestTo:
        break;
    }
    return m_ui->destToEdit;
}

void CCopyStepsDlg::onEditChanged(CopyStepsForm::Field field, const QString& text) {
    // Selections move without text changes; the form needs the current ones.
    int start = 0;
    int end = 0;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto other = static_cast<CopyStepsForm::Field>(i);
        readSelection(*editFor(other), start, end);
        m_form.setSelection(other, start, end);
    }
    readSelection(*editFor(field), start, end);
    m_form.editChanged(field, text.toStdU16String(), start, end);
    showForm();
}

void CCopyStepsDlg::showForm() {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<CopyStepsForm::Field>(i);
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
