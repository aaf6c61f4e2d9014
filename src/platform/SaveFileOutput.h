// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/OutputFile.h"

#include <QSaveFile>

namespace tunefold {

// Writes into a temporary file beside the target and renames it over the
// target only on commit(), so a cancel, a full disk or a crash never leaves
// half a document in place of a good file. A link as target is written
// through to the file it names; an existing file keeps its permissions.
class SaveFileOutput final : public OutputFile
{
public:
    SaveFileOutput() = default;
    ~SaveFileOutput() override;

    [[nodiscard]] bool open(const QByteArray &path) override;
    [[nodiscard]] bool write(std::string_view bytes) override;
    [[nodiscard]] bool commit() override;
    void discard() override;
    [[nodiscard]] QString errorString() const override;

private:
    QSaveFile m_file;
    QString m_error;
};

} // namespace tunefold
