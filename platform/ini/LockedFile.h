#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Writing a small file that other processes may write at the same time (two
// browsers on one program folder, the browser and Dunmora, an app's script).
//
// Every writer takes an exclusive lock (flock, released by the kernel when
// the writer dies) on the file's folder, reads the file, writes the new
// contents into the temporary file "<name>.tmp" beside it and renames that
// over the file. So a read-modify-write of one process never overwrites what
// another wrote meanwhile, readers always see a whole file, and a crash
// leaves either the old or the new file. A temporary file left by a killed
// writer is removed by the next writer of the file, which creates its own
// afresh. The file keeps its permissions. On a file system without locks the
// write goes ahead unlocked, with a temporary file of a name of its own.
// Paths are local ("/"-separated); a write never creates a missing folder.
class LockedFile
{
public:
    // change gets the current contents ("" and exists false when there is no
    // file yet) and edits them in place; returning false leaves the file as
    // it is. False when the file cannot be read or written.
    static bool update(const QString &path, const std::function<bool(QByteArray &content, bool exists)> &change);
    // Replaces the whole file.
    static bool write(const QString &path, const QByteArray &content);

    // The temporary file of a target, while the folder's lock is held.
    static QString tempPath(const QString &path);
};
