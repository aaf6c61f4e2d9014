// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/FolderList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

using namespace tunefold;

class tst_FolderList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tree;
    const QString m_root = QDir(m_tree.path()).canonicalPath();
    const QByteArray m_notUtf8 = QFile::encodeName(m_root) + "/gamma/caf\xe9";
    FolderList m_list{nullptr};

    // A click on the item named text; twice: what a user's double-click
    // delivers, a click, a second press that arrives as a double-click, and
    // its release.
    void click(const QString &text, bool twice = false)
    {
        const QTreeWidgetItem *item = m_list.findItems(text, Qt::MatchRecursive).value(0);
        const QPoint at = m_list.visualItemRect(item).center();
        QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, at);
        if (twice) {
            QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(m_list.viewport(), Qt::LeftButton, {}, at);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *folder : {"beta", "Delta", ".hidden", "gamma"})
            QVERIFY(QDir(m_root).mkdir(folder));
        QVERIFY(std::filesystem::create_directory(m_notUtf8.constData()));
        QVERIFY(QFile::link(m_root + "/gamma", m_root + "/link to gamma"));
        QVERIFY(QFile::link(m_root + "/missing", m_root + "/broken link"));
        QVERIFY(QFile(m_root + "/file.mp3").open(QIODevice::WriteOnly));
        m_list.show();
        QCOMPARE(m_list.setPath(m_root), 0);
    }
    // QTemporaryDir cannot name this folder to remove it.
    void cleanupTestCase() { QVERIFY(std::filesystem::remove(m_notUtf8.constData())); }

    void browse()
    {
        // From "/" down to the open folder, then its sub-folders by name, case
        // aside: hidden ones and links to folders in, files and broken links out.
        QStringList shown;
        const auto items = m_list.findItems({}, Qt::MatchContains | Qt::MatchRecursive);
        for (const QTreeWidgetItem *item : items)
            shown.append(item->text(0));
        const QStringList subFolders{".hidden", "beta", "Delta", "gamma", "link to gamma"};
        QCOMPARE(shown, QStringList{"/"} + m_root.split(u'/', Qt::SkipEmptyParts) + subFolders);
        QCOMPARE(m_list.currentItem()->childCount(), subFolders.size());

        // A single click only highlights; Enter or a double-click opens. A
        // folder reached through a link keeps the link's name, and one whose
        // name is not UTF-8 its own bytes.
        click("link to gamma");
        QCOMPARE(m_list.Path(), m_root);
        QTest::keyClick(&m_list, Qt::Key_Return);
        click(QFile::decodeName("caf\xe9"), true);
        QCOMPARE(m_list.pathBytes(), QFile::encodeName(m_root + "/link to gamma/") + "caf\xe9");
    }
};

QTEST_MAIN(tst_FolderList)
#include "tst_folderlist.moc"
