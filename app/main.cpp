#include "app/CLightApp.h"

int main(int argc, char* argv[]) {
    tevra::CLightApp app(argc, argv);
    return app.run();
}
