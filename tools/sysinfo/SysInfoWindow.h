// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tunefold::sysinfo {

struct SystemFacts;

// One page of facts about this system, read once when the window is made,
// with a Close button. Each value label is named after its row ("os",
// "kernel", "host", "cpuModel", "cpuCount", "memTotal", "memAvailable",
// "uptime", "screen").
class SysInfoWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit SysInfoWindow(QWidget *parent = nullptr);
    SysInfoWindow(const SystemFacts &facts, QWidget *parent = nullptr);

protected:
    // Escape closes the window, as it closes every dialog.
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace tunefold::sysinfo
