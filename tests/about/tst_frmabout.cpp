// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/frmAbout.h"
#include "app/Assets.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

using namespace tunefold;
using namespace Qt::StringLiterals;

class tst_frmAbout : public QObject
{
    Q_OBJECT

    static auto *button(QWidget *w, const QString &n) { return w->findChild<QPushButton *>(n); }
    static QString text(QWidget *w, const QString &n)
    {
        const auto *label = w->findChild<QLabel *>(n);
        return label ? label->text() : QString();
    }

private Q_SLOTS:
    void initTestCase() { initAssets(); }

    // Keys go to the window as the system would send them, so that shortcuts
    // and the focus decide where they land. OK is the default and the cancel
    // button and closes; System Info... shows one message and never closes.
    void openTwice_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeySequence>("keys"); // none: the close box
        QTest::addColumn<int>("messages");

        // clang-format off
        QTest::newRow("Escape on System Info...") << "cmdSysInfo" << QKeySequence(Qt::Key_Escape) << 0;
        QTest::newRow("Enter on OK") << "cmdOK" << QKeySequence(Qt::KeypadModifier | Qt::Key_Enter) << 0;
        QTest::newRow("Enter on System Info...") << "cmdSysInfo" << QKeySequence(Qt::KeypadModifier | Qt::Key_Enter) << 1;
        QTest::newRow("Return on System Info...") << "cmdSysInfo" << QKeySequence(Qt::Key_Return) << 1;
        QTest::newRow("access key S") << "cmdOK" << QKeySequence(Qt::ALT | Qt::Key_S) << 1;
        QTest::newRow("close box") << "cmdSysInfo" << QKeySequence() << 0;
        // clang-format on
    }

    // Two openings through the main window's entry point and the program's
    // own wiring. Each is modal over the main window, shows its texts afresh
    // with the focus on OK, and is gone once closed. System Info... (with no
    // machine.reg beside this test) reports over the About box, which stays
    // open.
    void openTwice()
    {
        QFETCH(QString, focus);
        QFETCH(QKeySequence, keys);
        QFETCH(int, messages);

        QWidget mainWindow;
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
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
                QVERIFY(!about->isMinimized());
                QVERIFY(!(about->windowFlags() & Qt::WindowMinMaxButtonsHint));
                QVERIFY(about->windowFlags() & Qt::WindowCloseButtonHint);
                QCOMPARE(QApplication::focusWidget(), button(about, "cmdOK"));
                QCOMPARE(about->windowTitle(), u"About Tunefold"_s);
                QCOMPARE(text(about, "lblTitle"), u"Tunefold"_s);
                QCOMPARE(text(about, "lblVersion"), u"Version 1.0.0"_s);
                // The maker's notice: one line of 36 characters with the year and the name.
                const QRegularExpression notice(u"^(?=.*\\b\\d{4}\\b)(?=.*Harrowfen).{36}$"_s);
                QVERIFY(text(about, "Label1").contains(notice));
                QCOMPARE(text(about, "lblDisclaimer").size(), 206);
                QCOMPARE(text(about, "lblDisclaimer").count(QRegularExpression(u"\\.( |$)"_s)), 2);

                button(about, focus)->setFocus();
                if (keys.isEmpty())
                    about->close();
                else
                    QTest::keySequence(about->windowHandle(), keys);
                // An access key presses its button with a short animation.
                QTRY_COMPARE(boxes.size(), (opening + 1) * messages);
                QCOMPARE(about->isVisible(), messages > 0); // only System Info... keeps it open
            });
            frmAbout::showModal(&mainWindow);
            QVERIFY(about.isNull());
        }
        const QString box = u"System Information Is Unavailable At This Time|Tunefold|frmAbout"_s;
        QCOMPARE(boxes, QStringList(2 * messages, box));
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
