// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputLinks.h"

#include "CommandLine.h"

#include <climits>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tunefold {

namespace {

std::optional<std::string> realPath(const std::string &path)
{
    char *resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return std::nullopt;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::string folderPart(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The real folder the document lands in: FileOutput writes the file a link
// names, made when missing, so links are followed to the end here too.
std::optional<std::string> realOutputFolder(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        if (const std::optional<std::string> resolved = realPath(path))
            return folderPart(*resolved);
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return realPath(folderPart(path)); // a file still to be made
        std::vector<char> target(std::size_t(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
        const ssize_t length = readlink(path.c_str(), target.data(), target.size() - 1);
        if (length < 0)
            return std::nullopt;
        std::string next(target.data(), std::size_t(length));
        path = next.starts_with('/') ? next : folderPart(path) + '/' + next;
    }
    return std::nullopt;
}

std::vector<std::string_view> parts(std::string_view path)
{
    std::vector<std::string_view> result;
    for (std::size_t start = 0; start < path.size();) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            result.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::string withSlash(std::string folder)
{
    if (!folder.ends_with('/'))
        folder += '/';
    return folder;
}

// The way from one absolute real folder to another, ending in "/" unless it
// is empty; nothing when they share no folder but the root.
std::optional<std::string> relativeWay(std::string_view from, std::string_view to)
{
    const std::vector<std::string_view> a = parts(from), b = parts(to);
    std::size_t common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common])
        ++common;
    if (common == 0)
        return std::nullopt;
    std::string way;
    for (std::size_t i = common; i < a.size(); ++i)
        way += "../";
    for (std::size_t i = common; i < b.size(); ++i)
        (way += b[i]) += '/';
    return way;
}

bool writesAStream(const QByteArray &output)
{
    struct stat st;
    return output == "-" || (stat(output.constData(), &st) == 0 && !S_ISREG(st.st_mode));
}

} // namespace

EntryLinks linksFor(const ListOptions &options)
{
    const std::string folder = options.folder.toStdString();
    if (!options.base.isEmpty())
        return {EntryLinks::Kind::Base, withSlash(options.base.toStdString())};
    if (!options.absolute && writesAStream(options.output))
        return {EntryLinks::Kind::Relative, withSlash(folder)};
    // The folder was opened already, so it resolves but for a race.
    const std::string realFolder = realPath(folder).value_or(folder);
    if (!options.absolute) {
        const std::optional<std::string> outputFolder =
            realOutputFolder(options.output.toStdString());
        if (outputFolder) {
            if (std::optional<std::string> way = relativeWay(*outputFolder, realFolder))
                return {EntryLinks::Kind::Relative, std::move(*way)};
        }
    }
    return {EntryLinks::Kind::Absolute, withSlash(realFolder)};
}

std::string realFolderName(const QByteArray &folder)
{
    const std::optional<std::string> resolved = realPath(folder.toStdString());
    if (!resolved)
        return folder.toStdString();
    if (*resolved == "/")
        return "/";
    return resolved->substr(resolved->rfind('/') + 1);
}

} // namespace tunefold
