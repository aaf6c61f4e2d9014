// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "doubles/Mp3Files.h"
#include "doubles/Processes.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <set>
#include <sys/stat.h>

// Where the entries of a playlist and the links of a page lead, followed as
// a player and a browser follow them: from the folder the list lies in, to
// the very file listed.
class tst_ListLinks : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // Every track below lib/Music.
    const QList<QByteArray> Tracks = QByteArray("9/b.mp3|10/a.mp3|Artist/Album 1/#2 x.mp3|"
                                                "Artist/Album 1/01 a%20b?.mp3|dir.mp3/inner.mp3|"
                                                "raw \xE9.mp3|top \xC3\xA9.mp3")
                                         .split('|');
    using Identity = std::pair<dev_t, ino_t>;

    static std::optional<Identity> identity(const QByteArray &path)
    {
        struct stat st;
        if (::stat(path.constData(), &st) != 0)
            return std::nullopt;
        return Identity{st.st_dev, st.st_ino};
    }
    static tunefold::test::Run list(const QStringList &arguments)
    {
        return tunefold::test::run(QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list"), arguments);
    }

    // What a document points at: playlist lines that are not comments, or
    // page links and pictures, percent-decoded.
    static QList<QByteArray> targets(const QByteArray &document, bool page)
    {
        QList<QByteArray> found;
        if (!page) {
            for (const QByteArray &line : document.split('\n')) {
                if (!line.isEmpty() && !line.startsWith('#'))
                    found.append(line);
            }
            return found;
        }
        static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
        for (const auto &match : link.globalMatch(QString::fromLatin1(document)))
            found.append(QByteArray::fromPercentEncoding(match.captured(1).toLatin1()));
        return found;
    }

    // Each target resolved from folder, as the kernel resolves it.
    static std::set<Identity> resolve(const QList<QByteArray> &found, const QByteArray &folder)
    {
        std::set<Identity> reached;
        for (QByteArray target : found) {
            if (target.startsWith("file://"))
                target = target.mid(7);
            const QByteArray path = target.startsWith('/') ? target : folder + '/' + target;
            const std::optional<Identity> id = identity(path);
            if (!id)
                qWarning("leads nowhere: %s", path.constData());
            else
                reached.insert(*id);
        }
        return reached;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        for (const char *folder :
             {"lib/Music/Artist/Album 1", "lib/Music/9", "lib/Music/10", "lib/Music/dir.mp3",
              "lib/Music/lists", "other/deep/x", "other/real"})
            QVERIFY(QDir().mkpath(QString::fromLatin1(folder)));
        for (const QByteArray &name : Tracks)
            QVERIFY(tunefold::test::writeMp3(("lib/Music/" + name).constData(), nullptr));
        tunefold::test::writeFile(QStringLiteral("lib/Music/text.mp3"), "not music\n");
        tunefold::test::writeFile(QStringLiteral("lib/Music/Artist/Album 1/Cover.JPG"), {});
        QVERIFY(QFile::link(QStringLiteral("nowhere"), QStringLiteral("lib/Music/gone.mp3")));
        QVERIFY(QFile::link(QStringLiteral("other/real"), QStringLiteral("linked")));
        for (const char *suffix : {".m3u8", ".html"})
            QVERIFY(QFile::link(QStringLiteral("other/real/target") + QLatin1String(suffix),
                                QStringLiteral("pl") + QLatin1String(suffix)));
    }
    void cleanupTestCase()
    {
        QDir::setCurrent(QDir::tempPath());
        std::filesystem::remove_all(m_dir.path().toStdString()); // names not UTF-8
    }

    // A playlist and a page saved anywhere lead to every track, and only
    // to tracks (a page also to the file it marks as not audio, and to the
    // cover); neither a folder nor a broken link named *.mp3 is listed.
    void linksLeadToTheFiles_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("resolvedFrom"); // the folder the document really lies in
        QTest::addColumn<QByteArray>("prefix");       // the start of every entry, if any
        const QStringList none;
        QTest::newRow("inside FOLDER")
            << "lib/Music/lists/all" << none << QByteArray("lib/Music/lists") << QByteArray("../");
        QTest::newRow("beside it")
            << "lib/all" << none << QByteArray("lib") << QByteArray("Music/");
        QTest::newRow("unrelated") << "other/deep/x/all" << none << QByteArray("other/deep/x")
                                   << QByteArray("../../../lib/Music/");
        // Through a link to a folder, ".." climbs from where the link leads.
        QTest::newRow("folder behind a link")
            << "linked/all" << none << QByteArray("linked") << QByteArray("../../lib/Music/");
        // OUTPUT a link to a file: written where the link leads, its
        // entries lead from there.
        QTest::newRow("OUTPUT a link")
            << "pl" << none << QByteArray("other/real") << QByteArray("../../lib/Music/");
        QTest::newRow("absolute") << "other/deep/x/all" << QStringList{QStringLiteral("--absolute")}
                                  << QByteArray("other/deep/x") << QByteArray();
    }
    void linksLeadToTheFiles()
    {
        QFETCH(QString, output);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, resolvedFrom);
        QFETCH(QByteArray, prefix);
        for (const bool page : {false, true}) {
            const QString target = output + (page ? ".html" : ".m3u8");
            const auto run = list(options + QStringList{QStringLiteral("-r"),
                                                        page ? QStringLiteral("--format=page")
                                                             : QStringLiteral("--format=m3u"),
                                                        QStringLiteral("lib/Music"), target});
            QCOMPARE(run.status, 0);
            const QList<QByteArray> found = targets(tunefold::test::readFile(target), page);
            QList<QByteArray> expected = Tracks;
            if (page)
                expected << "text.mp3"
                         << "Artist/Album 1/Cover.JPG";
            std::set<Identity> files;
            for (const QByteArray &path : expected)
                files.insert(*identity("lib/Music/" + path));
            QCOMPARE(found.size(), expected.size());
            QCOMPARE(resolve(found, resolvedFrom), files);
            for (const QByteArray &entry : found) {
                const QByteArray bare = entry.startsWith("./") ? entry.mid(2) : entry;
                QVERIFY2(prefix.isEmpty() ? bare.startsWith('/') || bare.startsWith("file:///")
                                          : bare.startsWith(prefix),
                         entry);
            }
        }
    }

    // --base: the URL, then the path below FOLDER, percent-encoded.
    void baseUrl()
    {
        const auto run = list(
            QStringLiteral("-r --format=m3u --base https://h.example/m lib/Music -").split(u' '));
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains("https://h.example/m/Artist/Album%201/01%20a%2520b%3F.mp3"));
        QVERIFY(run.out.contains("https://h.example/m/raw%20%E9.mp3"));
        QVERIFY(run.out.contains("https://h.example/m/Artist/Album%201/%232%20x.mp3"));
    }
};

QTEST_GUILESS_MAIN(tst_ListLinks)
#include "tst_listlinks.moc"
