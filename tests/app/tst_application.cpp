// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/RuntimeError.h"

#include <QPushButton>
#include <QTest>
#include <cerrno>

using namespace tunefold;

class tst_Application : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorFromHandlerIsCaught();
    void reportText();
};

void tst_Application::errorFromHandlerIsCaught()
{
    auto *app = qobject_cast<Application *>(QCoreApplication::instance());
    QVERIFY(app);
    QList<RuntimeError> caught;
    app->setErrorHandler([&](const RuntimeError &error) { caught.append(error); });

    QPushButton button(QStringLiteral("Fails"));
    int after = 0;
    const bool fail = true;
    QObject::connect(&button, &QPushButton::clicked, &button, [&] {
        if (fail)
            throw RuntimeError(EACCES, QStringLiteral("Permission denied: /x"));
        ++after;
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QTest::mouseClick(&button, Qt::LeftButton);

    QCOMPARE(caught.size(), 1);
    QCOMPARE(caught.first().number(), EACCES);
    QCOMPARE(caught.first().message(), QStringLiteral("Permission denied: /x"));
    QCOMPARE(after, 0);
    app->setErrorHandler(&Application::endWithRuntimeError);
}

void tst_Application::reportText()
{
    QCOMPARE(runtimeErrorText(RuntimeError::fromErrno(ENOENT, QStringLiteral("/opt/t/hand.cur"))),
             QStringLiteral("Run-time error 2: No such file or directory: /opt/t/hand.cur"));
}

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
