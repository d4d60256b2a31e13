#pragma once

#include <QString>

#include <functional>

// Told the bytes of the source copied so far, as the copy goes.
using CopyProgress = std::function<void(qint64 copied)>;

// Puts a copy of the source at the target so that the target is whole at
// every instant: its old bytes or the new ones. The copy is written beside
// the target, flushed to disk, and only then moved over it; it carries the
// source's modification time. On failure the target is as it was, no
// temporary file is left, and reason says why in the system's words.
bool replaceAtomically(const QString &source, const QString &target, QString *reason,
                       const CopyProgress &progress = {});

// The copy beside its target is named after it with this ending.
extern const QLatin1String temporarySuffix;

// Removes a file; a missing one is not an error.
bool removeIfPresent(const QString &target, QString *reason);
