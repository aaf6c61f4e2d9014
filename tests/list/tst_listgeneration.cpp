// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "list/ListGeneration.h"

#include <QTest>

using namespace tunefold;
using test::ShownMessage;
Q_DECLARE_METATYPE(ShownMessage)

namespace {

// The window's side of one click, all of it scripted.
struct Click
{
    test::ScriptedFolderSearch search;
    test::ScriptedDialog dialog;
    test::MemoryOutput output;
    test::RecordingMessageBox messages;

    explicit Click(std::size_t matches, QList<std::optional<QString>> answers = {})
    {
        for (std::size_t i = 0; i < matches; ++i)
            search.entries.emplace_back(std::to_string(i) + ".mp3", 1048576);
        dialog.answers = std::move(answers);
    }
    void run(const QByteArray &folder = "/music")
    {
        Image2_Click(folder, search, dialog, output, messages);
    }
    QByteArray document() const { return QByteArray::fromStdString(output.committed); }
};

const QString Target = QStringLiteral("/tmp/list.html");

} // namespace

class tst_ListGeneration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One "/" between the folder and the name pattern, the root included.
    void pattern()
    {
        QCOMPARE(mp3Pattern("/"), QByteArray("/*.mp3"));
        QCOMPARE(mp3Pattern("/home/a/Music"), QByteArray("/home/a/Music/*.mp3"));
        QCOMPARE(mp3Pattern("/home/a/"), QByteArray("/home/a/*.mp3"));
        Click click(0);
        click.run("/music");
        QCOMPARE(click.search.pattern, std::string("/music/*.mp3"));
    }

    void dialogIsSetUpAndRemembered()
    {
        Click click(1, {Target, std::nullopt});
        click.run();
        QCOMPARE(click.dialog.DefaultExt, QStringLiteral("html"));
        QCOMPARE(click.dialog.DialogTitle, QStringLiteral("Save your MP3 list..."));
        QCOMPARE(click.dialog.Filter, QStringLiteral("HTML Files (*.html)|*.html"));
        QVERIFY(click.dialog.CancelError);
        // A cancel writes and shows nothing; the dialog still holds the
        // first choice to offer next time.
        click.output.committed = "old";
        click.messages.shown.clear();
        click.run();
        QCOMPARE(click.dialog.FileName, Target);
        QCOMPARE(click.output.committed, std::string("old"));
        QVERIFY(click.messages.shown.isEmpty());
        QCOMPARE(click.search.closes, 2);
    }

    // Nothing found asks nothing; otherwise the count of rows written,
    // beyond what 16 bits hold too, and sizes with the user's decimal comma.
    void finishes_data()
    {
        QTest::addColumn<int>("matches");
        QTest::addColumn<ShownMessage>("message");
        const QString done = QStringLiteral(" MP3's were generated, have a nice day!");
        const QString finished = QStringLiteral("Finished");
        QTest::newRow("none") << 0
                              << ShownMessage{
                                     QStringLiteral("Sorry, there are no MP3's in this directory"),
                                     0, QStringLiteral("No files found")};
        QTest::newRow("one") << 1 << ShownMessage{u'1' + done, 64, finished};
        QTest::newRow("past 16 bits")
            << 65537 << ShownMessage{QStringLiteral("65537") + done, 64, finished};
    }
    void finishes()
    {
        QFETCH(int, matches);
        QFETCH(ShownMessage, message);
        Click click(std::size_t(matches), {Target});
        click.run();
        QCOMPARE(click.dialog.shown, matches ? 1 : 0);
        QCOMPARE(click.messages.shown, QList<ShownMessage>{message});
        if (matches == 0)
            return;
        QCOMPARE(click.document().count("\r\n"), 5 + 4 * matches);
        QCOMPARE(click.document().count("<TR>"), matches);
        QVERIFY(click.document().endsWith("1,00 MB</TD>\r\n</TR>\r\n</TABLE>\r\n"));
    }

    void failuresEndSilently_data()
    {
        QTest::addColumn<bool>("failOpen");
        QTest::addColumn<int>("failAfter");
        QTest::newRow("cannot open") << true << -1;
        QTest::newRow("disk fills at once") << false << 0;
        QTest::newRow("disk fills part way") << false << 300000;
    }
    void failuresEndSilently()
    {
        QFETCH(bool, failOpen);
        QFETCH(int, failAfter);
        Click click(5000, {Target});
        click.output.failOpen = failOpen;
        click.output.failAfter = failAfter < 0 ? std::string::npos : std::size_t(failAfter);
        click.run();
        QVERIFY(click.messages.shown.isEmpty());
        QCOMPARE(click.output.committed, std::string("old"));
        QCOMPARE(click.output.discards, failOpen ? 0 : 1);
        QCOMPARE(click.search.closes, 1);
    }
};

int main(int argc, char *argv[])
{
    // Qt takes the user's locale from the environment, whether or not the
    // system has that locale installed.
    qputenv("LC_ALL", "de_DE.UTF-8");
    QCoreApplication app(argc, argv);
    tst_ListGeneration test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_listgeneration.moc"
