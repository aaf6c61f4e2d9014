// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Scripted stand-ins for the platform, and real files, shared by the tests.

#include "platform/CommonDialog.h"
#include "platform/FolderSearch.h"
#include "platform/MessageBox.h"
#include "platform/OutputFile.h"

#include <QFile>
#include <QList>
#include <QTest>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace tunefold::test {

// Creates or empties the file at path, a name of any bytes, as a sparse file
// of size bytes.
inline void makeFile(const QByteArray &path, off_t size = 0)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0 && ::ftruncate(fd, size) == 0 && ::close(fd) == 0);
}

// Creates or replaces the file at path with bytes.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// The whole content of the file at path, or a null array.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ScriptedFolderSearch final : public FolderSearch
{
public:
    std::vector<std::pair<std::string, std::uint64_t>> entries;
    std::string pattern; // the folder and patterns last searched, "/" before each
    int closes = 0;

    bool findFirstOf(std::string_view folder, std::span<const std::string> namePatterns,
                     FolderEntry &entry) override
    {
        pattern = folder;
        for (const std::string &name : namePatterns)
            pattern += (pattern.ends_with('/') ? "" : "/") + name;
        m_next = 0;
        return findNext(entry);
    }
    bool findNext(FolderEntry &entry) override
    {
        if (m_next == entries.size())
            return false;
        entry = {entries[m_next].first, entries[m_next].second};
        return ++m_next;
    }
    void close() override { ++closes; }

private:
    std::size_t m_next = 0;
};

// Answers ShowSave() with the next scripted choice; nullopt is a cancel.
class ScriptedDialog final : public CommonDialog
{
public:
    QList<std::optional<QString>> answers;
    int shown = 0;

    bool ShowSave() override
    {
        ++shown;
        const auto answer = answers.isEmpty() ? std::nullopt : answers.takeFirst();
        if (answer)
            FileName = *answer;
        return answer.has_value();
    }
};

struct ShownMessage
{
    QString text;
    int style;
    QString title;
    bool operator==(const ShownMessage &) const = default;
};

class RecordingMessageBox final : public MessageBox
{
public:
    QList<ShownMessage> shown;
    void show(const QString &text, int style, const QString &title) override
    {
        shown.append({text, style, title});
    }
};

// Keeps the document in memory; fails at open, or after failAfter bytes as
// a full disk would.
class MemoryOutput final : public OutputFile
{
public:
    std::string committed = "old"; // what a reader of the target sees
    std::string pending;
    bool failOpen = false;
    std::size_t failAfter = std::string::npos;
    int discards = 0;

    bool open(const QByteArray &) override { return !failOpen; }
    bool write(std::string_view bytes) override
    {
        if (pending.size() + bytes.size() > failAfter)
            return false;
        pending += bytes;
        return true;
    }
    bool commit() override
    {
        committed = pending;
        return true;
    }
    void discard() override { ++discards; }
    QString errorString() const override { return QStringLiteral("No space left on device"); }
};

} // namespace tunefold::test
