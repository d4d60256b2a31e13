#include "filelayer_p.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

bool failed(QString *reason, int error)
{
    *reason = qt_error_string(error);
    return false;
}

} // namespace

namespace platform {

// The copy is made with the usual permissions, whatever the source's: a
// read-only pack does not make a read-only copy.
bool copyFlushAndMove(const QString &source, const QString &temporary, const QString &target,
                      const CopyProgress &progress, QString *reason)
{
    const QByteArray copy = QFile::encodeName(temporary);
    const int in = open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return failed(reason, errno);
    const int out = open(copy.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        const int error = errno;
        close(in);
        return failed(reason, error);
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
    // A rename replaces a read-only target too: what protects a file here is
    // its folder.
    if (done && std::rename(copy.constData(), QFile::encodeName(target).constData()) != 0) {
        done = false;
        error = errno;
    }
    return done || failed(reason, error);
}

bool removeFile(const QString &path, QString *reason)
{
    if (unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT)
        return true;
    return failed(reason, errno);
}

} // namespace platform
