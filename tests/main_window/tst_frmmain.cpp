// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmAbout.h"
#include "app/Application.h"
#include "app/DisplayScale.h"
#include "doubles/Doubles.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/ProgramPointer.h"
#include "main_window/DriveList.h"
#include "main_window/FolderList.h"
#include "main_window/StatusBar.h"
#include "main_window/frmMain.h"
#include "platform/QtVolumeList.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStorageInfo>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <sys/mount.h>

using namespace tunefold;

class tst_frmMain : public QObject
{
    Q_OBJECT

    // The case's list, and the stick while it is mounted, told of changes by
    // the real mount table: the system's own list leaves a tmpfs out.
    struct ScriptedVolumes final : VolumeList
    {
        QList<Volume> m_list;
        QString stick;
        QtVolumeList system;
        QList<Volume> volumes() const override
        {
            const bool mounted = !stick.isEmpty() && QStorageInfo(stick).rootPath() == stick;
            return mounted ? m_list + QList<Volume>{{stick, {}}} : m_list;
        }
        void watch(std::function<void()> onChange) override { system.watch(std::move(onChange)); }
    };
    // Holds the folders of every case; drives() leaves the process in one.
    QTemporaryDir m_dir;
    std::unique_ptr<frmMain> w;
    ScriptedVolumes *m_volumes = nullptr; // the window's
    // What a case that changes the desktop's font or colours puts back.
    const QFont m_desktopFont = QApplication::font();
    const QPalette m_desktopColours = QApplication::palette();

    // Opens the window on the volumes, with a scripted save dialog and
    // message box, shown and active, the program-wide pointer not yet set;
    // at the program's own scale unless told another.
    void open(QList<Volume> volumes, double scale = displayScale(), const QString &stick = {})
    {
        ProgramPointer::set(ProgramPointer::Default);
        auto scripted = std::make_unique<ScriptedVolumes>();
        scripted->m_list = std::move(volumes);
        scripted->stick = stick;
        m_volumes = scripted.get();
        w = std::make_unique<frmMain>(
            scale, programIdentity(),
            frmMain::Platform{std::make_unique<test::ScriptedDialog>(),
                              std::make_unique<test::RecordingMessageBox>(), std::move(scripted),
                              TUNEFOLD_BIN_DIR "/hand.cur"});
        w->show();
        // Without a window manager, X hands the focus only once asked.
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    // Every label's and button's text shown in full in the font it is drawn with.
    static void shownInFull(const QWidget *window)
    {
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            const QRect box = label->contentsRect();
            const QRect text = label->fontMetrics().boundingRect(
                box, int(label->alignment()) | Qt::TextWordWrap, label->text());
            QVERIFY(text.width() <= box.width() && text.height() <= box.height());
        }
        for (QPushButton *button : window->findChildren<QPushButton *>()) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QSize room = button->style()
                                   ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                                   .size();
            const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
            QVERIFY(text.width() <= room.width() && text.height() <= room.height());
        }
    }

