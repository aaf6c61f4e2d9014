// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/AppIdentity.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace tunefold {

ProgramIdentity programIdentity()
{
    return {QString::fromLatin1(app::Title), app::versionNumber(), app::programFolder()};
}

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv), m_errorHandler(&Application::endWithRuntimeError)
{
}

void Application::setErrorHandler(ErrorHandler handler)
{
    m_errorHandler = std::move(handler);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        m_errorHandler(RuntimeError::from(std::current_exception()));
        return true;
    }
}

void Application::endWithRuntimeError(const RuntimeError &error)
{
    reportRuntimeError(error);
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace tunefold
