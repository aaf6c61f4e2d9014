// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/FolderList.h"
#include "main_window/FolderModel.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

using namespace tunefold;

class tst_FolderList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanPath()
    {
        QCOMPARE(cleanFolderPath("//a/./b//"), "/a/b");
        QCOMPARE(cleanFolderPath("/a/b/../c/.."), "/a");
        QCOMPARE(cleanFolderPath("/../a/../.."), "/"); // up past the root
    }

    void browse()
    {
        QTemporaryDir tree;
        const QString root = QDir(tree.path()).canonicalPath();
        // Names that differ only from the 9th and the 17th character on, and
        // there only in case.
        for (const char *folder :
             {"beta", "\u00C9clair", "Delta", ".hidden", "gamma", "Zebra", "abcdefghB", "abcdefgha",
              "abcdefghijklmnopC", "ABCDEFGHIJKLMNOPb"})
            QVERIFY(QDir(root).mkdir(folder));
        // QTemporaryDir cannot name this folder to remove it.
        const QByteArray notUtf8 = QFile::encodeName(root) + "/gamma/caf\xe9";
        QVERIFY(std::filesystem::create_directory(notUtf8.constData()));
        const auto gone = qScopeGuard([&notUtf8] { std::filesystem::remove(notUtf8.constData()); });
        QVERIFY(QFile::link(root + "/gamma", root + "/link to gamma") &&
                QFile::link(root + "/missing", root + "/broken link"));
        QVERIFY(QFile(root + "/file.mp3").open(QIODevice::WriteOnly));
        FolderList list(Twips(1), nullptr);
        list.show();
        QCOMPARE(list.setPath(root), 0);

        // From "/" down to the open folder, then its sub-folders by name, case
        // aside, letters beyond ASCII after it: hidden ones and links to
        // folders in, files and broken links out.
        QStringList shown;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            shown.append(list.model()->index(row, 0).data().toString());
        const QStringList subFolders =
            QStringLiteral(".hidden|abcdefgha|abcdefghB|ABCDEFGHIJKLMNOPb|abcdefghijklmnopC|beta|"
                           "Delta|gamma|link to gamma|Zebra|\u00C9clair")
                .split(u'|');
        QCOMPARE(shown, QStringList{"/"} + root.split(u'/', Qt::SkipEmptyParts) + subFolders);
        QCOMPARE(list.currentIndex().row(), shown.size() - subFolders.size() - 1);

        // Enter opens the highlighted folder, here "link to gamma"; a single click
        // only highlights, and a double-click opens. A folder reached through
        // a link keeps the link's name, and one whose name is not UTF-8 its
        // own bytes. A user's double-click delivers a click, a second press
        // that arrives as a double-click, and its release.
        QTest::keyClick(&list, Qt::Key_End);
        QTest::keyClick(&list, Qt::Key_Up);
        QTest::keyClick(&list, Qt::Key_Up);
        QTest::keyClick(&list, Qt::Key_Return);
        const auto cafe = list.model()->match(list.model()->index(0, 0), Qt::DisplayRole,
                                              QFile::decodeName("caf\xe9"));
        QCOMPARE(cafe.size(), 1);
        const QPoint at = list.visualRect(cafe.first()).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(list.Path(), root + "/link to gamma");
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(list.pathBytes(), QFile::encodeName(root + "/link to gamma/") + "caf\xe9");
        // A double-click above opens exactly that folder: here the one first
        // opened, two rows up.
        const QModelIndex above = list.model()->index(int(root.count(u'/')), 0);
        list.scrollTo(above);
        const QPoint up = list.visualRect(above).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, up);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, up);
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, up);
        QCOMPARE(list.Path(), root);

        // However deep the folder, its name keeps two thirds of the width.
        QVERIFY(list.indentation(100) <= list.viewport()->width() / 3);
    }
};

QTEST_MAIN(tst_FolderList)
#include "tst_folderlist.moc"
