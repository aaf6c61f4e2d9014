// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "doubles/Mp3Files.h"
#include "list/ListGeneration.h"
#include "list/NaturalOrder.h"
#include "platform/CoverImage.h"
#include "platform/NaturalFolderSearch.h"
#include "platform/TagLibTrackReader.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace tunefold;

Q_DECLARE_METATYPE(ListFormat)

// The four formats over a real tree of small MP3 files whose tags come in
// every encoding, and of files that are not what their names say.
class tst_ListFormats : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // The name no format may spoil: markup, quotes, a line break and a byte
    // that is not UTF-8.
    const QByteArray m_hostile = "Rock & <b>Roll \"1\" 'x'\nline \xE9.mp3";

    struct Listed
    {
        ListOutcome outcome;
        QByteArray document;
        QList<QByteArray> refused;
    };

    static Listed list(ListFormat format)
    {
        Listed listed;
        NaturalFolderSearch search(true, sortNaturally);
        test::MemoryOutput output;
        output.pending.clear();
        ListRequest request{format,
                            [] { return std::make_unique<TagLibTrackReader>(); },
                            [&](std::string_view path, const char *) {
                                listed.refused.append(
                                    QByteArray(path.data(), qsizetype(path.size())));
                            },
                            {}};
        request.setup.coverImage = [](std::string_view folder) {
            return findCoverImage("music/" + std::string(folder));
        };
        listed.outcome = generateList(
            "music", search, [] { return std::optional<QByteArray>("out"); }, output,
            QStringLiteral("."), request);
        listed.document = QByteArray::fromStdString(output.committed);
        return listed;
    }

