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
    void dialogsForwardTheKeysAndReturnTheRange_data();
    void dialogsForwardTheKeysAndReturnTheRange();
    void dialogsFollowTheirTemplates();
};

namespace {

QStringList editNames(const QDialog& dialog) {
    return qobject_cast<const CCopyStepsDlg*>(&dialog) != nullptr
               ? QStringList{"sourceFromEdit", "sourceToEdit", "destFromEdit", "destToEdit"}
               : QStringList{"stepFromEdit", "stepToEdit"};
}

// Every edit's text with its selection as "[" and "]", then the focused control, the time
// caption, and how the dialog closed with the range it returns.
QString shown(QDialog& dialog) {
    QStringList parts;
    for (const QString& name : editNames(dialog)) {
        const auto* edit = findWidget<QLineEdit>(&dialog, name);
        const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        const int end = edit->hasSelectedText() ? edit->selectionEnd() : start;
        parts << edit->text().insert(end, ']').insert(start, '[');
    }
    QString text = parts.join('|') + " " + dialog.focusWidget()->objectName();
    if (const auto* times = qobject_cast<CStepTimesDlg*>(&dialog)) {
        const StepTimesRange r = times->range();
        text += " " + findWidget<QGroupBox>(&dialog, "timeGroup")->title();
        text += QStringLiteral(" = %1 %2 %3").arg(r.stepFrom).arg(r.stepTo).arg(r.timeValue);
    } else {
        const CopyRange r = qobject_cast<CCopyStepsDlg*>(&dialog)->range();
        text += QStringLiteral(" = %1 %2 %3 %4")
                    .arg(r.sourceFrom)
                    .arg(r.sourceTo)
                    .arg(r.destFrom)
                    .arg(r.destTo);
    }
    return dialog.isVisible()
               ? text
               : text + (dialog.result() == QDialog::Accepted ? " accepted" : " rejected");
}

} // namespace

void RangeDialogsTest::dialogsForwardTheKeysAndReturnTheRange_data() {
    QTest::addColumn<bool>("copy");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("shown");
    const auto copy = [](const char* name, const char* script, const char* shown) {
        QTest::newRow(name) << true << QString::fromUtf8(script) << QString::fromUtf8(shown);
    };
    const auto times = [](const char* name, const char* script, const char* shown) {
        QTest::newRow(name) << false << QString::fromUtf8(script) << QString::fromUtf8(shown);
    };
    copy("copy opens", "", "[]1|[]2|[]3|[]4 okButton = 1 2 3 4");
    copy("start beyond end", "a=5", "5[]|[]5|[]3|[]3 sourceFromEdit = 1 2 3 4");
    copy("third digit", "b: b+700", "[]1|70[]|[]3|[]72 sourceToEdit = 1 2 3 4");
    copy("shown again", "b: hide", "[]1|[]|[]3|[]4 sourceToEdit = 1 2 3 4");
    copy("digits only", "a+a-", "1[]|[]2|[]3|[]4 sourceFromEdit = 1 2 3 4");
    copy("confirm", "c=499 ok", "[]1|[]2|499[]|[]500 okButton = 1 2 499 500 accepted");
    copy("enter", "c=9 Return", "[]1|[]2|9[]|[]10 destFromEdit = 1 2 9 10 accepted");
    copy("cancel", "c=9 cancel", "[]1|[]2|9[]|[]10 cancelButton = 1 2 3 4 rejected");
    copy("escape", "c=9 Escape", "[]1|[]2|9[]|[]10 destFromEdit = 1 2 3 4 rejected");
    times("times open", "", "[]1|[]2 okButton 1000 = 1 2 3");
    times("start pulls end", "a=7", "7[]|[]7 stepFromEdit 1000 = 1 2 3");
    times("end above the last step", "b=600", "[]1|[]60 stepToEdit 1000 = 1 2 3");
    // Any character stays, and stays when the dialog shows again.
    times("letters", "a=4 a=ж hide ok", "[ж]|[]4 okButton 1000 = 4 4 100 accepted");
    times("slider notches", "s:Right", "[]1|[]2 okButton 1010 = 1 2 3");
    times("slider page and notch", "s:PgDown s:Left", "[]1|[]2 okButton 980 = 1 2 3");
    times("confirm", "b=30 s:Home ok", "[]1|30[] okButton 50 = 1 30 5 accepted");
    times("cancel", "b=30 s:Home cancel", "[]1|30[] cancelButton 50 = 1 2 3 rejected");
}

