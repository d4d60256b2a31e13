#include "atomicreplace.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

const QLatin1String temporarySuffix(".velmarch-new");

namespace {

// Beside the target, so that the last move stays within one file system.
QString temporaryNameFor(const QString &target)
{
    return target + temporarySuffix;
}

#ifdef Q_OS_WIN

LPCWSTR wide(const QString &path)
{
    return reinterpret_cast<LPCWSTR>(path.utf16());
}

DWORD CALLBACK reportCopied(LARGE_INTEGER, LARGE_INTEGER copied, LARGE_INTEGER, LARGE_INTEGER,
                            DWORD, DWORD, HANDLE, HANDLE, LPVOID progress)
{
    (*static_cast<const CopyProgress *>(progress))(copied.QuadPart);
    return PROGRESS_CONTINUE;
}

// The system's copy carries the modification time over by itself.
bool copyFlushAndMove(const QString &source, const QString &temporary, const QString &target,
                      const CopyProgress &progress)
{
    const QString from = QFileInfo(source).absoluteFilePath().replace('/', '\\');
    const QString copy = QFileInfo(temporary).absoluteFilePath().replace('/', '\\');
    const QString to = QFileInfo(target).absoluteFilePath().replace('/', '\\');
    if (!CopyFileExW(wide(from), wide(copy), progress ? reportCopied : nullptr,
                     const_cast<CopyProgress *>(&progress), nullptr, 0))
        return false;
    HANDLE handle = CreateFileW(wide(copy), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool flushed = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
    const DWORD error = GetLastError();
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    if (!flushed) {
        SetLastError(error);
        return false;
    }
    return MoveFileExW(wide(copy), wide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

#else

// Large enough not to slow the kernel's copy down, small enough for a
// progress bar to move smoothly over one big pack.
constexpr size_t progressStep = 8 << 20;

bool copyData(int in, int out, const CopyProgress &progress)
{
    qint64 copied = 0;
    const auto report = [&](ssize_t more) {
        copied += more;
        if (progress)
            progress(copied);
    };
    // In the kernel where it can; by hand across file systems that cannot.
    for (;;) {
        const ssize_t done = copy_file_range(in, nullptr, out, nullptr, progressStep, 0);
        if (done == 0)
            return true;
        if (done > 0) {
            report(done);
            continue;
        }
        if (copied > 0
            || (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP))
            return false;
        break;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(in, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0)
            return false;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(out, buffer + done, size_t(got - done));
            if (put < 0)
                return false;
            done += put;
        }
        report(got);
    }
}

// As the system's copy on Windows does: the copy keeps its source's time.
void carryModificationTime(int in, int out)
{
    struct stat status;
    if (fstat(in, &status) == 0) {
        const timespec times[2] = {status.st_atim, status.st_mtim};
        futimens(out, times);
    }
}

bool copyFlushAndMove(const QString &source, const QString &temporary, const QString &target,
                      const CopyProgress &progress)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray copy = QFile::encodeName(temporary);
    const int in = open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = open(copy.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        const int error = errno;
        close(in);
        errno = error;
        return false;
    }
    bool done = copyData(in, out, progress);
    if (done)
        carryModificationTime(in, out);
    done = done && fdatasync(out) == 0;
    int error = done ? 0 : errno;
    if (close(out) != 0 && done) {
        done = false;
        error = errno;
    }
    close(in);
    if (done && std::rename(copy.constData(), QFile::encodeName(target).constData()) != 0) {
        done = false;
        error = errno;
    }
    errno = error;
    return done;
}

#endif

int lastSystemError()
{
#ifdef Q_OS_WIN
    return int(GetLastError());
#else
    return errno;
#endif
}

} // namespace

bool replaceAtomically(const QString &source, const QString &target, QString *reason,
                       const CopyProgress &progress)
{
    const QString temporary = temporaryNameFor(target);
    QFile::remove(temporary); // left by a launcher that was stopped mid-copy
    if (copyFlushAndMove(source, temporary, target, progress))
        return true;
    *reason = qt_error_string(lastSystemError());
    QFile::remove(temporary);
    return false;
}

bool removeIfPresent(const QString &target, QString *reason)
{
    QFile file(target);
    if (!QFileInfo(target).exists() && !QFileInfo(target).isSymLink())
        return true;
    if (file.remove())
        return true;
    *reason = file.errorString();
    return false;
}
