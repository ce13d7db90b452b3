#include "ui/exchange/CExchangeDlg.h"

#include "link/PortTable.h"
#include "ui/exchange/ExchangeForm.h"
#include "ui/exchange/SettingsProfile.h"
#include "ui_CExchangeDlg.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <thread>

namespace tevra {

namespace {

QString applicationCaption() {
    return QCoreApplication::applicationName();
}

// Input the window must not take while an upload runs: its handlers would re-enter the upload.
bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

CExchangeDlg::CExchangeDlg(const ProgramImage& workingImage, QWidget* parent)
    : QDialog(parent), m_workingImage(workingImage),
      m_ownProfile(std::make_unique<SettingsProfile>()), m_profile(*m_ownProfile),
      m_showMessage([this](const QString& text, const QString& caption) {
          QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, this);
          box.exec();
      }),
      m_ui(new Ui::CExchangeDlg) {
    initDialog();
}

CExchangeDlg::CExchangeDlg(const ProgramImage& workingImage, Profile& profile,
                           MessageSink showMessage, QWidget* parent)
    : QDialog(parent), m_workingImage(workingImage), m_profile(profile),
      m_showMessage(std::move(showMessage)), m_ui(new Ui::CExchangeDlg) {
    initDialog();
}

CExchangeDlg::~CExchangeDlg() {
    delete m_ui;
}

void CExchangeDlg::initDialog() {
    m_ui->setupUi(this);
    setFixedSize(size());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (QLineEdit* edit : {m_ui->dayWaitEdit, m_ui->switchOnDelayEdit, m_ui->workTimeEdit}) {
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
    }
    // The combo box takes a typed device path as it stands.
    m_ui->portCombo->setCompleter(nullptr);

    const std::vector<PortEntry> ports = portTable();
    m_form = std::make_unique<ExchangeForm>(m_profile, ports);
    for (const PortEntry& entry : ports) {
        m_ui->portCombo->addItem(QString::fromStdString(entry.shownName));
    }
    // Device paths are longer than the template's narrow box: the open list shows them whole,
    // the closed box their beginning ("Симулятор (…"), and its tool tip the whole text.
    m_ui->portCombo->view()->setMinimumWidth(
        m_ui->portCombo->view()->sizeHintForColumn(0) +
        m_ui->portCombo->view()->verticalScrollBar()->sizeHint().width());
    connect(m_ui->portCombo, &QComboBox::currentIndexChanged, this,
            [this] { m_ui->portCombo->lineEdit()->setCursorPosition(0); });
    connect(m_ui->portCombo, &QComboBox::editTextChanged, m_ui->portCombo, &QComboBox::setToolTip);
    showPortChoice();
    showForm();

    connect(m_ui->writeButton, &QPushButton::clicked, this, &CExchangeDlg::accept);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &CExchangeDlg::reject);
    connect(m_ui->timerCheck, &QCheckBox::clicked, this, &CExchangeDlg::onTimerCheck);
    connect(m_ui->allNightCheck, &QCheckBox::clicked, this, &CExchangeDlg::onAllNightCheck);
    connect(m_ui->inversionCheck, &QCheckBox::clicked, this, &CExchangeDlg::onOptionCheck);
    connect(m_ui->slaveCheck, &QCheckBox::clicked, this, &CExchangeDlg::onOptionCheck);
    connect(this, &CExchangeDlg::uploadProgressed, this, &CExchangeDlg::showProgress,
            Qt::QueuedConnection);
}

void CExchangeDlg::showForm() {
    const ControllerSettings& settings = m_form->settings();
    m_ui->statusLabel->setText(QString::fromStdString(m_form->statusText()));
    m_ui->dayWaitEdit->setText(QString::fromStdString(settings.dayWaitText));
    m_ui->switchOnDelayEdit->setText(QString::fromStdString(settings.switchOnDelayText));
    m_ui->workTimeEdit->setText(QString::fromStdString(settings.workTimeText));
    m_ui->timerCheck->setChecked(settings.timerOn);
    m_ui->allNightCheck->setChecked(settings.allNight);
    m_ui->inversionCheck->setChecked(settings.inversion);
    m_ui->slaveCheck->setChecked(settings.slave);
    showEnabledStates();
}

