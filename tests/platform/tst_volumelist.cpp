// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtVolumeList.h"

#include <QTest>

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
};

QTEST_GUILESS_MAIN(tst_VolumeList)
#include "tst_volumelist.moc"
