#pragma once

#include <QDialog>

namespace Ui {
class CAboutDlg;
}

namespace tevra {

// The editor's menu entry that opens the About box.
inline constexpr const char* kAboutMenuText = "&About Velmora_N1...";

// The About box: name, version and legal notice. Holds nothing of its own.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    CAboutDlg(const CAboutDlg&) = delete;
    CAboutDlg& operator=(const CAboutDlg&) = delete;

private:
    Ui::CAboutDlg* m_ui;
};

} // namespace tevra
