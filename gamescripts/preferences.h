// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

#include <optional>

// The preferences file's bytes after every edit, one after another, each as
// ZolmLauncher::replaceInPreferences makes it: the file is written once for
// them all. Nothing when the file is not text.
std::optional<QByteArray> editedPreferences(const QByteArray &original,
                                            const QVector<QPair<QString, QString>> &edits);
