// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayScale.h"

#include "about/frmAbout.h"
#include "app/Application.h"
#include "forms/Twips.h"
#include "main_window/frmMain.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>

namespace tunefold {

namespace {

// The window manager's frame is not known until the window is shown, and by
// then the scale is fixed. It is reckoned as most desktops draw it: borders
// of 4 pixels and a title bar of one and a half lines of the desktop's font
// and 4 pixels more.
constexpr int FrameBorder = 4;

QSize frameAround(const QFont &font)
{
    const int titleBar = qRound(1.5 * QFontMetrics(font).height()) + 4;
    return {2 * FrameBorder, titleBar + FrameBorder};
}

} // namespace

double displayScale()
{
    // The main window opens on the primary screen.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QFont font = QApplication::font();
    const double fitted =
        fitTwipsScale(font, screen ? screen->logicalDotsPerInch() : 96,
                      frmMain::layoutTexts() + frmAbout::layoutTexts(programIdentity()));
    if (!screen)
        return fitted;
    // The menu bar at the desktop's font, which the windows' own font never
    // exceeds.
    const QSize room = screen->availableGeometry().size() - frameAround(font) -
                       QSize(0, frmMain::menuBarHeight(font));
    return scaleWithin(fitted, frmMain::clientTwips(), room);
}

} // namespace tunefold
