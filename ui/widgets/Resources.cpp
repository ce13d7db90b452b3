#include "ui/widgets/Resources.h"

#include <QString>

// Q_INIT_RESOURCE must be expanded outside any namespace.
static void registerBundledResources() {
    Q_INIT_RESOURCE(tevra);
}

namespace tevra {

void initResources() {
    static const bool registered = [] {
        registerBundledResources();
        return true;
    }();
    (void)registered;
}

QIcon appIcon() {
    initResources();
    return QIcon(QStringLiteral(":/tevra.ico"));
}

} // namespace tevra
