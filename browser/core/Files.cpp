#include "Files.h"

#include "FileName.h"
#include "MessageBoxes.h"
#include "ProgramFolder.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDirIterator>
#include <QSaveFile>

namespace {
const QString kSep = QStringLiteral("@@");
}

QString ReadAppsIni(const QString &key)
{
    return ReadIni(QStringLiteral("Apps"), key, GetAppPath() + QStringLiteral("Apps\\Apps.ini"));
}

void WriteAppsIni(const QString &key, const QString &value)
{
    WriteIni(QStringLiteral("Apps"), key, value, GetAppPath() + QStringLiteral("Apps\\Apps.ini"));
}

bool CopyBinFile(const QString &src, const QString &dest)
{
    QFile in(toLocalPath(src));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    in.close();
    QSaveFile out(toLocalPath(dest));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size())
        return false;
    return out.commit();
}

bool DelFile(const QString &path, bool confirm)
{
    const QString local = toLocalPath(path);
    const QFileInfo info(local);
    if (!info.exists() && !info.isSymLink())
        return false;
    if (confirm) {
        const MsgAnswer answer = MsgBox(QStringLiteral("确实要永久删除“%1”吗？").arg(GetFileName(local, true)),
                                        MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("删除"));
        if (answer != MsgAnswer::Yes)
            return false;
    }
    // Read-only files go as well: clear the protection first. Inside a folder
    // a protected sub-folder would keep its entries, so the whole tree is opened.
    const auto open = [](const QString &p) {
        QFile::setPermissions(p, QFile::permissions(p) | QFileDevice::WriteOwner | QFileDevice::ReadOwner
                                     | (QFileInfo(p).isDir() ? QFileDevice::ExeOwner : QFileDevice::Permissions()));
    };
    if (!info.isSymLink())
        open(local);
    if (info.isDir() && !info.isSymLink()) {
        QDirIterator it(local, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString sub = it.next();
            if (!QFileInfo(sub).isSymLink())
                open(sub);
        }
        return QDir(local).removeRecursively();
    }
    return QFile::remove(local);
}

QString InputHisPath()
{
    return GetAppPath() + QStringLiteral("Data\\InputHis.ini");
}

namespace {
// Whether the text at i starts one of the two escapes of the history.
bool IsHisEscape(QStringView s, qsizetype i)
{
    return i + 2 < s.size() && s.at(i) == QLatin1Char('%')
        && ((s.at(i + 1) == QLatin1Char('4') && s.at(i + 2) == QLatin1Char('0'))
            || (s.at(i + 1) == QLatin1Char('2') && s.at(i + 2) == QLatin1Char('5')));
}

// The entries of a history text in file order: the pieces before the last
// "@@", each without line breaks, blank ones left out.
QStringList HisEntries(const QString &all)
{
    QStringList entries;
    qsizetype start = 0;
    for (qsizetype sep = all.indexOf(kSep); sep >= 0; sep = all.indexOf(kSep, start)) {
        QString piece = all.mid(start, sep - start);
        piece.remove(QLatin1Char('\r'));
        piece.remove(QLatin1Char('\n'));
        if (!piece.trimmed().isEmpty())
            entries.append(piece);
        start = sep + kSep.size();
    }
    return entries;
}
} // namespace

QString InputHisEncode(const QString &entry)
{
    if (!entry.contains(QLatin1Char('@')) && !entry.contains(QLatin1Char('%')))
        return entry;
    QString out;
    out.reserve(entry.size() + 8);
    for (qsizetype i = 0; i < entry.size(); ++i) {
        const QChar c = entry.at(i);
        if (c == QLatin1Char('@'))
            out += QLatin1String("%40");
        else if (IsHisEscape(entry, i))
            out += QLatin1String("%25"); // a "%40" or "%25" typed as such
        else
            out += c;
    }
    return out;
}

QString InputHisDecode(QStringView stored)
{
    if (!stored.contains(QLatin1Char('%')))
        return stored.toString();
    QString out;
    out.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (IsHisEscape(stored, i)) {
            out += stored.at(i + 1) == QLatin1Char('4') ? QLatin1Char('@') : QLatin1Char('%');
            i += 2;
        } else {
            out += stored.at(i);
        }
    }
    return out;
}

void AddInputHis(const QString &text)
{
    const QString entry = text.trimmed();
    if (entry.isEmpty())
        return;
    // Read and rewritten under the file's lock: an entry that another
    // browser on this program folder adds meanwhile stays. The file is
    // written anew from its entries: blank pieces and the line breaks that
    // earlier writes left between them are dropped.
    TextFile::updateWhole(InputHisPath(), [&entry](const QString &whole) {
        QString updated = InputHisEncode(entry) + kSep;
        const QStringList old = HisEntries(whole);
        for (const QString &piece : old) {
            if (InputHisDecode(piece) != entry)
                updated += piece + kSep;
        }
        return updated + QStringLiteral("\r\n");
    });
}

QList<QStringView> InputHisEntries(QStringView all)
{
    // Every piece before the last "@@" is an entry; the text after it holds
    // the line breaks. The pieces are views into the text, not copies.
    QList<QStringView> entries;
    qsizetype start = 0;
    for (qsizetype sep = all.indexOf(kSep, start); sep >= 0; sep = all.indexOf(kSep, start)) {
        QStringView piece = all.mid(start, sep - start);
        start = sep + kSep.size();
        // Line breaks left between entries by earlier writes are no part of
        // the next one; blank pieces are no entries.
        while (!piece.isEmpty() && (piece.front() == QLatin1Char('\r') || piece.front() == QLatin1Char('\n')))
            piece = piece.mid(1);
        if (piece.trimmed().isEmpty())
            continue;
        entries.append(piece);
    }
    return entries;
}

QString GetInputHis(const QString &text)
{
    const QString all = ReadTxt(InputHisPath());
    QString result;
    for (const QStringView piece : InputHisEntries(all)) {
        const bool found = piece.contains(QLatin1Char('%')) ? InputHisDecode(piece).contains(text, Qt::CaseSensitive)
                                                           : piece.contains(text, Qt::CaseSensitive);
        if (found) {
            result += piece;
            result += kSep;
        }
    }
    return result;
}

void ClearInputHis()
{
    TextFile::writeWhole(InputHisPath(), QStringLiteral("\r\n"));
}
