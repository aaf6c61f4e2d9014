// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayScale.h"

#include "about/frmAbout.h"
#include "app/Application.h"
#include "forms/Twips.h"
#include "main_window/frmMain.h"

#include <QApplication>
#include <QScreen>

namespace tunefold {

double displayScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return fitTwipsScale(QApplication::font(), screen ? screen->logicalDotsPerInch() : 96,
                         frmMain::layoutTexts() + frmAbout::layoutTexts(programIdentity()));
}

} // namespace tunefold
