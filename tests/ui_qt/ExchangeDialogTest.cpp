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
#include <chrono>

using namespace tevra;
using namespace std::chrono_literals;

namespace {

// The window with recorded messages in place of modal boxes, each with the status and bar it
// was shown over.
class Harness {
public:
    explicit Harness(RecordingProfile& profile,
                     const ProgramImage& image = ProgramImage::startProgram())
        : m_image(image),
          m_dialog(m_image, profile, [this](const QString& text, const QString& caption) {
              m_messages << text + " / " + caption + " " + progress();
          }) {}

    template <typename W = QWidget> W* widget(const char* name) {
        return findWidget<W>(&m_dialog, QString::fromLatin1(name));
    }
    void click(const char* name) { QTest::mouseClick(widget(name), Qt::LeftButton); }
    QString progress() {
        const auto* bar = widget<QProgressBar>("progressBar");
        return QStringLiteral("[%1 %2/%3]")
            .arg(widget<QLabel>("statusLabel")->text())
            .arg(bar->value())
            .arg(bar->maximum());
    }
    // The four boxes, the three fields, which of inversion, all night and the three fields
    // are enabled, then the status and the bar.
    QString state() {
        QString boxes;
        for (const auto& [name, letter] : {std::pair{"timerCheck", 'T'},
                                           {"allNightCheck", 'A'},
                                           {"inversionCheck", 'I'},
                                           {"slaveCheck", 'S'}}) {
            boxes += widget<QCheckBox>(name)->isChecked() ? letter : '-';
        }
        QStringList fields;
        QString enabled;
        for (const char* name : {"inversionCheck", "allNightCheck", "dayWaitEdit",
                                 "switchOnDelayEdit", "workTimeEdit"}) {
            enabled += widget(name)->isEnabled() ? '1' : '0';
            if (auto* edit = qobject_cast<QLineEdit*>(widget(name))) {
                fields << edit->text();
            }
        }
        return boxes + " " + fields.join(' ') + " " + enabled + " " + progress();
    }

    ProgramImage m_image;
    CExchangeDlg m_dialog;
    QStringList m_messages;
};

QString appName() {
    return QCoreApplication::applicationName();
}

} // namespace

class ExchangeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheFormAndTheBoxesSwitchTheTimerControls();
    void writeReportsItsOutcome_data();
    void writeReportsItsOutcome();
    void uploadTakesNoInputAndWritesTheController();
    void closeStoresNothing();
    void portOpenedIsThePortRemembered_data();
    void portOpenedIsThePortRemembered();
    void settingsProfileKeepsIntegersInTheSettingsGroup();
};

void ExchangeDialogTest::showsTheFormAndTheBoxesSwitchTheTimerControls() {
    const struct {
        int timerWord; // -1: an empty profile
        const char* clicks;
        const char* state;
    } rows[] = {
        {-1, "", "TA-- 0 0 0 11010 [ 0/100]"},
        {65535, "", "---S 1 1 10 00000 [ 0/100]"},
        {65281, "", "T-IS 3600 60 7200 11111 [ 0/100]"},
        {-1, "allNightCheck", "T--- 0 0 0 11111 [ 0/100]"},
        {-1, "allNightCheck allNightCheck", "TA-- 0 0 0 11010 [ 0/100]"},
        {-1, "timerCheck", "-A-- 0 0 0 00000 [ 0/100]"},
        // Switching the timer on frees every field, even with "all night" still checked.
        {-1, "timerCheck timerCheck", "TA-- 0 0 0 11111 [ 0/100]"},
        {-1, "inversionCheck slaveCheck", "TAIS 0 0 0 11010 [ 0/100]"},
    };
    for (const auto& r : rows) {
        RecordingProfile profile;
        if (r.timerWord >= 0) {
            profile.m_values = {
                {kTimerWordKey, r.timerWord}, {kDayWaitKey, 3600}, {kSwitchOnDelayKey, 60},
                {kWorkTimeKey, 7200},         {kSlaveKey, 1},      {kPortKey, 1}};
        }
        Harness h(profile);
        for (const QString& name : QString(r.clicks).split(' ', Qt::SkipEmptyParts)) {
            h.click(qPrintable(name));
        }
        QCOMPARE(h.state(), QString(r.state));
        QCOMPARE(h.widget<QComboBox>("portCombo")->currentIndex(),
                 ExchangeForm(profile, portTable()).portIndex());
        QCOMPARE(h.m_dialog.windowTitle(), QStringLiteral("Обмен с контроллером"));
        QVERIFY(profile.m_writes.empty());
    }
}

