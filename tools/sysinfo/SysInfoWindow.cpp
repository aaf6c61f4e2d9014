// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SysInfoWindow.h"

#include "SystemFacts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tunefold::sysinfo {

namespace {

void addRow(QFormLayout *form, const QString &caption, const char *name, const QString &value)
{
    auto *label = new QLabel(value);
    label->setObjectName(QLatin1String(name));
    // Selectable, so a user can copy a value into a report.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);
    form->addRow(caption, label);
}

QString screenSize(const QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return QStringLiteral("unknown");
    const QSize size = screen->size();
    return QStringLiteral("%1 \u00D7 %2 pixels").arg(size.width()).arg(size.height());
}

} // namespace

SysInfoWindow::SysInfoWindow(QWidget *parent) : SysInfoWindow(readSystemFacts(), parent) {}

SysInfoWindow::SysInfoWindow(const SystemFacts &facts, QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("System Information"));

    auto *form = new QFormLayout;
    addRow(form, QStringLiteral("Operating system:"), "os", facts.operatingSystem);
    addRow(form, QStringLiteral("Kernel:"), "kernel", facts.kernel);
    addRow(form, QStringLiteral("Host name:"), "host", facts.hostName);
    addRow(form, QStringLiteral("Processor:"), "cpuModel", facts.processorModel);
    addRow(form, QStringLiteral("Processors:"), "cpuCount", facts.processorCount);
    addRow(form, QStringLiteral("Memory total:"), "memTotal", facts.memoryTotal);
    addRow(form, QStringLiteral("Memory available:"), "memAvailable", facts.memoryAvailable);
    addRow(form, QStringLiteral("Uptime:"), "uptime", facts.uptime);
    addRow(form, QStringLiteral("Screen:"), "screen", screenSize(this));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton *close = buttons->button(QDialogButtonBox::Close);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(buttons);
}

void SysInfoWindow::keyPressEvent(QKeyEvent *event)
{
    // A plain QWidget has no cancel key of its own, unlike QDialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tunefold::sysinfo
