#include "app/CLightApp.h"
#include "app/StartOptions.h"
#include "files/Utf8Arguments.h"

#include <QFile>
#include <iostream>

int main(int argc, char* argv[]) {
    tevra::Utf8Arguments arguments(argc, argv);
    // Before the application object, which needs a display: --help, --version and a wrong
    // argument are answered without one.
    const tevra::StartOptions options =
        tevra::parseStartOptions(arguments.argc(), arguments.argv(), std::cout, std::cerr);
    if (options.exitStatus) {
        return *options.exitStatus;
    }
    // Qt takes its own arguments from the system again; the original ones suit it.
    tevra::CLightApp app(argc, argv);
#ifdef Q_OS_WIN
    return app.run(QString::fromStdString(options.programFile));
#else
    // A Linux file name is bytes in the locale's encoding, not necessarily UTF-8.
    return app.run(QFile::decodeName(options.programFile.c_str()));
#endif
}
