#include "link/ControllerProfile.h"
#include "link/PortTable.h"
#include "link/SimulatorLink.h"
#include "model/ProgramImage.h"
#include "sim/SimulatedController.h"
#include "support/FindWidget.h"
#include "support/RecordingProfile.h"
#include "support/SavedVariable.h"
#include "ui/CExchangeDlg.h"
#include "ui/ExchangeForm.h"
#include "ui/SettingsProfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace tevra;

namespace {

struct Message {
    QString text;
    QString caption;
    int barValue;
    QString status;
};

// The window with recorded messages in place of modal boxes.
class Harness {
public:
    explicit Harness(RecordingProfile& profile)
        : m_image(ProgramImage::startProgram()),
          m_dialog(m_image, profile, [this](const QString& text, const QString& caption) {
              m_messages.push_back({text, caption, widget<QProgressBar>("progressBar")->value(),
                                    widget<QLabel>("statusLabel")->text()});
          }) {}

    template <typename W> W* widget(const char* name) {
        return findWidget<W>(&m_dialog, QString::fromLatin1(name));
    }

    ProgramImage m_image;
    CExchangeDlg m_dialog;
    std::vector<Message> m_messages;
};

QString appName() {
    return QCoreApplication::applicationName();
}

} // namespace

class ExchangeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void opensShowingTheForm();
    void checkBoxesSwitchTheTimerControls();
    void refusedWriteStoresOnlyThePort();
    void enterInAFieldStartsWrite();
    void closeStoresNothing();
    void uploadsToTheSimulatedController();
    void portThatCannotBeOpenedShowsTwoMessages();
    void portOpenedIsThePortRemembered_data();
    void portOpenedIsThePortRemembered();
    void settingsProfileKeepsIntegersInTheSettingsGroup();
};

void ExchangeDialogTest::opensShowingTheForm() {
    // Empty profile, timer off, timed with inversion, all night.
    for (const std::optional<int> stored : {std::optional<int>{}, std::optional<int>{65535},
                                            std::optional<int>{65281}, std::optional<int>{0}}) {
        RecordingProfile profile;
        if (stored) {
            profile.m_values = {{kTimerWordKey, *stored}, {kDayWaitKey, 3600},
                                {kSwitchOnDelayKey, 60},  {kWorkTimeKey, 7200},
                                {kSlaveKey, 1},           {kPortKey, 1}};
        }
        const ExchangeForm form(profile, portTable());
        Harness h(profile);
        const ControllerSettings& s = form.settings();
        QCOMPARE(h.m_dialog.windowTitle(), QStringLiteral("Обмен с контроллером"));
        QCOMPARE(h.widget<QCheckBox>("timerCheck")->isChecked(), s.timerOn);
        QCOMPARE(h.widget<QCheckBox>("allNightCheck")->isChecked(), s.allNight);
        QCOMPARE(h.widget<QCheckBox>("inversionCheck")->isChecked(), s.inversion);
        QCOMPARE(h.widget<QCheckBox>("slaveCheck")->isChecked(), s.slave);
        QCOMPARE(h.widget<QLineEdit>("dayWaitEdit")->text().toStdString(), s.dayWaitText);
        QCOMPARE(h.widget<QLineEdit>("switchOnDelayEdit")->text().toStdString(),
                 s.switchOnDelayText);
        QCOMPARE(h.widget<QLineEdit>("workTimeEdit")->text().toStdString(), s.workTimeText);
        QCOMPARE(h.widget<QComboBox>("portCombo")->currentIndex(), form.portIndex());
        const std::pair<const char*, ExchangeForm::TimerControl> controls[] = {
            {"inversionCheck", ExchangeForm::TimerControl::Inversion},
            {"allNightCheck", ExchangeForm::TimerControl::AllNight},
            {"dayWaitEdit", ExchangeForm::TimerControl::DayWait},
            {"switchOnDelayEdit", ExchangeForm::TimerControl::SwitchOnDelay},
            {"workTimeEdit", ExchangeForm::TimerControl::WorkTime}};
        for (const auto& [name, control] : controls) {
            QCOMPARE(h.widget<QWidget>(name)->isEnabled(), form.isEnabled(control));
        }
        QVERIFY(h.widget<QCheckBox>("timerCheck")->isEnabled());
        QCOMPARE(h.widget<QLabel>("statusLabel")->text(), QString());
        QCOMPARE(h.widget<QProgressBar>("progressBar")->value(), 0);
        QVERIFY(profile.m_writes.empty());
    }
}

