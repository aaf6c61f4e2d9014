// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SaveFileOutput.h"

#include <QFile>

namespace tunefold {

SaveFileOutput::~SaveFileOutput()
{
    discard();
}

bool SaveFileOutput::open(const QByteArray &path)
{
    discard();
    m_error.clear();
    m_file.setFileName(QFile::decodeName(path));
    // The caller writes in large blocks of its own; a second buffer here
    // would only copy every byte once more.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

bool SaveFileOutput::write(std::string_view bytes)
{
    // A short write is not yet a failure: a disk that is filling up takes
    // what fits and only the next write tells why the rest did not.
    while (!bytes.empty()) {
        const qint64 written = m_file.write(bytes.data(), qint64(bytes.size()));
        if (written <= 0) {
            m_error = m_file.errorString();
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

bool SaveFileOutput::commit()
{
    if (!m_file.commit()) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

void SaveFileOutput::discard()
{
    if (!m_file.isOpen())
        return;
    // A commit after cancelWriting() removes the temporary file at once
    // instead of when this object goes away.
    m_file.cancelWriting();
    (void)m_file.commit();
}

QString SaveFileOutput::errorString() const
{
    return m_error;
}

} // namespace tunefold
