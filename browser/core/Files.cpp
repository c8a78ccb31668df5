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

void AddInputHis(const QString &text)
{
    const QString entry = text.trimmed();
    // Read and rewritten under the file's lock: an entry that another
    // browser on this program folder adds meanwhile stays.
    TextFile::updateWhole(InputHisPath(), [&entry](const QString &old) {
        QString updated;
        if (old.isEmpty()) {
            updated = entry + kSep;
        } else {
            const QStringList pieces = old.split(kSep);
            QString rest;
            for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
                if (pieces.at(i) != entry)
                    rest += pieces.at(i) + kSep;
            }
            rest += pieces.constLast();
            updated = entry + kSep + rest;
        }
        return updated + QStringLiteral("\r\n");
    });
}

QString GetInputHis(const QString &text)
{
    const QString all = ReadTxt(InputHisPath());
    if (all.isEmpty())
        return QString();
    // Every piece before the last "@@" is an entry; the text after it holds
    // the line breaks. Walked in place: a long history is searched at every
    // keystroke in the address box.
    const QStringView view(all);
    QString result;
    qsizetype start = 0;
    for (qsizetype sep = view.indexOf(kSep, start); sep >= 0; sep = view.indexOf(kSep, start)) {
        const QStringView piece = view.mid(start, sep - start);
        if (piece.contains(text, Qt::CaseSensitive)) {
            result += piece;
            result += kSep;
        }
        start = sep + kSep.size();
    }
    return result;
}

void ClearInputHis()
{
    TextFile::writeWhole(InputHisPath(), QStringLiteral("\r\n"));
}
