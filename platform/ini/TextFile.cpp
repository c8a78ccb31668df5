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
    QFile f(toLocalPath(path));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray c = f.readAll();
    // Decoded line by line straight into the result, as readLines splits:
    // the history is read whole at every keystroke in the address box.
    QString out;
    out.reserve(c.size() + 2);
    qsizetype i = 0;
    while (i < c.size()) {
        const qsizetype s = i;
        while (i < c.size() && c.at(i) != '\r' && c.at(i) != '\n')
            ++i;
        Gbk::appendDecoded(out, QByteArrayView(c.constData() + s, i - s));
        out += QLatin1String("\r\n");
        if (i < c.size() && c.at(i) == '\r')
            ++i;
        if (i < c.size() && c.at(i) == '\n')
            ++i;
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
