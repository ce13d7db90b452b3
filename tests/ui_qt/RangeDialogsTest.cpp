#include "support/FindWidget.h"
#include "ui/CCopyStepsDlg.h"
#include "ui/CStepTimesDlg.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <memory>

namespace tevra {

// The rules behind the edits are the forms' and tested there; these tests check that the
// windows forward keys, show the forms' texts and carets, and return the right range.
class RangeDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void copyOpensWithTheCallersNumbersAndFocusOnConfirm();
    void copyTabOrderSkipsTheComputedEnd();
    void copyTyping_data();
    void copyTyping();
    void copyThirdDigitKeepsTheCaretAtTheEnd();
    void copyEditsTakeDigitsOnly();
    void copyConfirmAndCancel_data();
    void copyConfirmAndCancel();
    void timesOpensWithStepsAndSliderCaption();
    void timesSliderNotchChangesTheCaptionByTen();
    void timesTyping_data();
    void timesTyping();
    void timesKeepsAnyCharacters();
    void timesConfirmAndCancel();
    void dialogsHaveTheirTemplateSizeAndCaption();

private:
    static std::unique_ptr<CCopyStepsDlg> openCopy() {
        auto dialog = std::make_unique<CCopyStepsDlg>();
        dialog->setRange({1, 2, 3, 4});
        dialog->show();
        return dialog;
    }
    static std::unique_ptr<CStepTimesDlg> openTimes() {
        auto dialog = std::make_unique<CStepTimesDlg>();
        dialog->setRange({1, 2, 3});
        dialog->show();
        return dialog;
    }
    template <typename W = QLineEdit> static W* child(QWidget* dialog, const QString& name) {
        return findWidget<W>(dialog, name);
    }
    static QStringList copyTexts(QWidget* dialog) {
        QStringList texts;
        for (const char* name : {"sourceFromEdit", "sourceToEdit", "destFromEdit", "destToEdit"}) {
            texts << child(dialog, name)->text();
        }
        return texts;
    }
    // Replaces the whole text key by key, as a user does after selecting it.
    static void retype(QLineEdit* line, const QString& keys) {
        line->selectAll();
        QTest::keyClicks(line, keys);
    }
};

void RangeDialogsTest::copyOpensWithTheCallersNumbersAndFocusOnConfirm() {
    const auto dialog = openCopy();
    QCOMPARE(copyTexts(dialog.get()), (QStringList{"1", "2", "3", "4"}));
    auto* ok = child<QPushButton>(dialog.get(), "okButton");
    QCOMPARE(dialog->focusWidget(), ok);
    QVERIFY(ok->isDefault());
    QCOMPARE(ok->text(), QStringLiteral("Копировать"));
}

void RangeDialogsTest::copyTabOrderSkipsTheComputedEnd() {
    const auto dialog = openCopy();
    QWidget* widget = child<QPushButton>(dialog.get(), "okButton");
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
    QVERIFY(child(dialog.get(), "destToEdit")->isReadOnly());
}

void RangeDialogsTest::copyTyping_data() {
    QTest::addColumn<QString>("editName");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("numbers");

    QTest::newRow("start beyond end")
        << "sourceFromEdit"
        << "5" << QStringList{"5", "5", "3", "3"} << QList<int>{5, 5, 3, 3};
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
    retype(child(dialog.get(), editName), keys);
    QCOMPARE(copyTexts(dialog.get()), texts);
    dialog->accept();
    const CopyRange range = dialog->range();
    QCOMPARE((QList<int>{range.sourceFrom, range.sourceTo, range.destFrom, range.destTo}), numbers);
}

void RangeDialogsTest::copyThirdDigitKeepsTheCaretAtTheEnd() {
    const auto dialog = openCopy();
    QLineEdit* end = child(dialog.get(), "sourceToEdit");
    end->selectAll();
    QTest::keyClick(end, Qt::Key_Delete);
    QCOMPARE(end->text(), QString());
    QTest::keyClicks(end, "700");
    QCOMPARE(end->text(), QStringLiteral("70"));
    QCOMPARE(end->cursorPosition(), 2);
    QCOMPARE(child(dialog.get(), "destToEdit")->text(), QStringLiteral("72"));

    // A rewritten edit other than the source end gets its caret at the start.
    QLineEdit* start = child(dialog.get(), "sourceFromEdit");
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
    QLineEdit* start = child(dialog.get(), "sourceFromEdit");
    start->setCursorPosition(1);
    QTest::keyClicks(start, "a-");
    QCOMPARE(start->text(), QStringLiteral("1"));
    QCOMPARE(start->cursorPosition(), 1);
}

