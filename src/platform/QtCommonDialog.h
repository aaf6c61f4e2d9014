// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CommonDialog.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace tunefold {

// The save dialog as a QFileDialog. It never asks before an existing file is
// replaced: whoever writes the file has already been told the user's choice.
class QtCommonDialog final : public CommonDialog
{
public:
    // parent: the window the dialog is modal over; may be null.
    explicit QtCommonDialog(QWidget *parent = nullptr);

    [[nodiscard]] bool ShowSave() override;

private:
    QPointer<QWidget> m_parent;
};

// Turns a filter of "description|pattern" pairs ("HTML Files (*.html)|*.html")
// into QFileDialog name filters ("HTML Files (*.html)"). A description that
// does not already show its pattern gets it added in parentheses; patterns
// separated by ";" become one filter with several patterns.
[[nodiscard]] QStringList nameFiltersFrom(const QString &filter);

} // namespace tunefold
