#include "filelayer_p.h"

const QLatin1String temporarySuffix(".velmarch-new");

bool replaceAtomically(const QString &source, const QString &target, QString *reason,
                       const CopyProgress &progress)
{
    // Beside the target, so that the last move stays within one file system.
    const QString temporary = target + temporarySuffix;
    QString ignored;
    platform::removeFile(temporary, &ignored); // left by a launcher stopped mid-copy
    if (platform::copyFlushAndMove(source, temporary, target, progress, reason))
        return true;
    platform::removeFile(temporary, &ignored);
    return false;
}

bool removeIfPresent(const QString &target, QString *reason)
{
    return platform::removeFile(target, reason);
}
