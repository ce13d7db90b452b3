#include "ui/dialogs/CAboutDlg.h"

#include "ui/widgets/Resources.h"
#include "ui_CAboutDlg.h"

namespace tevra {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(new Ui::CAboutDlg) {
    initResources();
    m_ui->setupUi(this);
    m_ui->iconLabel->setPixmap(appIcon().pixmap(m_ui->iconLabel->size()));
    setFixedSize(size());
}

CAboutDlg::~CAboutDlg() {
    delete m_ui;
}

} // namespace tevra