void ExchangeDialogTest::checkBoxesSwitchTheTimerControls() {
    RecordingProfile profile;
    Harness h(profile);
    auto* dayWait = h.widget<QLineEdit>("dayWaitEdit");
    auto* delay = h.widget<QLineEdit>("switchOnDelayEdit");
    auto* allNight = h.widget<QCheckBox>("allNightCheck");

    QTest::mouseClick(allNight, Qt::LeftButton);
    QVERIFY(!allNight->isChecked());
    QVERIFY(dayWait->isEnabled());
    QTest::mouseClick(allNight, Qt::LeftButton);
    QVERIFY(!dayWait->isEnabled());
    QVERIFY(delay->isEnabled());

    QTest::mouseClick(h.widget<QCheckBox>("timerCheck"), Qt::LeftButton);
    QVERIFY(!allNight->isEnabled());
    QVERIFY(!h.widget<QCheckBox>("inversionCheck")->isEnabled());
    QVERIFY(!delay->isEnabled());
    QTest::mouseClick(h.widget<QCheckBox>("timerCheck"), Qt::LeftButton);
    // Switching the timer on frees every field, even with "all night" still checked.
    QVERIFY(allNight->isChecked());
    QVERIFY(dayWait->isEnabled());
    QVERIFY(h.widget<QLineEdit>("workTimeEdit")->isEnabled());
    QVERIFY(profile.m_writes.empty());
}

void ExchangeDialogTest::refusedWriteStoresOnlyThePort() {
    RecordingProfile profile;
    Harness h(profile);
    h.widget<QLineEdit>("dayWaitEdit")->setText("5");
    h.widget<QLineEdit>("switchOnDelayEdit")->setText("65536");
    QTest::mouseClick(h.widget<QPushButton>("writeButton"), Qt::LeftButton);
    QCOMPARE(h.m_messages.size(), 1U);
    QCOMPARE(h.m_messages[0].text,
             QStringLiteral("Значение задержки включения должно быть 1-65535"));
    QCOMPARE(h.m_messages[0].caption, appName());
    QCOMPARE(profile.m_writes,
             (std::vector<std::pair<std::string, int>>{
                 {"COMM_SET", h.widget<QComboBox>("portCombo")->currentIndex()}}));
    QCOMPARE(h.widget<QLineEdit>("switchOnDelayEdit")->text(), QStringLiteral("65536"));
}

void ExchangeDialogTest::enterInAFieldStartsWrite() {
    RecordingProfile profile;
    Harness h(profile);
    h.m_dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.m_dialog));
    auto* delay = h.widget<QLineEdit>("switchOnDelayEdit");
    delay->setFocus();
    QTest::keyClick(delay, Qt::Key_Return);
    QCOMPARE(h.m_messages.size(), 1U);
    QCOMPARE(h.m_messages[0].text, QStringLiteral("Значение ожидания дня должно быть 1-65535"));
    QVERIFY(h.m_dialog.isVisible());
    QCOMPARE(profile.m_writes.size(), 1U);
}

void ExchangeDialogTest::closeStoresNothing() {
    RecordingProfile profile;
    Harness h(profile);
    h.m_dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.m_dialog));
    h.widget<QLineEdit>("dayWaitEdit")->setText("77");
    QTest::keyClick(&h.m_dialog, Qt::Key_Escape);
    QVERIFY(!h.m_dialog.isVisible());
    QCOMPARE(h.m_dialog.result(), int(QDialog::Rejected));
    h.m_dialog.show();
    QTest::mouseClick(h.widget<QPushButton>("closeButton"), Qt::LeftButton);
    QVERIFY(!h.m_dialog.isVisible());
    QVERIFY(profile.m_writes.empty());
    QVERIFY(h.m_messages.empty());
}

