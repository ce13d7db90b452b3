#include "link/PortTable.h"
#include "link/SimulatorLink.h"
#include "sim/SimulatedController.h"
#include "support/RecordingProfile.h"
#include "support/SavedVariable.h"
#include "ui/exchange/CExchangeDlg.h"
#include "ui/exchange/SettingsProfile.h"

#include <QtTest>
#include <QtWidgets>
#include <algorithm>
#include <chrono>

using namespace tevra;
using namespace std::chrono_literals;

namespace {

// The window with recorded messages in place of modal boxes, each with the status and bar it
// was shown over.
class Harness {
public:
    explicit Harness(RecordingProfile& profile)
        : m_dialog(m_image, profile, [this](const QString& text, const QString& caption) {
              m_messages << text + " / " + caption + " " + progress();
          }) {}

    template <typename W = QWidget> W* widget(const char* name) {
        return m_dialog.findChild<W*>(QString::fromLatin1(name));
    }
    void click(const char* name) { QTest::mouseClick(widget(name), Qt::LeftButton); }
    QString progress() {
        const auto* bar = widget<QProgressBar>("progressBar");
        return QStringLiteral("[%1 %2/%3]")
            .arg(widget<QLabel>("statusLabel")->text())
            .arg(bar->value())
            .arg(bar->maximum());
    }
    // The four boxes, the three fields, which of inversion, all night and the three fields are
    // enabled, then the status and the bar.
    QString state() {
        QString text;
        for (const char* name : {"timerCheck", "allNightCheck", "inversionCheck", "slaveCheck"}) {
            text += widget<QCheckBox>(name)->isChecked() ? name[0] : '-';
        }
        QString enabled;
        for (const char* name : {"inversionCheck", "allNightCheck", "dayWaitEdit",
                                 "switchOnDelayEdit", "workTimeEdit"}) {
            enabled += widget(name)->isEnabled() ? '1' : '0';
            if (auto* edit = qobject_cast<QLineEdit*>(widget(name))) {
                text += " " + edit->text();
            }
        }
        return text + " " + enabled + " " + progress();
    }

    const ProgramImage m_image = ProgramImage::startProgram();
    CExchangeDlg m_dialog;
    QStringList m_messages;
};

} // namespace

class ExchangeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void inputsReachTheWindow_data() {
        QTest::addColumn<int>("timerWord"); // -1: an empty profile
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        const auto row = [](int timerWord, const char* port, const char* script,
                            const char* shown) {
            QTest::newRow(qPrintable(QStringLiteral("%1 %2 %3").arg(timerWord).arg(port, script)))
                << timerWord << port << script
                << QString::fromUtf8(shown).replace("/ app",
                                                    "/ " + QApplication::applicationName());
        };
        // The rules are the form's; here the boxes switch the controls and the window shows them.
        row(-1, "", "", "ta-- 0 0 0 11010 [ 0/100] 0");
        row(-1, "", "c:allNightCheck", "t--- 0 0 0 11111 [ 0/100] 0");
        row(-1, "", "c:timerCheck", "-a-- 0 0 0 00000 [ 0/100] 0");
        // Switching the timer on frees every field, even with "all night" still checked.
        row(-1, "", "c:timerCheck c:timerCheck", "ta-- 0 0 0 11111 [ 0/100] 0");
        row(-1, "", "c:inversionCheck c:slaveCheck", "tais 0 0 0 11010 [ 0/100] 0");
        // Any role but 0 is the slave's; a stored port beyond the list selects nothing.
        row(65281, "", "", "t-is 3600 60 7200 11111 [ 0/100] 0");
        row(0, "", "", "ta-s 3600 60 7200 11010 [ 0/100] 0");
        row(-1, "<device>", "Escape", "ta-- 0 0 0 11010 [ 0/100] 0 closed");
        row(-1, "<device>", "c:closeButton", "ta-- 0 0 0 11010 [ 0/100] 0 closed");
        // The port is stored first, the settings once they pass their checks. What is opened is
        // what the window shows, and shows again when it opens next. While the upload runs, the
        // window takes no input; the bar moves block by block; afterwards the window closes
        // again.
        row(-1, "<device>", "Return",
            "ta-- 0 0 0 11010 [ 0/100] 1 <entry> | Значение ожидания дня должно быть 1-65535 / "
            "app [ 0/100]");
        row(1, "<entry>", "c:writeButton",
            "t--s 3600 60 7200 11111 [Ok... 0/3] 6 <entry> 1 2 3 0 | Контроллер записан! / app "
            "[Ok... 3/3]");
        row(65535, "<device>", "c:writeButton Escape",
            "---s 1 1 10 00000 [Ok... 0/3] 6 closed <entry> 1 2 3 0 | Контроллер записан! / app "
            "[Ok... 3/3]");
        row(65535, "<entry>/nonexistent/tevra-port", "c:writeButton",
            "---s 1 1 10 00000 [ 0/100] 6 /nonexistent/tevra-port | Ошибка открытия порта ! / "
            "Ошибка!! [ 0/100] | Ошибка открытия порта! / app [ 0/100]");
        // Opens, but is no serial line.
        row(65535, "/dev/null", "c:writeButton",
            "---s 1 1 10 00000 [ 0/100] 6 /dev/null | Ошибка инициализации порта ! / Ошибка!! [ "
            "0/100] | Ошибка открытия порта! / app [ 0/100]");
        row(65535, "<silent>", "c:writeButton",
            "---s 1 1 10 00000 [Запись... 0/3] 6 <entry> | Нет ответа контроллера! / app "
            "[Запись... 0/3]");
        row(65535, "<wrong>", "c:writeButton",
            "---s 1 1 10 00000 [Запись... 0/3] 6 <entry> | Ошибка записи! / app [Запись... 0/3]");
    }

    // The port is "<device>" or "<entry>" for the simulator's path typed or its entry picked
    // (then text typed over it), "<silent>" or "<wrong>" for a simulator that never answers or
    // always answers wrong, or a path. The script clicks (c:name) and presses Escape, or Return
    // in a field. A silent controller costs four read-back waits of 50 ms.
    void inputsReachTheWindow() {
        QFETCH(int, timerWord);
        QFETCH(QString, port);
        QFETCH(QString, script);
        QFETCH(QString, shown);
        QTemporaryDir runtimeDir;
        const test::SavedVariable savedRuntimeDir("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
        SimulatorOptions options;
        if (port == "<silent>") {
            options.silentFromBlock = 0;
        } else if (port == "<wrong>") {
            options.wrongByteOnAttempts = {1, 2, 3, 4};
        }
        SimulatedController simulator(options);
        QVERIFY(simulator.start());
        QVERIFY(SimulatorLink::publish(simulator.devicePath()));
        RecordingProfile profile;
        if (timerWord >= 0) {
            profile.m_values = {
                {kTimerWordKey, timerWord}, {kDayWaitKey, 3600}, {kSwitchOnDelayKey, 60},
                {kWorkTimeKey, 7200},       {kSlaveKey, -1},     {kPortKey, 999}};
        }
        Harness h(profile);
        QCOMPARE(h.m_dialog.windowTitle(), QStringLiteral("Обмен с контроллером"));
        QVERIFY(!(h.m_dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        h.m_dialog.setUploadTimings({.readBackWait = 50ms});
        h.m_dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.m_dialog));
        auto* combo = h.widget<QComboBox>("portCombo");
        const int entry =
            combo->findText(QString::fromStdString(simulatorShownName(simulator.devicePath())));
        if (timerWord >= 0) {
            QCOMPARE(combo->currentIndex(), -1);
            QCOMPARE(combo->currentText(), QString());
        }
        if (port.startsWith("<entry>")) {
            combo->setCurrentIndex(entry);
            port.remove("<entry>");
        }
        if (!port.isEmpty()) {
            combo->setEditText(port.startsWith('<') ? QString::fromStdString(simulator.devicePath())
                                                    : port);
        }
        QStringList bars;
        connect(h.widget<QProgressBar>("progressBar"), &QProgressBar::valueChanged, this,
                [&](int value) {
                    bars << QString::number(value);
                    if (bars.size() == 1) {
                        QTest::keyClick(&h.m_dialog, Qt::Key_Escape);
                        h.click("writeButton");
                        h.click("slaveCheck");
                        h.m_dialog.close();
                    }
                });
        for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
            if (word.startsWith("c:")) {
                h.click(qPrintable(word.mid(2)));
            } else {
                QTest::keyClick(word == "Return" ? h.widget("switchOnDelayEdit") : &h.m_dialog,
                                QKeySequence(word)[0].key());
            }
        }
        // The port as the window shows it, with the caret when the box does not show its start.
        const auto shownPort = [entry](Harness& window) {
            const auto* box = window.widget<QComboBox>("portCombo");
            const int caret = box->lineEdit()->cursorPosition();
            return (box->currentIndex() == entry ? QStringLiteral(" <entry>")
                                                 : " " + box->currentText()) +
                   (caret == 0 ? QString() : QStringLiteral("@%1").arg(caret));
        };
        // The window, the profile writes, whether it closed, the port it keeps, the bar's
        // values during an upload, then the messages.
        QString text = QStringLiteral("%1 %2").arg(h.state()).arg(profile.m_writes.size());
        text += h.m_dialog.isVisible() ? "" : " closed";
        if (!profile.m_writes.empty()) {
            text += shownPort(h);
            Harness reopened(profile);
            QCOMPARE(shownPort(reopened), shownPort(h));
        }
        text += bars.isEmpty() ? "" : " " + bars.join(' ');
        const QString all = (QStringList{text} + h.m_messages).join(" | ");
        QCOMPARE(all, shown);
        if (!bars.isEmpty()) {
            const std::vector<std::uint8_t> program = simulator.programArea();
            const auto bytes = h.m_image.bytes();
            QVERIFY(
                std::equal(bytes.begin(), bytes.begin() + 3 * kTransferBlockSize, program.begin()));
        }
    }

    void settingsProfileKeepsTheKeysInTheSettingsGroup() {
        QTemporaryDir dir;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        SettingsProfile().writeInt(kPortKey, 3);
        SettingsProfile().writeText(kTypedPortKey, "/dev/ttyUSB0");
        const SettingsProfile reopened;
        QCOMPARE((QList<int>{reopened.readInt(kPortKey, 0), reopened.readInt(kSlaveKey, 7)}),
                 (QList<int>{3, 7}));
        QCOMPARE(reopened.readText(kTypedPortKey), "/dev/ttyUSB0");
        QSettings file(dir.filePath(QApplication::applicationName() + ".ini"),
                       QSettings::IniFormat);
        QCOMPARE(file.value("Settings/COMM_SET").toInt(), 3);
    }
};

QTEST_MAIN(ExchangeDialogTest)
#include "ExchangeDialogTest.moc"
