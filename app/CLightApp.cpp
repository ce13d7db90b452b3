#include "app/CLightApp.h"

#include "app/Version.h"
#include "ui/editor/CEditorDlg.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>

namespace tevra {

CLightApp::CLightApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No application name is set: Qt takes it from the executable, as the profile expects.
    setApplicationVersion(QString::fromLatin1(kVersionText));
    // The name of the installed menu entry, by which a Wayland desktop finds the window's icon.
    setDesktopFileName(QStringLiteral("org.tevra.Velmora_N1"));
    // Qt's own buttons and file dialogs speak the language of the window texts.
    if (m_qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(&m_qtTranslator);
    }
}

int CLightApp::run(const QString& programFile) {
    CEditorDlg editor;
    if (!programFile.isEmpty()) {
        QTimer::singleShot(0, &editor, [&editor, programFile] { editor.loadProgram(programFile); });
    }
    editor.exec();
    return 0;
}

} // namespace tevra
