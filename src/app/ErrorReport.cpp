// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ErrorReport.h"

#include "app/AppIdentity.h"
#include "platform/QtMessageBox.h"

#include <QApplication>
#include <cstdio>

namespace tunefold {

namespace {

constexpr int CriticalStyle = 16;

// On these platforms nothing is on a screen: a modal box would wait forever
// for a click that cannot come.
bool canShowBoxes()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

QString runtimeErrorText(const RuntimeError &error)
{
    return QStringLiteral("Run-time error %1: %2").arg(error.number()).arg(error.message());
}

void reportRuntimeError(const RuntimeError &error)
{
    const QString text = runtimeErrorText(error);
    std::fprintf(stderr, "tunefold: %s\n", qPrintable(text));
    std::fflush(stderr);
    if (canShowBoxes())
        QtMessageBox(QString::fromLatin1(app::Title)).show(text, CriticalStyle);
}

} // namespace tunefold
