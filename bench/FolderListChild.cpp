// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// tunefold-bench-folderlist PARENT NAME: the real main window, with PARENT
// open in its folder list; double-clicks the sub-folder NAME and prints, on
// one line, the seconds (wall and CPU) until the list is filled, painted and
// the event loop answers again, the rows shown, and the moment (monotonic
// seconds) at which it chooses File > Exit. The benchmark reads the peak memory and the moment
// the process ended. Not a tool for users.

#include "app/Application.h"
#include "app/DisplayScale.h"
#include "assets/Assets.h"
#include "main_window/FolderList.h"
#include "main_window/frmMain.h"

#include <QAction>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

double seconds(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double monotonicSeconds()
{
    return seconds(CLOCK_MONOTONIC);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: tunefold-bench-folderlist PARENT NAME\n", stderr);
        return 2;
    }
    tunefold::Application app(argc, argv);
    tunefold::initAssets();
    // Declared after the application, as in the program, so it goes first.
    auto window =
        std::make_unique<tunefold::frmMain>(tunefold::displayScale(), tunefold::programIdentity());
    window->show();
    tunefold::FolderList *list = window->Dir1;
    if (!QTest::qWaitForWindowExposed(window.get()) || list->setPath(QByteArray(argv[1])) != 0) {
        std::fprintf(stderr, "tunefold-bench-folderlist: cannot open %s\n", argv[1]);
        return 2;
    }
    const QModelIndexList found =
        list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                             QString::fromLocal8Bit(argv[2]), 1, Qt::MatchExactly);
    if (found.isEmpty()) {
        std::fprintf(stderr, "tunefold-bench-folderlist: no %s in %s\n", argv[2], argv[1]);
        return 2;
    }
    list->scrollTo(found.first());
    QTest::qWait(50);

    const double start = monotonicSeconds();
    const double startCpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
    // A user's double-click: a click, then a press that arrives as a
    // double-click, and its release.
    const QPoint at = list->visualRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    // Answering: the window painted with the new list, and a queued event
    // handled after that.
    window->repaint();
    bool answered = false;
    QTimer::singleShot(0, window.get(), [&answered] { answered = true; });
    while (!answered)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double filled = monotonicSeconds() - start;
    const double filledCpu = seconds(CLOCK_PROCESS_CPUTIME_ID) - startCpu;
    if (!list->Path().endsWith(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "tunefold-bench-folderlist: the double-click did not open %s\n",
                     argv[2]);
        return 2;
    }

    QTimer::singleShot(0, window.get(), [&] {
        std::printf("%.6f %.6f %d %.6f\n", filled, filledCpu, list->model()->rowCount(),
                    monotonicSeconds());
        std::fflush(stdout);
        window->MenuExit->trigger();
    });
    return QApplication::exec();
}
