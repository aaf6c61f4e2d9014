// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "doubles/Doubles.h"
#include "forms/PictureBox.h"
#include "main_window/DriveList.h"
#include "main_window/FolderList.h"
#include "main_window/frmMain.h"
#include "platform/QtVolumeList.h"

#include <QDir>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sys/mount.h>

using namespace tunefold;

// A volume that goes away under the open folder. CTest runs this in a
// private mount namespace (unshare -m), where a tmpfs mounted and unmounted
// below the test's folder touches no other process.
class tst_Unmount : public QObject
{
    Q_OBJECT

    // "/" and the stick while it is mounted, told of changes by the real
    // mount table: the system's own list leaves a tmpfs out.
    struct StickVolumes final : VolumeList
    {
        QString stick;
        QtVolumeList system;
        QList<Volume> volumes() const override
        {
            QList<Volume> list{{"/", {}}};
            if (QStorageInfo(stick).rootPath() == stick)
                list.append({stick, {}});
            return list;
        }
        void watch(std::function<void()> onChange) override { system.watch(std::move(onChange)); }
    };

private Q_SLOTS:
    // How the stick goes: unmounted, or its folder removed, or hidden by a
    // volume mounted over it; and whether the window is told before the
    // next click on the star, or finds out on that click.
    void folderGone_data()
    {
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
        QTemporaryDir dir;
        const QString stick = QDir(dir.path()).canonicalPath() + "/stick";
        QVERIFY(QDir().mkpath(stick));
        if (::mount("tunefold", stick.toLocal8Bit(), "tmpfs", 0, "size=1m") != 0)
            QSKIP(qPrintable("cannot mount a tmpfs: " + qt_error_string(errno)));
        QVERIFY(QDir().mkpath(stick + "/music/rock"));

        auto volumes = std::make_unique<StickVolumes>();
        volumes->stick = stick;
        auto *messages = new test::RecordingMessageBox;
        auto *dialog = new test::ScriptedDialog;
        frmMain w(1.0, programIdentity(),
                  frmMain::Platform{std::unique_ptr<CommonDialog>(dialog),
                                    std::unique_ptr<MessageBox>(messages), std::move(volumes),
                                    TUNEFOLD_BIN_DIR "/hand.cur"});
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.Drive1->setCurrentIndex(w.Drive1->findData(stick));
        QCOMPARE(w.Dir1->Path(), stick);
        QCOMPARE(w.Dir1->setPath(stick + "/music/rock"), 0);

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
            QTRY_COMPARE(w.Dir1->Path(), left);
        } else {
            // Before the event loop hears of it: the click searches nothing.
            QTest::mouseClick(w.Image2, Qt::LeftButton);
            QCOMPARE(w.Dir1->Path(), left);
            QCOMPARE(dialog->shown, 0);
            QCOMPARE(messages->shown.size(), 0);
        }
        QCOMPARE(w.Dir1->model()->rowCount(), left.count('/') + 1); // nothing below it
        QTRY_COMPARE(w.Drive1->Drive(), how == "unmounted" ? QString("/") : stick);
        QCOMPARE(messages->shown.size(), 0);
        ::umount2((stick + "/music").toLocal8Bit(), 0);
        ::umount2(stick.toLocal8Bit(), 0);
    }
};

QTEST_MAIN(tst_Unmount)
#include "tst_unmount.moc"
