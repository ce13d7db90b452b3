#include "ui/dialogs/RangeEditBinding.h"

#include <QSignalBlocker>

namespace tevra {

void showEditText(QLineEdit& edit, const EditText& shown) {
    const QSignalBlocker blocker(&edit);
    const QString text = QString::fromStdU16String(shown.text);
    if (edit.text() != text) {
        edit.setText(text);
    }
    if (shown.selStart == shown.selEnd) {
        edit.setCursorPosition(shown.selStart);
    } else {
        edit.setSelection(shown.selStart, shown.selEnd - shown.selStart);
    }
}

void readEditSelection(const QLineEdit& edit, int& start, int& end) {
    if (edit.hasSelectedText()) {
        start = edit.selectionStart();
        end = start + edit.selectionLength();
    } else {
        start = edit.cursorPosition();
        end = start;
    }
}

} // namespace tevra