private Q_SLOTS:
    void cleanupTestCase()
    {
        // QTemporaryDir cannot remove a name that is not UTF-8.
        ::chmod("partial/locked", 0755);
        std::filesystem::remove_all(m_dir.path().toStdString());
    }

    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QDir().mkpath(QStringLiteral("music/B Side/Deeper")));
        QVERIFY(QDir().mkpath(QStringLiteral("music/a")));
        using TagLib::String;
        using test::Tags;
        const Tags utf8{String("Zehn \xE2\x99\xAA", String::UTF8),
                        String("\xC3\x86r\xC3\xB8", String::UTF8),
                        String("Album & <Co>", String::UTF8),
                        10,
                        String::UTF8,
                        4};
        const Tags latin1{String("Caf\xE9", String::Latin1),
                          String("Bj\xF6rk", String::Latin1),
                          String("Na\xEFve", String::Latin1),
                          2,
                          String::Latin1,
                          3};
        const Tags utf16{String("\xE6\x97\xA5\xE6\x9C\xAC", String::UTF8),
                         String("\"Q\" 'S'", String::UTF8),
                         String("\xCE\xB1", String::UTF8),
                         1,
                         String::UTF16,
                         3};
        QVERIFY(test::writeMp3("music/10 ten.mp3", &utf8));
        QVERIFY(test::writeMp3("music/2 two.MP3", &latin1, 4, 2297)); // 1:00
        QVERIFY(test::writeMp3("music/B Side/utf16.mp3", &utf16, 4, 230));
        QVERIFY(test::writeMp3("music/B Side/Deeper/untagged.mp3", nullptr, 6, 0));
        QVERIFY(test::writeMp3(("music/a/" + m_hostile).constData(), &utf8));
        // A tag that promises more than the file holds, and no audio at all.
        QVERIFY(test::writeMp3("music/a/truncated.mp3", &latin1));
        QVERIFY(::truncate("music/a/truncated.mp3", 60) == 0);
        test::makeFile("music/a/not audio.mp3", 0);
        QFile text(QStringLiteral("music/a/not audio.mp3"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("just some text\n") == 15);
        text.close();
        // A link back up is listed (its name matches) but never entered.
        QVERIFY(QFile::link(QStringLiteral(".."), QStringLiteral("music/a/up.mp3")));
        test::makeFile("music/notes.txt", 3);
        // The page shows the preferred picture of a folder, whatever its case.
        test::makeFile("music/B Side/Front.jpg", 3);
        test::makeFile("music/B Side/FOLDER.PNG", 3);
        QVERIFY(QFile::link(QStringLiteral("nowhere"), QStringLiteral("music/B Side/cover.jpg")));
    }

    // Every format against its golden file; the names in the document are
    // the names in the tree, sorted naturally ("2" before "10").
    void matchesGolden_data()
    {
        QTest::addColumn<ListFormat>("format");
        QTest::addColumn<QString>("golden");
        QTest::newRow("fragment") << ListFormat::Fragment << QStringLiteral("tree-fragment.html");
        QTest::newRow("page") << ListFormat::Page << QStringLiteral("tree-page.html");
        QTest::newRow("m3u") << ListFormat::M3u << QStringLiteral("tree.m3u");
        QTest::newRow("json") << ListFormat::Json << QStringLiteral("tree.jsonl");
        QTest::newRow("csv") << ListFormat::Csv << QStringLiteral("tree.csv");
    }
    void matchesGolden()
    {
        QFETCH(ListFormat, format);
        QFETCH(QString, golden);
        const Listed listed = list(format);
        QCOMPARE(listed.outcome.kind, ListOutcome::Written);
        // Only a playlist cannot hold a line break in a name; it says so.
        const bool m3u = format == ListFormat::M3u;
        QCOMPARE(listed.refused, m3u ? QList<QByteArray>{"a/" + m_hostile} : QList<QByteArray>{});
        // The link up is no file; a playlist takes only what plays.
        QCOMPARE(listed.outcome.count, m3u ? 4u : format == ListFormat::Fragment ? 8u : 7u);
        QFile expected(QStringLiteral(TUNEFOLD_TEST_DATA "/golden/") + golden);
        if (qEnvironmentVariableIsSet("TUNEFOLD_WRITE_GOLDEN")) {
            QVERIFY(expected.open(QIODevice::WriteOnly));
            expected.write(listed.document);
            QSKIP("golden file written");
        }
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(listed.document, expected.readAll());
    }

    void pageIsWellFormedHtml()
    {
        QFile page(m_dir.filePath(QStringLiteral("page.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write(list(ListFormat::Page).document);
        page.close();
        QProcess checker;
        checker.start(QStringLiteral("python3"),
                      {QStringLiteral(TUNEFOLD_TEST_DATA "/check_page.py"), page.fileName()});
        QVERIFY(checker.waitForFinished(30000));
        QVERIFY2(checker.exitCode() == 0, checker.readAllStandardError());
    }

    // More files than the readers hold at once still come out in order.
    void manyFilesKeepTheirOrder()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("many")));
        for (int i = 0; i < 300; ++i)
            test::makeFile("many/" + QByteArray::number(i) + ".mp3");
        NaturalFolderSearch search(false, sortNaturally);
        test::MemoryOutput output;
        ListRequest request{
            ListFormat::Json, [] { return std::make_unique<TagLibTrackReader>(); }, {}, {}};
        const ListOutcome outcome = generateList(
            "many", search, [] { return std::optional<QByteArray>("out"); }, output,
            QStringLiteral("."), request);
        QCOMPARE(outcome.count, 300u);
        const QList<QByteArray> lines = QByteArray::fromStdString(output.committed).split('\n');
        for (int i = 0; i < 300; ++i)
            QVERIFY(lines[i].startsWith("{\"path\":\"" + QByteArray::number(i) + ".mp3\""));
    }

    // A sub-folder that cannot be read is reported with its reason and
    // skipped; the list is still complete and the status says it is partial.
    void unreadableSubFolder()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("partial/locked")));
        test::makeFile("partial/ok.mp3");
        test::makeFile("partial/locked/hidden.mp3");
        QVERIFY(::chmod("partial/locked", 0) == 0 && ::chmod(".", 0755) == 0);
        QStringList command = {QStringLiteral(TUNEFOLD_BIN_DIR "/tunefold-list"),
                               QStringLiteral("-r"), QStringLiteral("--format=page"),
                               QStringLiteral("partial"), QStringLiteral("-")};
        // Root reads any folder, so the list runs as nobody there.
        if (::geteuid() == 0)
            command = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups")} +
                      command;
        QProcess tool;
        tool.start(::geteuid() == 0 ? QStringLiteral("setpriv") : command.takeFirst(), command);
        QVERIFY(tool.waitForFinished(30000));
        const QByteArray page = tool.readAllStandardOutput();
        QCOMPARE(tool.readAllStandardError(), "tunefold-list: partial/locked: Permission denied\n"
                                              "1 MP3's were generated, have a nice day!\n");
        QCOMPARE(tool.exitCode(), 2);
        QVERIFY(page.contains("href=\"partial/ok.mp3\"") && page.endsWith("</html>\n"));
    }

    // Each line is one JSON object, and each name reads back as its bytes.
    void jsonLinesGiveTheNamesBack()
    {
        const QList<QByteArray> lines = list(ListFormat::Json).document.split('\n');
        QCOMPARE(lines.last(), QByteArray());
        std::set<QByteArray> names;
        for (const QByteArray &line : lines.first(lines.size() - 1)) {
            QJsonParseError error;
            const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
            QVERIFY2(error.error == QJsonParseError::NoError, line);
            names.insert(object.contains(QLatin1String("path_base64"))
                             ? QByteArray::fromBase64(
                                   object[QLatin1String("path_base64")].toString().toLatin1())
                             : object[QLatin1String("path")].toString().toUtf8());
        }
        const std::set<QByteArray> expected = {
            "10 ten.mp3",     "2 two.MP3",       "B Side/utf16.mp3", "B Side/Deeper/untagged.mp3",
            "a/" + m_hostile, "a/truncated.mp3", "a/not audio.mp3"};
        QCOMPARE(names, expected);
    }
};

QTEST_GUILESS_MAIN(tst_ListFormats)
#include "tst_listformats.moc"
