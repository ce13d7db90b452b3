#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace tevra {

// The named child; a missing one ends the test run, as every later step would fail on it.
template <typename W> W* findWidget(const QObject* parent, const QString& name) {
    W* found = parent->findChild<W*>(name);
    if (found == nullptr) {
        qFatal("no widget %s", qPrintable(name));
    }
    return found;
}

} // namespace tevra
