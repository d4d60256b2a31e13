// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the platform does for a durable copy without Qt: on Linux
// copy_file_range (or sendfile) into a new file, then fdatasync. Returns false
// where there is no such baseline or the copy failed.
bool baselineCopy(const QString &source, const QString &target);