void ExchangeDialogTest::uploadsToTheSimulatedController() {
    SimulatedController simulator;
    if (!simulator.start()) {
        QSKIP(qPrintable(QString::fromStdString(simulator.error())));
    }
    RecordingProfile profile;
    profile.m_values = {
        {kTimerWordKey, 1}, {kDayWaitKey, 3600}, {kSwitchOnDelayKey, 60}, {kWorkTimeKey, 7200}};
    Harness h(profile);
    h.m_image.setStepCount(60);
    h.m_image.setCell(60, 15, 0x5B);
    h.widget<QCheckBox>("slaveCheck")->click();
    h.widget<QComboBox>("portCombo")->setEditText(QString::fromStdString(simulator.devicePath()));

    h.m_dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.m_dialog));

    std::vector<int> barValues;
    auto* writeButton = h.widget<QPushButton>("writeButton");
    QObject::connect(h.widget<QProgressBar>("progressBar"), &QProgressBar::valueChanged,
                     [&](int value) {
                         barValues.push_back(value);
                         if (barValues.size() == 1) {
                             // The window takes no input: it neither closes, nor starts a second
                             // upload, nor toggles a check box.
                             QTest::keyClick(&h.m_dialog, Qt::Key_Escape);
                             QTest::mouseClick(writeButton, Qt::LeftButton);
                             QTest::mouseClick(h.widget<QCheckBox>("slaveCheck"), Qt::LeftButton);
                             h.m_dialog.close();
                         }
                     });
    QTest::mouseClick(writeButton, Qt::LeftButton);

    const int blocks = programBlockCount(h.m_image);
    QCOMPARE(blocks, 9);
    QCOMPARE(h.m_messages.size(), 1U);
    QCOMPARE(h.m_messages[0].text, QStringLiteral("Контроллер записан!"));
    QCOMPARE(h.m_messages[0].caption, appName());
    QCOMPARE(h.m_messages[0].status, QStringLiteral("Ok..."));
    QVERIFY(h.m_messages[0].barValue > 0);
    auto* bar = h.widget<QProgressBar>("progressBar");
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->maximum(), blocks);
    QCOMPARE(h.widget<QLabel>("statusLabel")->text(), QStringLiteral("Ok..."));
    // The bar was repainted block by block while the upload ran.
    QVERIFY2(barValues.size() >= static_cast<std::size_t>(blocks), "bar did not advance");
    QVERIFY(std::is_sorted(barValues.begin(), barValues.end() - 1));

    const std::vector<std::uint8_t> program = simulator.programArea();
    const auto imageBytes = h.m_image.bytes();
    const std::size_t sent = static_cast<std::size_t>(blocks) * kTransferBlockSize;
    QVERIFY(std::equal(imageBytes.begin(), imageBytes.begin() + static_cast<std::ptrdiff_t>(sent),
                       program.begin()));
    ControllerSettings expected;
    expected.timerOn = true;
    expected.slave = true;
    expected.dayWaitText = "3600";
    expected.switchOnDelayText = "60";
    expected.workTimeText = "7200";
    QVERIFY(simulator.settingsBlock() == *buildConfigBlock(expected).block);
    QCOMPARE(profile.m_values[kSlaveKey], -1);
    QCOMPARE(profile.m_values[kTimerWordKey], 1);
    QVERIFY(h.m_dialog.isVisible());
    QVERIFY(h.widget<QCheckBox>("slaveCheck")->isChecked());
}

void ExchangeDialogTest::portThatCannotBeOpenedShowsTwoMessages() {
    RecordingProfile profile;
    profile.m_values = {{kTimerWordKey, 65535}};
    Harness h(profile);
    h.widget<QComboBox>("portCombo")->setEditText(QStringLiteral("/nonexistent/tevra-port"));
    QTest::mouseClick(h.widget<QPushButton>("writeButton"), Qt::LeftButton);
    QCOMPARE(h.m_messages.size(), 2U);
    QCOMPARE(h.m_messages[0].text, QStringLiteral("Ошибка открытия порта !"));
    QCOMPARE(h.m_messages[0].caption, QStringLiteral("Ошибка!!"));
    QCOMPARE(h.m_messages[1].text, QStringLiteral("Ошибка открытия порта!"));
    QCOMPARE(h.m_messages[1].caption, appName());
    QCOMPARE(profile.m_writes.size(), 6U);
    QCOMPARE(profile.m_values[kTimerWordKey], 65535);
}

