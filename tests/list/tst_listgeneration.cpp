// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "list/ListGeneration.h"

#include <QTest>

using namespace tunefold;
using test::ShownMessage;

class tst_ListGeneration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pattern_data();
    void pattern();
    void noMatchAsksNothing();
    void cancelWritesNothing();
    void dialogIsSetUpAndRemembered();
    void oneMatch();
    void countPastSixteenBits();
    void failuresEndSilently_data();
    void failuresEndSilently();
};

namespace {

// The window's side of one click, all of it scripted.
struct Click
{
    test::ScriptedFolderSearch search;
    test::ScriptedDialog dialog;
    test::MemoryOutput output;
    test::RecordingMessageBox messages;

    void run(const QByteArray &folder = "/music")
    {
        Image2_Click(folder, search, dialog, output, messages);
    }
};

} // namespace

void tst_ListGeneration::pattern_data()
{
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QByteArray>("pattern");
    QTest::newRow("root") << QByteArray("/") << QByteArray("/*.mp3");
    QTest::newRow("folder") << QByteArray("/home/a/Music") << QByteArray("/home/a/Music/*.mp3");
    QTest::newRow("closing slash") << QByteArray("/home/a/") << QByteArray("/home/a/*.mp3");
}

void tst_ListGeneration::pattern()
{
    QFETCH(QByteArray, folder);
    QFETCH(QByteArray, pattern);
    Click click;
    click.run(folder);
    QCOMPARE(QByteArray::fromStdString(click.search.pattern), pattern);
}

void tst_ListGeneration::noMatchAsksNothing()
{
    Click click;
    click.run();
    QCOMPARE(click.dialog.shown, 0);
    QCOMPARE(click.messages.shown,
             (QList<ShownMessage>{{QStringLiteral("Sorry, there are no MP3's in this directory"), 0,
                                   QStringLiteral("No files found")}}));
    QVERIFY(click.output.committed.empty());
}

void tst_ListGeneration::cancelWritesNothing()
{
    Click click;
    click.search.entries = {{"a.mp3", 1}};
    click.dialog.answers = {std::nullopt};
    click.output.committed = "old";
    click.run();
    QCOMPARE(click.dialog.shown, 1);
    QVERIFY(click.messages.shown.isEmpty());
    QCOMPARE(click.output.committed, std::string("old"));
    QVERIFY(click.output.pending.empty());
    QCOMPARE(click.search.closes, 1);
}

void tst_ListGeneration::dialogIsSetUpAndRemembered()
{
    Click click;
    click.search.entries = {{"a.mp3", 1}};
    click.dialog.answers = {QStringLiteral("/tmp/first.html"), std::nullopt};
    click.run();
    QCOMPARE(click.dialog.DefaultExt, QStringLiteral("html"));
    QCOMPARE(click.dialog.DialogTitle, QStringLiteral("Save your MP3 list..."));
    QCOMPARE(click.dialog.Filter, QStringLiteral("HTML Files (*.html)|*.html"));
    QVERIFY(click.dialog.CancelError);
    // The second click's dialog still holds the first choice to offer.
    click.run();
    QCOMPARE(click.dialog.shown, 2);
    QCOMPARE(click.dialog.FileName, QStringLiteral("/tmp/first.html"));
}

void tst_ListGeneration::oneMatch()
{
    Click click;
    click.search.entries = {{"a.mp3", 1048576}};
    click.dialog.answers = {QStringLiteral("/tmp/list.html")};
    click.run();
    QCOMPARE(click.messages.shown,
             (QList<ShownMessage>{{QStringLiteral("1 MP3's were generated, have a nice day!"), 64,
                                   QStringLiteral("Finished")}}));
    const QByteArray document = QByteArray::fromStdString(click.output.committed);
    QCOMPARE(document.count("\r\n"), 9);
    QVERIFY(document.endsWith("1.00 MB</TD>\r\n</TR>\r\n</TABLE>\r\n"));
    QCOMPARE(click.search.closes, 1);
}

void tst_ListGeneration::countPastSixteenBits()
{
    Click click;
    click.search.generated = 40000;
    click.dialog.answers = {QStringLiteral("/tmp/list.html")};
    click.run();
    const QByteArray document = QByteArray::fromStdString(click.output.committed);
    QCOMPARE(document.count("\r\n"), 5 + 4 * 40000);
    QCOMPARE(document.count("<TR>"), 40000);
    QVERIFY(document.endsWith("</TR>\r\n</TABLE>\r\n"));
    QCOMPARE(click.messages.shown.size(), 1);
    QCOMPARE(click.messages.shown[0].text,
             QStringLiteral("40000 MP3's were generated, have a nice day!"));
}

void tst_ListGeneration::failuresEndSilently_data()
{
    QTest::addColumn<bool>("failOpen");
    QTest::addColumn<int>("failAfter");
    QTest::newRow("cannot open") << true << -1;
    QTest::newRow("disk fills at once") << false << 0;
    QTest::newRow("disk fills part way") << false << 300000;
}

void tst_ListGeneration::failuresEndSilently()
{
    Click click;
    QFETCH(bool, failOpen);
    QFETCH(int, failAfter);
    click.search.generated = 5000;
    click.dialog.answers = {QStringLiteral("/tmp/list.html")};
    click.output.committed = "old";
    click.output.failOpen = failOpen;
    if (failAfter >= 0)
        click.output.failAfter = std::size_t(failAfter);
    click.run();
    QVERIFY(click.messages.shown.isEmpty());
    QCOMPARE(click.output.committed, std::string("old"));
    QCOMPARE(click.output.discards, failOpen ? 0 : 1);
    QCOMPARE(click.search.closes, 1);
}

QTEST_GUILESS_MAIN(tst_ListGeneration)
#include "tst_listgeneration.moc"
