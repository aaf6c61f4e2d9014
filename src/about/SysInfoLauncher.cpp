// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfoLauncher.h"

#include "registry/GetKeyValue.h"

#include <optional>

namespace tunefold {

namespace {

// Appended to the folder text as it stands, even when that already ends in
// "/": a doubled separator names the same file.
constexpr char ProgramSuffix[] = "/MSINFO32.EXE";

// Returns the text to start, or nothing when no program was found.
std::optional<QString> locateSysInfo(RegistryStore &store, ProgramStarter &starter)
{
    QString path;
    if (GetKeyValue(store, HKEY_LOCAL_MACHINE,
                    QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path))
        // Used as read, even when the reader left it empty (a value of a type
        // it does not convert): starting an empty text then fails, and the
        // second location is deliberately not consulted.
        return path;

    if (!GetKeyValue(store, HKEY_LOCAL_MACHINE,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                     QStringLiteral("MSINFO"), path))
        return std::nullopt;
    const QString program = path + QLatin1String(ProgramSuffix);
    if (!starter.isOrdinaryFile(program))
        return std::nullopt;
    return program;
}

} // namespace

void StartSysInfo(RegistryStore &store, ProgramStarter &starter, MessageBox &messages)
{
    const std::optional<QString> program = locateSysInfo(store, starter);
    if (program && starter.start(*program))
        return;
    messages.show(QLatin1String(SysInfoUnavailable), OkOnly);
}

} // namespace tunefold
