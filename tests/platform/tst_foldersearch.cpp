// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "library/NaturalOrder.h"
#include "platform/NarrowText.h"
#include "platform/NaturalFolderSearch.h"
#include "platform/PosixFolderSearch.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sys/stat.h>

using namespace tunefold;
using Found = std::map<QByteArray, std::uint64_t>;

namespace {

// Every entry the search finds for pattern, name to size, each also handed
// to check; never more than maxOpen descriptors more open meanwhile.
void walk(FolderSearch &search, const QByteArray &pattern, Found &found, qsizetype maxOpen = 16,
          const std::function<void(const QByteArray &, const FolderEntry &)> &check = {})
{
    const auto openFiles = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const auto before = openFiles();
    FolderEntry entry;
    for (bool more = search.findFirst(pattern.toStdString(), entry); more;
         more = search.findNext(entry)) {
        QVERIFY(openFiles() <= before + maxOpen);
        const QByteArray name(entry.name.data(), qsizetype(entry.name.size()));
        found.emplace(name, entry.size);
        if (check)
            check(name, entry);
    }
    QVERIFY(!search.partial());
}

Found searchAll(const QByteArray &pattern)
{
    PosixFolderSearch search(false);
    Found found;
    walk(search, pattern, found);
    return found;
}

// A recursive walk in the file system's order or in natural order.
std::unique_ptr<FolderSearch> recursive(bool natural, FolderWalk::ProblemReport report = {},
                                        std::size_t maxOpen = 16)
{
    if (natural)
        return std::make_unique<NaturalFolderSearch>(true, sortNaturally, report, maxOpen);
    return std::make_unique<PosixFolderSearch>(true, report, maxOpen);
}

// Makes chain folders "d" below atFd, one inside the next, and returns the
// deepest open; by descriptor, since the whole path passes PATH_MAX.
int makeChain(int atFd, int depth)
{
    int fd = dup(atFd);
    for (int i = 0; fd >= 0 && i < depth; ++i) {
        const int next = mkdirat(fd, "d", 0755) == 0 ? openat(fd, "d", O_RDONLY | O_DIRECTORY) : -1;
        ::close(fd);
        fd = next;
    }
    return fd;
}

} // namespace

