// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ErrorReport.h"
#include "forms/ProgramIdentity.h"

#include <QApplication>
#include <functional>

namespace tunefold {

// The application object. Qt does not carry exceptions through its event
// loop, so an error that a handler does not catch is caught here, at event
// dispatch, and ends the program as a run-time error.
// This program's name, version and folder, for the windows it opens.
[[nodiscard]] ProgramIdentity programIdentity();

class Application final : public QApplication
{
    Q_OBJECT

public:
    // What happens to an uncaught error; the default reports it and ends
    // the process at once with status 1.
    using ErrorHandler = std::function<void(const RuntimeError &)>;

    Application(int &argc, char **argv);

    void setErrorHandler(ErrorHandler handler);

    bool notify(QObject *receiver, QEvent *event) override;

    // Reports error and ends the process without unwinding: the handler that
    // failed must not go on, and no further event may run.
    [[noreturn]] static void endWithRuntimeError(const RuntimeError &error);

private:
    ErrorHandler m_errorHandler;
};

} // namespace tunefold
