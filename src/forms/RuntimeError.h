// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>
#include <stdexcept>

namespace tunefold {

// An error that no handler catches: it is reported with its number and
// message, and the program ends. Numbers below 1000 are the system's errno
// values; the program's own failures use the numbers below.
class RuntimeError : public std::runtime_error
{
public:
    enum : int {
        InvalidPicture = 1001, // a file was read but holds no usable image
        Unexpected = 1002,     // any other exception reached the event loop
    };

    RuntimeError(int number, const QString &message);

    [[nodiscard]] int number() const noexcept { return m_number; }
    [[nodiscard]] const QString &message() const noexcept { return m_message; }

    // An errno value with the system's text for it and the path it concerns.
    [[nodiscard]] static RuntimeError fromErrno(int error, const QString &path);
    // Whatever the exception was, as the report shows it.
    [[nodiscard]] static RuntimeError from(std::exception_ptr exception);

private:
    int m_number;
    QString m_message;
};

} // namespace tunefold
