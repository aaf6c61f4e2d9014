// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtVolumeList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sched.h>
#include <sys/mount.h>

using namespace tunefold;

class tst_VolumeList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void volumes()
    {
        // What a file manager would offer: "/" whatever its type, media
        // under /run/media, no system or sandbox layers; "/runner" is not
        // under /run.
        QVERIFY(isUserVolume("/", "overlay"));
        QVERIFY(isUserVolume("/run/media/ann/STICK", "exfat"));
        QVERIFY(isUserVolume("/runner", "ext4"));
        QVERIFY(!isUserVolume("/var/lib/docker/overlay2/x/merged", "overlay"));
        // The volume that holds a path: the longest root above it, compared
        // by whole names.
        const QList<Volume> volumes = {{"/media/a", {}}, {"/", {}}, {"/media/a/inner", {}}};
        QCOMPARE(volumeRootOf(volumes, "/media/a/inner/x"), QStringLiteral("/media/a/inner"));
        QCOMPARE(volumeRootOf(volumes, "/media/ab"), QStringLiteral("/"));
    }

    // The watcher sleeps while the mount table stays as it is and wakes
    // when it changes: a tmpfs mounted and unmounted in a mount namespace
    // of the test's own, so that nothing else's mounts reach it.
    void watchesOnlyChanges()
    {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            QSKIP("no private mount namespace here (it takes root)");
        QtVolumeList volumes;
        int refreshes = 0;
        volumes.watch([&refreshes] { ++refreshes; });
        QTest::qWait(1000);
        QVERIFY2(refreshes <= 3, QByteArray::number(refreshes));
        QTemporaryDir dir;
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        QVERIFY(::mount("tunefold", mountPoint.constData(), "tmpfs", 0, nullptr) == 0);
        QTRY_VERIFY(refreshes > 0);
        refreshes = 0;
        QVERIFY(::umount2(mountPoint.constData(), 0) == 0);
        QTRY_VERIFY(refreshes > 0);
    }
};

QTEST_GUILESS_MAIN(tst_VolumeList)
#include "tst_volumelist.moc"
