// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/VolumeList.h"

#include <QComboBox>

namespace tunefold {

// The drop-down list of the machine's volumes, read afresh whenever it opens
// and whenever the system mounts or removes a volume. A new choice, by mouse
// or keyboard, emits currentIndexChanged; a fresh reading never does. Long
// entries are cut in the middle, where volumes' paths differ least.
class DriveList final : public QComboBox
{
    Q_OBJECT

public:
    // volumes must outlive the list.
    DriveList(VolumeList &volumes, QWidget *parent);

    // The chosen volume's root path, as the folder list takes it.
    [[nodiscard]] QString Drive() const;
    // Chooses the volume that holds path (the longest root above it);
    // leaves the choice alone when none does. Emits no change of its own
    // beyond currentIndexChanged.
    void chooseVolumeOf(const QString &path);

    [[nodiscard]] const QList<Volume> &volumes() const { return m_volumes; }

    // Reads the volumes again. The chosen one stays chosen; if it is gone,
    // the volume that now holds its path is shown instead.
    void refresh();

    void showPopup() override;

Q_SIGNALS:
    // The system mounted or removed a volume somewhere; the list has been
    // read again.
    void mountsChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    VolumeList &m_source;
    QList<Volume> m_volumes;
};

} // namespace tunefold