private Q_SLOTS:
    void init() { open({{"/", {}}}); }
    void cleanup()
    {
        QApplication::setFont(m_desktopFont);
        QApplication::setPalette(m_desktopColours);
    }

    // The pointer passes over the window in turn; after each step the status
    // text, the instruction's colour and the program-wide pointer's shape
    // (-1: none, each widget shows its own).
    void feedback()
    {
        const auto step = [&](QWidget *to, const QString &status, const QColor &colour, int shape) {
            // Left of the folder list, below the captions: nothing but the surface.
            const QPoint at = to == w->centralWidget() ? QPoint(6, 120) : to->rect().center();
            // Twice: the rules run on every move, and a move onto the spot
            // where the pointer rests already is not delivered.
            QTest::mouseMove(to, at);
            QTest::mouseMove(to, at + QPoint(1, 1));
            QCOMPARE(w->StatusBar1->text(), status);
            QCOMPARE(w->Label3->palette().color(QPalette::WindowText), colour);
            const QCursor *shown = QGuiApplication::overrideCursor();
            QCOMPARE(shown ? int(shown->shape()) : -1, shape);
        };
        // First, while a move passed on to the surface would still show.
        for (QWidget *other :
             QWidgetList{w->Drive1, w->Dir1, w->Label1, w->Label2, w->Image1, w->StatusBar1})
            step(other, "Idle", Qt::black, -1);
        step(w->Label3, "Idle", QColor(0, 0, 255), -1);
        // From the text onto the star, from the star onto the man (missing
        // the surface between), back onto the text.
        for (QWidget *next : QWidgetList{w->Image2, w->Image1, w->Label3})
            step(next, "Click me to begin the search!", QColor(0, 0, 255), Qt::BitmapCursor);
        step(w->centralWidget(), "Idle", QColor(0, 0, 0), Qt::ArrowCursor);
    }

    // The layout at desktop fonts of 9 to 14 pt and 96 to 144 DPI, in dark
    // colours: both windows grow with the scale, and every text the layout
    // shows is black on the background picture and shown in full. A font of
    // p pt at d DPI is one of p * d / 96 pt on the test's 96-DPI screen.
    void everyFontAndTheme_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("dpi");
        for (const int dpi : {96, 120, 144})
            for (const int points : {9, 10, 11, 14})
                QTest::addRow("%d pt at %d DPI", points, dpi) << points << dpi;
    }
    void everyFontAndTheme()
    {
        QFETCH(int, points);
        QFETCH(int, dpi);
        QFont font = m_desktopFont;
        font.setPointSizeF(points * dpi / 96.0);
        QApplication::setFont(font);
        QApplication::setPalette(QPalette(QColor(60, 60, 60), QColor(40, 40, 40))); // light text
        const double scale = fitTwipsScale(
            font, dpi, frmMain::layoutTexts() + frmAbout::layoutTexts(programIdentity()));
        QVERIFY(scale >= dpi / 96.0);
        open({{"/", {}}}, scale);
        frmAbout about(w.get(), scale, programIdentity(), {});
        about.show();

        const auto pixels = [scale](int twips) { return qRound(twips * scale / 15); };
        QCOMPARE(w->centralWidget()->size(), QSize(pixels(6252), pixels(3696)));
        QCOMPARE(about.size(), QSize(pixels(5736), pixels(3564)));
        for (const QLabel *label :
             QList<QLabel *>{w->Label1, w->Label2, w->Label3} + about.findChildren<QLabel *>())
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        shownInFull(w.get());
        shownInFull(&about);
    }

    // A laptop's 1366 x 768 screen at 144 DPI with a 14 pt font (the
    // tst_frmmain_smallscreen run, on a real X display), where the scale the
    // font asks for would take the windows past the screen: held back, they
    // stay within its free area, their texts in full at a smaller font, the
    // About box centred on the main window.
    void smallScreen()
    {
        if (QGuiApplication::platformName() == "offscreen")
            QSKIP("needs a real screen: the tst_frmmain_smallscreen run");
        QApplication::setFont(QFont(m_desktopFont.family(), 14));
        open({{"/", {}}});
        QScreen *screen = w->screen();
        const QRect available = screen->availableGeometry();
        QVERIFY(available.contains(w->frameGeometry()));
        shownInFull(w.get());
        // On the screen, in logical pixels, the two lines' right ends show
        // the window's colour, not X's black.
        QTest::qWait(200);
        const QImage shot = screen->grabWindow(0).toImage().scaled(screen->size());
        for (QWidget *line : QWidgetList{w->menuBar(), w->StatusBar1}) {
            const QRect onScreen(line->mapToGlobal(QPoint()), line->size());
            QVERIFY(shot.rect().contains(onScreen));
            QCOMPARE(shot.pixelColor(onScreen.right() - 4, onScreen.center().y()),
                     line->palette().color(QPalette::Window));
        }
        QTimer::singleShot(0, this, [&] {
            QWidget *about = QApplication::activeModalWidget();
            const auto close = qScopeGuard([about] { about->close(); });
            QVERIFY(QTest::qWaitForWindowExposed(about));
            const QRect frame = about->frameGeometry();
            QVERIFY(available.contains(frame));
            QVERIFY((frame.center() - w->frameGeometry().center()).manhattanLength() <= 2);
            QVERIFY(about->font().pointSizeF() < 14); // the scale was held back
            shownInFull(about);
        });
        frmAbout::showModal(w.get(), displayScale(), programIdentity());
    }

    // Start-up, then choices by keyboard: a volume without the process's
    // folder opens at its root, one with it at that folder, and one whose
    // root is gone warns (once) and leaves the folder list where it was.
    void drives()
    {
        const QString root = QDir(m_dir.path()).canonicalPath();
        QVERIFY(QDir().mkpath(root + "/sub") && QDir::setCurrent(root + "/sub"));
        open({{"/", {}}, {root, {}}, {root + "/gone", {}}});
        QCOMPARE(w->Drive1->Drive(), root);
        QCOMPARE(w->Dir1->Path(), root + "/sub");
        // Focus on the drive list; Tab moves through the two lists and the
        // star, whose Enter, Space and assistive press each start a search
        // (here one with nothing to find) and a click never focuses.
        QCOMPARE(QApplication::focusWidget(), w->Drive1);
        for (QWidget *next : QWidgetList{w->Dir1, w->Image2, w->Drive1}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QTest::mouseClick(w->Image2, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), w->Drive1);
        auto &shown = static_cast<test::RecordingMessageBox &>(w->messages()).shown;
        QCOMPARE(shown.size(), 1);
        w->Image2->setFocus();
        QTest::keyClick(w->Image2, Qt::Key_Return);
        QTest::keyClick(w->Image2, Qt::Key_Space);
        QTest::keyClick(w->Image2, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(shown.size(), 3);
        // An assistive tool's press (its role, name and action are read by
        // atspi_walk.py) searches once the tool's request has been answered.
        QAccessible::queryAccessibleInterface(w->Image2)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QCOMPARE(shown.size(), 3);
        QTRY_COMPARE(shown.size(), 4);
        QCOMPARE(shown.last().title, QStringLiteral("No files found"));
        shown.clear();

        QTest::keyClick(w->Drive1, Qt::Key_Up);
        QCOMPARE(w->Dir1->Path(), QStringLiteral("/"));
        QTest::keyClick(w->Drive1, Qt::Key_Down);
        QCOMPARE(w->Dir1->Path(), root + "/sub");
        QTest::keyClick(w->Drive1, Qt::Key_Down);
        QCOMPARE(w->Drive1->Drive(), root + "/gone");
        QCOMPARE(w->Dir1->Path(), root + "/sub");

        // The drop-down reads the volumes on each opening: one mounted since
        // shows up, a removed one leaves, and when the chosen one goes the
        // volume that now holds its path is shown, the folder unchanged.
        const auto offered = [this] {
            w->Drive1->showPopup();
            QStringList roots;
            for (int i = 0; i < w->Drive1->count(); ++i)
                roots.append(w->Drive1->itemData(i).toString());
            w->Drive1->hidePopup();
            return roots;
        };
        QCOMPARE(offered(), (QStringList{"/", root, root + "/gone"}));
        m_volumes->m_list = {{"/", {}}, {root, {}}, {root + "/stick", "STICK"}};
        QCOMPARE(offered(), (QStringList{"/", root, root + "/stick"}));
        QCOMPARE(w->Drive1->Drive(), root);
        QCOMPARE(w->Dir1->Path(), root + "/sub");
        QCOMPARE(shown, (QList<test::ShownMessage>{{"No such file or directory", 48, "Warning"}}));
    }
    // A volume that goes away under the open folder: unmounted, or its
    // folder removed, or hidden by a volume mounted over it; and whether the
    // window is told before the next click on the star, or finds out on that
    // click. Only in the tst_unmount run, in a private mount namespace
    // (unshare -m), where a tmpfs mounted and unmounted below the test's
    // folder touches no other process.
    void folderGone_data()
    {
        if (!qEnvironmentVariableIsSet("TUNEFOLD_PRIVATE_MOUNTS"))
            QSKIP("mounts a tmpfs: only in the tst_unmount run");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("told");
        for (const char *how : {"unmounted", "removed", "mounted over"}) {
            QTest::addRow("%s, told", how) << QString(how) << true;
            QTest::addRow("%s, on the click", how) << QString(how) << false;
        }
    }
    void folderGone()
    {
        QFETCH(QString, how);
        QFETCH(bool, told);
        const QString stick = QDir(m_dir.path()).canonicalPath() + "/stick";
        QVERIFY(QDir().mkpath(stick));
        if (::mount("tunefold", stick.toLocal8Bit(), "tmpfs", 0, "size=1m") != 0)
            QSKIP(qPrintable("cannot mount a tmpfs: " + qt_error_string(errno)));
        QVERIFY(QDir().mkpath(stick + "/music/rock"));

        open({{"/", {}}}, 1.0, stick);
        const auto &messages = static_cast<test::RecordingMessageBox &>(w->messages()).shown;
        w->Drive1->setCurrentIndex(w->Drive1->findData(stick));
        QCOMPARE(w->Dir1->Path(), stick);
        QCOMPARE(w->Dir1->setPath(stick + "/music/rock"), 0);

        QString left = stick;
        if (how == "unmounted") {
            QVERIFY(::umount2(stick.toLocal8Bit(), 0) == 0);
        } else if (how == "removed") {
            QVERIFY(QDir(stick + "/music").removeRecursively());
        } else {
            QVERIFY(::mount("over", (stick + "/music").toLocal8Bit(), "tmpfs", 0, nullptr) == 0);
            left = stick + "/music";
        }
        if (told) {
            QTRY_COMPARE(w->Dir1->Path(), left);
        } else {
            // Before the event loop hears of it: the click searches nothing.
            QTest::mouseClick(w->Image2, Qt::LeftButton);
            QCOMPARE(w->Dir1->Path(), left);
            QCOMPARE(static_cast<test::ScriptedDialog &>(w->CD()).shown, 0);
            QCOMPARE(messages.size(), 0);
        }
        QCOMPARE(w->Dir1->model()->rowCount(), left.count('/') + 1); // nothing below it
        QTRY_COMPARE(w->Drive1->Drive(), how == "unmounted" ? QString("/") : stick);
        QCOMPARE(messages.size(), 0);
        ::umount2((stick + "/music").toLocal8Bit(), 0);
        ::umount2(stick.toLocal8Bit(), 0);
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
