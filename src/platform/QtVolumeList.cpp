// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtVolumeList.h"

#include <QSocketNotifier>
#include <QStorageInfo>
#include <algorithm>
#include <fcntl.h>
#include <iterator>
#include <string_view>
#include <unistd.h>

namespace tunefold {

namespace {

// File systems that hold no user's files, or only the system's own images.
constexpr std::string_view HiddenTypes[] = {
    "autofs",     "binfmt_misc", "bpf",       "cgroup",   "cgroup2",     "configfs",  "debugfs",
    "devpts",     "devtmpfs",    "efivarfs",  "fusectl",  "fuse.portal", "hugetlbfs", "mqueue",
    "nfsd",       "nsfs",        "overlay",   "proc",     "pstore",      "ramfs",     "rootfs",
    "rpc_pipefs", "securityfs",  "selinuxfs", "squashfs", "sysfs",       "tmpfs",     "tracefs",
};

// Mount points of the system's own run-time state and of sandboxes. /run
// itself is hidden, but /run/media is where removable media appear.
constexpr std::string_view HiddenPlaces[] = {
    "/boot",
    "/dev",
    "/efi",
    "/proc",
    "/run",
    "/snap",
    "/sys",
    "/var/lib/containers",
    "/var/lib/docker",
    "/var/lib/snapd",
    "/var/snap",
};

bool isUnder(const QString &path, std::string_view place)
{
    const QString root = QString::fromLatin1(place.data(), qsizetype(place.size()));
    return path == root || (path.startsWith(root) && path.at(root.size()) == u'/');
}

} // namespace

bool isUserVolume(const QString &rootPath, const QByteArray &fileSystemType)
{
    if (rootPath == QLatin1String("/"))
        return true;
    const std::string_view type(fileSystemType.constData(), std::size_t(fileSystemType.size()));
    if (std::find(std::begin(HiddenTypes), std::end(HiddenTypes), type) != std::end(HiddenTypes))
        return false;
    if (isUnder(rootPath, "/run/media"))
        return true;
    return std::none_of(std::begin(HiddenPlaces), std::end(HiddenPlaces),
                        [&](std::string_view place) { return isUnder(rootPath, place); });
}

QtVolumeList::QtVolumeList() = default;

QtVolumeList::~QtVolumeList()
{
    m_notifier.reset();
    if (m_mountTable >= 0)
        ::close(m_mountTable);
}

void QtVolumeList::watch(std::function<void()> onChange)
{
    m_notifier.reset();
    if (m_mountTable < 0)
        m_mountTable = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_mountTable < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_mountTable, QSocketNotifier::Exception);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [onChange = std::move(onChange)] { onChange(); });
}

QList<Volume> QtVolumeList::volumes() const
{
    QList<Volume> result;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!isUserVolume(storage.rootPath(), storage.fileSystemType()))
            continue;
        result.append({storage.rootPath(), storage.name()});
    }
    if (std::none_of(result.begin(), result.end(),
                     [](const Volume &v) { return v.rootPath == QLatin1String("/"); }))
        result.prepend({QStringLiteral("/"), {}});
    std::sort(result.begin(), result.end(),
              [](const Volume &a, const Volume &b) { return a.rootPath < b.rootPath; });
    return result;
}

} // namespace tunefold
