#pragma once

#include <QIcon>

namespace tevra {

// Registers the bundled bitmaps and icon; safe to call more than once. A static library's
// resources are only linked in when something asks for them.
void initResources();

// Icon 128, large and small.
QIcon appIcon();

} // namespace tevra
