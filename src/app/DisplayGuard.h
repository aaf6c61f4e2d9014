// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace tunefold {

// Stands guard while the application object connects to the display. Qt
// answers a missing display with a fatal error, its advice to reinstall and
// an abort; under the guard the program instead says in one line on standard
// error that it needs a desktop session and that tunefold-list works without
// one, and ends with status 1. Qt's other messages are held back meanwhile
// and passed on when the guard ends.
class DisplayGuard
{
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard &) = delete;
    DisplayGuard &operator=(const DisplayGuard &) = delete;

private:
    QtMessageHandler m_previous;
};

} // namespace tunefold
