// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NarrowText.h"
#include "platform/PosixFolderSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace tunefold;

class tst_FolderSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matching_data();
    void matching();
    void realFolder();
    void rootPattern();
    void unreadableFolderMatchesNothing_data();
    void unreadableFolderMatchesNothing();
    void entriesRemovedWhileReading();
};

void tst_FolderSearch::matching_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("matches");

    const QByteArray mp3 = "*.mp3";
    QTest::newRow("plain") << mp3 << QByteArray("song.mp3") << true;
    QTest::newRow("upper case") << mp3 << QByteArray("SONG.MP3") << true;
    QTest::newRow("mixed case") << mp3 << QByteArray("a.Mp3") << true;
    QTest::newRow("star takes nothing") << mp3 << QByteArray(".mp3") << true;
    QTest::newRow("hidden") << mp3 << QByteArray(".secret.mp3") << true;
    QTest::newRow("dots inside") << mp3 << QByteArray("a.mp3.mp3") << true;
    QTest::newRow("other scripts") << mp3 << QByteArray("\xEC\x9E\x90.mp3") << true;
    QTest::newRow("invalid bytes") << mp3 << QByteArray("\xFF\xFE.mp3") << true;
    QTest::newRow("longer suffix") << mp3 << QByteArray("a.mp3x") << false;
    QTest::newRow("no dot") << mp3 << QByteArray("amp3") << false;
    QTest::newRow("bare suffix") << mp3 << QByteArray("mp3") << false;
    QTest::newRow("other type") << mp3 << QByteArray("a.mp4") << false;
    QTest::newRow("question one byte") << QByteArray("?.mp3") << QByteArray("a.mp3") << true;
    QTest::newRow("question one letter")
        << QByteArray("?.mp3") << QByteArray("\xC3\xA9.mp3") << true;
    QTest::newRow("question not two") << QByteArray("?.mp3") << QByteArray("ab.mp3") << false;
    QTest::newRow("question not none") << QByteArray("?.mp3") << QByteArray(".mp3") << false;
    QTest::newRow("star then question") << QByteArray("*?") << QByteArray("\xC3\xA9") << true;
    QTest::newRow("many stars") << QByteArray("*a*b*c*") << QByteArray("xaybzc") << true;
    QTest::newRow("many stars fail") << QByteArray("*a*b*c*d") << QByteArray("abcabcabc") << false;
    QTest::newRow("brackets are literal") << QByteArray("[ab].mp3") << QByteArray("a.mp3") << false;
}

void tst_FolderSearch::matching()
{
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, name);
    QFETCH(bool, matches);
    QCOMPARE(matchesPattern(pattern.toStdString(), name.toStdString()), matches);
}

namespace {

std::map<QByteArray, std::uint64_t> searchAll(FolderSearch &search, const QByteArray &pattern)
{
    std::map<QByteArray, std::uint64_t> found;
    FolderEntry entry;
    for (bool more = search.findFirst(pattern.toStdString(), entry); more;
         more = search.findNext(entry)) {
        found.emplace(QByteArray(entry.name.data(), qsizetype(entry.name.size())), entry.size);
    }
    search.close();
    return found;
}

void makeFile(const QString &path, qint64 size)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QVERIFY(file.resize(size));
}

} // namespace

void tst_FolderSearch::realFolder()
{
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    makeFile(root + QStringLiteral("a.mp3"), 1234);
    makeFile(root + QStringLiteral("B.MP3"), 5368709120); // sparse
    makeFile(root + QStringLiteral(".hidden.mp3"), 7);
    makeFile(root + QStringLiteral("Con 자백.mp3"), 3);
    makeFile(root + QStringLiteral("with space.mp3"), 0);
    makeFile(root + QStringLiteral("a.mp3x"), 1);
    makeFile(root + QStringLiteral("notes.txt"), 1);
    QVERIFY(QDir(root).mkdir(QStringLiteral("folder.mp3")));
    QVERIFY(QDir(root).mkdir(QStringLiteral("plain folder")));
    makeFile(root + QStringLiteral("plain folder/inner.mp3"), 9);
    QVERIFY(QFile::link(QStringLiteral("a.mp3"), root + QStringLiteral("link.mp3")));
    QVERIFY(QFile::link(QStringLiteral("missing"), root + QStringLiteral("broken.mp3")));
    QVERIFY(QFile::link(QStringLiteral("loop.mp3"), root + QStringLiteral("loop.mp3")));
    // A name that is not UTF-8 can only be made through the byte interface.
    const QByteArray latin1 = QFile::encodeName(root) + "caf\xE9.mp3";
    FILE *made = std::fopen(latin1.constData(), "w");
    QVERIFY(made);
    std::fclose(made);

    PosixFolderSearch search;
    const auto found = searchAll(search, QFile::encodeName(root) + "*.mp3");
    const std::map<QByteArray, std::uint64_t> expected = {
        {"a.mp3", 1234},       {"B.MP3", 5368709120},
        {".hidden.mp3", 7},    {QStringLiteral("Con 자백.mp3").toUtf8(), 3},
        {"with space.mp3", 0}, {"folder.mp3", 0},
        {"link.mp3", 1234},    {"broken.mp3", 0},
        {"loop.mp3", 0},       {"caf\xE9.mp3", 0},
    };
    QCOMPARE(found, expected);
}

void tst_FolderSearch::rootPattern()
{
    // "/" joined with the pattern must read the root itself.
    PosixFolderSearch search;
    FolderEntry entry;
    const bool any = search.findFirst("/*", entry);
    QVERIFY(any);
    QVERIFY(QFileInfo::exists(QStringLiteral("/") +
                              QFile::decodeName(std::string(entry.name).c_str())));
}

void tst_FolderSearch::unreadableFolderMatchesNothing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("a file") << QStringLiteral("file.mp3");
}

void tst_FolderSearch::unreadableFolderMatchesNothing()
{
    QFETCH(QString, folder);
    QTemporaryDir dir;
    makeFile(dir.filePath(QStringLiteral("file.mp3")), 1);
    PosixFolderSearch search;
    FolderEntry entry;
    QVERIFY(
        !search.findFirst(QFile::encodeName(dir.filePath(folder)).toStdString() + "/*.mp3", entry));
    QVERIFY(!search.findNext(entry));
}

void tst_FolderSearch::entriesRemovedWhileReading()
{
    // Entries removed after the search started are skipped, never reported
    // with a made-up size; the folder itself going away ends the search.
    QTemporaryDir dir;
    for (int i = 0; i < 300; ++i)
        makeFile(dir.filePath(QStringLiteral("%1.mp3").arg(i)), 1);
    PosixFolderSearch search;
    FolderEntry entry;
    QVERIFY(search.findFirst(QFile::encodeName(dir.path()).toStdString() + "/*.mp3", entry));
    QVERIFY(dir.remove());
    int reported = 1;
    while (search.findNext(entry)) {
        QCOMPARE(entry.size, std::uint64_t(1));
        ++reported;
    }
    QVERIFY(reported < 300);
}

QTEST_GUILESS_MAIN(tst_FolderSearch)
#include "tst_foldersearch.moc"
