// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

#include <optional>

// The preferences file's bytes with every "before" replaced by "after", in
// the file's own encoding (UTF-16LE unless it carries the mark of UTF-8 or
// UTF-16BE) and with its mark. Nothing when the bytes are not exactly the
// encoding of some text, since writing the text back would then change
// bytes of the player's file that no edit touched.
std::optional<QByteArray> replacedInPreferences(const QByteArray &original, const QString &before,
                                                const QString &after);

// The preferences file's bytes after every edit, one after another, each as
// replacedInPreferences makes it: the file is written once for them all.
// Nothing when the file is not text.
std::optional<QByteArray> editedPreferences(const QByteArray &original,
                                            const QVector<QPair<QString, QString>> &edits);
