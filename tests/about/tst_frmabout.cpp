// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmAbout.h"
#include "app/Application.h"
#include "app/DisplayScale.h"
#include "assets/Assets.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

using namespace tunefold;
using namespace Qt::StringLiterals;

class tst_frmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { initAssets(); }

    // Keys go to the window as the system would send them, so that shortcuts
    // and the focus decide where they land. OK is the default and the cancel
    // button and closes; System Info... shows one message and never closes.
    void openTwice_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("messages");

        // clang-format off
        QTest::newRow("Escape on System Info...") << "cmdSysInfo" << QKeySequence(Qt::Key_Escape) << 0;
        QTest::newRow("Enter on OK") << "cmdOK" << QKeySequence(Qt::KeypadModifier | Qt::Key_Enter) << 0;
        QTest::newRow("Enter on System Info...") << "cmdSysInfo" << QKeySequence(Qt::KeypadModifier | Qt::Key_Enter) << 1;
        QTest::newRow("access key S") << "cmdOK" << QKeySequence(Qt::ALT | Qt::Key_S) << 1;
        // clang-format on
    }

    // Two openings through the main window's entry point and the program's
    // own wiring. Each is modal over the main window and shows its texts
    // afresh with the focus on OK. System Info... (with no machine.reg beside
    // this test) reports over the About box, which stays open.
    void openTwice()
    {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, keys);
        QFETCH(int, messages);

        QWidget mainWindow;
        mainWindow.show();
        QStringList boxes; // text, caption and parent of each message box
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&boxes] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes << box->text() + '|' + box->windowTitle() + '|' +
                             (box->parentWidget() ? box->parentWidget()->objectName() : QString());
                box->accept();
            }
        });
        answer.start(10);
        for (int opening = 0; opening < 2; ++opening) {
            QPointer<QWidget> about;
            QTimer::singleShot(0, this, [&] {
                about = QApplication::activeModalWidget();
                QVERIFY(about);
                const auto closeAnyway = qScopeGuard([&about] { about->close(); });
                QTRY_COMPARE(QApplication::activeWindow(), about.data());
                QCOMPARE(about->parentWidget(), &mainWindow);
                QCOMPARE(QApplication::focusWidget(), about->findChild<QPushButton *>(u"cmdOK"_s));
                const auto *title = about->findChild<QLabel *>(u"lblTitle"_s);
                const auto *version = about->findChild<QLabel *>(u"lblVersion"_s);
                QVERIFY(title && version);
                QCOMPARE(about->windowTitle() + " | " + title->text() + " | " + version->text(),
                         u"About Tunefold | Tunefold | Version " TUNEFOLD_VERSION ""_s);

                about->findChild<QPushButton *>(focus)->setFocus();
                QTest::keySequence(about->windowHandle(), keys);
                // An access key presses its button with a short animation.
                QTRY_COMPARE(boxes.size(), (opening + 1) * messages);
                QCOMPARE(about->isVisible(), messages > 0); // only System Info... keeps it open
            });
            frmAbout::showModal(&mainWindow, displayScale(), programIdentity());
        }
        const QString box = u"System Information Is Unavailable At This Time|Tunefold|frmAbout"_s;
        QCOMPARE(boxes, QStringList(2 * messages, box));
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
