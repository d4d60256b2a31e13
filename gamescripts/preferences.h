#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The preferences file's bytes with every "before" replaced by "after", in the
// file's own encoding (UTF-16LE unless it carries the mark of UTF-8 or
// UTF-16BE) and with its mark. Nothing when the bytes are not exactly the
// encoding of some text, since writing the text back would then change bytes
// of the player's file that no edit touched.
std::optional<QByteArray> editedPreferences(const QByteArray &original, const QString &before,
                                            const QString &after);
