// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelayer_p.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

FileLock::FileLock(const QString &path)
    : m_path(path)
{
}

FileLock::~FileLock()
{
    if (m_handle >= 0)
        close(int(m_handle));
}

// Every account of an installation may lock the file: it is made readable
// and writable by all, whatever the umask. Another account's lock file may
// still be open to reading only, and is locked all the same; one that cannot
// be read at all was left by a launcher before these locks, which no running
// launcher holds, and is made anew.
bool FileLock::tryLock(Failure *failure)
{
    const QByteArray path = QFile::encodeName(m_path);
    int lock = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lock < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
        lock = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (lock < 0 && errno == EACCES && unlink(path.constData()) == 0)
        lock = open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (lock < 0) {
        *failure = native::failureOf(errno);
        return false;
    }
    fchmod(lock, 0666); // fails, as it may, on another account's file
    if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(lock);
        *failure = native::failureOf(error);
        failure->held = error == EWOULDBLOCK;
        return false;
    }
    m_handle = lock;
    return true;
}

} // namespace files
