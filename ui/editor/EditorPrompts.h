#pragma once

#include <QString>

class QWidget;

namespace tevra {

// The file choosers and message boxes the editor asks through, so that tests can answer
// them without native dialogs.
class EditorPrompts {
public:
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~EditorPrompts() = default;

    // An empty name means the user cancelled.
    virtual QString openFileName(QWidget* parent) = 0;
    // Asks before replacing an existing file; an empty name means the user cancelled.
    virtual QString saveFileName(QWidget* parent) = 0;
    // A modal box with an OK button.
    virtual void showMessage(QWidget* parent, const QString& text, const QString& caption) = 0;
    // Closing with unsaved changes: save them, drop them, or stay.
    virtual SaveChoice askSaveChanges(QWidget* parent) = 0;
};

} // namespace tevra
