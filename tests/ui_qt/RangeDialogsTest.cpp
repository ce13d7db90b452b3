#include "ui/dialogs/CCopyStepsDlg.h"
#include "ui/dialogs/CStepTimesDlg.h"

#include <QtTest>
#include <QtWidgets>

using namespace tevra;

// The rules live in the toolkit-free forms; they are checked here through the windows, which
// forward every key and show the forms' texts and carets.
class RangeDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void editsShowAndKeepTheSettledNumbers_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* script, const char* shown) {
            QTest::newRow(script) << QString::fromUtf8(script) << QString::fromUtf8(shown);
        };
        // The copy dialog opens on 1-2 copied to 3-4 and takes digits only.
        row("copy", "[]1|[]2|[]3|[]4 = 1 2 3 4");
        // Not rewritten, so the caret stays behind the typed digit.
        row("copy a=5", "5[]|[]5|[]3|[]3 = 5 5 3 3");
        row("copy b=10 c=495", "[]1|10[]|495[]|[]500 = 1 10 495 500");
        // Zero is out of range: put back, caret at the start; in the end field it gives the start.
        row("copy a=0", "[]1|[]2|[]3|[]4 = 1 2 3 4");
        row("copy c=0", "[]1|[]2|[]3|[]4 = 1 2 3 4");
        row("copy b=0", "[]1|1[]|[]3|[]3 = 1 1 3 3");
        // The third digit reads above the last step: refused, the caret stays at the end.
        row("copy b: b+700", "[]1|70[]|[]3|[]72 = 1 70 3 72");
        // The retry reads 50, below the start 99.
        row("copy a=99 b:505", "99[]|99[]|[]3|[]3 = 99 99 3 3");
        row("copy b=8 b: c:", "[]1|[]|[]|[]10 = 1 8 3 10");
        row("copy a:1234", "[]123|[]123|[]3|[]3 = 123 123 3 3");
        // The source-end edit gets its caret back, clamped to the shorter text.
        row("copy b=1234", "[]1|123[]|[]3|[]125 = 1 123 3 125");
        row("copy b^ a=9", "9[]|[9]|[]3|[]3 = 9 9 3 3");
        row("copy c=495 b=10", "[]1|10[]|495[]|[]500 = 1 10 495 500");
        row("copy b=999 b=000", "[]1|100[]|[]3|[]102 = 1 100 3 102");
        row("copy a=500 c=500 b=1", "500[]|5[]00|500[]|[]500 = 500 500 500 500");
        row("copy a+a-", "1[]|[]2|[]3|[]4 = 1 2 3 4");
        row("copy b: hide", "[]1|[]|[]3|[]4 = 1 2 3 4");
        row("copy c=499 ok", "[]1|[]2|499[]|[]500 = 1 2 499 500 accepted");
        row("copy c=9 Return", "[]1|[]2|9[]|[]10 = 1 2 9 10 accepted");
        row("copy c=9 cancel", "[]1|[]2|9[]|[]10 = 1 2 3 4 rejected");
        row("copy c=9 Escape", "[]1|[]2|9[]|[]10 = 1 2 3 4 rejected");
        // The step-times dialog opens on steps 1-2 with time 3, which the slider replaces as it
        // shows; the caption counts milliseconds. Its edits keep any character.
        row("times", "[]1|[]2 1000 = 1 2 100");
        row("times a: a=7", "7[]|[]7 1000 = 7 7 100");
        row("times b: b+6 b+0 b+0", "[]1|[]60 1000 = 1 60 100");
        // An end out of range is read again from its first two characters, at least the start.
        row("times a=4 b:0", "4[]|[]4 1000 = 4 4 100");
        row("times a=9 b:000", "9[]|[]9 1000 = 9 9 100");
        row("times a=4 b:999", "4[]|[]99 1000 = 4 99 100");
        row("times a=60 b:510", "60[]|[]60 1000 = 60 60 100");
        row("times a=4 b:-", "4[]|-[] 1000 = 4 4 100");
        row("times a=5 a=ab", "ab[]|[]5 1000 = 5 5 100");
        // A start out of range is put back; typed key by key, its third digit is refused and a
        // fourth lands before the rest.
        row("times a:0", "[]1|[]2 1000 = 1 2 100");
        row("times a:501", "[]1|[]2 1000 = 1 2 100");
        row("times a=501", "[]50|[]50 1000 = 50 50 100");
        row("times a=5012", "2[]50|[]250 1000 = 250 250 100");
        row("times a=4 a=ж hide", "[ж]|[]4 1000 = 4 4 100");
        row("times s:Right", "[]1|[]2 1010 = 1 2 101");
        row("times s:PgDown s:Left", "[]1|[]2 980 = 1 2 98");
        row("times b=30 s:Home ok", "[]1|30[] 50 = 1 30 5 accepted");
        row("times b=30 s:Home cancel", "[]1|30[] 50 = 1 2 3 rejected");
    }

    // After the dialog's name, one input per word: a field letter (a: the first edit), then
    // "=" and keys typed over the whole text, "+" and keys typed at its end, ":" and a text
    // pasted over the whole text, or "^" to select its first character; s:key presses a key on
    // the time slider; ok and cancel click those buttons, Return and Escape press those keys in
    // the focused edit, hide hides and shows the dialog again. An open dialog is confirmed at
    // the end to read its numbers.
    void editsShowAndKeepTheSettledNumbers() {
        QFETCH(QString, script);
        QFETCH(QString, shown);
        const bool copy = script.startsWith("copy");
        CCopyStepsDlg copyDialog;
        copyDialog.setRange({1, 2, 3, 4});
        CStepTimesDlg timesDialog;
        timesDialog.setRange({1, 2, 3});
        QDialog& dialog = copy ? static_cast<QDialog&>(copyDialog) : timesDialog;
        const QStringList edits =
            copy ? QStringList{"sourceFromEdit", "sourceToEdit", "destFromEdit", "destToEdit"}
                 : QStringList{"stepFromEdit", "stepToEdit"};
        dialog.show();
        for (const QString& word : script.split(' ').mid(1)) {
            if (word == "ok" || word == "cancel") {
                QTest::mouseClick(dialog.findChild<QPushButton*>(word + "Button"), Qt::LeftButton);
            } else if (word == "hide") {
                dialog.hide();
                dialog.show();
            } else if (word.startsWith("s:")) {
                QTest::keyClick(dialog.findChild<QSlider*>("timeSlider"),
                                QKeySequence(word.mid(2))[0].key());
            } else if (QString("=+:^").contains(word[1])) {
                auto* edit = dialog.findChild<QLineEdit*>(edits[word[0].unicode() - 'a']);
                edit->setFocus();
                word[1] == '+' ? edit->end(false) : edit->setSelection(0, word[1] == '^' ? 1 : 99);
                if (word[1] == ':') {
                    edit->insert(word.mid(2));
                } else if (word[1] != '^') {
                    for (const QChar key : word.mid(2)) {
                        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, key,
                                            Qt::NoModifier);
                    }
                }
            } else {
                QTest::keyClick(dialog.focusWidget(), QKeySequence(word)[0].key());
            }
        }
        // Every edit's text with its selection as "[" and "]", the time caption, the numbers
        // and how the dialog closed.
        QStringList parts;
        for (const QString& name : edits) {
            const auto* edit = dialog.findChild<QLineEdit*>(name);
            const int start =
                edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
            parts << edit->text()
                         .insert(edit->hasSelectedText() ? edit->selectionEnd() : start, ']')
                         .insert(start, '[');
        }
        QString text = parts.join('|');
        if (!copy) {
            text += " " + dialog.findChild<QGroupBox*>("timeGroup")->title();
        }
        const QString closed = dialog.isVisible()                     ? QString()
                               : dialog.result() == QDialog::Accepted ? " accepted"
                                                                      : " rejected";
        if (closed.isEmpty()) {
            dialog.accept();
        }
        const CopyRange c = copyDialog.range();
        const StepTimesRange t = timesDialog.range();
        text += copy ? QStringLiteral(" = %1 %2 %3 %4")
                           .arg(c.sourceFrom)
                           .arg(c.sourceTo)
                           .arg(c.destFrom)
                           .arg(c.destTo)
                     : QStringLiteral(" = %1 %2 %3").arg(t.stepFrom).arg(t.stepTo).arg(t.timeValue);
        QCOMPARE(text + closed, shown);
    }

    void dialogsFollowTheirTemplates() {
        CCopyStepsDlg copy;
        copy.show();
        QCOMPARE(copy.windowTitle(), QStringLiteral("Копирование шагов"));
        auto* ok = copy.findChild<QPushButton*>("okButton");
        QVERIFY(ok->isDefault());
        // Focus starts on the confirm button; Tab skips the computed end.
        QStringList order;
        for (QWidget* widget = copy.focusWidget(); order.size() < 6;
             widget = widget->nextInFocusChain()) {
            if (widget->focusPolicy() & Qt::TabFocus) {
                order << widget->objectName();
            }
        }
        QCOMPARE(order, (QStringList{"okButton", "cancelButton", "sourceFromEdit", "sourceToEdit",
                                     "destFromEdit", "okButton"}));
        QVERIFY(copy.findChild<QLineEdit*>("destToEdit")->isReadOnly());
        CStepTimesDlg times;
        times.show();
        QCOMPARE(times.focusWidget(), times.findChild<QPushButton*>("okButton"));
        QCOMPARE(times.windowTitle(), QStringLiteral("Время шагов"));
        const auto* slider = times.findChild<QSlider*>("timeSlider");
        QCOMPARE((QList<int>{slider->minimum(), slider->maximum()}), (QList<int>{5, 2560}));
    }
};

QTEST_MAIN(RangeDialogsTest)
#include "RangeDialogsTest.moc"
