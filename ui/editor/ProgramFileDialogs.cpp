#include "ui/editor/ProgramFileDialogs.h"

#include "files/ProgramFile.h"
#include "ui/editor/EditorPrompts.h"

#include <QCoreApplication>
#include <filesystem>

namespace tevra {

namespace {

std::filesystem::path toPath(const QString& fileName) {
    return std::filesystem::path(fileName.toStdU16String());
}

} // namespace

ProgramFileDialogs::ProgramFileDialogs(EditorPrompts& prompts, QWidget* parent)
    : m_prompts(prompts), m_parent(parent) {}

QString ProgramFileDialogs::chooseFileToOpen() {
    return m_prompts.openFileName(m_parent);
}

bool ProgramFileDialogs::read(const QString& fileName, ProgramImage& image) {
    if (fileName.isEmpty()) {
        return true;
    }
    const FileOutcome outcome = readProgramFile(toPath(fileName), image);
    if (!outcome.ok()) {
        report(outcome, fileName);
    }
    return outcome.ok();
}

bool ProgramFileDialogs::save(const ProgramImage& image) {
    const QString fileName = m_prompts.saveFileName(m_parent);
    if (fileName.isEmpty()) {
        return false;
    }
    const FileOutcome outcome = writeProgramFile(toPath(fileName), image);
    if (!outcome.ok()) {
        report(outcome, fileName);
    }
    return outcome.ok();
}

void ProgramFileDialogs::report(const FileOutcome& outcome, const QString& fileName) {
    const QString reason = QString::fromStdString(outcome.reason);
    QString text;
    switch (outcome.status) {
    case FileStatus::Done:
        return;
    case FileStatus::Refused:
        m_prompts.showMessage(m_parent, QString::fromUtf8(kFileRefusedText),
                              QString::fromUtf8(kFileRefusedCaption));
        return;
    case FileStatus::CannotOpen:
        text = QStringLiteral("Файл не может быть открыт:\n%1\n%2");
        break;
    case FileStatus::CannotRead:
        text = QStringLiteral("Файл не может быть прочитан:\n%1\n%2");
        break;
    case FileStatus::CannotWrite:
        text = QStringLiteral("Файл не может быть записан:\n%1\n%2");
        break;
    }
    m_prompts.showMessage(m_parent, text.arg(fileName, reason),
                          QCoreApplication::applicationName());
}

} // namespace tevra
