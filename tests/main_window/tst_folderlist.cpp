// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/FolderList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace tunefold;

namespace {

// The texts of the items from the top, depth shown by leading dots.
QStringList shown(const FolderList &list)
{
    QStringList result;
    const std::function<void(QTreeWidgetItem *, int)> walk = [&](QTreeWidgetItem *item, int depth) {
        result.append(QString(depth, u'.') + item->text(0));
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        walk(list.topLevelItem(i), 0);
    return result;
}

QTreeWidgetItem *itemNamed(const FolderList &list, const QString &text)
{
    const QList<QTreeWidgetItem *> found =
        list.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QPoint centreOf(const FolderList &list, QTreeWidgetItem *item)
{
    return list.visualItemRect(item).center();
}

// What a user's double-click delivers: a click, then a second press that
// arrives as a double-click, then its release.
void doubleClick(FolderList &list, QTreeWidgetItem *item)
{
    const QPoint at = centreOf(list, item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class tst_FolderList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void showsChainThenSortedSubFolders();
    void clicks();
    void unreadableFolderKeepsList();
    void nameThatIsNotUtf8();

private:
    std::unique_ptr<QTemporaryDir> m_tree;
    QString m_root; // m_tree's path, links resolved
    std::unique_ptr<FolderList> m_list;
};

void tst_FolderList::init()
{
    m_tree = std::make_unique<QTemporaryDir>();
    m_root = QDir(m_tree->path()).canonicalPath();
    QDir root(m_root);
    for (const char *folder : {"beta", "Alpha", "gamma/inner", ".hidden", "with space"})
        QVERIFY(root.mkpath(QString::fromLatin1(folder)));
    QFile file(root.filePath("file.mp3"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(QFile::link(root.filePath("gamma"), root.filePath("link to gamma")));
    QVERIFY(QFile::link(root.filePath("missing"), root.filePath("broken link")));

    m_list = std::make_unique<FolderList>(nullptr);
    m_list->resize(300, 400);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
    QCOMPARE(m_list->setPath(m_root), 0);
}

void tst_FolderList::showsChainThenSortedSubFolders()
{
    QCOMPARE(m_list->Path(), m_root);
    QStringList expected{QStringLiteral("/")};
    const QStringList parts = m_root.split(u'/', Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i)
        expected.append(QString(i + 1, u'.') + parts.at(i));
    // Files and broken links are not folders; links to folders and hidden
    // folders are. Case does not decide the order.
    for (const char *name : {".hidden", "Alpha", "beta", "gamma", "link to gamma", "with space"})
        expected.append(QString(parts.size() + 1, u'.') + QString::fromLatin1(name));
    QCOMPARE(shown(*m_list), expected);
    QCOMPARE(m_list->currentItem()->text(0), parts.last());

    QCOMPARE(m_list->setPath(QStringLiteral("/")), 0);
    QCOMPARE(m_list->Path(), QStringLiteral("/"));
}

void tst_FolderList::clicks()
{
    // A single click only highlights: the open folder stays the one searched.
    QTreeWidgetItem *beta = itemNamed(*m_list, "beta");
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, centreOf(*m_list, beta));
    QCOMPARE(m_list->currentItem(), beta);
    QCOMPARE(m_list->Path(), m_root);

    // A folder reached through a link keeps the link's name in the path.
    doubleClick(*m_list, itemNamed(*m_list, "link to gamma"));
    QCOMPARE(m_list->Path(), m_root + "/link to gamma");
    QVERIFY(itemNamed(*m_list, "inner"));

    // Up the chain, then Enter on a highlighted folder.
    doubleClick(*m_list, m_list->currentItem()->parent());
    QCOMPARE(m_list->Path(), m_root);
    m_list->setFocus();
    m_list->setCurrentItem(itemNamed(*m_list, "Alpha"));
    QTest::keyClick(m_list.get(), Qt::Key_Return);
    QCOMPARE(m_list->Path(), m_root + "/Alpha");
}

void tst_FolderList::unreadableFolderKeepsList()
{
    const QStringList before = shown(*m_list);
    QCOMPARE(m_list->setPath(m_root + "/missing"), ENOENT);
    QCOMPARE(m_list->setPath(m_root + "/file.mp3"), ENOTDIR);
    QCOMPARE(m_list->Path(), m_root);
    QCOMPARE(shown(*m_list), before);

    // A folder that vanished after it was listed does not open either.
    QVERIFY(QDir(m_root + "/beta").removeRecursively());
    doubleClick(*m_list, itemNamed(*m_list, "beta"));
    QCOMPARE(m_list->Path(), m_root);
    QCOMPARE(shown(*m_list), before);
}

void tst_FolderList::nameThatIsNotUtf8()
{
    const QByteArray name("caf\xe9");
    const QByteArray rootBytes = QFile::encodeName(m_root);
    QVERIFY(::mkdir((rootBytes + '/' + name).constData(), 0700) == 0);
    QCOMPARE(m_list->setPath(rootBytes), 0);
    QTreeWidgetItem *item = itemNamed(*m_list, QFile::decodeName(name));
    QVERIFY(item);
    doubleClick(*m_list, item);
    QCOMPARE(m_list->pathBytes(), rootBytes + '/' + name);
    // QTemporaryDir cannot name this folder to remove it.
    QVERIFY(::rmdir((rootBytes + '/' + name).constData()) == 0);
}

QTEST_MAIN(tst_FolderList)
#include "tst_folderlist.moc"
