// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sampleinstallation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

// A sample installation for the whole run, in memory where there is such a
// folder (a press flushes what it writes), with the launcher's folder as the
// working directory and the per-user folder inside it.
inline SampleInstallation fuzzInstallation()
{
    static const QTemporaryDir installation(
        QDir("/dev/shm").exists() ? "/dev/shm/velmarch-fuzz-XXXXXX" : QString());
    const SampleInstallation sample(installation.path());
    qputenv("XDG_DATA_HOME", QFile::encodeName(sample.userDataHome()));
    if (!sample.create() || !QDir::setCurrent(sample.launcherFolder()))
        std::abort();
    return sample;
}
