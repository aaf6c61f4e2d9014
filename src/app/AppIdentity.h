// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Version.h" // Major, Minor, Revision

#include <QString>
#include <QtGlobal>

namespace tunefold::app {

// The one place that names the program.
inline constexpr char Title[] = "Tunefold";

// The three numbers in plain decimal joined by ".": "1.0.12".
[[nodiscard]] QString versionNumber(qint16 major = Major, qint16 minor = Minor,
                                    qint16 revision = Revision);

// The folder that holds the running executable, links resolved, without a
// closing "/" (except for "/" itself). hand.cur, machine.reg and the
// companion programs stand there.
[[nodiscard]] QString programFolder();

} // namespace tunefold::app
