// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "assets/Assets.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE declares a function of its own and must stand outside any
// namespace.
static void registerAssets()
{
    Q_INIT_RESOURCE(assets);
}

namespace tunefold {

void initAssets()
{
    static const bool registered = (registerAssets(), true);
    Q_UNUSED(registered);
}

} // namespace tunefold
