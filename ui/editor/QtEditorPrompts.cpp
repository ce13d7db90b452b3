#include "ui/editor/QtEditorPrompts.h"

#include "files/ProgramFile.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tevra {

namespace {

QString chooseFile(QWidget* parent, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    // The open dialog takes any name; a missing file is reported when it cannot be opened.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(
        {QStringLiteral("Двоичный файл (*.tvr)"), QStringLiteral("All Files (*.*)")});
    dialog.setDefaultSuffix(QString::fromLatin1(kProgramFileExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtEditorPrompts::openFileName(QWidget* parent) {
    return chooseFile(parent, QFileDialog::AcceptOpen);
}

QString QtEditorPrompts::saveFileName(QWidget* parent) {
    return chooseFile(parent, QFileDialog::AcceptSave);
}

void QtEditorPrompts::showMessage(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

EditorPrompts::SaveChoice QtEditorPrompts::askSaveChanges(QWidget* parent) {
    const auto answer = QMessageBox::question(
        parent, QCoreApplication::applicationName(), QString::fromUtf8(kSaveChangesQuestion),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    switch (answer) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

} // namespace tevra
