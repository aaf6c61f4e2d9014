// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramPointer.h"
#include "doubles/Doubles.h"
#include "main_window/DriveList.h"
#include "main_window/FolderList.h"
#include "main_window/Label.h"
#include "main_window/PictureBox.h"
#include "main_window/StatusBar.h"
#include "main_window/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tunefold;

class tst_frmMain : public QObject
{
    Q_OBJECT

    struct ScriptedVolumes final : VolumeList
    {
        explicit ScriptedVolumes(QList<Volume> list) : m_list(std::move(list)) {}
        QList<Volume> volumes() const override { return m_list; }
        QList<Volume> m_list;
    };
    const QString m_startFolder = QDir::currentPath();
    std::unique_ptr<frmMain> w;

    // Opens the window on the volumes, with a scripted save dialog and
    // message box, shown and active, the program-wide pointer not yet set.
    void open(QList<Volume> volumes)
    {
        ProgramPointer::set(ProgramPointer::Default);
        w = std::make_unique<frmMain>(frmMain::Platform{
            std::make_unique<test::ScriptedDialog>(), std::make_unique<test::RecordingMessageBox>(),
            std::make_unique<ScriptedVolumes>(std::move(volumes)), TUNEFOLD_BIN_DIR "/hand.cur"});
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

private Q_SLOTS:
    void init() { open({{"/", {}}}); }
    void cleanup() { QDir::setCurrent(m_startFolder); }

    // The pointer passes over the window in turn; after each step the status
    // text, the instruction's colour and the program-wide pointer as shown.
    void feedback()
    {
        const QColor own = QApplication::palette(w->Label3).color(QPalette::WindowText);
        const auto moveOver = [&](QWidget *target) {
            // Left of the folder list, below the captions: nothing but the surface.
            const QPoint at =
                target == w->centralWidget() ? QPoint(6, 120) : target->rect().center();
            // Twice: the rules run on every move, and a move onto the spot
            // where the pointer rests already is not delivered.
            QTest::mouseMove(target, at);
            QTest::mouseMove(target, at + QPoint(1, 1));
        };
        const auto expect = [&](const QString &status, const QColor &colour, int pointer) {
            QCOMPARE(w->StatusBar1->text(), status);
            QCOMPARE(w->Label3->palette().color(QPalette::WindowText), colour);
            const int shapes[] = {-1, Qt::ArrowCursor, Qt::BitmapCursor}; // none, arrow, hand
            const QCursor *shown = QGuiApplication::overrideCursor();
            QCOMPARE(shown ? int(shown->shape()) : -1, shapes[pointer]);
        };
        // First, while a move passed on to the surface would still show.
        for (QWidget *other :
             QWidgetList{w->Drive1, w->Dir1, w->Label1, w->Label2, w->Image1, w->StatusBar1})
            moveOver(other);
        expect("Idle", own, ProgramPointer::Default);
        moveOver(w->Label3);
        // From the text onto the star, from the star onto the man (missing
        // the surface between), back onto the text.
        for (QWidget *next : QWidgetList{w->Image2, w->Image1, w->Label3}) {
            moveOver(next);
            expect("Click me to begin the search!", QColor(0, 0, 255), ProgramPointer::Custom);
        }
        moveOver(w->centralWidget());
        expect("Idle", QColor(0, 0, 0), ProgramPointer::Arrow);
    }

    // Start-up, then choices by keyboard: a volume without the process's
    // folder opens at its root, one with it at that folder, and one whose
    // root is gone warns and leaves the folder list where it was.
    void drives()
    {
        QTemporaryDir volume;
        const QString root = QDir(volume.path()).canonicalPath();
        QVERIFY(QDir().mkpath(root + "/sub") && QDir::setCurrent(root + "/sub"));
        open({{"/", {}}, {root, {}}});
        QCOMPARE(w->Drive1->Drive(), root);
        QCOMPARE(w->Dir1->Path(), root + "/sub");
        // Focus on the drive list; Tab moves between the two lists only.
        QCOMPARE(QApplication::focusWidget(), w->Drive1);
        QTest::keyClick(w->Drive1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->Dir1);
        QTest::keyClick(w->Dir1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->Drive1);

        QTest::keyClick(w->Drive1, Qt::Key_Up);
        QCOMPARE(w->Dir1->Path(), QStringLiteral("/"));
        QTest::keyClick(w->Drive1, Qt::Key_Down);
        QCOMPARE(w->Dir1->Path(), root + "/sub");
        QTest::keyClick(w->Drive1, Qt::Key_Up);
        QVERIFY(QDir::setCurrent(m_startFolder) && volume.remove());
        QTest::keyClick(w->Drive1, Qt::Key_Down);
        QCOMPARE(w->Drive1->Drive(), root);
        QCOMPARE(w->Dir1->Path(), QStringLiteral("/"));
        const QList<test::ShownMessage> warning{{"No such file or directory", 48, "Warning"}};
        QCOMPARE(static_cast<test::RecordingMessageBox &>(w->messages()).shown, warning);
    }

    void starClickWritesList()
    {
        QTemporaryDir folder;
        QFile song(folder.filePath("Song One.MP3"));
        QVERIFY(song.open(QIODevice::WriteOnly) && song.resize(3 * 1024 * 1024 / 2));
        QCOMPARE(w->Dir1->setPath(folder.path()), 0);
        static_cast<test::ScriptedDialog &>(w->CD()).answers = {folder.filePath("list.html")};

        QTest::mouseClick(w->Image2, Qt::LeftButton);

        const QList<test::ShownMessage> finished{
            {"1 MP3's were generated, have a nice day!", 64, "Finished"}};
        QCOMPARE(static_cast<test::RecordingMessageBox &>(w->messages()).shown, finished);
        QFile written(folder.filePath("list.html"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray document = written.readAll();
        QVERIFY(document.contains("Song One.MP3"));
        QVERIFY(document.contains("1.50 MB</TD>\r\n") || document.contains("1,50 MB</TD>\r\n"));
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmmain.moc"
