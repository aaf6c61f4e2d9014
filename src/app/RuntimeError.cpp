// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RuntimeError.h"

#include "app/AppIdentity.h"
#include "platform/QtMessageBox.h"

#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <new>
#include <system_error>

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

RuntimeError::RuntimeError(int number, const QString &message)
    : std::runtime_error(message.toStdString()), m_number(number), m_message(message)
{
}

RuntimeError RuntimeError::fromErrno(int error, const QString &path)
{
    return RuntimeError(error, qt_error_string(error) + QLatin1String(": ") + path);
}

RuntimeError RuntimeError::from(std::exception_ptr exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const RuntimeError &error) {
        return error;
    } catch (const std::system_error &error) {
        return RuntimeError(error.code().value(), QString::fromLocal8Bit(error.what()));
    } catch (const std::bad_alloc &) {
        return RuntimeError(ENOMEM, qt_error_string(ENOMEM));
    } catch (const std::exception &error) {
        return RuntimeError(Unexpected, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return RuntimeError(Unexpected, QStringLiteral("Unknown error"));
    }
}

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
