// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppIdentity.h"
#include "app/Application.h"
#include "app/DisplayGuard.h"
#include "app/DisplayScale.h"
#include "assets/Assets.h"
#include "main_window/frmMain.h"

#include <QIcon>
#include <memory>

int main(int argc, char *argv[])
{
    auto guard = std::make_unique<tunefold::DisplayGuard>();
    tunefold::Application app(argc, argv);
    guard.reset();
    tunefold::initAssets();
    QApplication::setApplicationName(QString::fromLatin1(tunefold::app::Title));
    QApplication::setApplicationVersion(tunefold::app::versionNumber());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon16.png")));
    // Lets desktops match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.harrowfen.Tunefold"));

    // The window's Form_Load runs inside its constructor; if it fails the
    // window is never shown.
    std::unique_ptr<tunefold::frmMain> window;
    try {
        window = std::make_unique<tunefold::frmMain>(tunefold::displayScale(),
                                                     tunefold::programIdentity());
    } catch (...) {
        tunefold::reportRuntimeError(tunefold::RuntimeError::from(std::current_exception()));
        return EXIT_FAILURE;
    }
    window->show();
    return QApplication::exec();
}
