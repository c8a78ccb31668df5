#include "Unpack.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Creates each folder of rel below root, refusing any part that exists as
// something other than a real folder (a link in particular). Returns the
// descriptor of the innermost folder, or -1.
int OpenFolderChain(int rootFd, const QStringList &parts)
{
    int fd = ::dup(rootFd);
    for (const QString &part : parts) {
        if (fd < 0)
            return -1;
        const QByteArray name = QFile::encodeName(part);
        if (::mkdirat(fd, name.constData(), 0755) != 0 && errno != EEXIST) {
            ::close(fd);
            return -1;
        }
        const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    return fd;
}

bool WriteAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

// Creates a new, empty file with a name of its own in the folder, for the
// data of one entry before it is renamed into place. Returns -1 on failure.
int CreateTempFile(int dirFd, QByteArray *tempName)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *tempName = ".rar-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::openat(dirFd, tempName->constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

QString SafeEntryPath(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (n.isEmpty() || n.startsWith(QLatin1Char('/')))
        return QString();
    // Control characters (NUL, line breaks, terminal escapes, C1 codes) make
    // names that show as something else or break the lists that hold them.
    for (const QChar c : n) {
        if (c.category() == QChar::Other_Control)
            return QString();
    }
    // Drive letters ("C:...") name another place as well.
    if (n.size() >= 2 && n.at(1) == QLatin1Char(':'))
        return QString();
    QStringList parts;
    for (const QString &part : n.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return QString();
        parts << part;
    }
    return parts.join(QLatin1Char('/'));
}

UnpackResult UnpackArchive(const QString &archivePath, const QString &targetFolder, const UnpackLimits &limits)
{
    UnpackResult result;
    if (!QDir().mkpath(targetFolder)) {
        result.error = QStringLiteral("cannot create the target folder");
        return result;
    }
    const int rootFd = ::open(QFile::encodeName(targetFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0) {
        result.error = QStringLiteral("cannot open the target folder");
        return result;
    }

    archive *a = archive_read_new();
    archive_read_support_format_all(a);
    archive_read_support_filter_all(a);
    if (archive_read_open_filename(a, QFile::encodeName(archivePath).constData(), 64 * 1024) != ARCHIVE_OK) {
        result.error = QString::fromLocal8Bit(archive_error_string(a));
        archive_read_free(a);
        ::close(rootFd);
        return result;
    }
    result.opened = true;

    qint64 total = 0;
    int entries = 0;
    archive_entry *entry = nullptr;
    static char buffer[64 * 1024];
    for (;;) {
        const int r = archive_read_next_header(a, &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r < ARCHIVE_WARN) {
            if (result.error.isEmpty())
                result.error = QString::fromLocal8Bit(archive_error_string(a));
            break;
        }
        if (++entries > limits.maxEntries) {
            result.truncated = true;
            break;
        }
        // Names are taken as UTF-8 when the archive says so, else as stored.
        const char *utf8 = archive_entry_pathname_utf8(entry);
        const QString name = utf8 ? QString::fromUtf8(utf8) : QString::fromLocal8Bit(archive_entry_pathname(entry));
        const QString rel = SafeEntryPath(name);
        const mode_t type = archive_entry_filetype(entry);
        const bool isLink = archive_entry_hardlink(entry) || archive_entry_symlink(entry);
        if (rel.isEmpty() || isLink || (type != AE_IFREG && type != AE_IFDIR)) {
            ++result.skipped;
            continue;
        }
        QStringList parts = rel.split(QLatin1Char('/'));
        if (type == AE_IFDIR) {
            const int fd = OpenFolderChain(rootFd, parts);
            if (fd < 0)
                ++result.skipped;
            else
                ::close(fd);
            continue;
        }
        const QString fileName = parts.takeLast();
        const int dirFd = OpenFolderChain(rootFd, parts);
        if (dirFd < 0) {
            ++result.skipped;
            continue;
        }
        const QByteArray fileBytes = QFile::encodeName(fileName);
        // A link, folder or device standing where the file goes is neither
        // followed nor replaced. A regular file is replaced by renaming the
        // new one over it, never written into: another hard link to it keeps
        // its data, and an entry that fails half-way leaves the old file.
        struct stat st;
        if (::fstatat(dirFd, fileBytes.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode)) {
            ::close(dirFd);
            ++result.skipped;
            continue;
        }
        QByteArray tempBytes;
        const int fd = CreateTempFile(dirFd, &tempBytes);
        if (fd < 0) {
            ::close(dirFd);
            ++result.skipped;
            continue;
        }
        qint64 size = 0;
        bool ok = true;
        for (;;) {
            const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0) {
                ok = false;
                if (result.error.isEmpty())
                    result.error = QString::fromLocal8Bit(archive_error_string(a));
                break;
            }
            size += n;
            total += n;
            if (size > limits.maxFileBytes || total > limits.maxTotalBytes) {
                result.truncated = true;
                ok = false;
                break;
            }
            if (!WriteAll(fd, buffer, size_t(n))) {
                ok = false;
                break;
            }
        }
        if (::close(fd) != 0)
            ok = false;
        if (ok && ::renameat(dirFd, tempBytes.constData(), dirFd, fileBytes.constData()) != 0)
            ok = false;
        if (!ok) {
            ::unlinkat(dirFd, tempBytes.constData(), 0);
            ::close(dirFd);
            if (result.truncated)
                break;
            ++result.skipped;
            continue;
        }
        ::close(dirFd);
        ++result.written;
    }
    archive_read_free(a);
    ::close(rootFd);
    return result;
}
