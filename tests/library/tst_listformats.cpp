// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "doubles/Mp3Files.h"
#include "doubles/Processes.h"
#include "library/EntryWriting.h"
#include "library/NaturalOrder.h"
#include "library/RegularFiles.h"
#include "list/ListGeneration.h"
#include "platform/CoverImage.h"
#include "platform/NaturalFolderSearch.h"
#include "platform/TagLibTrackReader.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <set>

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

    static Listed list(ListFormat format, const QByteArray &folder = "music")
    {
        Listed listed;
        NaturalFolderSearch search(true, sortNaturally);
        test::MemoryOutput output;
        ListRequest request{format,
                            [] { return std::make_unique<TagLibTrackReader>(); },
                            [&](std::string_view path, const char *) {
                                listed.refused.append(
                                    QByteArray(path.data(), qsizetype(path.size())));
                            },
                            {}};
        request.setup.coverImage = [&folder](std::string_view below) {
            return findCoverImage(folder.toStdString() + '/' + std::string(below));
        };
        RegularFiles files(search);
        FolderSearch &tracks =
            format == ListFormat::Fragment ? static_cast<FolderSearch &>(search) : files;
        listed.outcome = generateList(
            folder, tracks, [] { return std::optional<QByteArray>("out"); }, output,
            QStringLiteral("."), entryWriting(request));
        listed.document = QByteArray::fromStdString(output.committed);
        return listed;
    }

