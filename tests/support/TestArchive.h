#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <archive_entry.h>

// Builds package archives for tests with libarchive, well-formed or hostile:
// any entry name, links, device files and fifos.
struct ArchiveEntry
{
    QByteArray name;
    QByteArray data;
    mode_t type = AE_IFREG;
    QByteArray symlink;  // target of a symbolic link
    QByteArray hardlink; // target of a hard link
    qint64 zeros = 0;    // a run of zero bytes instead of data
};

ArchiveEntry FileEntry(const QByteArray &name, const QByteArray &data);
ArchiveEntry FolderEntry(const QByteArray &name);
// A device file or fifo: AE_IFCHR, AE_IFBLK or AE_IFIFO.
ArchiveEntry SpecialEntry(const QByteArray &name, mode_t type);
ArchiveEntry LinkEntry(const QByteArray &name, const QByteArray &target, bool hard);
ArchiveEntry ZerosEntry(const QByteArray &name, qint64 count);

enum class ArchiveFormat { Zip, SevenZip, Tar };

// Writes the archive; false when libarchive refused it.
bool WriteArchive(const QString &path, const QList<ArchiveEntry> &entries, ArchiveFormat format = ArchiveFormat::Zip);

// Cuts the file to its first bytes / turns bytes in its middle into garbage.
bool TruncateFile(const QString &path, qint64 keep);
bool CorruptFile(const QString &path, qint64 from, qint64 count);
