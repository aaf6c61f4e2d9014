// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles/Doubles.h"
#include "list/ListGeneration.h"

#include <QTest>

using namespace tunefold;
using test::ShownMessage;

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
    void choiceIsRemembered()
    {
        Click click(1, {Target, std::nullopt});
        click.run();
        QCOMPARE(click.search.pattern, std::string("/music/*.mp3"));
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
    // A target that cannot be opened or fills up ends silently, the old list
    // kept.
    void finishes_data()
    {
        QTest::addColumn<int>("matches");
        QTest::addColumn<int>("failAt"); // -1: never; -2: at open; else after so many bytes
        QTest::addColumn<QList<ShownMessage>>("messages");
        const QString done = QStringLiteral(" MP3's were generated, have a nice day!");
        const QString finished = QStringLiteral("Finished");
        const ShownMessage none{QStringLiteral("Sorry, there are no MP3's in this directory"), 0,
                                QStringLiteral("No files found")};
        QTest::newRow("none") << 0 << -1 << QList{none};
        QTest::newRow("one") << 1 << -1 << QList{ShownMessage{u'1' + done, 64, finished}};
        QTest::newRow("past 16 bits")
            << 65537 << -1 << QList{ShownMessage{QStringLiteral("65537") + done, 64, finished}};
        QTest::newRow("cannot open") << 5000 << -2 << QList<ShownMessage>{};
        QTest::newRow("disk fills part way") << 5000 << 300000 << QList<ShownMessage>{};
    }
    void finishes()
    {
        QFETCH(int, matches);
        QFETCH(int, failAt);
        QFETCH(QList<ShownMessage>, messages);
        Click click(std::size_t(matches), {Target});
        click.output.failOpen = failAt == -2;
        click.output.failAfter = failAt < 0 ? std::string::npos : std::size_t(failAt);
        click.run();
        QCOMPARE(click.dialog.shown, matches ? 1 : 0);
        QCOMPARE(click.messages.shown, messages);
        QCOMPARE(click.output.discards, failAt >= 0 ? 1 : 0);
        QCOMPARE(click.search.closes, 1);
        if (matches == 0 || failAt != -1) {
            QCOMPARE(click.output.committed, std::string("old"));
            return;
        }
        QCOMPARE(click.document().count("<TR>"), matches);
        QVERIFY(click.document().endsWith("1,00 MB</TD>\r\n</TR>\r\n</TABLE>\r\n"));
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
