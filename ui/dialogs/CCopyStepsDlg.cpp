#include "ui/dialogs/CCopyStepsDlg.h"

#include "ui_CCopyStepsDlg.h"

#include <QRegularExpressionValidator>
#include <QShowEvent>

namespace tevra {

CCopyStepsDlg::CCopyStepsDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_ui(new Ui::CCopyStepsDlg) {
    m_ui->setupUi(this);
    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    const Binding::Edits edits{m_ui->sourceFromEdit, m_ui->sourceToEdit, m_ui->destFromEdit,
                               m_ui->destToEdit};
    for (QLineEdit* edit : edits) {
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
    }
    m_binding.bind(edits, this);
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
        m_binding.show();
    }
}

} // namespace tevra
