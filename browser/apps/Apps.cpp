#include "Apps.h"

#include "Files.h"
#include "Gbk.h"
#include "IniFile.h"
#include "ProgramFolder.h"
#include "VbCompat.h"

#include <QFile>

#include <cmath>

namespace {
const QString kSep = QStringLiteral("@@");

QString AppsIniPath()
{
    return GetAppPath() + QStringLiteral("Apps\\Apps.ini");
}

// One registry value from the file's bytes, cut like every ini read.
QString RegistryValue(const QByteArray &content, const QString &key)
{
    QByteArray raw = IniFile::readRaw(content, QStringLiteral("Apps"), key);
    raw.truncate(Gbk::safeCut(raw, IniFile::kReadLimit));
    return Gbk::decode(raw);
}
} // namespace

int AppCountFromText(const QString &countText)
{
    const auto n = ToNumber(countText);
    if (!n || *n < 1)
        return 0;
    // The walk runs "for k = 1 to Count": a fractional bound stops at its whole part.
    const double whole = std::floor(*n);
    return whole > kMaxAppNumber ? kMaxAppNumber : int(whole);
}

QString FindApps(const QString &txt)
{
    // The registry is read once per search; each app's ini file once.
    QFile file(toLocalPath(AppsIniPath()));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray content = file.readAll();
    file.close();

    const QString needle = txt.toLower();
    const int count = AppCountFromText(RegistryValue(content, QStringLiteral("Count")));
    QString result;
    for (int k = 1; k <= count; ++k) {
        const QString entry = RegistryValue(content, QStringLiteral("app") + QString::number(k));
        const QString name = ReadIni(QStringLiteral("App"), QStringLiteral("Name"),
                                     GetAppPath() + QStringLiteral("Apps\\") + entry);
        if (name.toLower().contains(needle))
            result += name + kSep;
    }
    return result;
}

void RunLoadApps()
{
}
