#include "PackageStaging.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QDir::Filters kEverything = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

int OpenFolder(const QString &path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

} // namespace

bool StagedAppIsWhole(const QString &stagingFolder, const QString &name)
{
    if (QDir(stagingFolder).entryList(kEverything) != QStringList(name))
        return false;
    const QString app = stagingFolder + QLatin1Char('/') + name;
    const QFileInfo top(app);
    if (top.isSymLink() || !top.isDir())
        return false;
    QDirIterator it(app, kEverything, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.isSymLink() || (!info.isDir() && !info.isFile()))
            return false;
    }
    return true;
}

bool MoveAppIntoPlace(const QString &stagingFolder, const QString &appsFolder, const QString &name)
{
    const Fd staging(OpenFolder(stagingFolder));
    const Fd apps(OpenFolder(appsFolder));
    if (staging.get() < 0 || apps.get() < 0)
        return false;
    const QByteArray app = QFile::encodeName(name);
    // One step: the new folder and the old one change places.
    if (::renameat2(staging.get(), app.constData(), apps.get(), app.constData(), RENAME_EXCHANGE) == 0)
        return true;
    if (errno == ENOENT) {
        // No old version: the new folder takes the free name, and only a free one.
        if (::renameat2(staging.get(), app.constData(), apps.get(), app.constData(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return false;
    } else if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without these renames: the old version steps aside into
    // the staging folder first, and comes back when the new one cannot go in.
    const QByteArray old = ".old";
    if (::renameat(apps.get(), app.constData(), staging.get(), old.constData()) != 0) {
        if (errno != ENOENT)
            return false;
        return ::renameat(staging.get(), app.constData(), apps.get(), app.constData()) == 0;
    }
    if (::renameat(staging.get(), app.constData(), apps.get(), app.constData()) == 0)
        return true;
    ::renameat(staging.get(), old.constData(), apps.get(), app.constData());
    return false;
}
