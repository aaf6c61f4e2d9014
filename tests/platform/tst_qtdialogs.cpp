// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtCommonDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tunefold;

namespace {

// Runs act on the next modal window as soon as it is up, as a user would.
// Counts the modal windows that came up, so a question that should not be
// asked is caught (and closed, so the test does not hang).
class ModalScript : public QObject
{
public:
    explicit ModalScript(std::function<void(QWidget *)> act) : m_act(std::move(act))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    int seen = 0;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last)
            return;
        m_last = modal;
        ++seen;
        if (seen == 1)
            m_act(modal);
        // Whatever act left open (a failed check returns early) is closed,
        // so the call under test returns.
        if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && dialog->isVisible())
            dialog->reject();
    }

    std::function<void(QWidget *)> m_act;
    QTimer m_timer;
    QWidget *m_last = nullptr;
};

} // namespace

class tst_QtDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveDialog();
};

void tst_QtDialogs::saveDialog()
{
    QTemporaryDir folder;
    const QString existing = QDir(folder.path()).canonicalPath() + "/old.html";
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QtCommonDialog dialog;
    dialog.DefaultExt = QStringLiteral("html");
    dialog.DialogTitle = QStringLiteral("Save your MP3 list...");
    dialog.Filter = QStringLiteral("HTML Files (*.html)|*.html");
    {
        ModalScript first([&](QWidget *modal) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            QVERIFY(files);
            QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(files->windowTitle(), QStringLiteral("Save your MP3 list..."));
            QCOMPARE(files->nameFilters(), QStringList{"HTML Files (*.html)"});
            // Typed without its extension, and the file exists already.
            files->selectFile(existing.chopped(5));
            static_cast<QDialog *>(files)->accept();
        });
        QVERIFY(dialog.ShowSave());
        QCOMPARE(dialog.FileName, existing);
        QTest::qWait(50);
        QCOMPARE(first.seen, 1); // no question before replacing
    }

    // The next showing offers the last choice.
    QStringList offered;
    ModalScript second(
        [&](QWidget *modal) { offered = qobject_cast<QFileDialog *>(modal)->selectedFiles(); });
    QVERIFY(!dialog.ShowSave());
    QCOMPARE(offered, QStringList{existing});
}

QTEST_MAIN(tst_QtDialogs)
#include "tst_qtdialogs.moc"
