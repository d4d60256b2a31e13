// SPDX-License-Identifier: GPL-3.0-or-later
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

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

bool failed(files::Failure *failure, int error)
{
    *failure = files::native::failureOf(error);
    return false;
}

bool writeAll(int out, const char *data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const ssize_t put = write(out, data + done, size_t(size - done));
        if (put < 0)
            return false;
        done += put;
    }
    return true;
}

bool copyData(int in, int out, const files::CopyProgress &progress)
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
        if (got < 0 || !writeAll(out, buffer, got))
            return false;
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

// Made with the usual permissions, so never read-only; the caller fills it.
int createNew(const QString &path)
{
    return open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

// Flushes a file or a folder to disk. Some drives cannot (shared folders of
// virtual machines, some virtual drives): the data is then as safe as they
// keep it.
int flush(int out, const QString &path, files::Operation::Kind kind = files::Operation::Flush)
{
    int error = files::injectedError(kind, path);
    if (error == 0 && (kind == files::Operation::Flush ? fdatasync(out) : fsync(out)) != 0)
        error = errno;
    return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP ? 0 : error;
}

// Flushes and closes the new file; on any failure removes it.
bool finish(int out, bool written, const QString &path, files::Failure *failure)
{
    int error = written ? flush(out, path) : errno;
    if (close(out) != 0 && error == 0)
        error = errno;
    if (error == 0)
        return true;
    unlink(encoded(path).constData());
    return failed(failure, error);
}

} // namespace

namespace files {
const int driveFailed = EIO;
const int notSupported = EOPNOTSUPP;
} // namespace files

namespace files::native {

Failure failureOf(int error)
{
    return {qt_error_string(error), error == EBUSY || error == ETXTBSY};
}

bool copyFlushed(const QString &source, const QString &copy, const CopyProgress &progress,
                 Failure *failure)
{
    const int in = open(encoded(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return failed(failure, errno);
    const int out = createNew(copy);
    if (out < 0) {
        const int error = errno;
        close(in);
        return failed(failure, error);
    }
    const bool copied = copyData(in, out, progress);
    if (copied)
        carryModificationTime(in, out);
    const int error = errno;
    close(in);
    errno = error;
    return finish(out, copied, copy, failure);
}

bool writeFlushed(const QString &path, const QByteArray &bytes, Failure *failure)
{
    const int out = createNew(path);
    if (out < 0)
        return failed(failure, errno);
    return finish(out, writeAll(out, bytes.constData(), bytes.size()), path, failure);
}

// A rename replaces a read-only file too: what protects a file here is its
// folder.
bool move(const QString &from, const QString &to, Failure *failure)
{
    return std::rename(encoded(from).constData(), encoded(to).constData()) == 0
        || failed(failure, errno);
}

bool link(const QString &file, const QString &secondName, Failure *failure)
{
    return ::link(encoded(file).constData(), encoded(secondName).constData()) == 0
        || failed(failure, errno);
}

bool remove(const QString &path, Failure *failure)
{
    return unlink(encoded(path).constData()) == 0 || errno == ENOENT || failed(failure, errno);
}

bool makeFolder(const QString &path, Failure *failure)
{
    return mkdir(encoded(path).constData(), 0777) == 0 || failed(failure, errno);
}

bool removeFolder(const QString &path, Failure *failure)
{
    return rmdir(encoded(path).constData()) == 0 || failed(failure, errno);
}

bool isHeld(const QString &)
{
    return false;
}

bool flushFolder(const QString &folder, const QStringList &, Failure *failure)
{
    const int in = open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (in < 0)
        return failed(failure, errno);
    const int error = flush(in, folder, Operation::FlushFolder);
    close(in);
    return error == 0 || failed(failure, error);
}

Entry entryAt(const QString &path)
{
    struct stat status;
    if (lstat(encoded(path).constData(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Entry::None : Entry::Other;
    return S_ISREG(status.st_mode) ? Entry::File
        : S_ISDIR(status.st_mode)  ? Entry::Folder
                                   : Entry::Other;
}

} // namespace files::native