void ExchangeDialogTest::writeReportsItsOutcome_data() {
    QTest::addColumn<QString>("port"); // "<device>": the simulator's
    QTest::addColumn<int>("fault");    // 1: silent, 2: every read-back wrong, 3: enter in a field
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("after");
    const QString ok = " / " + appName() + " ";
    QTest::newRow("refused field")
        << "<device>" << 3 << "Значение ожидания дня должно быть 1-65535" + ok + "[ 0/100]"
        << "[ 0/100]";
    QTest::newRow("no port")
        << "/nonexistent/tevra-port" << 0
        << "Ошибка открытия порта ! / Ошибка!! [ 0/100]\nОшибка открытия порта!" + ok + "[ 0/100]"
        << "[ 0/100]";
    // Opens, but is no serial line.
    QTest::newRow("no line") << "/dev/null" << 0
                             << "Ошибка инициализации порта ! / Ошибка!! [ 0/100]\nОшибка открытия "
                                "порта!" +
                                    ok + "[ 0/100]"
                             << "[ 0/100]";
    QTest::newRow("written") << "<device>" << 0 << "Контроллер записан!" + ok + "[Ok... 3/3]"
                             << "[Ok... 0/3]";
    QTest::newRow("no answer") << "<device>" << 1
                               << "Нет ответа контроллера!" + ok + "[Запись... 0/3]"
                               << "[Запись... 0/3]";
    QTest::newRow("mismatch") << "<device>" << 2 << "Ошибка записи!" + ok + "[Запись... 0/3]"
                              << "[Запись... 0/3]";
}

// A silent controller costs four read-back waits of 50 ms.
void ExchangeDialogTest::writeReportsItsOutcome() {
    QFETCH(QString, port);
    QFETCH(int, fault);
    QFETCH(QString, messages);
    QFETCH(QString, after);
    SimulatorOptions options;
    if (fault == 1) {
        options.silentFromBlock = 0;
    } else if (fault == 2) {
        options.wrongByteOnAttempts = {1, 2, 3, 4};
    }
    SimulatedController simulator(options);
    QVERIFY(simulator.start());
    RecordingProfile profile;
    profile.m_values = {{kTimerWordKey, fault == 3 ? 0 : 65535}};
    Harness h(profile);
    h.m_dialog.setUploadTimings({.readBackWait = 50ms});
    h.m_dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.m_dialog));
    h.widget<QComboBox>("portCombo")
        ->setEditText(port == "<device>" ? QString::fromStdString(simulator.devicePath()) : port);
    if (fault == 3) {
        h.widget<QLineEdit>("dayWaitEdit")->setText("0");
        QTest::keyClick(h.widget("switchOnDelayEdit"), Qt::Key_Return);
    } else {
        h.click("writeButton");
    }
    QCOMPARE(h.m_messages.join('\n'), messages);
    QCOMPARE(h.progress(), after);
    QVERIFY(h.m_dialog.isVisible());
    // The port is stored first, the settings once they pass their checks.
    QCOMPARE(profile.m_writes.size(), fault == 3 ? 1U : 6U);
}

