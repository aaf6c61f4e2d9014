// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace tunefold {

// One volume that the drive list offers.
struct Volume
{
    QString rootPath; // where it is mounted: "/", "/media/ann/STICK"
    QString label;    // the file system's label, empty when it has none
    bool operator==(const Volume &) const = default;
};

// The volumes a user would pick a folder from. Behind an interface so a test
// can offer a volume whose root is gone.
class VolumeList
{
public:
    virtual ~VolumeList() = default;

    // Read afresh on each call; cheap, touches no folder's contents.
    [[nodiscard]] virtual QList<Volume> volumes() const = 0;

    // Calls onChange, from the event loop, whenever volumes may have changed:
    // a mount or an unmount anywhere. Replaces an earlier watch. A list that
    // cannot tell never calls it.
    virtual void watch(std::function<void()> onChange) { (void)onChange; }
};

// The root of the volume in volumes that holds path: the longest root that is
// path itself or one of its ancestors, compared component by component.
// Empty when no volume holds it. path must be absolute and clean.
[[nodiscard]] QString volumeRootOf(const QList<Volume> &volumes, const QString &path);

} // namespace tunefold
