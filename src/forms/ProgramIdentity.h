// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tunefold {

// Who the windows speak for, handed down by the program that opens them, so
// that no window reaches up into the program for its name or its folder.
struct ProgramIdentity
{
    QString title;   // on message boxes and in the About box
    QString version; // "1.0.12"
    QString folder;  // where hand.cur and machine.reg stand, without a closing "/"

    [[nodiscard]] QString file(const QString &name) const
    {
        return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
    }
};

} // namespace tunefold
