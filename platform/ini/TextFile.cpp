#include "TextFile.h"

#include "Gbk.h"
#include "ProgramFolder.h"

#include <QFile>
#include <QSaveFile>

namespace TextFile {

QStringList readLines(const QString &path, bool *ok)
{
    QFile f(toLocalPath(path));
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    const QByteArray c = f.readAll();
    QStringList lines;
    qsizetype i = 0;
    while (i < c.size()) {
        qsizetype s = i;
        while (i < c.size() && c.at(i) != '\r' && c.at(i) != '\n')
            ++i;
        lines << Gbk::decode(c.mid(s, i - s));
        if (i < c.size() && c.at(i) == '\r')
            ++i;
        if (i < c.size() && c.at(i) == '\n')
            ++i;
    }
    return lines;
}

QString readWhole(const QString &path)
{
    bool ok = false;
    const QStringList lines = readLines(path, &ok);
    if (!ok)
        return QString();
    qsizetype total = 0;
    for (const QString &l : lines)
        total += l.size() + 2;
    QString out;
    out.reserve(total);
    for (const QString &l : lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

bool writeWhole(const QString &path, const QString &text)
{
    QSaveFile f(toLocalPath(path));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(Gbk::encode(text));
    return f.commit();
}

} // namespace TextFile
