#include "FileName.h"

QString GetFileName(const QString &path, bool withExt)
{
    if (path.isEmpty())
        return QString();
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    const QString name = path.mid(cut + 1);
    if (name.isEmpty() || withExt)
        return name;
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}
