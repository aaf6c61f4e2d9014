// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtCommonDialog.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace tunefold;

class tst_QtDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(".config")));
    }

    // The save dialog as list generation sets it up, shown twice: a name
    // typed without its extension gets it, replacing a file asks nothing,
    // and the next showing offers the last choice again; and nothing of it
    // is left in the user's home or configuration folder.
    void saveDialog()
    {
        const QString target = QDir::tempPath() + "/list.html";
        QtCommonDialog dialog;
        dialog.DefaultExt = "html";
        dialog.DialogTitle = "Save your MP3 list...";
        dialog.Filter = "HTML Files (*.html)|*.html";
        QStringList offered;
        // Answers the dialog once it is up, with the name typed without its
        // extension, and closes it by done(), which asks nothing, before any
        // check can fail and leave it open; the dialog lives until its exec()
        // returns.
        const auto answer = [&](QDialog::DialogCode code) {
            auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(files);
            offered = files->selectedFiles();
            files->selectFile(target.chopped(5));
            static_cast<QDialog *>(files)->done(code);
            QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(files->windowTitle(), QStringLiteral("Save your MP3 list..."));
            QCOMPARE(files->nameFilters(), QStringList{"HTML Files (*.html)"});
            QVERIFY(files->testOption(QFileDialog::DontConfirmOverwrite));
        };

        QTimer::singleShot(0, this, [&] { answer(QDialog::Accepted); });
        QVERIFY(dialog.ShowSave());
        QCOMPARE(dialog.FileName, target);
        QTimer::singleShot(0, this, [&] { answer(QDialog::Rejected); });
        QVERIFY(!dialog.ShowSave());
        QCOMPARE(offered, QStringList{target});
        QDirIterator left(m_home.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                          QDirIterator::Subdirectories);
        QVERIFY2(!left.hasNext(), qPrintable(left.next()));
    }
};

QTEST_MAIN(tst_QtDialogs)
#include "tst_qtdialogs.moc"
