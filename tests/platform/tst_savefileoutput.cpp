// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SaveFileOutput.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tunefold;

// The user's file is replaced only by a complete document, never by a part.
// Targets that cannot be opened are tunefold-list's test.
class tst_SaveFileOutput : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void write(const QString &name, const QByteArray &content) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path()));
        write(QStringLiteral("list.html"), "old");
    }

    // The old content stays until commit; a discard leaves no trace.
    void replacesOnlyOnCommit()
    {
        const auto permissions =
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(path(QStringLiteral("list.html")), permissions));
        SaveFileOutput output;
        QVERIFY(output.open(QFile::encodeName(path(QStringLiteral("list.html")))));
        QVERIFY(output.write(std::string(100000, 'x')));
        QCOMPARE(read(QStringLiteral("list.html")), QByteArray("old"));
        output.discard();
        QCOMPARE(read(QStringLiteral("list.html")), QByteArray("old"));
        QVERIFY(output.open(QFile::encodeName(path(QStringLiteral("new.html")))));
        output.discard();
        QCOMPARE(files(), QStringList{QStringLiteral("list.html")});

        QVERIFY(output.open(QFile::encodeName(path(QStringLiteral("list.html")))));
        QVERIFY(output.write("new") && output.commit());
        QCOMPARE(read(QStringLiteral("list.html")), QByteArray("new"));
        QCOMPARE(files(), QStringList{QStringLiteral("list.html")});
        QCOMPARE(QFile::permissions(path(QStringLiteral("list.html"))) & 0x7077,
                 permissions & 0x7077);
    }

    void writesThroughLink()
    {
        QVERIFY(QFile::link(path(QStringLiteral("list.html")), path(QStringLiteral("link.html"))));
        SaveFileOutput output;
        QVERIFY(output.open(QFile::encodeName(path(QStringLiteral("link.html")))));
        QVERIFY(output.write("new") && output.commit());
        QVERIFY(QFileInfo(path(QStringLiteral("link.html"))).isSymLink());
        QCOMPARE(read(QStringLiteral("list.html")), QByteArray("new"));
    }
};

QTEST_GUILESS_MAIN(tst_SaveFileOutput)
#include "tst_savefileoutput.moc"
