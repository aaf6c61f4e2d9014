// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutTexts.h"
#include "about/frmAbout.h"
#include "app/Assets.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace tunefold;

namespace {

QPushButton *button(QWidget *window, const char *name)
{
    return window->findChild<QPushButton *>(QLatin1String(name));
}

QString labelText(QWidget *window, const char *name)
{
    const auto *label = window->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

// What one opening showed, for comparing openings with each other.
struct Snapshot
{
    QString caption, title, version, notice, warning, focus;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snapshot(QWidget *window)
{
    const QWidget *focus = QApplication::focusWidget();
    return {window->windowTitle(),
            labelText(window, "lblTitle"),
            labelText(window, "lblVersion"),
            labelText(window, "Label1"),
            labelText(window, "lblDisclaimer"),
            focus ? focus->objectName() : QString()};
}

} // namespace

class tst_frmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { initAssets(); }

    void texts()
    {
        frmAbout window(nullptr, {});
        QCOMPARE(window.windowTitle(), QStringLiteral("About Tunefold"));
        QCOMPARE(labelText(&window, "lblTitle"), QStringLiteral("Tunefold"));
        QCOMPARE(labelText(&window, "lblVersion"), QStringLiteral("Version 1.0.0"));

        const QString notice = labelText(&window, "Label1");
        QCOMPARE(notice.size(), 36);
        QVERIFY(notice.contains(QLatin1String("Harrowfen")));
        QVERIFY(notice.contains(QRegularExpression(QStringLiteral("\\b\\d{4}\\b"))));

        const QString warning = labelText(&window, "lblDisclaimer");
        QCOMPARE(warning.size(), 206);
        QCOMPARE(warning.count(QRegularExpression(QStringLiteral("\\.( |$)"))), 2);
    }

    void versionText_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("expected");

        QTest::newRow("1.0.0") << 1 << 0 << 0 << "Version 1.0.0";
        QTest::newRow("several digits in full") << 1 << 0 << 12 << "Version 1.0.12";
        QTest::newRow("largest") << 32767 << 100 << 9 << "Version 32767.100.9";
    }

