#pragma once

#include "link/ControllerSettings.h"
#include "link/SerialPort.h"
#include "link/Upload.h"
#include "model/ProgramImage.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

namespace Ui {
class CExchangeDlg;
}

namespace tevra {

class ExchangeForm;
class Profile;

// Chooses the port, edits the controller's timer and role, and writes the working program
// into the controller. Never changes the program; stays open after every upload.
class CExchangeDlg : public QDialog {
    Q_OBJECT

public:
    // Shows one modal message box with an OK button: text, caption.
    using MessageSink = std::function<void(const QString& text, const QString& caption)>;

    // Production path: the application's profile and QMessageBox.
    explicit CExchangeDlg(const ProgramImage& workingImage, QWidget* parent = nullptr);
    // The profile must outlive the window.
    CExchangeDlg(const ProgramImage& workingImage, Profile& profile, MessageSink showMessage,
                 QWidget* parent = nullptr);
    ~CExchangeDlg() override;

    CExchangeDlg(const CExchangeDlg&) = delete;
    CExchangeDlg& operator=(const CExchangeDlg&) = delete;

    // How long the upload waits on the line; tests shorten them.
    void setUploadTimings(const UploadTimings& timings) { m_timings = timings; }

signals:
    // Emitted on the upload's worker thread; the window shows it through a queued connection.
    void uploadProgressed(int rangeMax, int position, const QString& statusText);

protected:
    // "Записать" and the Enter key: stores, checks and uploads; never closes the window.
    void accept() override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void initDialog();
    void showForm();
    ControllerSettings controlSettings() const;
    void onTimerCheck();
    void onAllNightCheck();
    void onOptionCheck();
    // The form's port: a list entry, or the device path typed in its place.
    void showPortChoice();
    void runUpload(SerialPort& port, const ConfigBlock& config);
    void showProgress(int rangeMax, int position, const QString& statusText);
    void showEnabledStates();

    const ProgramImage& m_workingImage;
    std::unique_ptr<Profile> m_ownProfile;
    Profile& m_profile;
    MessageSink m_showMessage;
    std::unique_ptr<ExchangeForm> m_form;
    UploadTimings m_timings;
    bool m_uploading = false;
    Ui::CExchangeDlg* m_ui;
};

} // namespace tevra