private Q_SLOTS:
    void cleanupTestCase()
    {
        // QTemporaryDir cannot remove a name that is not UTF-8.
        std::filesystem::remove_all(m_dir.path().toStdString());
    }

    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(QDir().mkpath(QStringLiteral("music/B Side/Deeper")));
        QVERIFY(QDir().mkpath(QStringLiteral("music/a")));
        using TagLib::String;
        using test::Tags;
        const auto u8 = [](const char *text) { return String(text, String::UTF8); };
        const auto l1 = [](const char *text) { return String(text, String::Latin1); };
        const Tags utf8{u8("Zehn \xE2\x99\xAA"), u8("\xC3\x86r\xC3\xB8"), u8("Album & <Co>"), 10};
        const Tags latin1{l1("Caf\xE9"), l1("Bj\xF6rk"), l1("Na\xEFve"), 2, String::Latin1, 3};
        const Tags utf16{
            u8("\xE6\x97\xA5\xE6\x9C\xAC"), u8("\"Q\" 'S'"), u8("\xCE\xB1"), 1, String::UTF16, 3};
        QVERIFY(test::writeMp3("music/10 ten.mp3", &utf8));
        QVERIFY(test::writeMp3("music/2 two.MP3", &latin1, 4, 2297)); // 1:00
        QVERIFY(test::writeMp3("music/B Side/utf16.mp3", &utf16, 4, 230));
        QVERIFY(test::writeMp3("music/B Side/Deeper/untagged.mp3", nullptr, 6, 0));
        QVERIFY(test::writeMp3(("music/a/" + m_hostile).constData(), &utf8));
        // A tag that promises more than the file holds, and no audio at all.
        QVERIFY(test::writeMp3("music/a/truncated.mp3", &latin1));
        QVERIFY(::truncate("music/a/truncated.mp3", 60) == 0);
        test::writeFile(QStringLiteral("music/a/not audio.mp3"), "just some text\n");
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
        const QString expected = QStringLiteral(TUNEFOLD_TEST_DATA "/golden/") + golden;
        if (qEnvironmentVariableIsSet("TUNEFOLD_WRITE_GOLDEN")) {
            test::writeFile(expected, listed.document);
            QSKIP("golden file written");
        }
        QCOMPARE(listed.document, test::readFile(expected));
    }

    void pageIsWellFormedHtml()
    {
        test::writeFile(QStringLiteral("page.html"), list(ListFormat::Page).document);
        const test::Run checked = test::run(
            QStringLiteral("python3"),
            {QStringLiteral(TUNEFOLD_TEST_DATA "/check_page.py"), QStringLiteral("page.html")});
        QVERIFY2(checked.status == 0, checked.err);
    }

    // More files than the readers hold at once still come out in order,
    // each with its own title.
    void manyFilesKeepTheirOrder()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("many")));
        for (int i = 0; i < 300; ++i) {
            const test::Tags tags{TagLib::String::number(i), {}, {}, 0};
            QVERIFY(test::writeMp3(("many/" + QByteArray::number(i) + ".mp3").constData(), &tags));
        }
        const Listed listed = list(ListFormat::Json, "many");
        QCOMPARE(listed.outcome.count, 300u);
        const QList<QByteArray> lines = listed.document.split('\n');
        for (int i = 0; i < 300; ++i) {
            const QJsonObject row = QJsonDocument::fromJson(lines[i]).object();
            QCOMPARE(row[QLatin1String("path")].toString(), QStringLiteral("%1.mp3").arg(i));
            QCOMPARE(row[QLatin1String("title")].toString(), QString::number(i));
        }
    }

    // --sort name: numbers by value however long, leading zeros and case
    // aside, ties by bytes; the names come in reversed.
    void sortsNaturally_data()
    {
        QTest::addColumn<QList<QByteArray>>("sorted");
        QTest::newRow("past 64 bits")
            << QList<QByteArray>{"t18446744073709551616.mp3", "t18446744073709551617.mp3",
                                 "t99999999999999999999.mp3", "t100000000000000000000.mp3"};
        QTest::newRow("leading zeros")
            << QList<QByteArray>{"007.mp3", "7.mp3", "08.mp3", "010.mp3", "0100.mp3"};
        QTest::newRow("mixed case") << QList<QByteArray>{"A.mp3", "a.mp3",        "b.mp3",
                                                         "C.mp3", "track 9B.mp3", "Track 10a.mp3"};
        QTest::newRow("late difference")
            << QList<QByteArray>{"abcdefgh 2.mp3", "ABCDEFGH 10.mp3", "abcdefghijklmnop 9.mp3",
                                 "abcdefghijklmnopQ.mp3", "abcdefghijklmnopr.mp3"};
    }
    void sortsNaturally()
    {
        QFETCH(QList<QByteArray>, sorted);
        std::vector<std::string> names;
        for (auto name = sorted.crbegin(); name != sorted.crend(); ++name)
            names.push_back(name->toStdString());
        sortNaturally(names);
        QList<QByteArray> listed;
        for (const std::string &name : names)
            listed.append(QByteArray::fromStdString(name));
        QCOMPARE(listed, sorted);
    }

    // Names each format has its own trouble with, at every depth of -r.
    void namesComeBack_data()
    {
        QTest::addColumn<QList<QByteArray>>("names");
        QList<QByteArray> everyByte;
        for (int byte = 1; byte < 256; ++byte) {
            if (byte != '/')
                everyByte.append("n" + QByteArray(1, char(byte)) + ".mp3");
        }
        QTest::newRow("every byte") << everyByte;
        QTest::newRow("longest, other scripts")
            << QList<QByteArray>{QByteArray(251, 'x') + ".mp3", QByteArray(251, '<') + ".mp3",
                                 QStringLiteral("Пісня 音楽 أغنية.mp3").toUtf8()};
        QTest::newRow("line breaks") << QList<QByteArray>{"lone\rcr.mp3", "lf\n.mp3", "\r\n.mp3"};
        QTest::newRow("comment, blanks")
            << QList<QByteArray>{"#x.mp3", " x.mp3", "\tx.mp3", "#EXTINF:1,x.mp3"};
        // A surrogate, an overlong "/", past U+10FFFF, cut short, never UTF-8.
        QTest::newRow("not UTF-8")
            << QList<QByteArray>{"\xED\xA0\x80.mp3", "\xC0\xAF.mp3", "\xF4\x90\x80\x80.mp3",
                                 "\xE2\x82.mp3", "\xFF\xFE.mp3"};
    }
    void namesComeBack()
    {
        QFETCH(QList<QByteArray>, names);
        std::filesystem::remove_all("names");
        std::set<QByteArray> paths, lines, refused;
        for (const QByteArray folder : {"", "d/", "d/e/"}) {
            QVERIFY(QDir().mkpath(QString::fromLatin1("names/" + folder)));
            for (const QByteArray &name : names) {
                QVERIFY(test::writeMp3(("names/" + folder + name).constData(), nullptr));
                paths.insert(folder + name);
                (name.contains('\r') || name.contains('\n') ? refused : lines)
                    .insert(folder + name);
            }
        }
        // Every line is valid JSON without a control character and gives the
        // name's bytes back.
        std::set<QByteArray> got;
        for (const QByteArray &line : list(ListFormat::Json, "names").document.split('\n')) {
            static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f]"));
            QVERIFY2(!QString::fromLatin1(line).contains(control), line);
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            const QString base64 = object[QLatin1String("path_base64")].toString();
            if (!line.isEmpty())
                got.insert(object.contains(QLatin1String("path_base64"))
                               ? QByteArray::fromBase64(base64.toLatin1())
                               : object[QLatin1String("path")].toString().toUtf8());
        }
        QCOMPARE(got, paths);
        // Each link is plain URL characters and decodes to the name's bytes.
        got.clear();
        static const QRegularExpression href(
            QStringLiteral("href=\"((?:[A-Za-z0-9._~/-]|%[0-9A-F]{2})*)\""));
        const QByteArray page = list(ListFormat::Page, "names").document;
        for (const auto &match : href.globalMatch(QString::fromLatin1(page)))
            got.insert(QByteArray::fromPercentEncoding(match.captured(1).toLatin1()));
        QCOMPARE(got, paths);
        QCOMPARE(page.count("href=\""), qsizetype(paths.size()));
        // Each playlist entry is a line a player takes for a path (not a
        // comment, no leading blank) to that file; the others are refused.
        const Listed m3u = list(ListFormat::M3u, "names");
        QCOMPARE(std::set<QByteArray>(m3u.refused.begin(), m3u.refused.end()), refused);
        const QList<QByteArray> entries = m3u.document.split('\n');
        QVERIFY(entries.size() % 2 == 0 && entries.first() == "#EXTM3U");
        got.clear();
        for (qsizetype i = 1; i + 1 < entries.size(); i += 2) {
            QVERIFY2(entries[i].startsWith("#EXTINF:"), entries[i]);
            QVERIFY2(!QByteArray("# \t").contains(entries[i + 1].front()), entries[i + 1]);
            got.insert(entries[i + 1].startsWith("./") ? entries[i + 1].mid(2) : entries[i + 1]);
        }
        QCOMPARE(got, lines);
    }
};

QTEST_GUILESS_MAIN(tst_ListFormats)
#include "tst_listformats.moc"
