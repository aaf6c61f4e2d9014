// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegistryStore.h"

#include <QString>

namespace tunefold {

// Reads value SubKeyRef of key KeyName under KeyRoot as text into KeyVal.
// Returns false, with KeyVal emptied, when the key or value cannot be read;
// true otherwise. Strings and 32-bit numbers replace KeyVal; values of any
// other type leave it as the caller passed it.
[[nodiscard]] bool GetKeyValue(RegistryStore &store, HKEY KeyRoot, const QString &KeyName,
                               const QString &SubKeyRef, QString &KeyVal);

} // namespace tunefold
