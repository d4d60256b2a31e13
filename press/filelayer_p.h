#pragma once

#include "filelayer.h"

// The platform's own file calls behind atomicreplace.h, one file per platform
// (atomicreplace_unix.cpp, atomicreplace_win.cpp). Both say why they failed in
// the system's words.
namespace platform {

// Copies the source to the temporary, which is not there, flushes the copy to
// disk and moves it over the target. What is put in place is never read-only.
bool copyFlushAndMove(const QString &source, const QString &temporary, const QString &target,
                      const CopyProgress &progress, QString *reason);

// Removes a file, also a read-only one; a missing one is not an error.
bool removeFile(const QString &path, QString *reason);

} // namespace platform