    void versionText()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, expected);
        QCOMPARE(about::versionText(qint16(major), qint16(minor), qint16(revision)), expected);
    }

    // Positions are in pixels, 15 twips to one, rounded to the nearest.
    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");

        QTest::newRow("cmdOK") << "cmdOK" << QRect(283, 175, 84, 23);
        QTest::newRow("cmdSysInfo") << "cmdSysInfo" << QRect(284, 205, 83, 23);
        QTest::newRow("Label1") << "Label1" << QRect(72, 48, 265, 17);
        QTest::newRow("lblTitle") << "lblTitle" << QRect(70, 16, 260, 16);
        QTest::newRow("lblVersion") << "lblVersion" << QRect(72, 32, 259, 15);
        QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QRect(17, 175, 258, 55);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        frmAbout window(nullptr, {});
        QCOMPARE(window.size(), QSize(382, 238));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        const auto *control = window.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
    }

    void separator()
    {
        frmAbout window(nullptr, {});
        const QImage image = window.grab().toImage();
        QCOMPARE(image.pixelColor(100, 163), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(100, 164), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(100, 165), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(6, 163), QColor(128, 128, 128));
        QVERIFY(image.pixelColor(6, 164) != QColor(255, 255, 255)); // the white starts later
    }

    // Keys and clicks with the focus on one button or the other. OK is the
    // default and the cancel button; System Info... never closes.
    void keyboard_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("launches");

        // clang-format off
        QTest::newRow("Escape on OK") << "cmdOK" << "Escape" << true << 0;
        QTest::newRow("Escape on System Info...") << "cmdSysInfo" << "Escape" << true << 0;
        QTest::newRow("Enter on OK") << "cmdOK" << "Enter" << true << 0;
        QTest::newRow("Return on OK") << "cmdOK" << "Return" << true << 0;
        QTest::newRow("Enter on System Info...") << "cmdSysInfo" << "Enter" << false << 1;
        QTest::newRow("Return on System Info...") << "cmdSysInfo" << "Return" << false << 1;
        QTest::newRow("access key S") << "cmdOK" << "Alt+S" << false << 1;
        QTest::newRow("click OK") << "cmdSysInfo" << "click cmdOK" << true << 0;
        QTest::newRow("click System Info... twice") << "cmdOK" << "click cmdSysInfo" << false << 2;
        QTest::newRow("close box") << "cmdSysInfo" << "close" << true << 0;
        // clang-format on
    }

    void keyboard()
    {
        QFETCH(QString, focus);
        QFETCH(QString, action);
        QFETCH(bool, closes);
        QFETCH(int, launches);

        int calls = 0;
        frmAbout window(nullptr, [&calls] { ++calls; });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), button(&window, "cmdOK"));
        button(&window, focus.toLatin1())->setFocus();
        QWidget *target = QApplication::focusWidget();
        QVERIFY(target);

        // Keys go to the window as the system would send them, so that
        // shortcuts and the focus decide where they land.
        QWindow *handle = window.windowHandle();
        if (action == QLatin1String("Escape"))
            QTest::keyClick(handle, Qt::Key_Escape);
        else if (action == QLatin1String("Enter"))
            QTest::keyClick(handle, Qt::Key_Enter, Qt::KeypadModifier);
        else if (action == QLatin1String("Return"))
            QTest::keyClick(handle, Qt::Key_Return);
        else if (action == QLatin1String("Alt+S"))
            QTest::keySequence(handle, QKeySequence(Qt::ALT | Qt::Key_S));
        else if (action == QLatin1String("close"))
            window.close();
        else
            for (int i = 0; i < qMax(1, launches); ++i)
                QTest::mouseClick(button(&window, action.sliced(6).toLatin1()), Qt::LeftButton);

        // An access key presses its button with a short animation.
        QTRY_COMPARE(calls, launches);
        QCOMPARE(window.isVisible(), !closes);
    }

    // Two openings through the main window's entry point: each is modal,
    // starts with the focus on OK whatever the last one did, shows the same
    // texts and is gone once it has closed.
    void openTwice()
    {
        QWidget mainWindow;
        mainWindow.resize(600, 400);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

        int calls = 0;
        QList<Snapshot> seen;
        QPointer<QWidget> last;
        for (int opening = 0; opening < 2; ++opening) {
            QTimer::singleShot(0, this, [&] {
                QWidget *about = QApplication::activeModalWidget();
                QVERIFY(about);
                QTRY_COMPARE(QApplication::activeWindow(), about);
                QCOMPARE(about->parentWidget(), &mainWindow);
                QVERIFY(!about->isMinimized());
                QVERIFY(!(about->windowFlags() & Qt::WindowMinMaxButtonsHint));
                QVERIFY(about->windowFlags() & Qt::WindowCloseButtonHint);
                seen << snapshot(about);
                last = about;
                // Leave the focus on System Info..., press it, then Escape.
                button(about, "cmdSysInfo")->setFocus();
                QTest::keyClick(about->windowHandle(), Qt::Key_Return);
                QVERIFY(about->isVisible());
                QTest::keyClick(about->windowHandle(), Qt::Key_Escape);
            });
            frmAbout::showModal(&mainWindow, [&calls] { ++calls; });
            QVERIFY(last.isNull());
        }
        QCOMPARE(calls, 2);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0].focus, QStringLiteral("cmdOK"));
        QVERIFY(seen[0] == seen[1]);
    }

    // The program's own wiring: this test has no machine.reg beside it, so
    // System Info... reports over the About box, which stays open.
    void shippedLauncherWithoutStore()
    {
        QWidget mainWindow;
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QString text, caption, boxParent;
        bool aboutOpenAfterwards = false;
        QTimer::singleShot(0, this, [&] {
            QWidget *about = QApplication::activeModalWidget();
            QVERIFY(about);
            QTimer::singleShot(0, this, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                text = box->text();
                caption = box->windowTitle();
                boxParent = box->parentWidget() ? box->parentWidget()->objectName() : QString();
                box->accept();
            });
            button(about, "cmdSysInfo")->click();
            aboutOpenAfterwards = about->isVisible();
            about->close();
        });
        frmAbout::showModal(&mainWindow);
        QCOMPARE(text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(caption, QStringLiteral("Tunefold"));
        QCOMPARE(boxParent, QStringLiteral("frmAbout"));
        QVERIFY(aboutOpenAfterwards);
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
