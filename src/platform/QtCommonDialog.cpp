// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtCommonDialog.h"

#include <QFileDialog>
#include <QSettings>

namespace tunefold {

namespace {

// QFileDialog writes its history, last folder and side bar into the user's
// QtProject.conf when it closes, and no option turns that off. This program
// keeps nothing between runs, so Qt's per-user settings go where no file can
// be created: below a path that is not a folder. Within the run the dialog
// still remembers its last folder, and FileName the last choice.
void keepNoSettings()
{
    static const bool redirected = [] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStringLiteral("/dev/null"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
        return true;
    }();
    Q_UNUSED(redirected);
}

} // namespace

QtCommonDialog::QtCommonDialog(QWidget *parent) : m_parent(parent)
{
    keepNoSettings();
}

bool QtCommonDialog::ShowSave()
{
    QFileDialog dialog(m_parent, DialogTitle);
    // A desktop's own dialog keeps lists of recent files of its own.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(DefaultExt);
    const QStringList filters = nameFiltersFrom(Filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    // An absolute path also opens the dialog in that file's folder.
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);

    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return false;
    FileName = chosen.first();
    return true;
}

QStringList nameFiltersFrom(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts).join(u' ');
        if (patterns.isEmpty())
            continue;
        if (description.isEmpty())
            result.append(patterns);
        else if (description.contains(u'(' + patterns + u')'))
            result.append(description);
        else
            result.append(description + QLatin1String(" (") + patterns + u')');
    }
    return result;
}

} // namespace tunefold
