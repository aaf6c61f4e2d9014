// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "doubles/Mp3Files.h"
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
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

using namespace tunefold;
using namespace Qt::StringLiterals;

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
        // A playlist's comment and blank starts, and a line break it refuses.
        for (const QByteArray &name :
             {"a/" + m_hostile, "#x.mp3"_ba, " x.mp3"_ba, "a/lone\rcr.mp3"_ba})
            QVERIFY(test::writeMp3(("music/" + name).constData(), &utf8));
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
        QTest::addColumn<ListFormat>("format"); // the row's name is the golden file's
        QTest::newRow("tree-fragment.html") << ListFormat::Fragment;
        QTest::newRow("tree-page.html") << ListFormat::Page;
        QTest::newRow("tree.m3u") << ListFormat::M3u;
        QTest::newRow("tree.jsonl") << ListFormat::Json;
        QTest::newRow("tree.csv") << ListFormat::Csv;
    }
    void matchesGolden()
    {
        QFETCH(ListFormat, format);
        const Listed listed = list(format);
        QCOMPARE(listed.outcome.kind, ListOutcome::Written);
        // Only a playlist cannot hold a line break in a name; it says so.
        const bool m3u = format == ListFormat::M3u;
        const QList<QByteArray> refused = {"a/lone\rcr.mp3", "a/" + m_hostile};
        QCOMPARE(listed.refused, m3u ? refused : QList<QByteArray>{});
        // The link up is no file; a playlist takes only what plays.
        QCOMPARE(listed.outcome.count, m3u ? 6u : format == ListFormat::Fragment ? 11u : 10u);
        const QString expected =
            QStringLiteral(TUNEFOLD_TEST_DATA "/golden/") + QLatin1String(QTest::currentDataTag());
        if (qEnvironmentVariableIsSet("TUNEFOLD_WRITE_GOLDEN")) {
            test::writeFile(expected, listed.document);
            QSKIP("golden file written");
        }
        QCOMPARE(listed.document, test::readFile(expected));
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
        QTest::addColumn<QByteArray>("sorted"); // names between "|", each ending in ".mp3"
        QTest::newRow("past 64 bits") << "t18446744073709551616|t18446744073709551617|"
                                         "t99999999999999999999|t100000000000000000000"_ba;
        QTest::newRow("leading zeros") << "007|7|08|010|0100"_ba;
        QTest::newRow("mixed case") << "A|a|b|C|track 9B|Track 10a"_ba;
        QTest::newRow("late difference") << "abcdefgh 2|ABCDEFGH 10|abcdefghijklmnop 9|"
                                            "abcdefghijklmnopQ|abcdefghijklmnopr"_ba;
    }
    void sortsNaturally()
    {
        QFETCH(QByteArray, sorted);
        std::vector<std::string> names;
        for (const QByteArray &name : sorted.split('|'))
            names.insert(names.begin(), name.toStdString() + ".mp3");
        sortNaturally(names);
        QByteArray listed;
        for (const std::string &name : names)
            listed += QByteArray::fromStdString(name).chopped(4) + '|';
        QCOMPARE(listed.chopped(1), sorted);
    }
};

QTEST_GUILESS_MAIN(tst_ListFormats)
#include "tst_listformats.moc"
