// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SaveFileOutput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tunefold;

// The user's file is replaced only by a complete document, never by a part.
class tst_SaveFileOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void replacesExistingFile();
    void discardKeepsOldFile();
    void cannotOpen_data();
    void cannotOpen();
    void writesThroughLink();
    void keepsPermissions();

private:
    QByteArray read(const QString &name) const;
    void write(const QString &name, const QByteArray &content) const;
    QStringList entries() const
    {
        return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_SaveFileOutput::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QByteArray tst_SaveFileOutput::read(const QString &name) const
{
    QFile file(m_dir->filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void tst_SaveFileOutput::write(const QString &name, const QByteArray &content) const
{
    QFile file(m_dir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

void tst_SaveFileOutput::replacesExistingFile()
{
    write(QStringLiteral("list.html"), QByteArray(10000, 'o'));
    SaveFileOutput output;
    QVERIFY(output.open(m_dir->filePath(QStringLiteral("list.html"))));
    QVERIFY(output.write("new"));
    QCOMPARE(read(QStringLiteral("list.html")), QByteArray(10000, 'o'));
    QVERIFY(output.commit());
    QCOMPARE(read(QStringLiteral("list.html")), QByteArray("new"));
    QCOMPARE(entries(), QStringList{QStringLiteral("list.html")});
}

void tst_SaveFileOutput::discardKeepsOldFile()
{
    write(QStringLiteral("list.html"), "old");
    SaveFileOutput output;
    QVERIFY(output.open(m_dir->filePath(QStringLiteral("list.html"))));
    QVERIFY(output.write(std::string(100000, 'x')));
    output.discard();
    QCOMPARE(read(QStringLiteral("list.html")), QByteArray("old"));
    QCOMPARE(entries(), QStringList{QStringLiteral("list.html")}); // no temporary left
    // A target never written before is not created by a discard either.
    QVERIFY(output.open(m_dir->filePath(QStringLiteral("new.html"))));
    output.discard();
    QCOMPARE(entries(), QStringList{QStringLiteral("list.html")});
}

void tst_SaveFileOutput::cannotOpen_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("folder that does not exist") << QStringLiteral("nowhere/list.html");
    QTest::newRow("a folder") << QStringLiteral("sub");
}

void tst_SaveFileOutput::cannotOpen()
{
    QFETCH(QString, target);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
    SaveFileOutput output;
    QVERIFY(!output.open(m_dir->filePath(target)));
    QVERIFY(!output.errorString().isEmpty());
    QVERIFY(entries().isEmpty());
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("sub"))).isDir());
}

void tst_SaveFileOutput::writesThroughLink()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("elsewhere")));
    write(QStringLiteral("elsewhere/real.html"), "old");
    QVERIFY(QFile::link(QStringLiteral("elsewhere/real.html"),
                        m_dir->filePath(QStringLiteral("link.html"))));
    SaveFileOutput output;
    QVERIFY(output.open(m_dir->filePath(QStringLiteral("link.html"))));
    QVERIFY(output.write("new"));
    QVERIFY(output.commit());
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("link.html"))).isSymLink());
    QCOMPARE(read(QStringLiteral("elsewhere/real.html")), QByteArray("new"));
}

void tst_SaveFileOutput::keepsPermissions()
{
    write(QStringLiteral("list.html"), "old");
    const auto permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(m_dir->filePath(QStringLiteral("list.html")), permissions));
    SaveFileOutput output;
    QVERIFY(output.open(m_dir->filePath(QStringLiteral("list.html"))));
    QVERIFY(output.write("new"));
    QVERIFY(output.commit());
    QCOMPARE(QFile::permissions(m_dir->filePath(QStringLiteral("list.html"))) & 0x7077,
             permissions & 0x7077);
}

QTEST_GUILESS_MAIN(tst_SaveFileOutput)
#include "tst_savefileoutput.moc"
