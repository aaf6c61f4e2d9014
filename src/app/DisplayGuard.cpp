// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayGuard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdio>
#include <unistd.h>

namespace tunefold {

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

QList<HeldMessage> &held()
{
    static QList<HeldMessage> messages;
    return messages;
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        // Only the platform's start can fail this early.
        static const char Message[] =
            "tunefold: a desktop session is needed to show the window (no display found); "
            "tunefold-list works without one\n";
        (void)!::write(STDERR_FILENO, Message, sizeof Message - 1);
        ::_exit(1);
    }
    held().append({type, context.file, context.function, context.category, context.line, text});
}

} // namespace

DisplayGuard::DisplayGuard() : m_previous(qInstallMessageHandler(holdMessage)) {}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(m_previous);
    for (const HeldMessage &message : std::as_const(held())) {
        const QMessageLogContext context(message.file.constData(), message.line,
                                         message.function.constData(),
                                         message.category.constData());
        m_previous(message.type, context, message.text);
    }
    held().clear();
}

} // namespace tunefold
