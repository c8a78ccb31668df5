#include "ThemeColors.h"

#include "FileName.h"
#include "Settings.h"
#include "VbCompat.h"

#include <cmath>

long ClrMain = 0;
long ClrTabAct = 0;
long ClrTabNrm = 0;
long ClrToolBar = 0;

QColor VbColor(long value)
{
    const auto v = static_cast<unsigned long>(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QString GetThemeDir()
{
    return GetAppPath() + QStringLiteral("Themes\\") + GetFileName(ReadThemeSet(QStringLiteral("Theme")), false)
        + QStringLiteral("\\");
}

QString GetThemeIni()
{
    return GetAppPath() + QStringLiteral("Themes\\") + ReadThemeSet(QStringLiteral("Theme"));
}

bool ReadThemeData(ThemeData *out)
{
    const QString ini = GetThemeIni();
    const QString section = QStringLiteral("Clr");
    auto colour = [&](const char *key, long *dest) {
        const auto n = ToNumber(ReadIni(section, QString::fromLatin1(key), ini));
        if (!n || std::fabs(*n) > 2147483647.0)
            return false;
        *dest = static_cast<long>(RoundHalfEven(*n));
        return true;
    };
    ThemeData d;
    if (!colour("Main", &d.main) || !colour("TabAct", &d.tabAct) || !colour("TabNrm", &d.tabNrm)
        || !colour("ToolBar", &d.toolBar))
        return false;
    const auto white = ToNumber(ReadIni(section, QStringLiteral("WhiteFont"), ini));
    if (!white)
        return false;
    d.whiteFont = *white == 1.0;
    if (out)
        *out = d;
    return true;
}
