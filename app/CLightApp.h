#pragma once

#include <QApplication>
#include <QTranslator>

namespace tevra {

// The application object: runs the editor window modally; the process ends with it.
class CLightApp : public QApplication {
    Q_OBJECT

public:
    CLightApp(int& argc, char** argv);

    // Returns the process's exit status once the editor has closed. A programFile is read as
    // soon as the editor shows, so that a refusal is reported over it as "Прочитать" reports it.
    int run(const QString& programFile);

private:
    QTranslator m_qtTranslator;
};

} // namespace tevra
