// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/VolumeList.h"

#include <QByteArray>
#include <memory>

class QSocketNotifier;

namespace tunefold {

// The mounted volumes as a file manager shows them: the root file system,
// disks, removable and network media. Kernel and run-time file systems
// (proc, sysfs, cgroup, tmpfs...), read-only application images (snaps) and
// the mounts that containers and sandboxes make for themselves are left out.
class QtVolumeList final : public VolumeList
{
public:
    QtVolumeList();
    ~QtVolumeList() override;

    [[nodiscard]] QList<Volume> volumes() const override;
    // Watches the mount table, whose changes the kernel signals on
    // /proc/self/mountinfo as an exceptional condition to poll().
    void watch(std::function<void()> onChange) override;

private:
    int m_mountTable = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// Whether a mount belongs in the drive list. The root file system always
// does, whatever its type (a container's root is often an overlay).
[[nodiscard]] bool isUserVolume(const QString &rootPath, const QByteArray &fileSystemType);

} // namespace tunefold
