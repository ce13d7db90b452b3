#include "ui/CCopyStepsDlg.h"
#include "ui/CStepTimesDlg.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <memory>

namespace tevra {

class RangeDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void copyOpensWithTheCallersNumbersAndFocusOnConfirm();
    void copyTabOrderSkipsTheComputedEnd();
    void copyTyping_data();
    void copyTyping();
    void copyThirdDigitKeepsTheCaretAtTheEnd();
    void copyEditsTakeDigitsOnly();
    void copyConfirmAndCancel();
    void copyEnterConfirmsAndEscapeCancels();
    void timesOpensWithStepsAndSliderCaption();
    void timesSliderNotchChangesTheCaptionByTen();
    void timesTyping_data();
    void timesTyping();
    void timesKeepsAnyCharacters();
    void timesConfirmAndCancel();
    void dialogsHaveTheirTemplateSizeAndCaption();

private:
    std::unique_ptr<CCopyStepsDlg> openCopy();
    std::unique_ptr<CStepTimesDlg> openTimes();
    static QLineEdit* edit(QWidget* dialog, const char* name) {
        return dialog->findChild<QLineEdit*>(name);
    }
    // Replaces the whole text key by key, as a user does after selecting it.
    static void retype(QLineEdit* line, const QString& keys) {
        line->selectAll();
        QTest::keyClicks(line, keys);
    }
};

std::unique_ptr<CCopyStepsDlg> RangeDialogsTest::openCopy() {
    auto dialog = std::make_unique<CCopyStepsDlg>();
    dialog->setRange({1, 2, 3, 4});
    dialog->show();
    return dialog;
}

std::unique_ptr<CStepTimesDlg> RangeDialogsTest::openTimes() {
    auto dialog = std::make_unique<CStepTimesDlg>();
    dialog->setRange({1, 2, 3});
    dialog->show();
    return dialog;
}

void RangeDialogsTest::copyOpensWithTheCallersNumbersAndFocusOnConfirm() {
    const auto dialog = openCopy();
    QCOMPARE(edit(dialog.get(), "sourceFromEdit")->text(), QStringLiteral("1"));
    QCOMPARE(edit(dialog.get(), "sourceToEdit")->text(), QStringLiteral("2"));
    QCOMPARE(edit(dialog.get(), "destFromEdit")->text(), QStringLiteral("3"));
    QCOMPARE(edit(dialog.get(), "destToEdit")->text(), QStringLiteral("4"));
    auto* ok = dialog->findChild<QPushButton*>("okButton");
    QCOMPARE(dialog->focusWidget(), ok);
    QVERIFY(ok->isDefault());
    QCOMPARE(ok->text(), QStringLiteral("Копировать"));
}

void RangeDialogsTest::copyTabOrderSkipsTheComputedEnd() {
    const auto dialog = openCopy();
    QWidget* widget = dialog->findChild<QPushButton*>("okButton");
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        order << widget->objectName();
        do {
            widget = widget->nextInFocusChain();
        } while (!(widget->focusPolicy() & Qt::TabFocus));
    }
    QCOMPARE(order, (QStringList{"okButton", "cancelButton", "sourceFromEdit", "sourceToEdit",
                                 "destFromEdit"}));
    QCOMPARE(widget->objectName(), QStringLiteral("okButton"));
    QVERIFY(edit(dialog.get(), "destToEdit")->isReadOnly());
}

void RangeDialogsTest::copyTyping_data() {
    QTest::addColumn<QString>("editName");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("numbers");

    QTest::newRow("start beyond end")
        << "sourceFromEdit"
        << "5" << QStringList{"5", "5", "3", "3"} << QList<int>{5, 5, 3, 3};
    QTest::newRow("longer source")
        << "sourceToEdit"
        << "10" << QStringList{"1", "10", "3", "12"} << QList<int>{1, 10, 3, 12};
    QTest::newRow("zero in start")
        << "sourceFromEdit"
        << "0" << QStringList{"1", "2", "3", "4"} << QList<int>{1, 2, 3, 4};
    QTest::newRow("zero in end") << "sourceToEdit"
                                 << "0" << QStringList{"1", "1", "3", "3"}
                                 << QList<int>{1, 1, 3, 3};
    QTest::newRow("zero in destination")
        << "destFromEdit"
        << "0" << QStringList{"1", "2", "3", "4"} << QList<int>{1, 2, 3, 4};
    QTest::newRow("late destination")
        << "destFromEdit"
        << "499" << QStringList{"1", "2", "499", "500"} << QList<int>{1, 2, 499, 500};
}

