#include "TextFile.h"

#include "Gbk.h"
#include "LockedFile.h"
#include "ProgramFolder.h"

#include <QFile>

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

QString wholeText(const QByteArray &c)
{
    // Decoded line by line straight into the result, as readLines splits,
    // every line followed by CR LF.
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

QString readWhole(const QString &path)
{
    QFile f(toLocalPath(path));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return wholeText(f.readAll());
}

bool writeWhole(const QString &path, const QString &text)
{
    return LockedFile::write(toLocalPath(path), Gbk::encode(text));
}

bool updateWhole(const QString &path, const std::function<QString(const QString &whole)> &change)
{
    return LockedFile::update(toLocalPath(path), [&change](QByteArray &content, bool) {
        content = Gbk::encode(change(wholeText(content)));
        return true;
    });
}

} // namespace TextFile