class tst_FolderSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matching_data()
    {
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("matches");
        // Case, suffixes and names that are not UTF-8 are realFolder's.
        const QByteArray mp3 = "*.mp3";
        QTest::newRow("star takes nothing") << mp3 << QByteArray(".mp3") << true;
        QTest::newRow("bare suffix") << mp3 << QByteArray("mp3") << false;
        QTest::newRow("? is a letter") << QByteArray("?.mp3") << QByteArray("\xC3\xA9.mp3") << true;
        QTest::newRow("? is not two") << QByteArray("?.mp3") << QByteArray("ab.mp3") << false;
        QTest::newRow("backtracking") << QByteArray("*a*b*c") << QByteArray("abcxaybzc") << true;
        QTest::newRow("[ is literal") << QByteArray("[ab].mp3") << QByteArray("a.mp3") << false;
    }
    void matching()
    {
        QFETCH(QByteArray, pattern);
        QFETCH(QByteArray, name);
        QTEST(matchesPattern(pattern.toStdString(), name.toStdString()), "matches");
    }

    // Every kind of entry matches; only regular files, links followed, have
    // a size.
    void realFolder()
    {
        QTemporaryDir dir;
        const QByteArray root = QFile::encodeName(dir.path()) + '/';
        // QTemporaryDir removes through decoded names and so cannot remove
        // one that is not UTF-8; std::filesystem works on the bytes.
        const auto removeAll = qScopeGuard([&root] {
            std::error_code ignored;
            std::filesystem::remove_all(root.constData(), ignored);
        });
        test::makeFile(root + "a.mp3", 1234);
        test::makeFile(root + "B.MP3", 5368709120); // sparse
        test::makeFile(root + ".hidden.mp3", 7);
        test::makeFile(root + "Con \xEC\x9E\x90\xEB\xB0\xB1.mp3", 3);
        test::makeFile(root + "caf\xE9.mp3", 2); // not UTF-8
        test::makeFile(root + "a.mp3x", 1);
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("folder.mp3"))));
        QVERIFY(QFile::link(QStringLiteral("a.mp3"), dir.filePath(QStringLiteral("link.mp3"))));
        QVERIFY(QFile::link(QStringLiteral("gone"), dir.filePath(QStringLiteral("broken.mp3"))));
        QVERIFY(QFile::link(QStringLiteral("loop.mp3"), dir.filePath(QStringLiteral("loop.mp3"))));
        const Found expected = {{"a.mp3", 1234},    {"B.MP3", 5368709120},
                                {".hidden.mp3", 7}, {"Con \xEC\x9E\x90\xEB\xB0\xB1.mp3", 3},
                                {"caf\xE9.mp3", 2}, {"folder.mp3", 0},
                                {"link.mp3", 1234}, {"broken.mp3", 0},
                                {"loop.mp3", 0}};
        QCOMPARE(searchAll(root + "*.mp3"), expected);
        QVERIFY(!searchAll("/*").empty()); // the root's pattern has no folder before its "/"
        // A folder that is missing or a file matches nothing.
        QVERIFY(searchAll(root + "missing/*.mp3").empty() && searchAll(root + "a.mp3/*").empty());
    }

    // Depth first through a tree deeper than the open folders allowed, so
    // folders are closed and found again where they stopped; links to
    // folders are listed when they match but never entered, and only files
    // count as regular. (The natural order is tst_listformats'.)
    void recursiveWalk_data()
    {
        QTest::addColumn<bool>("natural");
        QTest::newRow("file system's order") << false;
        QTest::newRow("natural order") << true;
    }
    void recursiveWalk()
    {
        QFETCH(bool, natural);
        QTemporaryDir dir;
        QByteArray folder = QFile::encodeName(dir.path());
        Found expected;
        QByteArray relative;
        for (int depth = 0; depth < 6; ++depth) {
            for (int i = 0; i < 40; ++i) {
                const QByteArray name = relative + QByteArray::number(i) + ".mp3";
                test::makeFile(folder + '/' + name, depth);
                expected.emplace(name, depth);
            }
            QVERIFY(QFile::link(QStringLiteral(".."),
                                QFile::decodeName(folder + '/' + relative + "up.mp3")));
            expected.emplace(relative + "up.mp3", 0);
            relative += "d" + QByteArray::number(depth) + ".mp3/";
            QVERIFY(QDir().mkpath(QFile::decodeName(folder + '/' + relative)));
            expected.emplace(relative.chopped(1), 0);
        }
        Found found;
        walk(*recursive(natural, {}, 2), folder + "/*.mp3", found, 2,
             [](const QByteArray &name, const FolderEntry &entry) {
                 const char first = name[name.lastIndexOf('/') + 1];
                 QCOMPARE(entry.regular, first >= '0' && first <= '9');
             });
        QCOMPARE(found, expected);
    }

    // Trees deeper than PATH_MAX below root/d, listed whole with the default
    // number of open folders: coming back up must not go by whole paths. In
    // either order the first chain is moved out to root/away
    // while it is walked, so that ".." leads elsewhere and the walk has to
    // find the closed folder above it again, name by name from root/d.
    void deepTree_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("files");  // at the deepest folder
        QTest::addColumn<int>("chains"); // below it, each ending in one file
        QTest::addColumn<bool>("natural");
        for (const bool natural : {false, true}) {
            const char *order = natural ? ", natural order" : "";
            QTest::addRow("2,500 levels, 30 files, 30 chains of 20%s", order)
                << 2500 << 30 << 30 << natural;
            QTest::addRow("a chain of 5,000%s", order) << 5000 << 1 << 0 << natural;
        }
    }
    void deepTree()
    {
        QFETCH(int, depth);
        QFETCH(int, files);
        QFETCH(int, chains);
        QFETCH(bool, natural);
        // Memory, where there is some: on disk the tree alone takes seconds.
        QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                              ? QStringLiteral("/dev/shm/tst_foldersearch-XXXXXX")
                              : QDir::tempPath() + QStringLiteral("/tst_foldersearch-XXXXXX"));
        const QByteArray root = QFile::encodeName(dir.path());
        const int rootFd = ::open(root.constData(), O_RDONLY | O_DIRECTORY);
        int firstChain = -1;
        const auto removeAll = qScopeGuard([&] {
            ::close(rootFd);
            ::close(firstChain);
            // rm walks by descriptors; QDir would stop at PATH_MAX.
            QProcess::execute(QStringLiteral("rm"),
                              {QStringLiteral("-rf"), QFile::decodeName(root)});
        });
        const int bottom = makeChain(rootFd, depth);
        QVERIFY(bottom >= 0);
        const QByteArray path = QByteArray("d/").repeated(depth - 1); // below root/d
        const QByteArray chain = QByteArray("/d").repeated(20) + "/x.mp3";
        Found expected;
        for (int i = 0; i < files; ++i) {
            const QByteArray name = QByteArray::number(i) + ".mp3";
            ::close(openat(bottom, name.constData(), O_WRONLY | O_CREAT, 0644));
            expected.emplace(path + name, 0);
        }
        for (int i = 0; i < chains; ++i) {
            const QByteArray name = 'c' + QByteArray::number(i);
            QCOMPARE(mkdirat(bottom, name.constData(), 0755), 0);
            const int chainTop = openat(bottom, name.constData(), O_RDONLY | O_DIRECTORY);
            const int chainEnd = makeChain(chainTop, 20);
            QVERIFY(chainEnd >= 0);
            ::close(openat(chainEnd, "x.mp3", O_WRONLY | O_CREAT, 0644));
            ::close(chainEnd);
            if (i == 0)
                firstChain = chainTop;
            else
                ::close(chainTop);
            expected.emplace(path + name + chain, 0);
        }
        ::close(bottom);

        const auto fail = [](std::string_view path, int error) {
            QFAIL(qPrintable(QString::fromLocal8Bit(std::strerror(error)) + u' ' +
                             QString::number(path.size())));
        };
        const auto moveFirstChain = [&](const QByteArray &name, const FolderEntry &) {
            if (name == path + "c0" + chain)
                QCOMPARE(renameat(firstChain, "d", rootFd, "away"), 0);
        };
        Found found;
        walk(*recursive(natural, fail), root + "/d/*.mp3", found, 16, moveFirstChain);
        QCOMPARE(found, expected);
    }

    // Entries removed after the search started are skipped, never reported
    // with a made-up size.
    void entriesRemovedWhileReading()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 300; ++i)
            test::makeFile(QFile::encodeName(dir.filePath(QStringLiteral("%1.mp3").arg(i))), 1);
        PosixFolderSearch search;
        FolderEntry entry;
        QVERIFY(search.findFirst(QFile::encodeName(dir.path()).toStdString() + "/*.mp3", entry));
        QVERIFY(dir.remove());
        int reported = 1;
        for (; search.findNext(entry); ++reported)
            QCOMPARE(entry.size, std::uint64_t(1));
        QVERIFY(reported < 300);
    }
};

QTEST_GUILESS_MAIN(tst_FolderSearch)
#include "tst_foldersearch.moc"