void RangeDialogsTest::copyTyping() {
    QFETCH(QString, editName);
    QFETCH(QString, keys);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, numbers);

    const auto dialog = openCopy();
    retype(edit(dialog.get(), editName.toLatin1().constData()), keys);
    const QStringList shown{
        edit(dialog.get(), "sourceFromEdit")->text(), edit(dialog.get(), "sourceToEdit")->text(),
        edit(dialog.get(), "destFromEdit")->text(), edit(dialog.get(), "destToEdit")->text()};
    QCOMPARE(shown, texts);
    dialog->accept();
    const CopyRange range = dialog->range();
    QCOMPARE((QList<int>{range.sourceFrom, range.sourceTo, range.destFrom, range.destTo}), numbers);
}

void RangeDialogsTest::copyThirdDigitKeepsTheCaretAtTheEnd() {
    const auto dialog = openCopy();
    QLineEdit* end = edit(dialog.get(), "sourceToEdit");
    end->selectAll();
    QTest::keyClick(end, Qt::Key_Delete);
    QCOMPARE(end->text(), QString());
    QTest::keyClicks(end, "700");
    QCOMPARE(end->text(), QStringLiteral("70"));
    QCOMPARE(end->cursorPosition(), 2);
    QCOMPARE(edit(dialog.get(), "destToEdit")->text(), QStringLiteral("72"));

    // A rewritten edit other than the source end gets its caret at the start.
    QLineEdit* start = edit(dialog.get(), "sourceFromEdit");
    start->setCursorPosition(1);
    QTest::keyClicks(start, "0"); // "10"
    QTest::keyClicks(start, "0"); // "100" > 70: the end follows
    QCOMPARE(end->text(), QStringLiteral("100"));
    QTest::keyClicks(start, "7"); // "1007" is read as 100 and rewritten
    QCOMPARE(start->text(), QStringLiteral("100"));
    QCOMPARE(start->cursorPosition(), 0);
}

void RangeDialogsTest::copyEditsTakeDigitsOnly() {
    const auto dialog = openCopy();
    QLineEdit* start = edit(dialog.get(), "sourceFromEdit");
    start->setCursorPosition(1);
    QTest::keyClicks(start, "a-");
    QCOMPARE(start->text(), QStringLiteral("1"));
    QCOMPARE(start->cursorPosition(), 1);
}

void RangeDialogsTest::copyConfirmAndCancel() {
    {
        const auto dialog = openCopy();
        retype(edit(dialog.get(), "sourceToEdit"), "8");
        // Emptied edits leave the numbers as the last rule left them.
        edit(dialog.get(), "destFromEdit")->clear();
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->range().sourceTo, 8);
        QCOMPARE(dialog->range().destFrom, 3);
        QCOMPARE(dialog->range().destTo, 10);
    }
    {
        const auto dialog = openCopy();
        retype(edit(dialog.get(), "sourceToEdit"), "8");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(dialog->range().sourceTo, 2);
        QCOMPARE(dialog->range().destTo, 4);
    }
}

void RangeDialogsTest::copyEnterConfirmsAndEscapeCancels() {
    {
        const auto dialog = openCopy();
        QLineEdit* dest = edit(dialog.get(), "destFromEdit");
        retype(dest, "9");
        QTest::keyClick(dest, Qt::Key_Return);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->range().destFrom, 9);
    }
    {
        const auto dialog = openCopy();
        QLineEdit* dest = edit(dialog.get(), "destFromEdit");
        retype(dest, "9");
        QTest::keyClick(dest, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->range().destFrom, 3);
    }
}

void RangeDialogsTest::timesOpensWithStepsAndSliderCaption() {
    const auto dialog = openTimes();
    QCOMPARE(edit(dialog.get(), "stepFromEdit")->text(), QStringLiteral("1"));
    QCOMPARE(edit(dialog.get(), "stepToEdit")->text(), QStringLiteral("2"));
    auto* slider = dialog->findChild<QSlider*>("timeSlider");
    QCOMPARE(slider->value(), 100);
    QCOMPARE(slider->minimum(), 5);
    QCOMPARE(slider->maximum(), 2560);
    QCOMPARE(dialog->findChild<QGroupBox*>("timeGroup")->title(), QStringLiteral("1000"));
    QCOMPARE(dialog->focusWidget(), dialog->findChild<QPushButton*>("okButton"));
}