void CExchangeDlg::showEnabledStates() {
    using Control = ExchangeForm::TimerControl;
    m_ui->inversionCheck->setEnabled(m_form->isEnabled(Control::Inversion));
    m_ui->allNightCheck->setEnabled(m_form->isEnabled(Control::AllNight));
    m_ui->dayWaitEdit->setEnabled(m_form->isEnabled(Control::DayWait));
    m_ui->switchOnDelayEdit->setEnabled(m_form->isEnabled(Control::SwitchOnDelay));
    m_ui->workTimeEdit->setEnabled(m_form->isEnabled(Control::WorkTime));
}

ControllerSettings CExchangeDlg::controlSettings() const {
    ControllerSettings settings;
    settings.timerOn = m_ui->timerCheck->isChecked();
    settings.allNight = m_ui->allNightCheck->isChecked();
    settings.inversion = m_ui->inversionCheck->isChecked();
    settings.slave = m_ui->slaveCheck->isChecked();
    settings.dayWaitText = m_ui->dayWaitEdit->text().toStdString();
    settings.switchOnDelayText = m_ui->switchOnDelayEdit->text().toStdString();
    settings.workTimeText = m_ui->workTimeEdit->text().toStdString();
    return settings;
}

void CExchangeDlg::onTimerCheck() {
    m_form->onTimerCheck(controlSettings());
    showEnabledStates();
}

void CExchangeDlg::onAllNightCheck() {
    m_form->onAllNightCheck(controlSettings());
    showEnabledStates();
}

void CExchangeDlg::onOptionCheck() {
    m_form->onOptionCheck(controlSettings());
}

void CExchangeDlg::showPortChoice() {
    QComboBox* combo = m_ui->portCombo;
    combo->setCurrentIndex(m_form->portIndex());
    if (m_form->portIndex() == ExchangeForm::kNoPort) {
        combo->setEditText(QString::fromStdString(m_form->portText()));
    }
    combo->lineEdit()->setCursorPosition(0);
}

void CExchangeDlg::accept() {
    if (m_uploading) {
        return;
    }
    const ExchangeForm::WriteResult written =
        m_form->write(controlSettings(), m_ui->portCombo->currentText().toStdString());
    showPortChoice();
    if (!written.block) {
        m_showMessage(QString::fromUtf8(written.refusal.c_str()), applicationCaption());
        return;
    }

    std::unique_ptr<SerialPort> port = createSystemSerialPort();
    const PortOpenStatus status = port->open(written.device);
    if (status != PortOpenStatus::Opened) {
        const char* portMessage =
            status == PortOpenStatus::CannotOpen ? kPortOpenErrorText : kPortInitErrorText;
        m_showMessage(QString::fromUtf8(portMessage), QString::fromUtf8(kPortErrorCaption));
        m_showMessage(QString::fromUtf8(kPortFailedText), applicationCaption());
        return;
    }
    runUpload(*port, *written.block);
    port->close();
}

void CExchangeDlg::reject() {
    if (!m_uploading) {
        QDialog::reject();
    }
}

bool CExchangeDlg::eventFilter(QObject* watched, QEvent* event) {
    if (m_uploading && isUserInput(event->type())) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CExchangeDlg::runUpload(SerialPort& port, const ConfigBlock& config) {
    // The upload blocks for seconds per block on a silent line, so it runs on a worker while
    // this thread keeps painting the bar; user input is swallowed until the outcome is shown.
    m_uploading = true;
    QCoreApplication::instance()->installEventFilter(this);

    const ProgramImage image = m_workingImage;
    const UploadTimings timings = m_timings;
    UploadReport report;
    QEventLoop loop;
    std::thread worker([&] {
        report = uploadProgram(
            port, image, config,
            [this](const UploadProgress& progress) {
                emit uploadProgressed(progress.rangeMax, progress.position,
                                      QString::fromUtf8(progress.statusText.c_str()));
            },
            timings);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();

    QCoreApplication::instance()->removeEventFilter(this);
    m_uploading = false;

    m_showMessage(QString::fromUtf8(uploadMessage(report.outcome)), applicationCaption());
    m_form->finishUpload();
    m_ui->progressBar->setValue(m_form->progressPosition());
}

void CExchangeDlg::showProgress(int rangeMax, int position, const QString& statusText) {
    m_form->showProgress(
        {.rangeMax = rangeMax, .position = position, .statusText = statusText.toStdString()});
    m_ui->progressBar->setRange(0, m_form->progressMax());
    m_ui->progressBar->setValue(m_form->progressPosition());
    m_ui->statusLabel->setText(QString::fromStdString(m_form->statusText()));
}

} // namespace tevra
