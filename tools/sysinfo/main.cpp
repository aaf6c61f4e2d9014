// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SysInfoWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tunefold-sysinfo"));
    tunefold::sysinfo::SysInfoWindow window;
    window.show();
    return QApplication::exec();
}
