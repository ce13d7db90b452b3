#include "ui/dialogs/CPatternDlg.h"
#include "ui/dialogs/CTempoDlg.h"

#include <QtTest>
#include <QtWidgets>

using namespace tevra;

// The rules live in PatternForm and TempoForm; these check that the windows pass every
// control on and show the forms' answers.
class PatternDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void patternDialogAppliesWhatThePreviewShows() {
        ProgramImage program = ProgramImage::startProgram();
        CPatternDlg dialog(program, CellRange{2, 5, 4, 7});
        dialog.show();
        auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("applyButton"));
        auto* refusal = dialog.findChild<QLabel*>(QStringLiteral("refusalLabel"));
        dialog.findChild<QComboBox*>(QStringLiteral("orderCombo"))->setCurrentIndex(1);
        dialog.findChild<QWidget*>(QStringLiteral("offPicker"))
            ->findChild<QComboBox*>(QStringLiteral("kindCombo"))
            ->setCurrentIndex(0); // "Не менять"
        QCOMPARE(dialog.form().preview().cell(2, 7), std::uint8_t{1});

        auto* tempo = dialog.findChild<QGroupBox*>(QStringLiteral("tempoGroup"));
        // A tap from any control asks for the tempo.
        QTest::keyClick(dialog.findChild<QSpinBox*>(QStringLiteral("widthSpin")), Qt::Key_T);
        QVERIFY(tempo->isChecked());
        auto* bpm = dialog.findChild<QLineEdit*>(QStringLiteral("bpmEdit"));
        bpm->clear();
        QTest::keyClicks(bpm, QStringLiteral("9999"));
        QVERIFY(refusal->text().startsWith(QStringLiteral("Темп 9999 BPM")));
        QVERIFY(!apply->isEnabled());
        QCOMPARE(dialog.form().preview(), program);

        bpm->clear();
        QTest::keyClicks(bpm, QStringLiteral("127,5"));
        QVERIFY(refusal->text().isEmpty());
        QTest::mouseClick(apply, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!applyGeneration(program, dialog.generation()));
        QCOMPARE(program, dialog.form().preview());
        QCOMPARE(program.stepTime(2), std::uint16_t{47});
        QCOMPARE(program.cell(3, 6), std::uint8_t{1});
        QCOMPARE(dialog.editName(), std::string("узор chase 4 × 4"));
    }

    void tempoDialogTakesTapsAndTypedTempo() {
        CTempoDlg dialog(CellRange{1, 64, 0, 15});
        dialog.show();
        auto* bpm = dialog.findChild<QLineEdit*>(QStringLiteral("bpmEdit"));
        QTest::keyClick(bpm, Qt::Key_T);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("tapsLabel"))->text(),
                 QStringLiteral("Тапов: 1"));
        QCOMPARE(bpm->text(), QStringLiteral("120"));
        bpm->clear();
        QTest::keyClicks(bpm, QStringLiteral("128"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("timesLabel"))->text(),
                 QStringLiteral("Время шагов: 460…470 mS"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("applyButton")),
                          Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.tempo()->milliBpm(), 128000);
    }
};

QTEST_MAIN(PatternDialogsTest)
#include "PatternDialogsTest.moc"