void ExchangeDialogTest::uploadTakesNoInputAndWritesTheController() {
    SimulatedController simulator;
    QVERIFY(simulator.start());
    RecordingProfile profile;
    profile.m_values = {
        {kTimerWordKey, 1}, {kDayWaitKey, 3600}, {kSwitchOnDelayKey, 60}, {kWorkTimeKey, 7200}};
    ProgramImage image = ProgramImage::startProgram();
    image.setStepCount(60);
    image.setCell(60, 15, 0x5B);
    Harness h(profile, image);
    h.click("slaveCheck");
    h.widget<QComboBox>("portCombo")->setEditText(QString::fromStdString(simulator.devicePath()));
    h.m_dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.m_dialog));

    std::vector<int> barValues;
    QObject::connect(h.widget<QProgressBar>("progressBar"), &QProgressBar::valueChanged,
                     [&](int value) {
                         barValues.push_back(value);
                         if (barValues.size() == 1) {
                             QTest::keyClick(&h.m_dialog, Qt::Key_Escape);
                             h.click("writeButton");
                             h.click("slaveCheck");
                             h.m_dialog.close();
                         }
                     });
    h.click("writeButton");

    QCOMPARE(h.m_messages, QStringList{"Контроллер записан! / " + appName() + " [Ok... 9/9]"});
    QCOMPARE(h.state(), QStringLiteral("T--S 3600 60 7200 11111 [Ok... 0/9]"));
    QVERIFY(h.m_dialog.isVisible());
    // The bar was repainted block by block while the upload ran.
    QCOMPARE(barValues, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    const std::vector<std::uint8_t> program = simulator.programArea();
    const auto bytes = h.m_image.bytes();
    QVERIFY(std::equal(bytes.begin(), bytes.begin() + 9 * kTransferBlockSize, program.begin()));
    ControllerSettings expected{.timerOn = true,
                                .allNight = false,
                                .inversion = false,
                                .slave = true,
                                .dayWaitText = "3600",
                                .switchOnDelayText = "60",
                                .workTimeText = "7200"};
    QVERIFY(simulator.settingsBlock() == *buildConfigBlock(expected).block);
    QCOMPARE(profile.m_values[kSlaveKey], -1);
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
    h.click("closeButton");
    QVERIFY(!h.m_dialog.isVisible());
    QVERIFY(profile.m_writes.empty());
    QVERIFY(h.m_messages.empty());
}

void ExchangeDialogTest::portOpenedIsThePortRemembered_data() {
    QTest::addColumn<bool>("pickEntry");
    QTest::addColumn<QString>("typed"); // after picking, if not empty; "<device>": the simulator's
    QTest::addColumn<bool>("written");
    QTest::newRow("entry picked by index") << true << QString() << true;
    QTest::newRow("entry's device typed") << false << QStringLiteral("<device>") << true;
    QTest::newRow("entry picked, then edited")
        << true << QStringLiteral("/nonexistent/tevra-port") << false;
}

// The simulator is published, so the list holds it whatever serial hardware the machine has.
void ExchangeDialogTest::portOpenedIsThePortRemembered() {
    QFETCH(bool, pickEntry);
    QFETCH(QString, typed);
    QFETCH(bool, written);
    QTemporaryDir runtimeDir;
    const test::SavedVariable savedRuntimeDir("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    SimulatedController simulator;
    QVERIFY(simulator.start());
    QVERIFY(SimulatorLink::publish(simulator.devicePath()));
    const std::vector<PortEntry> ports = portTable();
    const auto found = std::find_if(ports.begin(), ports.end(), [&](const PortEntry& port) {
        return port.deviceName == simulator.devicePath();
    });
    QVERIFY(found != ports.end());
    const int entry = static_cast<int>(found - ports.begin());
    if (typed == "<device>") {
        typed = QString::fromStdString(simulator.devicePath());
    }
    const int remembered = written ? entry : ExchangeForm::kNoPort;

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
        h.click("writeButton");
        QCOMPARE(h.m_messages.back().section(" / ", 0, 0),
                 written ? QStringLiteral("Контроллер записан!")
                         : QStringLiteral("Ошибка открытия порта!"));
        QCOMPARE(combo->currentIndex(), remembered);
    }
    QCOMPARE(profile.m_values[kPortKey], remembered);
    QCOMPARE(QString::fromStdString(profile.m_texts[kTypedPortKey]), written ? QString() : typed);

    // Reopened, the box shows the same port, from its beginning.
    Harness reopened(profile);
    auto* combo = reopened.widget<QComboBox>("portCombo");
    QCOMPARE(combo->currentIndex(), remembered);
    QCOMPARE(combo->currentText(),
             written ? QString::fromStdString(simulatorShownName(simulator.devicePath())) : typed);
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
