// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// An entry of any name and tag bytes, through every format that shows tags:
// the page keeps the markup of a harmless entry, with only entities and
// UTF-8 in its text; the JSON line parses as an object; the playlist entry
// stays its two lines, or the name is refused.
#include "doubles/Doubles.h"
#include "library/ListWriter.h"
#include "platform/TrackReader.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace tunefold;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The document for one entry, header and footer included; empty when the
// format refuses the name.
std::string listed(ListFormat format, std::string_view path, const TrackInfo &track,
                   std::uint64_t size)
{
    test::MemoryOutput output;
    const auto writer = makeListWriter(format, output, ListSetup{"music", ",", {}, {}});
    if (writer->refusal(path))
        return {};
    require(writer->writeHeader() && writer->writeEntry({path, size, &track}) &&
            writer->writeFooter());
    return output.pending;
}

// The page's tags in order, after checking that it is UTF-8, that no tag
// holds a stray "<" or an open quote, and that the text between them holds
// no markup and every "&" starts an entity.
QStringList tagNames(const std::string &page)
{
    const QString text = QString::fromStdString(page);
    require(text.toStdString() == page);
    static const QRegularExpression tag(QStringLiteral(R"(<([!/]?\w*)(?:[^<>"]|"[^<>"]*")*>)"));
    static const QRegularExpression stray(QStringLiteral("[<>]|&(?![A-Za-z]+;|#[0-9]+;)"));
    QStringList names;
    for (const QRegularExpressionMatch &match : tag.globalMatch(text))
        names.append(match.captured(1));
    require(!QString(text).remove(tag).contains(stray));
    return names;
}

long lineBreaks(const std::string &text)
{
    return std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    TrackInfo track;
    track.track = input.ConsumeIntegral<unsigned>();
    track.milliseconds = input.ConsumeIntegral<int>();
    track.kilobitsPerSecond = input.ConsumeIntegral<int>();
    track.year = input.ConsumeIntegral<unsigned>();
    track.disc = input.ConsumeIntegral<unsigned>();
    track.audio = input.ConsumeBool();
    const auto bytes = input.ConsumeIntegral<std::uint64_t>();
    track.title = input.ConsumeRandomLengthString();
    track.artist = input.ConsumeRandomLengthString();
    track.album = input.ConsumeRandomLengthString();
    track.genre = input.ConsumeRandomLengthString();
    // A name never holds a NUL: the file system ends names there.
    std::string path = input.ConsumeRemainingBytesAsString();
    path = path.substr(0, path.find('\0'));
    if (path.empty())
        return 0;

    // What is not audio is marked in a page and left out of a playlist.
    const TrackInfo plain{"x", "x", "x", 1, 1000, 128, 1, "x", 1, track.audio};
    require(tagNames(listed(ListFormat::Page, path, track, bytes)) ==
            tagNames(listed(ListFormat::Page, "x.mp3", plain, 1)));

    const std::string json = listed(ListFormat::Json, path, track, bytes);
    require(!json.empty() && json.find('\n') == json.size() - 1);
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    // ... and gives the name's bytes back, as text or, not UTF-8, in base 64.
    const QJsonValue text = parsed.object().value(QStringLiteral("path"));
    const QJsonValue base64 = parsed.object().value(QStringLiteral("path_base64"));
    require(error.error == QJsonParseError::NoError && text.isString() &&
            (base64.isString() ? QByteArray::fromBase64(base64.toString().toLatin1())
                               : text.toString().toUtf8()) == QByteArray::fromStdString(path));

    // A playlist entry is the name, "./" before one a player would take for
    // a comment or trim.
    const std::string playlist = listed(ListFormat::M3u, path, track, bytes);
    if (playlist.empty())
        require(path.find_first_of("\r\n") != std::string::npos);
    else
        require(lineBreaks(playlist) == lineBreaks(listed(ListFormat::M3u, "x.mp3", plain, 1)) &&
                (!track.audio ||
                 playlist.ends_with('\n' + (path.find_first_of("# \t") == 0 ? "./" + path : path) +
                                    '\n')));
    return 0;
}
