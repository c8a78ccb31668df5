#include "LockedFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether flock failed only because the file system keeps no locks; the
// write then goes ahead unlocked rather than being lost.
bool locksUnsupported(int error)
{
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL || error == EBADF;
}

// The writers' lock: an exclusive flock on the file's folder, which, unlike
// the file, is never replaced, so waiting writers are served in turn. -1
// when the folder cannot be opened; *locked false when its file system keeps
// no locks.
int lockFolder(const QByteArray &folder, bool *locked)
{
    *locked = false;
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    int r;
    do {
        r = ::flock(fd, LOCK_EX);
    } while (r != 0 && errno == EINTR);
    if (r == 0) {
        *locked = true;
    } else if (!locksUnsupported(errno)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Creates the temporary file afresh: whatever stands under its name (a file
// left by a killed writer, a link) is removed first, so nothing is ever
// written through it. Without the lock a name of its own is taken instead.
int createTemp(QByteArray *temp, bool locked)
{
    if (!locked) {
        *temp += ".XXXXXX";
        return ::mkostemp(temp->data(), O_CLOEXEC);
    }
    ::unlink(temp->constData());
    int fd;
    do {
        fd = ::open(temp->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// A target that is a symbolic link is written where the link leads.
QString finalPath(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

} // namespace

QString LockedFile::tempPath(const QString &path)
{
    return path + QStringLiteral(".tmp");
}

bool LockedFile::update(const QString &path, const std::function<bool(QByteArray &content, bool exists)> &change)
{
    if (path.isEmpty())
        return false;
    const QString target = finalPath(path);
    const QByteArray nativeTarget = QFile::encodeName(target);
    QByteArray nativeTemp = QFile::encodeName(tempPath(target));

    bool locked = false;
    const int lockFd = lockFolder(QFile::encodeName(QFileInfo(target).absolutePath()), &locked);
    if (lockFd < 0)
        return false;

    struct stat st;
    const bool exists = ::stat(nativeTarget.constData(), &st) == 0;
    QByteArray content;
    if (exists) {
        QFile in(target);
        bool read = in.open(QIODevice::ReadOnly);
        if (read) {
            content = in.readAll();
            read = in.error() == QFileDevice::NoError;
        }
        if (!read) {
            ::close(lockFd);
            return false;
        }
    }
    if (!change(content, exists)) {
        ::close(lockFd);
        return true;
    }

    const int fd = createTemp(&nativeTemp, locked);
    bool ok = fd >= 0;
    if (ok) {
        ok = writeAll(fd, content);
        if (ok && exists)
            ::fchmod(fd, st.st_mode & 07777); // best effort
        ok = ok && ::fsync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        ok = ok && ::rename(nativeTemp.constData(), nativeTarget.constData()) == 0;
        if (!ok)
            ::unlink(nativeTemp.constData()); // the target stays as it was
    }
    ::close(lockFd); // the next writer reads what was written here
    return ok;
}

bool LockedFile::write(const QString &path, const QByteArray &content)
{
    return update(path, [&content](QByteArray &c, bool) {
        c = content;
        return true;
    });
}
