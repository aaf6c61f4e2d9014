// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutTexts.h"

namespace tunefold::about {

QString versionText(const QString &version)
{
    return QStringLiteral("Version ") + version;
}

QString makersNotice()
{
    return QStringLiteral("Copyright \u00A9 2026 Harrowfen Software.");
}

QString legalWarning()
{
    return QStringLiteral(
        "This program is protected by copyright law and international treaties. Any "
        "copying, modification or distribution of it, in whole or in part, beyond what "
        "the GNU General Public License permits is prohibited.");
}

} // namespace tunefold::about