void RangeDialogsTest::copyConfirmAndCancel_data() {
    QTest::addColumn<QString>("button"); // empty: the key below goes to the edit
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("confirm") << "okButton" << 0 << true;
    QTest::newRow("cancel") << "cancelButton" << 0 << false;
    QTest::newRow("enter") << QString() << int(Qt::Key_Return) << true;
    QTest::newRow("escape") << QString() << int(Qt::Key_Escape) << false;
}

void RangeDialogsTest::copyConfirmAndCancel() {
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(bool, accepted);

    const auto dialog = openCopy();
    QLineEdit* dest = child(dialog.get(), "destFromEdit");
    retype(dest, "9");
    if (button.isEmpty()) {
        QTest::keyClick(dest, Qt::Key(key));
    } else {
        QTest::mouseClick(child<QPushButton>(dialog.get(), button), Qt::LeftButton);
    }
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog->range().destFrom, accepted ? 9 : 3);
    QCOMPARE(dialog->range().destTo, accepted ? 10 : 4);
}

void RangeDialogsTest::timesOpensWithStepsAndSliderCaption() {
    const auto dialog = openTimes();
    QCOMPARE(child(dialog.get(), "stepFromEdit")->text(), QStringLiteral("1"));
    QCOMPARE(child(dialog.get(), "stepToEdit")->text(), QStringLiteral("2"));
    auto* slider = child<QSlider>(dialog.get(), "timeSlider");
    QCOMPARE(slider->value(), 100);
    QCOMPARE(slider->minimum(), 5);
    QCOMPARE(slider->maximum(), 2560);
    QCOMPARE(child<QGroupBox>(dialog.get(), "timeGroup")->title(), QStringLiteral("1000"));
    QCOMPARE(dialog->focusWidget(), child<QPushButton>(dialog.get(), "okButton"));
}

void RangeDialogsTest::timesSliderNotchChangesTheCaptionByTen() {
    const auto dialog = openTimes();
    auto* slider = child<QSlider>(dialog.get(), "timeSlider");
    auto* caption = child<QGroupBox>(dialog.get(), "timeGroup");
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
}

void RangeDialogsTest::timesTyping() {
    QFETCH(QString, editName);
    QFETCH(QString, keys);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, caret);

    const auto dialog = openTimes();
    QLineEdit* typed = child(dialog.get(), editName);
    retype(typed, keys);
    QCOMPARE(child(dialog.get(), "stepFromEdit")->text(), from);
    QCOMPARE(child(dialog.get(), "stepToEdit")->text(), to);
    QCOMPARE(typed->cursorPosition(), caret);
}

void RangeDialogsTest::timesKeepsAnyCharacters() {
    const auto dialog = openTimes();
    QLineEdit* start = child(dialog.get(), "stepFromEdit");
    retype(start, "4");
    start->selectAll();
    QTest::sendKeyEvent(QTest::Click, start, Qt::Key_unknown, QStringLiteral("ж"), Qt::NoModifier);
    QCOMPARE(start->text(), QStringLiteral("ж"));
    dialog->accept();
    QCOMPARE(dialog->range().stepFrom, 4);
    QCOMPARE(dialog->range().stepTo, 4);
}

void RangeDialogsTest::timesConfirmAndCancel() {
    for (const char* button : {"okButton", "cancelButton"}) {
        const bool accepted = QByteArray(button) == "okButton";
        const auto dialog = openTimes();
        retype(child(dialog.get(), "stepToEdit"), "30");
        child<QSlider>(dialog.get(), "timeSlider")->setValue(250);
        QTest::mouseClick(child<QPushButton>(dialog.get(), button), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(dialog->range().stepFrom, 1);
        QCOMPARE(dialog->range().stepTo, accepted ? 30 : 2);
        QCOMPARE(dialog->range().timeValue, accepted ? 250 : 3);
    }
}

void RangeDialogsTest::dialogsHaveTheirTemplateSizeAndCaption() {
    const auto copy = openCopy();
    QCOMPARE(copy->windowTitle(), QStringLiteral("Копирование шагов"));
    QCOMPARE(copy->size(), QSize(255, 76));
    QCOMPARE(child<QPushButton>(copy.get(), "okButton")->geometry(), QRect(170, 42, 75, 23));
    const auto times = openTimes();
    QCOMPARE(times->windowTitle(), QStringLiteral("Время шагов"));
    QCOMPARE(times->size(), QSize(279, 153));
    QCOMPARE(child<QSlider>(times.get(), "timeSlider")->geometry(), QRect(11, 85, 258, 24));
}

} // namespace tevra

QTEST_MAIN(tevra::RangeDialogsTest)
#include "RangeDialogsTest.moc"