// One input per word: a field letter (a: the first edit) then "=" and keys typed over the
// whole text, "+" and keys typed at its end, or ":" to delete it; s:key presses a key on the
// time slider; ok and cancel click those buttons, Return and Escape press those keys in the
// focused edit, hide hides and shows the dialog again.
void RangeDialogsTest::dialogsForwardTheKeysAndReturnTheRange() {
    QFETCH(bool, copy);
    QFETCH(QString, script);
    QFETCH(QString, shown);
    std::unique_ptr<QDialog> dialog;
    if (copy) {
        auto copyDialog = std::make_unique<CCopyStepsDlg>();
        copyDialog->setRange({1, 2, 3, 4});
        dialog = std::move(copyDialog);
    } else {
        auto timesDialog = std::make_unique<CStepTimesDlg>();
        timesDialog->setRange({1, 2, 3});
        dialog = std::move(timesDialog);
    }
    dialog->show();
    for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
        if (word == "ok" || word == "cancel") {
            QTest::mouseClick(findWidget<QPushButton>(dialog.get(), word + "Button"),
                              Qt::LeftButton);
        } else if (word == "hide") {
            dialog->hide();
            dialog->show();
        } else if (word.startsWith("s:")) {
            QTest::keyClick(findWidget<QSlider>(dialog.get(), "timeSlider"),
                            QKeySequence(word.mid(2))[0].key());
        } else if (word[0].isLower() && word.size() > 1) {
            auto* edit =
                findWidget<QLineEdit>(dialog.get(), editNames(*dialog)[word[0].unicode() - 'a']);
            edit->setFocus();
            word[1] == '+' ? edit->end(false) : edit->selectAll();
            if (word[1] == ':') {
                QTest::keyClick(edit, Qt::Key_Delete);
            }
            for (const QChar key : word.mid(2)) {
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(key),
                                    Qt::NoModifier);
            }
        } else {
            QTest::keyClick(dialog->focusWidget(), QKeySequence(word)[0].key());
        }
    }
    QCOMPARE(tevra::shown(*dialog), shown);
}

void RangeDialogsTest::dialogsFollowTheirTemplates() {
    CCopyStepsDlg copy;
    copy.show();
    QCOMPARE(copy.windowTitle(), QStringLiteral("Копирование шагов"));
    QCOMPARE(copy.size(), QSize(255, 76));
    auto* ok = findWidget<QPushButton>(&copy, "okButton");
    QCOMPARE(ok->geometry(), QRect(170, 42, 75, 23));
    QCOMPARE(ok->text(), QStringLiteral("Копировать"));
    QVERIFY(ok->isDefault());
    // Tab skips the computed end.
    QStringList order;
    for (QWidget* widget = ok; order.size() < 6; widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() & Qt::TabFocus) {
            order << widget->objectName();
        }
    }
    QCOMPARE(order, (QStringList{"okButton", "cancelButton", "sourceFromEdit", "sourceToEdit",
                                 "destFromEdit", "okButton"}));
    QVERIFY(findWidget<QLineEdit>(&copy, "destToEdit")->isReadOnly());

    CStepTimesDlg times;
    QCOMPARE(times.windowTitle(), QStringLiteral("Время шагов"));
    QCOMPARE(times.size(), QSize(279, 153));
    auto* slider = findWidget<QSlider>(&times, "timeSlider");
    QCOMPARE(slider->geometry(), QRect(11, 85, 258, 24));
    QCOMPARE(QList<int>({slider->minimum(), slider->value(), slider->maximum()}),
             QList<int>({5, 100, 2560}));
}

} // namespace tevra

QTEST_MAIN(tevra::RangeDialogsTest)
#include "RangeDialogsTest.moc"
