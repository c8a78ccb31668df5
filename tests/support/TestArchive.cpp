#include "TestArchive.h"

#include <QFile>

#include <archive.h>

ArchiveEntry FileEntry(const QByteArray &name, const QByteArray &data)
{
    ArchiveEntry e;
    e.name = name;
    e.data = data;
    return e;
}

ArchiveEntry FolderEntry(const QByteArray &name)
{
    ArchiveEntry e;
    e.name = name;
    e.type = AE_IFDIR;
    return e;
}

ArchiveEntry SpecialEntry(const QByteArray &name, mode_t type)
{
    ArchiveEntry e;
    e.name = name;
    e.type = type;
    return e;
}

ArchiveEntry LinkEntry(const QByteArray &name, const QByteArray &target, bool hard)
{
    ArchiveEntry e;
    e.name = name;
    if (hard) {
        e.hardlink = target;
    } else {
        e.symlink = target;
        e.type = AE_IFLNK;
    }
    return e;
}

ArchiveEntry ZerosEntry(const QByteArray &name, qint64 count)
{
    ArchiveEntry e;
    e.name = name;
    e.zeros = count;
    return e;
}

bool WriteArchive(const QString &path, const QList<ArchiveEntry> &entries, ArchiveFormat format)
{
    archive *a = archive_write_new();
    if (format == ArchiveFormat::Zip)
        archive_write_set_format_zip(a);
    else if (format == ArchiveFormat::SevenZip)
        archive_write_set_format_7zip(a);
    else
        archive_write_set_format_pax_restricted(a);
    bool ok = archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    for (const ArchiveEntry &e : entries) {
        if (!ok)
            break;
        archive_entry *en = archive_entry_new();
        archive_entry_set_pathname(en, e.name.constData());
        archive_entry_set_filetype(en, e.type);
        archive_entry_set_perm(en, e.type == AE_IFDIR ? 0755 : 0644);
        if (!e.symlink.isEmpty())
            archive_entry_set_symlink(en, e.symlink.constData());
        if (!e.hardlink.isEmpty())
            archive_entry_set_hardlink(en, e.hardlink.constData());
        if (e.type == AE_IFCHR || e.type == AE_IFBLK)
            archive_entry_set_rdev(en, dev_t((1 << 8) | 3));
        const qint64 size = e.type == AE_IFREG && e.hardlink.isEmpty() ? (e.zeros ? e.zeros : e.data.size()) : 0;
        archive_entry_set_size(en, size);
        ok = archive_write_header(a, en) == ARCHIVE_OK;
        if (ok && e.zeros) {
            const QByteArray block(1 << 20, '\0');
            for (qint64 done = 0; done < e.zeros; done += block.size())
                archive_write_data(a, block.constData(), size_t(qMin<qint64>(block.size(), e.zeros - done)));
        } else if (ok && size) {
            ok = archive_write_data(a, e.data.constData(), size_t(e.data.size())) == e.data.size();
        }
        archive_entry_free(en);
    }
    if (archive_write_close(a) != ARCHIVE_OK)
        ok = false;
    archive_write_free(a);
    return ok;
}

bool TruncateFile(const QString &path, qint64 keep)
{
    QFile f(path);
    return f.resize(keep);
}

bool CorruptFile(const QString &path, qint64 from, qint64 count)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(from))
        return false;
    QByteArray junk(int(count), '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char(0xA5 ^ (i * 37));
    return f.write(junk) == count;
}
