// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// tunefold-bench-window: an empty Qt window of the main window's size, the
// baseline for the start-up figure. It stays until it is ended.

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("tunefold-bench-window"));
    window.resize(486, 335);
    window.show();
    return app.exec();
}
