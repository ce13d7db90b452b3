#pragma once

#include "ui/EditorPrompts.h"

#include <QList>
#include <QStringList>
#include <vector>

namespace tevra {

struct PromptMessage {
    QString text;
    QString caption;
};

// Answers the editor's file choosers from lists and records its message boxes.
class FakeEditorPrompts : public EditorPrompts {
public:
    QStringList openNames;
    QStringList saveNames;
    std::vector<PromptMessage> messages;
    QList<SaveChoice> saveChoices;
    int saveQuestions = 0;

    QString openFileName(QWidget*) override {
        return openNames.isEmpty() ? QString() : openNames.takeFirst();
    }
    QString saveFileName(QWidget*) override {
        return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
    }
    void showMessage(QWidget*, const QString& text, const QString& caption) override {
        messages.push_back({text, caption});
    }
    SaveChoice askSaveChanges(QWidget*) override {
        ++saveQuestions;
        return saveChoices.isEmpty() ? SaveChoice::Cancel : saveChoices.takeFirst();
    }
};

} // namespace tevra
