#pragma once

#include "model/ProgramImage.h"

#include <QString>

class QWidget;

namespace tevra {

class EditorPrompts;
struct FileOutcome;

// The editor's program files: the choosers, the reading and writing, and the message for
// each refusal or failure, worded as the editor words them.
class ProgramFileDialogs {
public:
    ProgramFileDialogs(EditorPrompts& prompts, QWidget* parent);

    // Empty when the chooser was cancelled.
    QString chooseFileToOpen();
    // False once a refusal or failure has been reported; an empty name, as from a cancelled
    // chooser, reads nothing and leaves image untouched.
    bool read(const QString& fileName, ProgramImage& image);
    // Asks for a name and writes image there; false when cancelled or after a reported
    // failure.
    bool save(const ProgramImage& image);

private:
    void report(const FileOutcome& outcome, const QString& fileName);

    EditorPrompts& m_prompts;
    QWidget* m_parent;
};

} // namespace tevra
