// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtVolumeList.h"
#include "platform/VolumeList.h"

#include <QTest>

using namespace tunefold;

class tst_VolumeList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void userVolume_data();
    void userVolume();
    void volumeRoot_data();
    void volumeRoot();
};

void tst_VolumeList::userVolume_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("shown");
    QTest::newRow("root file system") << "/" << QByteArray("ext4") << true;
    QTest::newRow("container's overlay root") << "/" << QByteArray("overlay") << true;
    QTest::newRow("stick under /run/media")
        << "/run/media/ann/STICK" << QByteArray("exfat") << true;
    QTest::newRow("network share") << "/mnt/music" << QByteArray("nfs4") << true;
    QTest::newRow("cgroup") << "/sys/fs/cgroup/cpu" << QByteArray("cgroup") << false;
    QTest::newRow("run-time tmpfs") << "/run/user/1000" << QByteArray("tmpfs") << false;
    QTest::newRow("snap image") << "/snap/core/123" << QByteArray("squashfs") << false;
    QTest::newRow("docker layer") << "/var/lib/docker/overlay2/x/merged" << QByteArray("overlay")
                                  << false;
    QTest::newRow("not under /run") << "/runner" << QByteArray("ext4") << true;
}

void tst_VolumeList::userVolume()
{
    QFETCH(QString, root);
    QFETCH(QByteArray, type);
    QFETCH(bool, shown);
    QCOMPARE(isUserVolume(root, type), shown);
}

void tst_VolumeList::volumeRoot_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("root");
    QTest::newRow("folder on the root") << "/home/ann"
                                        << "/";
    QTest::newRow("inside a volume") << "/media/a/Music"
                                     << "/media/a";
    QTest::newRow("nested volume wins") << "/media/a/inner/x"
                                        << "/media/a/inner";
    QTest::newRow("name prefix is not a parent") << "/media/ab"
                                                 << "/";
}

void tst_VolumeList::volumeRoot()
{
    QFETCH(QString, path);
    QFETCH(QString, root);
    const QList<Volume> volumes = {{"/media/a", {}}, {"/", {}}, {"/media/a/inner", {}}};
    QCOMPARE(volumeRootOf(volumes, path), root);
}

QTEST_GUILESS_MAIN(tst_VolumeList)
#include "tst_volumelist.moc"
