// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DetachedProgramStarter.h"

#include <QFile>
#include <QProcess>
#include <sys/stat.h>

namespace tunefold {

namespace {

// A path read from the store may carry a zero character in its middle. The
// system would silently cut the path there and test or start a different
// file, so such a path names nothing.
bool isUsablePath(const QString &path)
{
    return !path.isEmpty() && !path.contains(QChar(u'\0'));
}

} // namespace

bool DetachedProgramStarter::isOrdinaryFile(const QString &path)
{
    if (!isUsablePath(path))
        return false;
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    if (name.startsWith(u'.'))
        return false;
    // stat rather than QFileInfo: it sees the path exactly as given, doubled
    // separators included, and follows links as the start will.
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISREG(info.st_mode);
}

bool DetachedProgramStarter::start(const QString &path)
{
    if (!isUsablePath(path))
        return false;
    // QProcess reports a failed exec of a detached child back to us, so a
    // folder or a file without execute permission comes back as false.
    return QProcess::startDetached(path, {});
}

} // namespace tunefold
