#pragma once

#include "ui/editor/EditorPrompts.h"

namespace tevra {

inline constexpr const char* kSaveChangesQuestion = "Сохранить изменения в программе?";

// The real dialogs: Qt's file dialogs with the program file filter and QMessageBox.
class QtEditorPrompts : public EditorPrompts {
public:
    QString openFileName(QWidget* parent) override;
    QString saveFileName(QWidget* parent) override;
    void showMessage(QWidget* parent, const QString& text, const QString& caption) override;
    SaveChoice askSaveChanges(QWidget* parent) override;
};

} // namespace tevra
