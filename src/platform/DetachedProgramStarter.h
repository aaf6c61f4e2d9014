// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProgramStarter.h"

namespace tunefold {

// The system's ProgramStarter: stat(2) for the file test and a detached
// QProcess for the start, so the started program outlives this one and is
// never waited for.
class DetachedProgramStarter final : public ProgramStarter
{
public:
    [[nodiscard]] bool isOrdinaryFile(const QString &path) override;
    [[nodiscard]] bool start(const QString &path) override;
};

} // namespace tunefold
