// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filelayer.h"

// The platform's own calls behind filelayer.h, in filelayer_unix.cpp and
// filelayer_win.cpp.
namespace files::native {

bool copyFlushed(const QString &source, const QString &copy, const CopyProgress &progress,
                 Failure *failure);
bool writeFlushed(const QString &path, const QByteArray &bytes, Failure *failure);
bool move(const QString &from, const QString &to, Failure *failure);
bool link(const QString &file, const QString &secondName, Failure *failure);
bool remove(const QString &path, Failure *failure);
bool makeFolder(const QString &path, Failure *failure);
bool removeFolder(const QString &path, Failure *failure);
bool isHeld(const QString &path);
bool flushFolder(const QString &folder, const QStringList &movedIn, Failure *failure);
Entry entryAt(const QString &path);

// The failure in the system's words for an error number.
Failure failureOf(int error);

} // namespace files::native

namespace files {
// The watcher's answer for an operation: 0, or the error to fail with.
int injectedError(Operation::Kind kind, const QString &path, qint64 bytes = 0,
                  const QString &from = QString());
} // namespace files
