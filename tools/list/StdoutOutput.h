// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/OutputFile.h"

#include <string_view>

namespace tunefold {

// Standard output as a document's target. What has reached a pipe cannot be
// taken back, so commit() and discard() have nothing to do.
class StdoutOutput final : public OutputFile
{
public:
    [[nodiscard]] bool open(const QByteArray &path) override;
    [[nodiscard]] bool write(std::string_view bytes) override;
    [[nodiscard]] bool commit() override { return true; }
    void discard() override {}
    [[nodiscard]] QString errorString() const override { return m_error; }

private:
    QString m_error;
};

} // namespace tunefold
