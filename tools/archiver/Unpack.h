#pragma once

#include <QString>

// Unpacking of app packages into a target folder, refusing everything that
// could land outside it: absolute names, "..", names with control
// characters, links, device files, fifos, and entries beyond the size and
// count limits. Files are written beside their place and renamed into it.
struct UnpackLimits
{
    qint64 maxTotalBytes = qint64(512) * 1024 * 1024; // all files together
    qint64 maxFileBytes = qint64(256) * 1024 * 1024;  // one file
    int maxEntries = 20000;
};

struct UnpackResult
{
    bool opened = false;   // the archive could be read at all
    int written = 0;       // regular files written
    int skipped = 0;       // entries refused (unsafe names, links, devices)
    bool truncated = false; // a limit stopped the unpacking
    QString error;         // first error met, "" when none
};

// The relative path an archive entry may be written to ("/" separated, no
// empty, "." or ".." parts), or "" when the name is not safe (absolute, a
// drive letter, "..", a control character). Names written with "\" are taken
// as folder separators.
QString SafeEntryPath(const QString &name);

UnpackResult UnpackArchive(const QString &archivePath, const QString &targetFolder,
                           const UnpackLimits &limits = UnpackLimits());
