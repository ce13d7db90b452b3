#include "app/CLightApp.h"
#include "app/StartOptions.h"

#include <QFile>
#include <iostream>

int main(int argc, char* argv[]) {
    // Before the application object, which needs a display: --help, --version and a wrong
    // argument are answered without one.
    const tevra::StartOptions options = tevra::parseStartOptions(argc, argv, std::cout, std::cerr);
    if (options.exitStatus) {
        return *options.exitStatus;
    }
    tevra::CLightApp app(argc, argv);
    return app.run(QFile::decodeName(options.programFile.c_str()));
}
