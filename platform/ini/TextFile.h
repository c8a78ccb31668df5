#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Whole text files in GBK with CR LF line ends.
namespace TextFile {
// Every line of the file, in order. Line breaks may be CR LF, LF or CR.
// ok is false when the file cannot be read.
QStringList readLines(const QString &path, bool *ok = nullptr);
// The whole file with every line followed by CR LF (also the last one);
// "" for an empty file or on any failure.
QString readWhole(const QString &path);
// The text readWhole gives for a file holding these bytes.
QString wholeText(const QByteArray &content);
// Writes text as it stands (GBK), through a temporary file and rename, under
// the lock that every writer of the file takes (LockedFile).
bool writeWhole(const QString &path, const QString &text);
// Replaces the file by change(its text as readWhole gives it) under that
// lock, so that two processes adding to one file both keep their additions.
bool updateWhole(const QString &path, const std::function<QString(const QString &whole)> &change);
} // namespace TextFile
