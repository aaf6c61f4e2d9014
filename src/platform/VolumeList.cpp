// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VolumeList.h"

namespace tunefold {

namespace {

bool holds(const QString &root, const QString &path)
{
    if (root == QLatin1String("/"))
        return path.startsWith(u'/');
    // "/media/a" holds "/media/a" and "/media/a/b", not "/media/ab".
    return path == root || (path.startsWith(root) && path.at(root.size()) == u'/');
}

} // namespace

QString volumeRootOf(const QList<Volume> &volumes, const QString &path)
{
    QString best;
    for (const Volume &volume : volumes) {
        if (volume.rootPath.size() > best.size() && holds(volume.rootPath, path))
            best = volume.rootPath;
    }
    return best;
}

} // namespace tunefold
