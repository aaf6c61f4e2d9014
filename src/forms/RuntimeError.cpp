// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/RuntimeError.h"

#include <cerrno>
#include <new>
#include <system_error>

namespace tunefold {

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

} // namespace tunefold
