// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

namespace tunefold::about {

// "Version " and the three numbers in plain decimal joined by ".":
// versionText("1.0.12") is "Version 1.0.12".
[[nodiscard]] QString versionText(const QString &version);

// The maker's notice of rights: one line of 36 characters.
[[nodiscard]] QString makersNotice();

// The legal warning below the separator: two sentences, 206 characters.
[[nodiscard]] QString legalWarning();

} // namespace tunefold::about