void ExchangeDialogTest::portOpenedIsThePortRemembered_data() {
    QTest::addColumn<bool>("pickEntry");
    QTest::addColumn<QString>("typed"); // after picking, if not empty; "<device>": the simulator's
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("remembersEntry");
    QTest::newRow("entry picked by index") << true << QString() << true << true;
    QTest::newRow("entry's device typed") << false << QStringLiteral("<device>") << true << true;
    QTest::newRow("entry picked, then edited")
        << true << QStringLiteral("/nonexistent/tevra-port") << false << false;
}

// The simulator is published, so the list holds it whatever serial hardware the machine has.
void ExchangeDialogTest::portOpenedIsThePortRemembered() {
    QFETCH(bool, pickEntry);
    QFETCH(QString, typed);
    QFETCH(bool, written);
    QFETCH(bool, remembersEntry);
    QTemporaryDir runtimeDir;
    const test::SavedVariable savedRuntimeDir("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    SimulatedController simulator;
    QVERIFY(simulator.start());
    QVERIFY(SimulatorLink::publish(simulator.devicePath()));
    const QString device = QString::fromStdString(simulator.devicePath());
    const std::vector<PortEntry> ports = portTable();
    const auto entry =
        static_cast<int>(std::find_if(ports.begin(), ports.end(),
                                      [&](const PortEntry& port) {
                                          return port.deviceName == device.toStdString();
                                      }) -
                         ports.begin());
    QVERIFY(entry < static_cast<int>(ports.size()));
    if (typed == QStringLiteral("<device>")) {
        typed = device;
    }

    RecordingProfile profile;
    profile.m_values = {{kTimerWordKey, 65535}};
    {
        Harness h(profile);
        auto* combo = h.widget<QComboBox>("portCombo");
        if (pickEntry) {
            combo->setCurrentIndex(entry);
        }
        if (!typed.isEmpty()) {
            combo->setEditText(typed);
        }
        QTest::mouseClick(h.widget<QPushButton>("writeButton"), Qt::LeftButton);
        QCOMPARE(h.m_messages.back().text, written ? QStringLiteral("Контроллер записан!")
                                                   : QStringLiteral("Ошибка открытия порта!"));
        QCOMPARE(combo->currentIndex(), remembersEntry ? entry : ExchangeForm::kNoPort);
    }
    QCOMPARE(profile.m_values[kPortKey], remembersEntry ? entry : ExchangeForm::kNoPort);
    QCOMPARE(QString::fromStdString(profile.m_texts[kTypedPortKey]),
             remembersEntry ? QString() : typed);

    // Reopened, the box shows the same port, from its beginning.
    Harness reopened(profile);
    auto* combo = reopened.widget<QComboBox>("portCombo");
    QCOMPARE(combo->currentIndex(), remembersEntry ? entry : ExchangeForm::kNoPort);
    QCOMPARE(combo->currentText(),
             remembersEntry ? QString::fromStdString(simulatorShownName(device.toStdString()))
                            : typed);
    QCOMPARE(combo->lineEdit()->cursorPosition(), 0);
    SimulatorLink::withdraw();
}

void ExchangeDialogTest::settingsProfileKeepsIntegersInTheSettingsGroup() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    {
        SettingsProfile profile;
        QCOMPARE(profile.readInt(kPortKey, 0), 0);
        profile.writeInt(kPortKey, 3);
        profile.writeInt(kSlaveKey, -1);
    }
    const SettingsProfile reopened;
    QCOMPARE(reopened.readInt(kPortKey, 0), 3);
    QCOMPARE(reopened.readInt(kSlaveKey, 0), -1);
    QSettings file(dir.path() + u'/' + appName() + QStringLiteral(".ini"), QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("Settings/COMM_SET")).toInt(), 3);
}

QTEST_MAIN(ExchangeDialogTest)
#include "ExchangeDialogTest.moc"
