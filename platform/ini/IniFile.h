#pragma once

#include <QByteArray>
#include <QString>

// The private-profile ini format as the programs' files use it:
// - section and key names match without regard to case, blanks around names
//   and values are ignored, a value in matching quotes loses them;
// - the first of duplicate sections or keys wins;
// - a write replaces the value in place, or appends the key at the end of its
//   section, or appends the section at the end of the file; every other byte
//   of the file stays as it was;
// - values are GBK bytes and are read whole, however long; a missing file,
//   section or key reads as "".
// A write reads, changes and replaces the file under a lock shared by every
// writing process (LockedFile), so keys written by others meanwhile are kept
// and a crash never leaves a half-written file. A write never creates a
// missing folder.
class IniFile
{
public:
    static QString readValue(const QString &file, const QString &section, const QString &key);
    static bool writeValue(const QString &file, const QString &section, const QString &key, const QString &value);

    // The same on file contents, for callers that hold the bytes already.
    // readRaw returns the whole stored value (uncut); found tells whether the key exists.
    static QByteArray readRaw(const QByteArray &content, const QString &section, const QString &key,
                              bool *found = nullptr);
    static QByteArray withValue(const QByteArray &content, const QString &section, const QString &key,
                                const QString &value);
};
