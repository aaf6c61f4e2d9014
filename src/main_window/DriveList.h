// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/VolumeList.h"

#include <QComboBox>

namespace tunefold {

// The drop-down list of the machine's volumes. A new choice, by mouse or
// keyboard, emits currentIndexChanged.
class DriveList final : public QComboBox
{
    Q_OBJECT

public:
    DriveList(QList<Volume> volumes, QWidget *parent);

    // The chosen volume's root path, as the folder list takes it.
    [[nodiscard]] QString Drive() const;
    // Chooses the volume that holds path (the longest root above it);
    // leaves the choice alone when none does. Emits no change of its own
    // beyond currentIndexChanged.
    void chooseVolumeOf(const QString &path);

    [[nodiscard]] const QList<Volume> &volumes() const { return m_volumes; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QList<Volume> m_volumes;
};

} // namespace tunefold
