// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageBox.h"
#include "platform/ProgramStarter.h"
#include "platform/RegistryStore.h"

namespace tunefold {

// The one message for every way the launcher can fail.
inline constexpr char SysInfoUnavailable[] = "System Information Is Unavailable At This Time";

// Finds the System Information program through two store values and starts
// it, or shows SysInfoUnavailable (style 0, the application title) and
// returns once the box is closed. Consults the store afresh on every call and
// reports nothing to the caller, whatever happens:
// - "PATH" of SOFTWARE\Microsoft\Shared Tools\MSINFO, when it can be read, is
//   started as it stands, without looking at the file first;
// - otherwise "MSINFO" of SOFTWARE\Microsoft\Shared Tools Location names a
//   folder; "/MSINFO32.EXE" is appended unchanged and the result started only
//   when it is an ordinary file.
void StartSysInfo(RegistryStore &store, ProgramStarter &starter, MessageBox &messages);

} // namespace tunefold