void RangeDialogsTest::timesSliderNotchChangesTheCaptionByTen() {
    const auto dialog = openTimes();
    auto* slider = dialog->findChild<QSlider*>("timeSlider");
    auto* caption = dialog->findChild<QGroupBox*>("timeGroup");
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(caption->title(), QStringLiteral("1010"));
    QTest::keyClick(slider, Qt::Key_PageDown);
    QTest::keyClick(slider, Qt::Key_Left);
    QCOMPARE(caption->title(), QStringLiteral("990"));
    QTest::keyClick(slider, Qt::Key_Home);
    QCOMPARE(caption->title(), QStringLiteral("50"));
    dialog->accept();
    QCOMPARE(dialog->range().timeValue, 5);
}

void RangeDialogsTest::timesTyping_data() {
    QTest::addColumn<QString>("editName");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("caret");

    QTest::newRow("start pulls end") << "stepFromEdit"
                                     << "7"
                                     << "7"
                                     << "7" << 1;
    QTest::newRow("end above last step") << "stepToEdit"
                                         << "600"
                                         << "1"
                                         << "60" << 0;
    QTest::newRow("negative end") << "stepToEdit"
                                  << "-5"
                                  << "1"
                                  << "1" << 0;
    QTest::newRow("letters stay") << "stepFromEdit"
                                  << "ab"
                                  << "ab"
                                  << "2" << 2;
}

void RangeDialogsTest::timesTyping() {
    QFETCH(QString, editName);
    QFETCH(QString, keys);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, caret);

    const auto dialog = openTimes();
    QLineEdit* typed = edit(dialog.get(), editName.toLatin1().constData());
    retype(typed, keys);
    QCOMPARE(edit(dialog.get(), "stepFromEdit")->text(), from);
    QCOMPARE(edit(dialog.get(), "stepToEdit")->text(), to);
    QCOMPARE(typed->cursorPosition(), caret);
}

void RangeDialogsTest::timesKeepsAnyCharacters() {
    const auto dialog = openTimes();
    QLineEdit* start = edit(dialog.get(), "stepFromEdit");
    retype(start, "4");
    start->selectAll();
    QTest::sendKeyEvent(QTest::Click, start, Qt::Key_unknown, QStringLiteral("ж"), Qt::NoModifier);
    QCOMPARE(start->text(), QStringLiteral("ж"));
    dialog->accept();
    QCOMPARE(dialog->range().stepFrom, 4);
    QCOMPARE(dialog->range().stepTo, 4);
}

void RangeDialogsTest::timesConfirmAndCancel() {
    {
        const auto dialog = openTimes();
        retype(edit(dialog.get(), "stepToEdit"), "30");
        dialog->findChild<QSlider*>("timeSlider")->setValue(250);
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->range().stepFrom, 1);
        QCOMPARE(dialog->range().stepTo, 30);
        QCOMPARE(dialog->range().timeValue, 250);
    }
    {
        const auto dialog = openTimes();
        retype(edit(dialog.get(), "stepToEdit"), "30");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
        QCOMPARE(dialog->range().stepTo, 2);
        QCOMPARE(dialog->range().timeValue, 3);
    }
}

void RangeDialogsTest::dialogsHaveTheirTemplateSizeAndCaption() {
    const auto copy = openCopy();
    QCOMPARE(copy->windowTitle(), QStringLiteral("Копирование шагов"));
    QCOMPARE(copy->size(), QSize(255, 76));
    QCOMPARE(copy->findChild<QPushButton*>("okButton")->geometry(), QRect(170, 42, 75, 23));
    const auto times = openTimes();
    QCOMPARE(times->windowTitle(), QStringLiteral("Время шагов"));
    QCOMPARE(times->size(), QSize(279, 153));
    QCOMPARE(times->findChild<QSlider*>("timeSlider")->geometry(), QRect(11, 85, 258, 24));
}

} // namespace tevra

QTEST_MAIN(tevra::RangeDialogsTest)
#include "RangeDialogsTest.moc"
