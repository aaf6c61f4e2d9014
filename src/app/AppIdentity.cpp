// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppIdentity.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace tunefold::app {

QString versionNumber(qint16 major, qint16 minor, qint16 revision)
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString programFolder()
{
    // /proc/self/exe names the real file even when the program was started
    // through a link in bin/, which is what makes installed links work.
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return QStringLiteral(".");
    return QFile::decodeName(exe.parent_path().c_str());
}

} // namespace tunefold::app
